#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed program
# from other folders: --version, --check clean on the installed data, the
# same after moving the whole tree, a short capture with a relative output
# path landing where the program was started while the data folder stays
# untouched; then the manual page against --help and the desktop files
# against their validators (each skipped with a note when missing).
#   install_tree_test.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build="$1" app_id="$2" version="$3"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
unset DISPLAY WAYLAND_DISPLAY XDG_DATA_HOME
work="$(mktemp -d /tmp/orbelune-install-XXXXXX)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home"
mkdir -p "$HOME" "$work/elsewhere"
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" || { cat "$work/install.log"; exit 1; }
cd "$work/elsewhere"

[[ "$("$work/prefix/bin/orbelune" --version)" == "orbelune $version" ]] || fail "--version"
out="$("$work/prefix/bin/orbelune" --check)" || fail "--check of the installed tree: $out"
grep -qx "data folder: $work/prefix/share/orbelune/data (installed)" <<<"$out" || fail "folder in use: $out"

mv "$work/prefix" "$work/moved"
out="$("$work/moved/bin/orbelune" --check)" || fail "--check of the moved tree: $out"
grep -qx "data folder: $work/moved/share/orbelune/data (installed)" <<<"$out" || fail "after the move: $out"
"$work/moved/bin/orbelune" --help | grep -qx "data folder: $work/moved/share/orbelune/data (installed)" ||
    fail "--help does not name the folder in use"

# A relative capture path is taken from where the program starts; the data
# folder is only read.
data="$work/moved/share/orbelune/data"
before="$(find "$data" -printf '%P %s %T@\n' | sort)"
mkdir frames
"$work/moved/bin/orbelune" --capture frames/ --mode 64x48x32 --fps 10 --start 20 --end 20.3 2>/dev/null ||
    fail "capture into a relative folder"
(($(ls frames | wc -l) == 3)) || fail "expected 3 frames in $(pwd)/frames, found: $(ls frames)"
[[ "$before" == "$(find "$data" -printf '%P %s %T@\n' | sort)" ]] || fail "the data folder changed"
status=0
"$work/moved/bin/orbelune" --capture "$data/frames" --end 1 2>/dev/null || status=$?
((status == 2)) || fail "a capture into the data folder gave $status, not 2"

# Every option --help lists is in the manual page.
page="$work/moved/share/man/man6/orbelune.6"
options="$("$work/moved/bin/orbelune" --help | grep -oE '^  --[a-z-]+' | tr -d ' ')"
(($(wc -l <<<"$options") >= 14)) || fail "too few options in --help: $options"
while read -r option; do
    grep -q -- "^\.BI\? \"\?${option//-/\\\\-}\b" "$page" || fail "the manual page lacks $option"
done <<<"$options"

share="$work/moved/share"
for size in 32 48 64 128 256; do
    [[ -s "$share/icons/hicolor/${size}x${size}/apps/$app_id.png" ]] || fail "no ${size}px icon"
done
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$share/applications/$app_id.desktop" || fail "desktop entry"
else
    echo "desktop-file-validate missing (desktop-file-utils): desktop entry not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$share/metainfo/$app_id.metainfo.xml" >"$work/as.log" ||
        { cat "$work/as.log"; fail "metainfo"; }
else
    echo "appstreamcli missing (appstream): metainfo not validated"
fi
echo "install tree: ok"
