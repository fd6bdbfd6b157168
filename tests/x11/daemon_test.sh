#!/usr/bin/env bash
# The native saver under the real X11 screen-saver daemon (xscreensaver), listed in its
# programs as a user would list it: activated, it draws on the window the daemon hands
# over; deactivated, it ends at once. It shows the daemon's screenshot of the desktop
# when the user lets the daemon grab desktop images, else (Debian's default) the logo.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/daemon_lib.sh"

show_sample_desktop
run_daemon True grab.png
check "activated, the daemon runs the saver" [ -n "$SAVER_FOUND" ]
check "which shows the daemon's screenshot of the desktop: red top left" [ "$(dominant grab.png 192 144)" = red ]
check "and blue bottom right" [ "$(dominant grab.png 832 623)" = blue ]
check "deactivated, the saver ends within 0.5 s ($SAVER_EXIT_MS ms)" [ "$SAVER_EXIT_MS" -lt 750 ]

# shows_logo FILE: the logo, mirrored, fills the flat view: brighter at its top.
shows_logo() {
    local top bottom
    top=$(mean "$1" 40x20+150+140) bottom=$(mean "$1" 40x20+150+640)
    awk -v t="$top" -v b="$bottom" 'BEGIN { exit !(t > b + 0.03 && b > 0.03) }'
}

# The daemon's reading: a later line replaces an earlier one.
run_daemon $'True\ngrabDesktopImages: False' no-grab.png
check "with desktop grabs allowed, then not allowed by a later line: the logo, mirrored" shows_logo no-grab.png
check "deactivated, the saver ends within 0.5 s ($SAVER_EXIT_MS ms)" [ "$SAVER_EXIT_MS" -lt 750 ]

# A settings file that never ends (a FIFO nobody writes to) is not waited for: the saver,
# run as the daemon runs it, shows the logo at once, says why in one line, and ends on SIGTERM.
rm -f "$home/.xscreensaver"
mkfifo "$home/.xscreensaver"
test_window_start 1024 768 0 0
HOME=$home XSCREENSAVER_WINDOW=$TEST_WINDOW saver_start -root "${flat_view[@]}"
drawn fifo.png 60 40 512 384
check "a FIFO for a settings file: the logo" shows_logo fifo.png
check "and one line on stderr" [ "$(wc -l <"$QG_OUT/saver.err")" = 1 ]
kill -TERM "$SAVER_PID"
saver_time_exit 5
check "SIGTERM ends it within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time
test_window_destroy
rm -rf "$home"
e2e_finish
