#!/usr/bin/env bash
# Builds the Debian package from a build folder with cpack and checks it: the control fields (dependencies of
# the program's libraries from dpkg-shlibdeps, lame, the sound server), the file list, lintian (no errors, each
# warning named in the README's section "The Debian package"), and every file of the unpacked package.
# Usage: package_test.sh <cpack> <build folder> <source folder> <version>. Exit 77 when a tool is missing.
set -euo pipefail
cpack=$1 build=$2 source=$3 version=$4

trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

missing=()
for tool in dpkg-deb dpkg-shlibdeps dpkg-parsechangelog lintian desktop-file-validate appstreamcli man readelf; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIP: not installed: ${missing[*]}; bash scripts/install-deps.sh installs them"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    fail "cpack -G DEB failed"
}
arch=$(dpkg --print-architecture)
deb=$work/kandolor_${version}_${arch}.deb
[ -f "$deb" ] || fail "no $(basename "$deb") made: $(ls "$work")"

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kandolor ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = sound ] || fail "Section: $(field Section)"
[ "$(field Priority)" = optional ] || fail "Priority: $(field Priority)"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer: $(field Maintainer)"
[[ "$(field Homepage)" =~ ^https:// ]] || fail "Homepage: $(field Homepage)"
[ "$(field Recommends)" = "pulseaudio | pipewire-pulse" ] || fail "Recommends: $(field Recommends)"
description=$(field Description)
[ "$(wc -l <<<"$description")" -ge 3 ] || fail "the Description has no long part: $description"
depends=$(field Depends)
depends_on() { tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | grep -qx "$1"; }
depends_on lame || fail "Depends lacks lame: $depends"

# The files, with their owner and mode.
mapfile -t listing < <(dpkg-deb -c "$deb" | grep -v '^d')
expected=(./usr/bin/kandolor ./usr/share/applications/de.kandolor.Kandolor.desktop
    ./usr/share/doc/kandolor/changelog.gz ./usr/share/doc/kandolor/copyright
    ./usr/share/icons/hicolor/scalable/apps/kandolor.svg ./usr/share/man/de/man1/kandolor.1.gz
    ./usr/share/man/man1/kandolor.1.gz ./usr/share/metainfo/de.kandolor.Kandolor.metainfo.xml)
for lng in "$source"/languages/*.lng; do
    expected+=("./usr/share/kandolor/languages/$(basename "$lng")")
done
actual=$(printf '%s\n' "${listing[@]}" | awk '{print $6}' | sort)
[ "$actual" = "$(printf '%s\n' "${expected[@]}" | sort)" ] ||
    fail "the package's files differ from the expected ones:$(diff <(printf '%s\n' "${expected[@]}" | sort) - <<<"$actual")"
for line in "${listing[@]}"; do
    read -r mode owner _ _ _ path <<<"$line"
    want=-rw-r--r--
    [ "$path" = ./usr/bin/kandolor ] && want=-rwxr-xr-x
    [ "$mode" = "$want" ] && [ "$owner" = root/root ] || fail "$path is $mode $owner, not $want root/root"
done

# Every file of the unpacked package.
root=$work/root
dpkg-deb -x "$deb" "$root"
changelog_versions=$(sed -n 's/^Ver\. \([^ ]*\) .*/\1/p' "$source/CHANGELOG")
while IFS= read -r -d '' file; do
    path=${file#"$root"}
    case $path in
    /usr/bin/kandolor)
        sections=$(readelf -S -W "$file")
        ! grep -qE '\.(debug_[a-z]+|symtab)\b' <<<"$sections" || fail "$path is not stripped of its symbols"
        dynamic=$(readelf -d "$file")
        ! grep -qE 'RPATH|RUNPATH' <<<"$dynamic" || fail "$path has a library search path"
        grep -q 'BIND_NOW' <<<"$dynamic" || fail "$path is not linked with -z now"
        while read -r lib; do
            where=$(ldconfig -p | awk -v l="$lib" '$1 == l && !n++ {print $NF}')
            # /lib is /usr/lib on Debian 12; dpkg knows a library by either.
            owner=$({ dpkg -S "$where" || dpkg -S "/usr$where"; } 2>/dev/null | sed -n '1s/:.*//p' || true)
            [ -n "$owner" ] || fail "no installed package holds $lib, needed by $path"
            depends_on "$owner" || fail "Depends lacks $owner (for $lib): $depends"
        done < <(sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' <<<"$dynamic")
        ;;
    /usr/share/kandolor/languages/*.lng)
        iconv -f UTF-8 -t UTF-8 "$file" >/dev/null || fail "$path is not UTF-8"
        [ "$(head -1 "$file" | tr -d '\r')" = "$(basename "$path" .lng)" ] ||
            fail "$path does not start with its language's name"
        ;;
    /usr/share/applications/*.desktop)
        report=$(desktop-file-validate "$file" 2>&1) && [ -z "$report" ] || fail "desktop-file-validate: $report"
        for key in Name Name\\[de\\] Comment Comment\\[de\\]; do
            grep -qE "^$key=.+" "$file" || fail "$path has no ${key//\\/}="
        done
        [ -x "$root/usr/bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$file")" ] || fail "$path starts no program of the package"
        ;;
    /usr/share/metainfo/*.xml)
        appstreamcli validate --no-net "$file" >"$work/appstream.log" 2>&1 || {
            cat "$work/appstream.log" >&2
            fail "appstreamcli validate rejects $path"
        }
        releases=$(grep -o '<release version="[^"]*"' "$file" | sed 's/.*="\(.*\)"/\1/')
        [ "$releases" = "$changelog_versions" ] || fail "the releases of $path are not the CHANGELOG's: $releases"
        grep -q '<p xml:lang="de">' "$file" || fail "$path has no German description"
        grep -qF "<url type=\"homepage\">$(field Homepage)</url>" "$file" || fail "$path names another homepage"
        ;;
    /usr/share/icons/*.svg)
        python3 -c 'import sys, xml.etree.ElementTree as t; sys.exit(not t.parse(sys.argv[1]).getroot().tag.endswith("svg"))' \
            "$file" || fail "$path is not an SVG image"
        ;;
    /usr/share/man/*/kandolor.1.gz)
        gzip -t "$file" || fail "$path is not a gzip file"
        warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$file" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man reports for $path: $warnings"
        page=$(zcat "$file")
        for name in Kandolor.cfg Kandolor.txt liederliste.txt Aufnahmen /usr/share/kandolor/languages kandolor.part; do
            grep -qF "$name" <<<"$page" || fail "$path does not name $name"
        done
        grep -qE '^\.SH (OPTIONS|OPTIONEN)$' <<<"$page" || fail "$path has no section on options"
        ;;
    /usr/share/doc/kandolor/copyright)
        head -1 "$file" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
            fail "$path is not in the machine-readable format"
        grep -qx 'Files: \*' "$file" && grep -qx 'License: GPL-3+' "$file" || fail "$path does not license all files"
        ;;
    /usr/share/doc/kandolor/changelog.gz)
        zcat "$file" >"$work/changelog"
        parsed=$(dpkg-parsechangelog -l "$work/changelog" --all --format rfc822) || fail "$path is not a Debian changelog"
        parsed=$(sed -n "s/^Version: //p" <<<"$parsed")
        [ "$(head -1 <<<"$parsed")" = "$version" ] || fail "the newest entry of $path is $(head -1 <<<"$parsed")"
        [ "$parsed" = "$changelog_versions" ] || fail "the entries of $path are not the CHANGELOG's"
        ;;
    *) fail "no check for $path" ;;
    esac
done < <(find "$root" -type f -print0)
appstreamcli validate-tree --no-net "$root/usr" >"$work/tree.log" 2>&1 || {
    cat "$work/tree.log" >&2
    fail "appstreamcli validate-tree rejects the unpacked files"
}
# lintian: no errors; every warning is named in the README's packaging section.
lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
if grep -q '^E:' "$work/lintian.log"; then
    cat "$work/lintian.log" >&2
    fail "lintian reports errors"
fi
grep -qF "sudo apt install ./kandolor_${version}_${arch}.deb" "$source/README.md" ||
    fail "the README's install line does not name kandolor_${version}_${arch}.deb"
section=$(awk '/^## The Debian package/ {on = 1; next} /^## / {on = 0} on' "$source/README.md")
[ -n "$section" ] || fail "README.md has no section '## The Debian package'"
while read -r tag; do
    grep -qF "\`$tag\`" <<<"$section" || fail "lintian warning $tag is not named in the README: $(grep "$tag" "$work/lintian.log")"
done < <(sed -n 's/^W: kandolor[^:]*: \([a-z0-9-]*\).*/\1/p' "$work/lintian.log" | sort -u)

echo "$(basename "$deb"): $(stat -c %s "$deb") bytes; Depends: $depends"
sed -n 's/^\([WI]\): kandolor[^:]*: /lintian \1: /p' "$work/lintian.log"
