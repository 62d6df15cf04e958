#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks that the program, its languages, the desktop entry,
# the icon and the AppStream metadata are there, and that the entry and the metadata pass their validators.
# Usage: install_test.sh [cmake] <build folder>. Exit 77 (skipped) when a validator is not installed.
set -euo pipefail
cmake=cmake
[ $# -ge 2 ] && { cmake=$1; shift; }
build=${1:?usage: install_test.sh [cmake] <build folder>}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix=$(mktemp -d)
log=$prefix.log
trap 'rm -rf "$prefix" "$log"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >"$log" 2>&1 || {
    cat "$log" >&2
    fail "cmake --install $build failed"
}

id=de.kandolor.Kandolor
desktop=$prefix/share/applications/$id.desktop
icon=$prefix/share/icons/hicolor/scalable/apps/kandolor.svg
metainfo=$prefix/share/metainfo/$id.metainfo.xml

[ -x "$prefix/bin/kandolor" ] || fail "bin/kandolor is not installed as a program"
compgen -G "$prefix/share/kandolor/languages/*.lng" >/dev/null || fail "no share/kandolor/languages/*.lng"
for file in "$desktop" "$icon" "$metainfo"; do
    [ -s "$file" ] || fail "${file#"$prefix"/} is not installed"
done
# The entry starts the installed program and names the installed icon.
grep -qx 'Exec=kandolor' "$desktop" || fail "the desktop entry does not start kandolor"
grep -qx 'Icon=kandolor' "$desktop" || fail "the desktop entry does not name the icon kandolor"
grep -q '<svg' "$icon" || fail "the icon is not an SVG image"

missing=()
command -v desktop-file-validate >/dev/null || missing+=("desktop-file-validate (package desktop-file-utils)")
command -v appstreamcli >/dev/null || missing+=("appstreamcli (package appstream)")
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIP: not installed: ${missing[*]}; bash scripts/install-deps.sh installs them"
    exit 77
fi

# desktop-file-validate exits 0 on warnings too: any message counts as a failure.
report=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$report" ] ||
    fail "desktop-file-validate: $report"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate rejects ${metainfo#"$prefix"/}"
# The installed tree as a whole: the metadata's launchable must name the installed desktop entry.
appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli validate-tree rejects the installed files"
echo "installed and valid: bin/kandolor, languages, ${desktop#"$prefix"/}, ${icon#"$prefix"/}," \
    "${metainfo#"$prefix"/}"
