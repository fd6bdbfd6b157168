# Sourced by the native saver's end-to-end scenarios (tests/x11/*_test.sh). Each runs in
# a private Xvfb of its own, with QG_SAVER (the native quakeglass), QG_NATIVE_BIN (the
# native build with the helpers) and QG_OUT (where screenshots go). The checks, the
# sample desktop and the screenshot helpers are those of the Windows scenarios.
x11_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$x11_dir/../wine-env.sh"
. "$x11_dir/../e2e/lib.sh"
. "$x11_dir/../native-lib.sh"
# -noreset: between two programs of a scenario the display has no client, and a reset
# then would take the root's picture and refuse the next program for a moment.
qg_xvfb_start -screen 0 1024x768x24 -noreset || exit 1
trap 'kill "$QG_XVFB_PID" 2>/dev/null' EXIT
# The saver draws on this Xvfb, whichever desktop runs the scenario.
unset WAYLAND_DISPLAY

# test_window_start W H X Y [vroot | input-only | screenshot-gone]: a window of another
# process; TEST_WINDOW is its id, TEST_PIXMAP a pixmap's that it keeps; test_window_destroy
# destroys it.
test_window_start() {
    coproc TEST_WINDOW_PROCESS { "$QG_NATIVE_BIN/test_window" "$@"; }
    e2e_pids+=("$TEST_WINDOW_PROCESS_PID")
    read -r TEST_WINDOW TEST_PIXMAP <&"${TEST_WINDOW_PROCESS[0]}"
}
test_window_destroy() {
    echo destroy >&"${TEST_WINDOW_PROCESS[1]}"
    wait "$TEST_WINDOW_PROCESS_PID" 2>/dev/null
}

# show_sample_desktop [root]: the sample desktop in a full-screen window, or as the root's
# own picture; tried again when the picture did not come up.
show_sample_desktop() {
    local try picture=$QG_OUT/sample-desktop.png
    [ -f "$picture" ] || "$e2e_dir/make_sample_desktop.sh" "$picture"
    [ "${1:-}" = root ] && convert "$picture" -depth 8 "$QG_OUT/sample-desktop.ppm"
    for try in 1 2 3; do
        if [ "${1:-}" = root ]; then "$QG_NATIVE_BIN/root_picture" "$QG_OUT/sample-desktop.ppm"; else show_desktop; fi
        screenshot desktop-shown.png
        [ "$(dominant desktop-shown.png 60 40)" = red ] && return 0
        sleep 0.5
    done
    echo "the sample desktop did not show"
    return 1
}

# another_display XVFB OPTIONS...: a second display beside the scenario's; ANOTHER_DISPLAY
# is its name and ANOTHER_XVFB_PID its server's process.
another_display() {
    read -r ANOTHER_DISPLAY ANOTHER_XVFB_PID < <(qg_xvfb_start "$@" >&2 && echo "$DISPLAY $QG_XVFB_PID")
    e2e_pids+=("$ANOTHER_XVFB_PID")
}

