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

run_daemon False no-grab.png
top=$(mean no-grab.png 40x20+150+140) bottom=$(mean no-grab.png 40x20+150+640)
check "with desktop grabs not allowed: the logo, mirrored" \
    awk -v t="$top" -v b="$bottom" 'BEGIN { exit !(t > b + 0.03 && b > 0.03) }'
check "deactivated, the saver ends within 0.5 s ($SAVER_EXIT_MS ms)" [ "$SAVER_EXIT_MS" -lt 750 ]
rm -rf "$home"
e2e_finish
