# Sourced by the Wayland scenarios, tools/demo and tools/bench: a private headless sway.
# It refuses to run as root, so root runs it as nobody, in a runtime directory of its own;
# root's clients reach its socket all the same. It composes every output (-D noscanout):
# where it shows a full-screen window's buffers directly, sway 1.7's screenshots of that
# output can be older frames, even the desktop from before the window.

# qg_sway_start [--scan-out] OUTPUT...: one headless output for each argument, which is
# that output's sway configuration ("mode 1024x768 position 0 0 bg PICTURE fill"; a picture
# is copied where nobody can read it). --scan-out lets sway show full-screen buffers
# directly, as on a real desktop (for measures that take no screenshots). Sets QG_SWAY_PID,
# QG_SWAY_DIR, WAYLAND_DISPLAY (a path) and SWAYSOCK, and returns once every output is there.
qg_sway_start() {
    local dir i=0 output as_nobody=() word compose=(-D noscanout)
    [ "$1" = --scan-out ] && { compose=(); shift; }
    dir=$(mktemp -d /tmp/qg-sway.XXXXXX)
    echo "default_border none" >"$dir/config"
    for output in "$@"; do
        i=$((i + 1))
        local words=()
        for word in $output; do
            [ -f "$word" ] && cp "$word" "$dir/wallpaper-$i.png" && word=$dir/wallpaper-$i.png
            words+=("$word")
        done
        echo "output HEADLESS-$i ${words[*]}" >>"$dir/config"
    done
    chmod 700 "$dir"
    [ "$(id -u)" = 0 ] && { chown -R nobody:nogroup "$dir"; as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups); }
    "${as_nobody[@]}" env -i PATH=/usr/bin:/bin HOME="$dir" XDG_RUNTIME_DIR="$dir" WLR_BACKENDS=headless \
        WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS="$#" sway "${compose[@]}" -c "$dir/config" \
        >"$dir/sway.log" 2>&1 &
    QG_SWAY_PID=$! QG_SWAY_DIR=$dir
    for i in $(seq 100); do
        SWAYSOCK=$(ls "$dir"/sway-ipc.*.sock 2>/dev/null | head -n 1)
        if [ -n "$SWAYSOCK" ] && [ -S "$dir/wayland-1" ]; then
            export SWAYSOCK WAYLAND_DISPLAY=$dir/wayland-1
            [ "$(swaymsg -t get_outputs -r 2>/dev/null | grep -c '"name": "HEADLESS')" = "$#" ] && return 0
        fi
        sleep 0.1
    done
    echo "wayland-env: headless sway did not start (see $dir/sway.log)" >&2
    return 1
}

# qg_sway_shows X Y R,G,B: waits (up to 10 s) until the desktop shows that colour at that
# point: a wallpaper comes up a moment after its output, and sway's grey stands till then.
qg_sway_shows() {
    local i
    for i in $(seq 40); do
        [ "$(grim -g "$1,$2 1x1" -t ppm - | convert - -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:)" = "$3" ] &&
            return 0
        sleep 0.25
    done
    echo "wayland-env: the desktop does not show $3 at $1,$2" >&2
    return 1
}

# qg_sway_end: stops the sway that qg_sway_start started (its wallpaper programs end with it).
qg_sway_end() {
    [ -n "${QG_SWAY_PID:-}" ] && kill "$QG_SWAY_PID" 2>/dev/null && wait "$QG_SWAY_PID" 2>/dev/null
    [ -n "${QG_SWAY_DIR:-}" ] && rm -rf "$QG_SWAY_DIR"
    QG_SWAY_PID= QG_SWAY_DIR=
    return 0
}
