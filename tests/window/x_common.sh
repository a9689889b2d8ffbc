# Sourced by the desktop scripts: a scratch folder removed on exit together
# with every process listed in PIDS, fail() with the program's last words, a
# data folder that loads at once, and waiting for a window by its exact name.
TITLE="vantrel :: tamsk orbelune"
WORK=$(mktemp -d)
PIDS=()
cleanup() {
    for pid in "${PIDS[@]}"; do kill -TERM "$pid" 2>/dev/null; done
    sleep 0.5
    for pid in "${PIDS[@]}"; do kill -KILL "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    kill -0 "${PID:-0}" 2>/dev/null && echo "(the program is still running)"
    xwininfo -root -tree 2>/dev/null | grep -F -e "$TITLE" -e "${DIALOG:-$TITLE}" -e ERROR -e error | head -5
    for f in "$WORK"/*.err; do [ -s "$f" ] && { echo "--- $f"; tail -5 "$f"; }; done
    exit 1
}

# FOLDER gets data/: no pictures (textures/ marks a data folder), ten scene
# scripts that end at once, no soundtrack.
quick_data() {
    mkdir -p "$1/data/script" "$1/data/textures"
    : > "$1/data/script/texture.dat"
    for n in "" 2 3 4 5 6 7 8 10 11; do printf 'EOF\r\n' > "$1/data/script/scene$n.dat"; done
}

# Waits up to $2 seconds for a visible window named exactly $1; prints its
# id. (Polls: a window that vanishes in the middle of xdotool's search makes
# that one search fail.)
wait_window() {
    local deadline=$((SECONDS + $2)) id
    while [ $SECONDS -le "$deadline" ]; do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
