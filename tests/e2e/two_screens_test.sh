#!/usr/bin/env bash
# Two monitors: an 800x600 primary and a 1024x768 second one, as Xvfb's Xinerama lays them
# out (both at the origin; Wine takes their union as the virtual screen). The full-screen
# window covers all of it, and the snapshot shows all of it, not the primary stretched.
# Run in a session of its own: tools/check starts it with those two screens.
. "$(dirname "$0")/lib.sh"
monitors=$(wine "$QG_BIN/display_probe.exe" monitors 2>/dev/null | tr -d '\r')
check "Wine counts two monitors ($monitors)" [ "$monitors" = "2 primary 800x600 virtual 0,0 1024x768" ]

show_desktop
reg_reset
reg_set_dword Mode 1 && reg_set_dword xyAmplitude 0 && reg_set_dword enableMovement 0
saver_start /s
wait_window "Screen Saver" 20 >/dev/null
sleep 2
screenshot two-screens.png
probe=$(wine "$QG_BIN/window_probe.exe" 2>/dev/null | tr -d '\r')
xdotool key space
saver_wait_exit 5
check "the window covers both monitors ($probe)" [ "$probe" = "found 0 0 1024 768 topmost" ]
# The green, yellow and blue blocks lie right of or below the primary monitor's 800x600.
check "the picture's top left is the desktop's red block" [ "$(dominant two-screens.png 192 144)" = red ]
check "its top right the green block beyond the primary" [ "$(dominant two-screens.png 832 144)" = green ]
check "its bottom left the yellow block beyond the primary" [ "$(dominant two-screens.png 192 623)" = yellow ]
check "its bottom right the blue block beyond the primary" [ "$(dominant two-screens.png 860 655)" = blue ]
check "and the run ends with 0" [ "$SAVER_STATUS" = 0 ]
reg_reset
e2e_finish
