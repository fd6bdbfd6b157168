#!/usr/bin/env bash
# The native saver in a window of its own: the desktop on the plane in its own colours,
# the window as desktop tools see it, no frames while it is covered, the ends (key, click, the pointer moved, signals, the
# window's destruction; during a long delay, in a frame that takes half a second, and in a
# start-up that waits on the display), the logo, and the logo standing in for a black screen.
. "$(dirname "$0")/lib.sh"

# wait_until COMMAND...: polls it (up to 10 s) until it holds.
wait_until() {
    local i
    for i in $(seq 100); do "$@" && return 0; sleep 0.1; done
    return 1
}
# saver_shown [OPTIONS]...: starts the saver and returns once its window is on the screen.
saver_shown() {
    saver_start "$@"
    wait_until xdotool search --onlyvisible --class '^quakeglass$' >/dev/null
}
# saver_drawing [OPTIONS]...: starts the saver and returns once it has drawn a frame.
saver_drawing() {
    saver_start "$@"
    drawn started.png 20 20 512 384
}

# run_flat FILE [OPTIONS]...: the flat view, screenshot once it shows.
run_flat() {
    local file=$1; shift
    saver_start "${flat_view[@]}" "$@"
    drawn "$file" 60 40 512 384
}

show_sample_desktop
run_flat flat.png
check "the flat view shows the red top-left block at the top left" [ "$(dominant flat.png 192 144)" = red ]
check "the green top-right block at the top right" [ "$(dominant flat.png 832 144)" = green ]
check "the yellow bottom-left block at the bottom left" [ "$(dominant flat.png 192 623)" = yellow ]
check "the blue bottom-right block at the bottom right" [ "$(dominant flat.png 832 623)" = blue ]
check "outside the plane the screen is black" [ "$(pixel_at "$QG_OUT/flat.png" 60 40)" = 0,0,0 ]
window=$(xdotool search --class '^quakeglass$' | head -n 1)
check "the window's class is quakeglass" grep -q '"quakeglass", "quakeglass"' <(xprop -id "$window" WM_CLASS)
check "its _NET_WM_PID is the saver's" grep -q "= $SAVER_PID\$" <(xprop -id "$window" _NET_WM_PID)
xdotool key space
saver_time_exit 5
check "a key ends it with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time

saver_start
drawn explode-a.png 60 40 512 384
sleep 0.5
screenshot explode-b.png
xdotool click 1
saver_time_exit 5
check "the Explode view animates" differs explode-a.png explode-b.png
check "a click ends it with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time

# A window over the whole saver stops its frames and their CPU; unmapped, they come back; a
# signal still ends it while covered. The saver runs in a process that counts its frames.
rate_out=$QG_OUT/rate-out.txt
rm -f "$QG_OUT/rate-in" && mkfifo "$QG_OUT/rate-in" && : >"$rate_out"
"$QG_NATIVE_BIN/saver_rate" steps <"$QG_OUT/rate-in" >"$rate_out" 2>"$QG_OUT/saver.err" &
SAVER_PID=$!
e2e_pids+=("$SAVER_PID")
exec {rate_in}>"$QG_OUT/rate-in"
# step SECONDS: frames and cores over that long, as "FRAMES CORES".
step() {
    local lines
    lines=$(wc -l <"$rate_out")
    sleep "$1"
    echo >&"$rate_in"
    wait_until [ "$(wc -l <"$rate_out")" -gt "$lines" ] && tail -n 1 "$rate_out" | awk '{ print $2, $4 }'
}
wait_until grep -q '^ready$' "$rate_out"
test_window_start 1024 768 0 0
step 0.3 >/dev/null
read -r covered_frames covered_cores < <(step 1)
xdotool windowunmap "$TEST_WINDOW"
step 0.3 >/dev/null
read -r shown_frames shown_cores < <(step 1)
check "covered, it draws no frame and takes no CPU ($covered_frames frames, $covered_cores cores)" \
    awk -v f="${covered_frames:-x}" -v c="${covered_cores:-1}" 'BEGIN { exit !(f == 0 && c < 0.02) }'
check "uncovered, it draws again ($shown_frames frames, $shown_cores cores)" \
    awk -v f="${shown_frames:-0}" 'BEGIN { exit !(f > 10) }'
xdotool windowmap "$TEST_WINDOW"
sleep 0.3
kill -TERM "$SAVER_PID"
saver_time_exit 5
check "covered, SIGTERM ends it with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time
exec {rate_in}>&-
test_window_destroy

# The pointer where it stands when the window appears, and small moves, are no end; a move
# of more than 10 pixels from there is.
xdotool mousemove 500 400
saver_drawing -preset wave-1
xdotool mousemove 506 406
sleep 0.5
check "the pointer under the new window, moved by 8 pixels: it goes on" kill -0 "$SAVER_PID"
xdotool mousemove 530 400
saver_time_exit 5
check "moved by 30 pixels: it ends with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time

for signal in TERM INT; do
    saver_shown -preset explode-1
    kill -"$signal" "$SAVER_PID"
    saver_time_exit 5
    check "SIG$signal ends it with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time
done

saver_shown -preset wave-2
xdotool windowclose "$(xdotool search --class '^quakeglass$' | head -n 1)"
saver_time_exit 5
check "the window's destruction ends it with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time

# end_with HOW: a signal's name, key or close.
end_with() {
    case $1 in
    key) xdotool key space ;;
    close) xdotool windowclose "$(xdotool search --class '^quakeglass$' | head -n 1)" ;;
    *) kill -"$1" "$SAVER_PID" ;;
    esac
}
for end in "TERM -delay 1000000" "HUP -x_div 512 -y_div 512 -genChildren 8" "key -x_div 512 -y_div 512 -genChildren 8" \
    "close -x_div 512 -y_div 512 -genChildren 8"; do
    set -- $end
    # In the long delay after the first frame; in the start-up or a frame of the big grid.
    if [ "$2" = -delay ]; then saver_drawing "${@:2}"; else saver_shown "${@:2}"; fi
    end_with "$1"
    saver_time_exit 5
    check "${*:2}: $1 ends it with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time
done

# A display that takes the connection and never answers (its server stopped): SIGTERM
# still ends the start-up.
another_display -screen 0 640x480x24
kill -STOP "$ANOTHER_XVFB_PID"
saver_start -display "$ANOTHER_DISPLAY"
# Connected (the server's socket takes the connection), it waits for the server's answer.
connected() { ls -l "/proc/$SAVER_PID/fd" 2>/dev/null | grep -q 'socket:'; }
wait_until connected
sleep 0.2
kill -TERM "$SAVER_PID"
saver_time_exit 5
check "SIGTERM ends a start-up that waits on the display with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" \
    ended_in_time
kill -CONT "$ANOTHER_XVFB_PID"

run_flat logo.png -useOGL 1
kill "$SAVER_PID"
saver_wait_exit 5
check "the logo fills the plane, mirrored" logo_is_mirrored logo.png

# A screen that reads black (as under a compositor) has nothing to show: the logo instead.
convert -size 1024x768 xc:black "$QG_OUT/black.png"
display -borderwidth 0 -geometry +0+0 "$QG_OUT/black.png" &
e2e_pids+=("$!")
black_shown() { screenshot black-shown.png && [ "$(pixel_at "$QG_OUT/black-shown.png" 60 40)" = 0,0,0 ]; }
wait_until black_shown
run_flat black-screen.png
kill "$SAVER_PID"
saver_wait_exit 5
check "a black screen gives the logo" logo_is_mirrored black-screen.png
e2e_finish
