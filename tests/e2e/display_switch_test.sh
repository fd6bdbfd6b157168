#!/usr/bin/env bash
# A configured display mode in a full-screen run: a mode the display can take is set for
# the run and the display gets its own size back at the end; one it cannot take is
# reported in two message boxes and ends the saver.
. "$(dirname "$0")/lib.sh"
probe() { wine "$QG_BIN/display_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
screen_size() { xdpyinfo | awk '/dimensions:/ {print $2}'; }
configure_mode() { reg_set_dword resW "$1" && reg_set_dword resH "$2" && reg_set_dword resC "$3"; }

# Xvfb offers its one size only; give it a second one so that a switch really resizes
# the X screen (Wine lists it at 32, 16 and 8 bits).
if ! command -v xrandr >/dev/null; then
    check "xrandr is installed (Debian package x11-xserver-utils)" false
    e2e_finish
fi
xrandr --newmode qg800x600 40 800 840 968 1056 600 601 605 628 && xrandr --addmode screen qg800x600
remove_mode() { xrandr -s 1024x768; xrandr --delmode screen qg800x600; xrandr --rmmode qg800x600; } 2>/dev/null

reg_reset
reg_set_dword useOGL 1
size_before=$(screen_size)
echo "display before: X screen $size_before, Windows $(probe mode)"

configure_mode 800 600 32
saver_start /s
wait_window "Screen Saver" 20 >/dev/null && sleep 0.5
check "a listed mode is set for the run (X screen $(screen_size))" [ "$(screen_size)" = 800x600 ]
check "with no error box" [ "$(probe box "SS Error" 1)" = none ]
check "and the saver covers it" \
    [ "$(wine "$QG_BIN/window_probe.exe" 2>/dev/null | tr -d '\r')" = "found 0 0 800 600 topmost" ]
xdotool key space
saver_wait_exit 5
check "a key press ends that run with 0 ($SAVER_STATUS)" [ "$SAVER_STATUS" = 0 ]
check "and the display has its size back ($(screen_size))" [ "$(screen_size)" = "$size_before" ]

# Larger than the screen can be: refused whole and in parts.
configure_mode 1280 1024 32
saver_start /s
error_text=$(probe box "SS Error" 20)
check "a mode the display cannot take is reported under 'SS Error' ($error_text)" \
    [ "$error_text" = 'The video mode 1280x1024x32-bit color is not supported\n' ]
saver_text=$(probe box QGSS 10)
check "then the saver says 'Error setting resolution' under 'QGSS' ($saver_text)" \
    [ "$saver_text" = "Error setting resolution" ]
saver_wait_exit 10
check "and ends with 0 ($SAVER_STATUS)" [ "$SAVER_STATUS" = 0 ]
check "the display keeps its size ($(screen_size))" [ "$(screen_size)" = "$size_before" ]

remove_mode
reg_reset
e2e_finish
