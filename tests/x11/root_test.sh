#!/usr/bin/env bash
# The native saver on the root window, as a daemon that hands over the root starts it:
# the root's own picture is grabbed and drawn on the root; with a virtual root (a window
# that names itself in __SWM_VROOT) the drawing goes there instead.
. "$(dirname "$0")/lib.sh"

show_sample_desktop root  # the root's own picture, no window over it

saver_start -root "${flat_view[@]}"
drawn root.png 60 40 512 384
check "the root shows the red block at the plane's top left" [ "$(dominant root.png 192 144)" = red ]
check "the blue block at its bottom right" [ "$(dominant root.png 832 623)" = blue ]
check "around the plane the root is cleared black" [ "$(pixel_at "$QG_OUT/root.png" 60 40)" = 0,0,0 ]
kill -TERM "$SAVER_PID"
saver_time_exit 5
check "SIGTERM ends it with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time

show_sample_desktop root
test_window_start 512 384 512 0 vroot
saver_start --root "${flat_view[@]}"
drawn vroot.png 520 5 768 192
check "with a virtual root the drawing goes into it" [ "$(dominant vroot.png 600 70)" = red ]
check "and the real root keeps its picture" [ "$(dominant vroot.png 60 40)" = red ]
check "the vroot's corner is cleared black" [ "$(pixel_at "$QG_OUT/vroot.png" 520 5)" = 0,0,0 ]
test_window_destroy
saver_time_exit 5
check "the virtual root's destruction ends it with 0 ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time
e2e_finish
