#!/usr/bin/env bash
# The native saver's command line as a user or a daemon meets it: -help, and a bad
# option, value, window or display each give one line on stderr and a status, never a crash
# (also where the daemon has run, so that its screenshot is looked for on the bad window);
# which desktop it draws on when the Wayland one named cannot be had, and the X display
# going away under it.
. "$(dirname "$0")/lib.sh"

"$QG_SAVER" -help >"$QG_OUT/help.txt" 2>&1
check "-help ends with 0" [ $? = 0 ]
check "and lists the settings with their ranges" grep -q -- '-x_div .*1\.\.512 .*default 25' "$QG_OUT/help.txt"
check "and the presets" grep -q 'explode-1 .* wave-4' <(tr -s ' \n' ' ' <"$QG_OUT/help.txt")
XSCREENSAVER_WINDOW=garbage "$QG_SAVER" -x_div 2.5e1 --HELP >"$QG_OUT/help-anyway.txt" 2>&1
check "-help in any case, beside a bad value and a bad XSCREENSAVER_WINDOW: still 0 ($?)" [ $? = 0 ]
check "and the same text" cmp -s "$QG_OUT/help.txt" "$QG_OUT/help-anyway.txt"

# refused STATUS WORD ARGS...: the saver ends with STATUS and one line that names WORD.
refused() {
    local status=$1 word=$2; shift 2
    "$QG_SAVER" "$@" >/dev/null 2>"$QG_OUT/refused.err"
    local got=$?
    [ "$got" = "$status" ] && [ "$(wc -l <"$QG_OUT/refused.err")" = 1 ] && grep -q -- "$word" "$QG_OUT/refused.err" ||
        { echo "  status $got: $(cat "$QG_OUT/refused.err")"; return 1; }
}
check "an unknown option: 2" refused 2 -frobnicate -frobnicate
check "a value out of range: 2" refused 2 -genChildren -genChildren 9
check "a value that is no number: 2" refused 2 -Mode -Mode wave
check "a number that is not a whole decimal one: 2" refused 2 25.0 -X_DIV 25.0
check "a missing value: 2" refused 2 -zoom0 -root -zoom0
check "an unknown preset: 2" refused 2 wave-7 -preset wave-7
xprop -root -f _SCREENSAVER_SCREENSHOT 32c -set _SCREENSAVER_SCREENSHOT 0  # the daemon's atom exists now
xprop -root -remove _SCREENSAVER_SCREENSHOT
check "a window that does not exist: 2" refused 2 0x3fffff0 -window-id 0x3fffff0
test_window_start 64 64 0 0 input-only
check "an id that names a pixmap: 2" refused 2 "$TEST_PIXMAP" -window-id "$TEST_PIXMAP"
check "an input-only window: 2" refused 2 input-only -window-id "$TEST_WINDOW"
test_window_destroy
XSCREENSAVER_WINDOW=nonsense check "a bad XSCREENSAVER_WINDOW: 2" refused 2 XSCREENSAVER_WINDOW
check "a display that cannot be opened: 1" refused 1 ':99999' -display :99999
another_display -screen 0 640x480x24 -extension GLX
check "a display without GLX: 1" refused 1 'no GLX' -display "$ANOTHER_DISPLAY"

# A Wayland socket that accepts and never answers.
silent_socket=$QG_OUT/silent-wayland
rm -f "$silent_socket"
python3 -c 'import socket, sys, time
s = socket.socket(socket.AF_UNIX); s.bind(sys.argv[1]); s.listen(4); print("ready", flush=True)
held = [s.accept()[0] for _ in range(4)]; time.sleep(60)' "$silent_socket" >"$QG_OUT/silent.out" &
e2e_pids+=($!)
for i in $(seq 50); do grep -q ready "$QG_OUT/silent.out" && break; sleep 0.1; done
check "no Wayland runtime directory: 1" \
    eval '(unset XDG_RUNTIME_DIR; WAYLAND_DISPLAY=wayland-0 refused 1 XDG_RUNTIME_DIR -wayland)'
WAYLAND_DISPLAY=$QG_OUT/none check "a Wayland socket that is not there, -wayland: 1" refused 1 "cannot connect" -wayland
WAYLAND_DISPLAY=$silent_socket check "a Wayland socket that never answers, -wayland: 1" refused 1 "does not answer" -wayland

# Without -wayland, the X display stands in for a compositor that cannot be had, and says so.
show_sample_desktop
WAYLAND_DISPLAY=$QG_OUT/none saver_start "${flat_view[@]}"
drawn fallback.png 60 40 512 384
check "a stale WAYLAND_DISPLAY: it draws on the X display" [ "$(dominant fallback.png 192 144)" = red ]
xdotool key space
saver_time_exit 5
# said_once WORD: the saver's stderr is one line that names WORD.
said_once() { [ "$(wc -l <"$QG_OUT/saver.err")" = 1 ] && grep -q "$1" "$QG_OUT/saver.err"; }
check "a key ends it as ever, and one line says that it fell back ($SAVER_STATUS)" \
    eval '[ "$SAVER_STATUS" = 0 ] && said_once instead'

# The X server going away under a running saver, on the root and in a window of its own
# (whose input the end watch reads on a second connection): status 1 and one line.
for target in -root -window; do
    another_display -screen 0 640x480x24
    saver_start "$target" -display "$ANOTHER_DISPLAY"
    sleep 2
    kill -KILL "$ANOTHER_XVFB_PID"
    saver_time_exit 5
    check "the X server killed under $target: 1 within 0.5 s, one line ($SAVER_STATUS, $SAVER_EXIT_MS ms)" \
        eval '[ "$SAVER_STATUS" = 1 ] && [ "$SAVER_EXIT_MS" -lt 750 ] && said_once "went away"'
done
e2e_finish
