#!/usr/bin/env bash
# Valgrind memcheck over start-up and a few hundred frames of the show:
# the program plays headless at a fixed frame step (--bench), so the number
# of frames does not depend on how slowly it runs under valgrind.
#
#   tests/hardening/valgrind_show.sh ORBELUNE DATA_PARENT [SECONDS] [FPS]
#
# Prints the error count, the leak figures and the frames drawn; fails when
# memcheck reports an error or a definite or indirect leak outside the
# suppressed libraries.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
program="$1"
data="$2"
seconds="${3:-5}"
fps="${4:-60}"
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 77; }

log="$(mktemp)"
out="$(mktemp)"
trap 'rm -f "$log" "$out"' EXIT
status=0
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
    valgrind --tool=memcheck --keep-debuginfo=yes --leak-check=full \
        --show-leak-kinds=definite,indirect,possible --errors-for-leak-kinds=definite,indirect \
        --suppressions="$here/valgrind.supp" --num-callers=40 --log-file="$log" \
    "$program" --no-dialog --windowed --no-music --data "$data" --bench --fps "$fps" --end "$seconds" \
    >"$out" 2>&1 || status=$?

errors="$(sed -n 's/.*ERROR SUMMARY: \([0-9]*\) errors.*/\1/p' "$log" | tail -1)"
figure() { sed -n "s/.*$1: *\([0-9,]*\) bytes in \([0-9,]*\) blocks.*/\1 bytes in \2 blocks/p" "$log" | tail -1; }
frames="$(grep -o '"frames": *[0-9]*' "$out" | tail -1 | awk -F: '{print $2 + 0}')"  # the total
echo "memcheck: exit status $status, errors ${errors:-?}, frames $frames"
for kind in 'definitely lost' 'indirectly lost' 'possibly lost' 'still reachable' 'suppressed'; do
    printf '  %-16s %s\n' "$kind:" "$(figure "$kind")"
done
if [[ "$status" != 0 || "${errors:-1}" != 0 ]]; then
    grep -A30 -E "Invalid|uninitialised|definitely lost in|indirectly lost in|Mismatched" "$log" | head -120 >&2 || true
    exit 1
fi
