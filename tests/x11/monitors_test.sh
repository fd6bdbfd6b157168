#!/usr/bin/env bash
# The native saver on a screen of two RandR monitors of different sizes, a 512x768 one
# left of a 512x384 one: on the root in each monitor mode (one scene across both, each its
# own with its own part of the desktop, the first alone), and a lock screen's reset
# (SIGUSR1) of a scene each. tools/check runs it under ASan too: every run's end is leak-free.
. "$(dirname "$0")/lib.sh"
need "two RandR monitors on the screen" eval \
    'xrandr --setmonitor LEFT 512/135x768/203+0+0 none && xrandr --setmonitor RIGHT 512/135x384/101+512+0 none'

statuses=
for mode in 0 1 2; do
    show_sample_desktop root >/dev/null  # the last run's frame stays on the root
    saver_start -root -monitorMode "$mode" "${flat_view[@]}"
    drawn "mode-$mode.png" 60 40 300 384
    kill -TERM "$SAVER_PID"
    saver_time_exit 5
    statuses+=$SAVER_STATUS
done
check "span: one scene, its plane over the seam, the desktop's red block at its top left" \
    eval '! black mode-0.png 512 384 && [ "$(dominant mode-0.png 192 144)" = red ]'
check "each: black at the seam on both sides, and below the right monitor, beyond every monitor" \
    black mode-1.png 505 200 520 200 700 600
check "each its own part: the left red top left and yellow bottom left, the right green top right" \
    [ "$(dominants mode-1.png 120 140 120 630 900 90)" = red/yellow/green ]
check "primary: the first monitor as before, and the other black" \
    eval '[ "$(dominant mode-2.png 120 140)" = red ] && black mode-2.png 700 200'

# Explode, a scene each: just after the reset both walls look as just after the start, not
# as just before the reset, and they go on breaking.
show_sample_desktop root >/dev/null
saver_start -root -monitorMode 1 -Mode 0 -enableMovement 0
drawn reset-start.png 505 200 120 140
sleep 5
screenshot reset-before.png
kill -USR1 "$SAVER_PID"
sleep 0.3
screenshot reset-after.png
sleep 1
screenshot reset-later.png
changed() { compare -metric AE -fuzz 10% "$QG_OUT/$1" "$QG_OUT/$2" null: 2>&1; }
reset_changes="$(changed reset-before.png reset-start.png) $(changed reset-after.png reset-start.png)"
check "a reset starts both walls afresh (pixels apart from the start, before and after it: $reset_changes)" \
    eval 'read -r before after <<<"$reset_changes" && [ "$after" -lt $((before / 2)) ]'
check "and the saver runs on and animates" eval 'kill -0 "$SAVER_PID" && differs reset-after.png reset-later.png'
kill -TERM "$SAVER_PID"
saver_time_exit 5
statuses+=$SAVER_STATUS
check "every run ended with 0 ($statuses)" [ "$statuses" = 0000 ]
e2e_finish
