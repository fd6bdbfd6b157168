#!/usr/bin/env bash
# The native saver on a screen of two RandR monitors of different sizes, a 512x768 one
# left of a 512x384 one: on the root in each monitor mode (one scene across both, each its
# own with its own part of the desktop, the first alone).
. "$(dirname "$0")/lib.sh"
xrandr --setmonitor LEFT 512/135x768/203+0+0 none && xrandr --setmonitor RIGHT 512/135x384/101+512+0 none ||
    { check "two RandR monitors on the screen" false; e2e_finish; }

for mode in 0 1 2; do
    show_sample_desktop root >/dev/null  # the last run's frame stays on the root
    saver_start -root -monitorMode "$mode" "${flat_view[@]}"
    drawn "mode-$mode.png" 60 40 300 384
    kill -TERM "$SAVER_PID"
    saver_time_exit 5
done
check "span: one scene, its plane over the seam" [ "$(pixel_at "$QG_OUT/mode-0.png" 512 384)" != 0,0,0 ]
check "and the desktop's red block at its top left" [ "$(dominant mode-0.png 192 144)" = red ]
check "each: black at the seam, on both sides" \
    [ "$(pixel_at "$QG_OUT/mode-1.png" 505 200),$(pixel_at "$QG_OUT/mode-1.png" 520 200)" = 0,0,0,0,0,0 ]
check "the left monitor shows its part: red top left" [ "$(dominant mode-1.png 120 140)" = red ]
check "and yellow bottom left" [ "$(dominant mode-1.png 120 630)" = yellow ]
check "the right one its own: green top right" [ "$(dominant mode-1.png 900 90)" = green ]
check "and black below it, beyond every monitor" [ "$(pixel_at "$QG_OUT/mode-1.png" 700 600)" = 0,0,0 ]
check "primary: the first monitor as before" [ "$(dominant mode-2.png 120 140)" = red ]
check "and the other black" [ "$(pixel_at "$QG_OUT/mode-2.png" 700 200)" = 0,0,0 ]
check "every run ended with 0 ($SAVER_STATUS)" [ "$SAVER_STATUS" = 0 ]
e2e_finish
