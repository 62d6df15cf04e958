# Sourced by the benchmarks: make_desk_home DIR makes DIR the HOME of a configured desk (the demo songs, a
# language chosen so that no first-run dialog opens, Auto-Rec off so that the record button is enabled,
# recordings in ~/Mitschnitte/) and exports it.
make_desk_home() {
    export HOME=$1
    unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME
    mkdir -p "$HOME"
    scripts/demo-setup.sh >/dev/null
    mkdir -p "$HOME/.config/Kandolor" "$HOME/Mitschnitte"
    printf '%s\r\n' 700 900 64 0 "" 20 1 0 0 3 " 8.12500000000000E-0001 4.16666666666667E-0001" \
        "$HOME/Mitschnitte/" 75 90 2 Deutsch 0 " 2.08333333333333E-0002" >"$HOME/.config/Kandolor/Kandolor.cfg"
}
