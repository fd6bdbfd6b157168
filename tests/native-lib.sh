# Sourced by the native saver's scenarios, on X11 (tests/x11/) and on Wayland
# (tests/wayland/), after tests/e2e/lib.sh: starting the saver, its ends, and how its
# pictures are read. Each host's lib defines `screenshot` for its desktop.

# saver_start ARGS...: starts the native saver; its messages go to $QG_OUT/saver.err.
saver_start() {
    "$QG_SAVER" "$@" 2>"$QG_OUT/saver.err" &
    SAVER_PID=$!
    e2e_pids+=("$SAVER_PID")
}

# ended_in_time: the bound for every end the saver is asked for, with slack for a loaded
# machine; SAVER_EXIT_MS comes from saver_time_exit. QG_END_MS sets another bound for a
# sanitized build, whose exit runs the leak check (the plain build's runs time the ends).
ended_in_time() { [ "$SAVER_STATUS" = 0 ] && [ "$SAVER_EXIT_MS" -lt "${QG_END_MS:-750}" ]; }

# drawn FILE BLACK_X BLACK_Y LIT_X LIT_Y: waits (up to 10 s, as start-up is slower on a
# loaded machine) until the saver shows: a point it clears is black and a point of its
# plane is not; keeps that screenshot as FILE.
drawn() {
    local i
    for i in $(seq 40); do
        screenshot "$1"
        [ "$(pixel_at "$QG_OUT/$1" "$2" "$3")" = 0,0,0 ] && [ "$(pixel_at "$QG_OUT/$1" "$4" "$5")" != 0,0,0 ] &&
            return 0
        sleep 0.25
    done
    return 1
}

# The flat Wave1 view in which the plane shows the whole snapshot upright.
flat_view=(-Mode 1 -xyAmplitude 0 -enableMovement 0)

# eventually TRIES PAUSE COMMAND...: COMMAND holds at one of TRIES + 1 tries, PAUSE seconds apart.
eventually() {
    local i
    for i in $(seq "$1"); do "${@:3}" && return 0; sleep "$2"; done
    "${@:3}"
}

# peak_kb: the saver's peak resident memory so far.
peak_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$SAVER_PID/status"; }

# many_scans FILE: a 3000x3000 progressive JPEG whose shortest scan comes 8320 times more.
# libjpeg warns of the progression and works through every one: 5 s of decoding on a fast
# machine, well past the saver's 2 s (a quarter of the scans took 1.4 to 2.3 s there).
many_scans() {
    convert -size 3000x3000 gradient:red-blue -interlace Plane "jpeg:$1.one" && perl -e '
        binmode STDIN; binmode STDOUT; local $/; my $jpeg = <STDIN>;
        my ($at, $scan, $length) = (2, 0, 0);
        while ($at + 4 <= length $jpeg && substr($jpeg, $at + 1, 1) ne "\xD9") {
            my $marker = substr($jpeg, $at + 1, 1);
            my $next = $at + 2 + unpack("n", substr($jpeg, $at + 2, 2));
            if ($marker eq "\xDA") {  # its data runs to a marker that is no stuffed byte nor restart
                $next++ while $next + 1 < length $jpeg && !(substr($jpeg, $next, 1) eq "\xFF" &&
                    substr($jpeg, $next + 1, 1) !~ /[\x00\xD0-\xD7]/);
                ($scan, $length) = ($at, $next - $at) if !$length || $next - $at < $length;
            }
            $at = $next;
        }
        print substr($jpeg, 0, $at), substr($jpeg, $scan, $length) x 8320, substr($jpeg, $at);' <"$1.one" >"$1" &&
        rm "$1.one"
}
