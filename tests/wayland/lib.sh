# Sourced by the native saver's Wayland scenarios (tests/wayland/*_test.sh). Each runs a
# private headless sway with the sample desktop as its wallpaper, with QG_SAVER (the native
# quakeglass), QG_NATIVE_BIN (the native build, with the virtual pointer) and QG_OUT.
wayland_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$wayland_dir/../wayland-env.sh"
. "$wayland_dir/../e2e/lib.sh"
. "$wayland_dir/../native-lib.sh"
trap qg_sway_end EXIT
# No X display to fall back on: the saver must find the compositor by itself.
unset DISPLAY

screenshot() { grim "$QG_OUT/$1"; }

sample_desktop=$QG_OUT/sample-desktop.png
[ -f "$sample_desktop" ] || "$e2e_dir/make_sample_desktop.sh" "$sample_desktop"

# The sample desktop's red top-left block, whose showing says that the wallpaper is up.
sample_red=208,48,48

# pointer_start: a virtual pointer, held while the scenario runs; `pointer COMMAND` moves
# it ("move DX DY") or clicks ("click") and returns once the compositor has it.
pointer_start() {
    coproc POINTER { "$QG_NATIVE_BIN/virtual_pointer"; }
    e2e_pids+=("$POINTER_PID")
    local reply
    read -r reply <&"${POINTER[0]}"
    [ "$reply" = ready ]
}
pointer() {
    local reply
    echo "$*" >&"${POINTER[1]}"
    read -r reply <&"${POINTER[0]}"
}

# running: the saver has not ended.
running() { kill -0 "$SAVER_PID" 2>/dev/null; }
