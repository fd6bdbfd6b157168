#!/usr/bin/env bash
# The native saver inside another program's window: as a preview (-window-id, in hex
# and in decimal) and for the daemon (XSCREENSAVER_WINDOW). It draws there and nowhere
# else, and ends with 0 when that window goes away or on SIGTERM.
. "$(dirname "$0")/lib.sh"

show_sample_desktop
test_window_start 320 240 600 400
saver_start -window-id "$TEST_WINDOW" "${flat_view[@]}"
drawn preview.png 605 405 760 520
# The plane covers the middle 74% of the window: its corners hold the desktop's blocks.
check "the preview shows the red block at its top left" [ "$(dominant preview.png 660 445)" = red ]
check "the blue block at its bottom right" [ "$(dominant preview.png 860 595)" = blue ]
check "its corners are cleared black" [ "$(pixel_at "$QG_OUT/preview.png" 605 405)" = 0,0,0 ]
check "the desktop around it is untouched" [ "$(dominant preview.png 60 40)" = red ]
test_window_destroy
saver_time_exit 5
check "the window's destruction ends it with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time
check "without a message" [ ! -s "$QG_OUT/saver.err" ]

# A user of the daemon who lets it show the desktop (the system's default may not), with a
# daemon window whose screenshot is gone: the screen itself is read instead.
export HOME=$QG_OUT/home
mkdir -p "$HOME"
echo 'grabDesktopImages: True' >"$HOME/.xscreensaver"
test_window_start 400 300 100 100 screenshot-gone
XSCREENSAVER_WINDOW=$((TEST_WINDOW)) saver_start -root "${flat_view[@]}"
drawn daemon.png 105 105 300 250
check "XSCREENSAVER_WINDOW wins over -root: the window shows the green block" \
    [ "$(dominant daemon.png 430 155)" = green ]
check "and the root is not drawn on" [ "$(dominant daemon.png 940 700)" = blue ]
kill -TERM "$SAVER_PID"
saver_time_exit 5
check "SIGTERM ends it with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time
check "and the window stays" xwininfo -id "$TEST_WINDOW"
check "without a message about the screenshot that is gone" [ ! -s "$QG_OUT/saver.err" ]
test_window_destroy
e2e_finish
