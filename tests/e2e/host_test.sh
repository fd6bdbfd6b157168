#!/usr/bin/env bash
# The saver host seen from outside: bad command lines, the full-screen window and
# the ways a user ends it, a second start, the power broadcasts that end it and those
# that do not, and the preview inside a host window that ends in any of three ways.
. "$(dirname "$0")/lib.sh"
reg_reset
# Keep the runs light: the logo needs no desktop capture.
reg_set_dword useOGL 1

# Only the status counts here: a start that a loaded machine makes slow is waited for.
for args in "/x" "/p" "/a 100"; do
    saver_start $args
    saver_wait_exit 60
    check "'$args' exits with -1" [ "$SAVER_STATUS" = 255 ]
done

# Starts a full-screen run and waits for its window; prints nothing.
start_full_screen() {
    saver_start /s
    wait_window "Screen Saver" 60 >/dev/null && sleep 0.5
}

show_desktop
screenshot host-desktop.png
start_full_screen
probe=$(wine "$QG_BIN/window_probe.exe" 2>/dev/null | tr -d '\r')
check "/s shows a topmost 'Screen Saver' window of the saver class over the whole screen" \
    [ "$probe" = "found 0 0 1024 768 topmost" ]
wine "$QG_SCR" /s >/dev/null 2>&1
check "a second /s exits 0 at once" [ $? = 0 ]
check "and the first one stays" kill -0 "$SAVER_PID"
screenshot host-fullscreen.png
# Black, or a flying box that passes: anything but the desktop's red corner.
check "the saver window covers the desktop (its red corner is gone)" \
    [ "$(pixel_at "$QG_OUT/host-fullscreen.png" 5 5)" != "$(pixel_at "$QG_OUT/host-desktop.png" 5 5)" ]
xdotool key space
saver_time_exit 5
check "a key press ends it with 0 within a second ($SAVER_EXIT_MS ms)" \
    [ "$SAVER_STATUS" = 0 -a "$SAVER_EXIT_MS" -lt 1000 ]

# Power broadcasts: the battery's charge changing (the power source as it was) and a power
# setting going by leave the saver running and animating; the machine suspending ends it.
start_full_screen
for event in 10 32787; do  # PBT_APMPOWERSTATUSCHANGE, PBT_POWERSETTINGCHANGE
    wine "$QG_BIN/window_probe.exe" post 536 "$event" >/dev/null 2>&1  # WM_POWERBROADCAST
done
sleep 1
screenshot host-power-1.png
sleep 0.5
screenshot host-power-2.png
check "a power status change and a power setting change leave it running and animating" \
    eval 'kill -0 "$SAVER_PID" && differs host-power-1.png host-power-2.png'
wine "$QG_BIN/window_probe.exe" post 536 4 >/dev/null 2>&1  # PBT_APMSUSPEND
saver_wait_exit 5
check "the machine suspending ends it with 0" [ "$SAVER_STATUS" = 0 ]

# alive PID: running, not a zombie that waits to be reaped.
alive() {
    local state
    state=$(ps -o stat= -p "$1") && [ "${state#Z}" = "$state" ]
}
# end_by key | click | moves: ends the run as a user does; ENDED_FROM is when the saver had
# what ends it. The saver ends on the seventh mouse move it sees, and Wine merges the moves
# that come while it is busy: like a user, this one moves on until it ends, and counts from
# its seventh move.
end_by() {
    case $1 in
        key) xdotool key a; ENDED_FROM=$(date +%s%N) ;;
        click) xdotool click 1; ENDED_FROM=$(date +%s%N) ;;
        moves)
            local i
            for i in $(seq 1 60); do
                xdotool mousemove $((100 + 37 * (i % 20))) $((80 + 23 * (i % 20)))
                [ "$i" = 7 ] && ENDED_FROM=$(date +%s%N)
                [ "$i" -ge 9 ] && ! alive "$SAVER_PID" && break
                sleep 0.03
            done ;;
    esac
}

# Twenty runs in a row, ended every way a user ends one: every exit must be clean.
statuses=()
for i in $(seq 0 19); do
    way=$(echo key click moves | cut -d' ' -f$((i % 3 + 1)))
    start_full_screen
    end_by "$way"
    saver_wait_exit 5
    statuses+=("$way:$SAVER_STATUS:$(( ($(date +%s%N) - ENDED_FROM) / 1000000 ))ms")
done
echo "runs: ${statuses[*]}"
check "20 runs ended by keys, clicks and mouse moves all exit 0 within a second" \
    bash -c '! printf "%s\n" "$@" | grep -v -E ":0:([0-9]{1,3})ms$"' _ "${statuses[@]}"

# A key pressed while the saver starts, before its window exists, ends it once the window is
# up: an 8192 x 8192 texture makes the start long. WINE: keys reach Wine only through a
# window of its own, so the desktop that has the focus is a Windows program's.
kill "$DESKTOP_PID"
reg_reset
reg_set_dword screenTextureWidth 8192 && reg_set_dword screenTextureHeight 8192
wine "$QG_BIN/test_desktop.exe" 3060a0 >/dev/null 2>&1 &
e2e_pids+=($!)
wait_window "Test desktop" 20 >/dev/null
sleep 0.5
check "the test desktop has the keyboard" [ "$(xdotool getwindowfocus getwindowname)" = "Test desktop" ]
saver_start /s
# The key goes in while the saver squeezes the desktop into its 8192 x 8192 texture, after the
# early-input watch is in place and before the window is: the process is past 100 MB then.
for i in $(seq 500); do
    [ "$(awk '/^VmRSS/ { print $2 }' "/proc/$SAVER_PID/status" 2>/dev/null || echo 0)" -gt 100000 ] && break
    sleep 0.01
done
early_window=$(xdotool search --onlyvisible --name '^Screen Saver$' 2>/dev/null)
xdotool key a
saver_wait_exit 20
check "a key that came before the saver window ends it with 0 once the window is up" \
    eval '[ -z "$early_window" ] && [ "$SAVER_STATUS" = 0 ]'
reg_reset
reg_set_dword useOGL 1

# wait_line FILE PATTERN SECONDS: waits for a line of a file that a program writes.
wait_line() {
    local deadline=$((SECONDS + $3))
    until grep -q "$2" "$1" 2>/dev/null; do [ "$SECONDS" -lt "$deadline" ] || return 1; sleep 0.05; done
}

# preview_host_ends WAY: a preview in a host that closes its window, is killed, or
# terminates itself; preview_out is what the host and, for the last two, its watcher saw.
preview_host_ends() {
    local log=$QG_OUT/preview-$1.txt watch_log=$QG_OUT/preview-$1-watch.txt host watcher
    : >"$log"; : >"$watch_log"  # now: the host's own redirection comes later
    wine "$QG_BIN/preview_host.exe" "$QG_SCR" 1 "$1" >"$log" 2>/dev/null &
    host=$!
    e2e_pids+=("$host")
    if [ "$1" != close ] && wait_line "$log" '^pids ' 20; then
        wine "$QG_BIN/preview_host.exe" --watch $(awk '$1 == "pids" {print $2, $3}' "$log" | tr -d '\r') \
            >"$watch_log" 2>/dev/null &
        watcher=$!
        e2e_pids+=("$watcher")
        wait_line "$watch_log" '^watching' 10 && [ "$1" = kill ] && kill -9 "$host"
        wait "$watcher"
    fi
    wait "$host" 2>/dev/null
    preview_out=$(cat "$log" "$watch_log" | tr -d '\r')
}

# The preview ends with its host however the host ends, and saves the settings as it goes.
for way in close kill terminate; do
    reg_reset
    reg_set_dword useOGL 1
    preview_host_ends "$way"
    echo "$preview_out"
    check "host $way: /p puts a 152x112 child titled Preview in the host window" \
        grep -q '^child Preview 152x112$' <<<"$preview_out"
    check "host $way: the preview ignores input" grep -q '^alive-after-input$' <<<"$preview_out"
    exit_ms=$(awk '$1 == "exit" && $2 == "ended" && $3 == 0 {print $4}' <<<"$preview_out")
    check "host $way: the preview ends with 0 within a second ($exit_ms ms)" \
        [ -n "$exit_ms" -a "${exit_ms:-9999}" -lt 1000 ]
    check "host $way: the preview saves the settings when it ends" [ "$(reg_get_dword zoom0)" = 25 ]
done

reg_reset
e2e_finish
