#!/usr/bin/env bash
# The native saver under the real X11 screen-saver daemon (xscreensaver), listed in its
# programs as a user would list it: activated, it draws on the window the daemon hands
# over; deactivated, it ends at once. It shows the daemon's screenshot of the desktop
# when the user lets the daemon grab desktop images, else (Debian's default) the logo.
# Behind xsecurelock, which runs the same programs line in its lock's window: the logo,
# never the desktop behind the lock, and the lock's reset as its prompt closes (SIGUSR1).
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/daemon_lib.sh"

show_sample_desktop
run_daemon True grab.png
check "activated, the daemon runs the saver" [ -n "$SAVER_FOUND" ]
check "which shows the daemon's screenshot of the desktop: red top left" [ "$(dominant grab.png 192 144)" = red ]
check "and blue bottom right" [ "$(dominant grab.png 832 623)" = blue ]
check "deactivated, the saver ends within 0.5 s ($SAVER_EXIT_MS ms)" [ "$SAVER_EXIT_MS" -lt 750 ]

# The daemon's reading: a later line replaces an earlier one.
run_daemon $'True\ngrabDesktopImages: False' no-grab.png
check "with desktop grabs allowed, then not allowed by a later line: the logo, mirrored" logo_is_mirrored no-grab.png
check "deactivated, the saver ends within 0.5 s ($SAVER_EXIT_MS ms)" [ "$SAVER_EXIT_MS" -lt 750 ]

# A settings file that never ends (a FIFO nobody writes to) is not waited for: the saver,
# run as the daemon runs it, shows the logo at once, says why in one line, and ends on SIGTERM.
rm -f "$home/.xscreensaver"
mkfifo "$home/.xscreensaver"
test_window_start 1024 768 0 0
HOME=$home XSCREENSAVER_WINDOW=$TEST_WINDOW saver_start -root "${flat_view[@]}"
drawn fifo.png 60 40 512 384
check "a FIFO for a settings file: the logo" logo_is_mirrored fifo.png
check "and one line on stderr" [ "$(wc -l <"$QG_OUT/saver.err")" = 1 ]
kill -TERM "$SAVER_PID"
saver_time_exit 5
check "SIGTERM ends it within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time
test_window_destroy

# xsecurelock as a user starts it, with the grab allowed, its prompt closing 1 s after a key.
rm -f "$home/.xscreensaver"
settings $'True\nchooseRandomImages: False' "$(basename "$QG_SAVER")"
HOME=$home XSECURELOCK_SAVER=saver_xscreensaver XSECURELOCK_XSCREENSAVER_PATH=$(dirname "$QG_SAVER") \
    XSECURELOCK_SAVER_RESET_ON_AUTH_CLOSE=1 XSECURELOCK_AUTH_TIMEOUT=1 xsecurelock >"$QG_OUT/xsecurelock.log" 2>&1 &
lock=$!
e2e_pids+=("$lock")
drawn locked.png 60 40 512 384
locked_saver=$(daemon_saver "$lock")
need "xsecurelock runs the saver" [ -n "$locked_saver" ]
check "in the lock's window it shows the logo, not the desktop behind the lock" logo_is_mirrored locked.png
xdotool key space
eventually 50 0.1 grep -q AUTH_TIMEOUT "$QG_OUT/xsecurelock.log"
sleep 1
screenshot reset.png
check "its prompt closed, the lock's reset (SIGUSR1) leaves the same saver drawing the logo" \
    eval 'running "$locked_saver" && logo_is_mirrored reset.png && ! grep -q "saver failed" "$QG_OUT/xsecurelock.log"'
kill -TERM "$lock"
rm -rf "$home"
e2e_finish
