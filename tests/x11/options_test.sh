#!/usr/bin/env bash
# The native saver's command line as a user or a daemon meets it: -help, and a bad
# option, value, window or display each give one line on stderr and a status, never a crash
# (also where the daemon has run, so that its screenshot is looked for on the bad window).
. "$(dirname "$0")/lib.sh"

"$QG_SAVER" -help >"$QG_OUT/help.txt" 2>&1
check "-help ends with 0" [ $? = 0 ]
check "and lists the settings with their ranges" grep -q -- '-x_div .*1\.\.512 .*default 25' "$QG_OUT/help.txt"
check "and the presets" grep -q 'explode-1 .* wave-4' <(tr -s ' \n' ' ' <"$QG_OUT/help.txt")

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
e2e_finish
