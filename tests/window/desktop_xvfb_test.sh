#!/bin/bash
# The real program on a desktop: Xvfb with openbox, driven by xdotool and
# wmctrl; every wait is for something the program does (a window appearing,
# a process ending, pixels changing), never a fixed sleep.
#   no display  without DISPLAY (or with one nobody answers) the live show
#               says so and exits 1 before loading anything
#   dialog      marks follow the command line; Tab and the arrows move them;
#               "Off" under "Music" then Enter plays with no audio call, music
#               left on reaches the audio error; Escape leaves the dialog
#               open; the close box ends with status 0 and no show window
#   input       a close request or Escape held ends the show within seconds
#               while the mouse moves over the window at 500 Hz
#   wayland     a Wayland display without a seat (weston's headless backend,
#               when weston is installed) ends with the same word, no crash
#   shape       a window resized wider or taller keeps a 4:3 picture centred
#               between black bars
#   flash       after a resize the flash still covers the whole picture
#   full screen a mode the display cannot take (Xvfb has one, 1280x720)
#               plays full screen at its size with bars and no question
# Usage: desktop_xvfb_test.sh ORBELUNE DATA_FOLDER (exit 77 when a tool is missing)
set -u

PROGRAM=$(realpath "${1:?orbelune binary}")
SHOW_DATA=$(realpath "${2:?generated data folder (holding data/)}")
DIALOG="Tamsk Orbelune Setup"

for tool in Xvfb xdotool wmctrl openbox xwininfo convert import; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

source "$(dirname "$0")/x_common.sh"
quick_data "$WORK/quick"

# ---- no display (before any X server starts) ----------------------------------
for display in unset :65000; do
    CASE=no-display-$display
    if [ "$display" = unset ]; then
        env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$PROGRAM" --data "$WORK/quick" --no-dialog \
            >"$WORK/$CASE.out" 2>"$WORK/$CASE.err"
    else
        env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=$display "$PROGRAM" --data "$WORK/quick" --no-dialog \
            >"$WORK/$CASE.out" 2>"$WORK/$CASE.err"
    fi
    status=$?
    [ "$status" = 1 ] || fail "$CASE: exit status $status"
    grep -q display "$WORK/$CASE.err" || fail "$CASE: no word about the display"
    grep -q -- --capture "$WORK/$CASE.err" || fail "$CASE: no hint at --capture"
    grep -q -e ERROR -e textures -e error: "$WORK/$CASE.err" && fail "$CASE: it went on loading"
done
echo "ok: no display: status 1 with a word about the display, nothing loaded"

if command -v weston >/dev/null 2>&1; then
    mkdir -m 700 "$WORK/wayland"
    XDG_RUNTIME_DIR=$WORK/wayland weston --backend=headless-backend.so --socket=orbelune-test \
        >"$WORK/weston.log" 2>&1 &
    PIDS+=($!)
    for _ in $(seq 1 600); do [ -S "$WORK/wayland/orbelune-test" ] && break; sleep 0.1; done
    for driver in "" wayland; do
        CASE=wayland-no-seat-$driver
        env -u DISPLAY XDG_RUNTIME_DIR="$WORK/wayland" WAYLAND_DISPLAY=orbelune-test SDL_VIDEODRIVER=$driver \
            "$PROGRAM" --data "$WORK/quick" --no-dialog >"$WORK/$CASE.out" 2>"$WORK/$CASE.err"
        status=$?
        [ "$status" = 1 ] || fail "$CASE: exit status $status"
        grep -q "without a seat" "$WORK/$CASE.err" || fail "$CASE: no word about the display"
    done
    echo "ok: a Wayland display without a seat: status 1 with a word about it, no crash"
else
    echo "skipped: weston is not installed (Wayland without a seat)"
fi

# The X server picks a display number nobody uses (-displayfd binds every
# socket first, so a server of another test, chroot or container sharing
# the machine cannot answer in its place) and writes it once it accepts
# clients.
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
PIDS+=($!)
for _ in $(seq 1 600); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || fail "Xvfb did not start: $(tail -3 "$WORK/xvfb.log")"
export DISPLAY=":$(head -1 "$WORK/display")"
# openbox runs its --startup command once it manages windows and reads its
# events, so the first window the program maps is framed like every other.
openbox --startup "touch $WORK/wm-ready" >"$WORK/openbox.log" 2>&1 &
PIDS+=($!)
for _ in $(seq 1 600); do [ -e "$WORK/wm-ready" ] && break; sleep 0.1; done
[ -e "$WORK/wm-ready" ] || fail "openbox did not start: $(tail -3 "$WORK/openbox.log")"

start_program() {  # DATA_FOLDER [options...]
    local data=$1
    shift
    SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=no-such-driver "$PROGRAM" --data "$data" "$@" \
        >"$WORK/$CASE.out" 2>"$WORK/$CASE.err" &
    PID=$!
    PIDS+=("$PID")
}

# Waits up to $2 seconds for process $1 to end; sets STATUS. Sets SAW_SHOW
# when the show's window existed meanwhile; gives up at once when a message
# box of the program appears (ERROR_BOX names it).
wait_exit() {
    local pid=$1 deadline=$((SECONDS + $2)) box
    SAW_SHOW=0
    ERROR_BOX=
    while kill -0 "$pid" 2>/dev/null; do
        xwininfo -root -tree 2>/dev/null | grep -qF "\"$TITLE\":" && SAW_SHOW=1
        for box in "BASS ERROR" "multimedia error" "ERROR" "scenefile error" "Wexo GL"; do
            if xwininfo -root -tree 2>/dev/null | grep -qF "\"$box\":"; then ERROR_BOX=$box; STATUS=blocked; return 1; fi
        done
        if [ $SECONDS -gt "$deadline" ]; then STATUS=timeout; return 1; fi
        sleep 0.1
    done
    wait "$pid"
    STATUS=$?
    return 0
}

open_dialog() {  # CASE [options...]: the program on the quick data, its setup dialog in WIN
    CASE=$1
    shift
    start_program "$WORK/quick" "$@"
    WIN=$(wait_window "$DIALOG" 60) || fail "$CASE: no setup dialog"
    # The controls sit in the middle of a dialog widened for its caption.
    INSET=$(( ($(xwininfo -id "$WIN" | awk '/Width:/ {print $2}') - $(px 111) - 4) / 2 ))
}
expect_end() {  # SECONDS: the program ends within them with status 0
    wait_exit "$PID" "$1" || fail "$CASE: the program did not end ($STATUS${ERROR_BOX:+: \"$ERROR_BOX\" box})"
    [ "$STATUS" = 0 ] || fail "$CASE: exit status $STATUS"
}
click() {  # CONTROL: a click in the middle of a dialog control
    read -r x y w h <<<"$(control_rect "$1")"
    xdotool mousemove --window "$WIN" $((x + w / 2)) $((y + h / 2)) click 1
}

# Dialog geometry: controls in dialog units, placed as the program places
# them at 96 dpi (1.75 px across, 1.625 px down per unit, a 2-pixel edge,
# INSET more from the left).
px() { echo $(( ($1 * 1750 + 500) / 1000 )); }
py() { echo $(( ($1 * 1625 + 500) / 1000 )); }
declare -A UNITS=(
    [music-on]="4 12 20 10" [music-off]="25 12 22 10" [full-on]="57 12 21 10" [full-off]="80 12 20 10"
    [800x600x32]="4 37 44 10" [800x600x16]="55 37 47 10" [640x480x32]="4 47 44 10" [640x480x16]="55 47 46 10"
    [start]="16 63 79 14"
)
# Pixel rectangle "x y w h" of a control inside the dialog's client area.
control_rect() {
    local x y w h
    read -r x y w h <<<"${UNITS[$1]}"
    local left top
    left=$(px "$x"); top=$(py "$y")
    echo "$((left + 2 + INSET)) $((top + 2)) $(( $(px $((x + w))) - left )) $(( $(py $((y + h))) - top ))"
}
# Whether a radio button shows its mark: the middle of its round box (11 px,
# the label size, 2 px in from the left, centred in height) is dark when
# marked and white when not.
is_marked() {  # PNG CONTROL
    local x y w h mean
    read -r x y w h <<<"$(control_rect "$2")"
    mean=$(convert "$1" -crop "3x3+$((x + 6))+$((y + (h - 11) / 2 + 4))" +repage -colorspace gray \
        -format "%[fx:mean]" info:)
    awk "BEGIN { exit !($mean < 0.8) }"
}
# The one marked control of a group, or "none" / "several".
marked() {  # PNG CONTROL...
    local png=$1 found= c
    shift
    for c in "$@"; do
        if is_marked "$png" "$c"; then
            [ -z "$found" ] || { echo several; return; }
            found=$c
        fi
    done
    echo "${found:-none}"
}

# Captures dialog $1 until it is drawn (more than a blank) and two captures
# in a row agree; prints the marked control of each group.
dialog_marks() {
    local prev= shot= i png
    for i in $(seq 1 300); do
        png="$WORK/dialog$i.png"
        import -window "$1" "$png" 2>/dev/null || { sleep 0.1; continue; }
        if [ "$(convert "$png" -format '%k' info:)" -gt 8 ]; then
            shot=$(convert "$png" -format '%#' info:)
            [ -n "$prev" ] && [ "$shot" = "$prev" ] && break
            prev=$shot
        fi
        sleep 0.1
    done
    echo "$(marked "$png" music-on music-off) $(marked "$png" full-on full-off)" \
         "$(marked "$png" 800x600x32 800x600x16 640x480x32 640x480x16)"
}

# ---- dialog marks follow the command line ---------------------------------------
for row in "--windowed --no-music --mode 640x480x16=music-off full-off 640x480x16" \
           "--fullscreen --mode 800x600x16=music-on full-on 800x600x16" "=music-on full-on 800x600x32"; do
    options=${row%%=*} want=${row#*=}
    # shellcheck disable=SC2086
    open_dialog marks $options
    got=$(dialog_marks "$WIN")
    [ "$got" = "$want" ] || fail "$CASE ($options): marked $got, expected $want"
    wmctrl -i -c "$WIN"
    expect_end 30
    echo "ok: dialog marks under '$options': $got"
done

# ---- the keyboard: Tab through the groups in reading order, arrows move the mark -
open_dialog keys --windowed --end 3
# Focus starts on the push button: Tab reaches "Music" first (On marked),
# then "Fullscreen" (Off, from --windowed), then "Resolution"; Right, Left
# twice (the second wraps) and Down move the marks.
xdotool windowactivate --sync "$WIN" key --delay 100 Tab Right Tab Left Left Tab Down 2>/dev/null ||
    fail "$CASE: could not type into the dialog"
got=$(dialog_marks "$WIN")
[ "$got" = "music-off full-off 800x600x16" ] || fail "$CASE: marked $got, expected music-off full-off 800x600x16"
click start  # the moves clicked their buttons: the push button plays windowed and silent
expect_end 90
echo "ok: Tab visits Music, Fullscreen, Resolution; arrows marked $got and the show played silently"

# ---- music off, then start ---------------------------------------------------------
open_dialog music-off --windowed --end 3
click music-off
xdotool windowactivate --sync "$WIN" key Return 2>/dev/null || xdotool key Return
expect_end 90
[ "$SAW_SHOW" = 1 ] || fail "$CASE: the show window never appeared"
grep -qi -e error -e bass "$WORK/$CASE.err" && fail "$CASE: audio or error output"
echo "ok: music off + Enter ran the show silently"

# ---- music left on: the audio failure shows (the check above can see it) ----------
open_dialog music-on --windowed --end 3
xdotool windowactivate --sync "$WIN" key Return 2>/dev/null || xdotool key Return
box=$(wait_window "BASS ERROR" 60) || fail "$CASE: no audio error box with music on"
grep -qF "BASS ERROR: [error] Can't initialize BASS Sound System" "$WORK/$CASE.err" ||
    fail "$CASE: the box is not on stderr"
# Centred over the show's window (give or take the frames around both).
show=$(wait_window "music[.][.][.]" 10) || fail "$CASE: no show window under the box"  # titled so while the music starts
centre() { xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print int(x + w / 2), int(y + h / 2)}'; }
read -r bx by <<<"$(centre "$box")"
read -r sx sy <<<"$(centre "$show")"
[ $(( (bx - sx) * (bx - sx) + (by - sy) * (by - sy) )) -le 900 ] ||
    fail "$CASE: the box is centred at $bx,$by, the show at $sx,$sy"
kill -KILL "$PID" 2>/dev/null
wait "$PID" 2>/dev/null
echo "ok: music on + Enter reached the audio library; its box is on stderr and over the show"

# ---- Escape is ignored, the close box cancels -------------------------------------
open_dialog close --windowed --end 3
xdotool windowactivate --sync "$WIN" key Escape 2>/dev/null || xdotool key Escape
# The dialog answers a later request only after it handled the Escape.
xdotool windowactivate --sync "$WIN" 2>/dev/null
kill -0 "$PID" 2>/dev/null || fail "$CASE: Escape ended the program"
xwininfo -id "$WIN" >/dev/null 2>&1 || fail "$CASE: Escape closed the dialog"
wmctrl -i -c "$WIN"
expect_end 30
[ "$SAW_SHOW" = 0 ] || fail "$CASE: a show window was opened"
echo "ok: Escape ignored, close box ends with status 0 and no window"

# ---- close and Escape while the mouse moves -----------------------------------------
# 3 s of pointer motion at 500 Hz over the window; the show must end within
# 10 s of the request (with every motion queued it took half a minute).
move_mouse() {  # WINDOW
    local args=() i
    for i in $(seq 1 1500); do args+=(mousemove --window "$1" $((20 + i % 300)) $((20 + (i / 300) * 40)) sleep 0.002); done
    xdotool "${args[@]}"
}
for ending in close escape; do
    CASE=moving-$ending
    start_program "$WORK/quick" --no-dialog --windowed --no-music
    win=$(wait_window "$TITLE" 60) || fail "$CASE: no show window"
    xdotool windowactivate --sync "$win" 2>/dev/null
    move_mouse "$win"
    t0=$(date +%s%N)
    if [ "$ending" = close ]; then wmctrl -i -c "$win"; else xdotool keydown Escape; fi
    wait_exit "$PID" 10
    ok=$?
    [ "$ending" = escape ] && xdotool keyup Escape
    [ $ok = 0 ] || fail "$CASE: the show did not end within 10 s of the request ($STATUS)"
    [ "$STATUS" = 0 ] || fail "$CASE: exit status $STATUS"
    echo "ok: $ending with the mouse moving ended the show in $(( ($(date +%s%N) - t0) / 1000000 )) ms"
done

# ---- the picture keeps its shape ------------------------------------------------------
CASE=shape
start_program "$SHOW_DATA" --no-dialog --windowed --no-music --start 35
win=$(wait_window "$TITLE" 60) || fail "$CASE: no show window"
for size in "800 400" "400 500"; do
    read -r W H <<<"$size"
    xdotool windowsize "$win" "$W" "$H"
    # The largest 4:3 picture, centred.
    if [ $((W * 3)) -ge $((H * 4)) ]; then pw=$(( (H * 4 + 1) / 3 )); ph=$H; else pw=$W; ph=$(( (W * 3 + 2) / 4 )); fi
    px0=$(( (W - pw) / 2 )); py0=$(( (H - ph) / 2 ))
    if [ "$px0" -gt 0 ]; then
        bars=("${px0}x$H+0+0" "$((W - px0 - pw))x$H+$((px0 + pw))+0")
    else
        bars=("${W}x$py0+0+0" "${W}x$((H - py0 - ph))+0+$((py0 + ph))")
    fi
    # Until the program has drawn at the new size (the X server shows the
    # old frame's pixels at first): the window has that size, the picture
    # shows the scene and both bars are black to the last pixel.
    result="the window never had that size"
    for i in $(seq 1 600); do
        if import -window "$win" "$WORK/shape.png" 2>/dev/null &&
           [ "$(identify -format '%w %h' "$WORK/shape.png")" = "$W $H" ]; then
            inside=$(convert "$WORK/shape.png" -crop "$((pw - 4))x$((ph - 4))+$((px0 + 2))+$((py0 + 2))" +repage \
                -colorspace gray -format "%[fx:mean]" info:)
            result=
            awk "BEGIN { exit !($inside > 0.05) }" || result="the picture never showed the scene"
            for bar in "${bars[@]}"; do
                max=$(convert "$WORK/shape.png" -crop "$bar" +repage -colorspace gray -format "%[fx:maxima]" info:)
                [ "$max" = 0 ] || result="bar $bar is not black (max $max)"
            done
            [ -z "$result" ] && break
        fi
        sleep 0.1
    done
    [ -z "$result" ] || fail "$CASE ${W}x$H: $result"
    echo "ok: a ${W}x$H window shows a ${pw}x$ph picture at $px0,$py0 between black bars"
done
wmctrl -i -c "$win"
expect_end 30

# Waits until window $1 (W x H) shows the 4:3 picture at x0 (pw x H) white
# (or, with $2 = scene, not black) and the bars black; sets RESULT.
picture_shows() {  # WINDOW KIND W H
    local win=$1 kind=$2 W=$3 H=$4 pw=$(( ($4 * 4 + 1) / 3 )) x0 i stat max
    x0=$(( (W - pw) / 2 ))
    RESULT="the window never had that size"
    for i in $(seq 1 600); do
        if import -window "$win" "$WORK/$CASE.png" 2>/dev/null &&
           [ "$(identify -format '%w %h' "$WORK/$CASE.png")" = "$W $H" ]; then
            if [ "$kind" = white ]; then
                stat=$(convert "$WORK/$CASE.png" -crop "${pw}x$H+$x0+0" +repage -colorspace gray -format "%[fx:minima]" info:)
                RESULT="the picture is not white everywhere (darkest $stat)"
                awk "BEGIN { exit !($stat > 0.97) }" && RESULT=
            else
                stat=$(convert "$WORK/$CASE.png" -crop "$((pw - 4))x$((H - 4))+$((x0 + 2))+2" +repage -colorspace gray -format "%[fx:mean]" info:)
                RESULT="the picture never showed the scene"
                awk "BEGIN { exit !($stat > 0.05) }" && RESULT=
            fi
            for bar in "${x0}x$H+0+0" "$((W - x0 - pw))x$H+$((x0 + pw))+0"; do
                [ "$x0" -gt 0 ] || break
                max=$(convert "$WORK/$CASE.png" -crop "$bar" +repage -colorspace gray -format "%[fx:maxima]" info:)
                [ "$max" = 0 ] || RESULT="bar $bar is not black (max $max)"
            done
            [ -z "$RESULT" ] && return 0
        fi
        sleep 0.1
    done
    return 1
}

# ---- the flash after a resize ------------------------------------------------------------
# The authoring mode holds a frame: paused, back to the start of the stars
# section, where the flash is at its full level and is drawn for that
# section's narrower field of view, with its text and bar hidden (H), then
# resized to 1000x500 (the held frame is drawn again at the new size).
CASE=flash
start_program "$SHOW_DATA" --author --windowed --no-music --start 187
win=$(wait_window "orbelune author.*" 60) || fail "$CASE: no author window"
xdotool windowactivate --sync "$win" key space Prior h 2>/dev/null || fail "$CASE: could not pause, seek and hide the text"
picture_shows "$win" white 800 600 || fail "$CASE: before the resize: $RESULT"
xdotool windowsize "$win" 1000 500
picture_shows "$win" white 1000 500 || fail "$CASE: $RESULT"
cp "$WORK/$CASE.png" "${ORBELUNE_SHOTS:-$WORK}/flash-after-resize.png" 2>/dev/null
echo "ok: after a resize to 1000x500 the flash covers the whole 667x500 picture"
xdotool key Escape
expect_end 30

# ---- full screen in a mode the display does not have ------------------------------------
CASE=fullscreen
start_program "$SHOW_DATA" --no-dialog --fullscreen --mode 800x600x32 --no-music --start 35
win=$(wait_window "$TITLE" 60) || fail "$CASE: no show window"
picture_shows "$win" scene 1280 720 || fail "$CASE: $RESULT"
geometry=$(xwininfo -id "$win" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x","y}')
[ "$geometry" = "0,0" ] || fail "$CASE: the window is at $geometry, not over the whole screen"
xwininfo -root -tree | grep -qF '"Wexo GL"' && fail "$CASE: the windowed question was asked"
grep -q "Wexo GL" "$WORK/$CASE.err" && fail "$CASE: the windowed question was asked"
cp "$WORK/$CASE.png" "${ORBELUNE_SHOTS:-$WORK}/fullscreen-without-the-mode.png" 2>/dev/null
echo "ok: 800x600 on a 1280x720 display: full screen, a 960x720 picture between black bars, no question"
wmctrl -i -c "$win"
expect_end 30
exit 0
