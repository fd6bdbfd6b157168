# Sourced by the scenarios that run the native saver under the real X11 screen-saver daemon
# (xscreensaver), after tests/x11/lib.sh: the daemon as a user runs it, with a home of its
# own, and one activation of it with the saver as QG_SAVER names it on the programs line.
# The daemon runs no programs as root: it runs as nobody then.
as_user=()
[ "$(id -u)" = 0 ] && as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
home=$(mktemp -d)
chmod 755 "$home"
[ "$(id -u)" = 0 ] && chown nobody:nogroup "$home"
daemon() { "${as_user[@]}" env HOME="$home" "$@"; }

# Alive and not a zombie: the daemon reaps its programs only when it gets round to it.
running() {
    local state
    state=$(ps -o stat= -p "$1")
    [ -n "$state" ] && [ "${state#Z}" = "$state" ]
}

# The saver among the daemon's descendants: scenarios that run beside this one have
# savers of their own with the same command line.
daemon_saver() {
    local generation=$1 pid
    while [ -n "$generation" ]; do
        for pid in $generation; do
            ps -o args= -p "$pid" | grep -q "^$QG_SAVER -root" && { echo "$pid"; return; }
        done
        generation=$(for pid in $generation; do pgrep -P "$pid"; done)
    done
}

# settings GRAB [PROGRAM]: the daemon's settings file, with grabDesktopImages GRAB and the
# saver (QG_SAVER, or PROGRAM as found on the daemon's path) first on its programs line.
settings() {
    cat >"$home/.xscreensaver" <<EOF2
mode: one
selected: 0
lock: False
fade: False
unfade: False
splash: False
dpmsEnabled: False
grabDesktopImages: $1
programs: GL: ${2:-$QG_SAVER} -root ${flat_view[*]} \n
EOF2
}

# run_daemon GRAB FILE: activates the daemon with grabDesktopImages GRAB, takes a
# screenshot of our program drawing, deactivates; SAVER_FOUND is the program's process,
# SAVER_EXE the file it ran, SAVER_EXIT_MS how long it lasted once deactivated.
run_daemon() {
    settings "$1"
    daemon xscreensaver -no-splash >"$QG_OUT/xscreensaver.log" 2>&1 &
    local xscreensaver=$! i pid=
    sleep 1.5
    daemon xscreensaver-command -activate >/dev/null 2>&1
    for i in $(seq 60); do
        pid=$(daemon_saver "$xscreensaver")
        [ -n "$pid" ] && SAVER_EXE=$(readlink "/proc/$pid/exe") && break
        sleep 0.1
    done
    drawn "$2" 60 40 512 384
    local start=$(date +%s%N)
    daemon xscreensaver-command -deactivate >/dev/null 2>&1
    while [ -n "$pid" ] && running "$pid" && [ $(($(date +%s%N) - start)) -lt 5000000000 ]; do sleep 0.02; done
    SAVER_EXIT_MS=$(( ($(date +%s%N) - start) / 1000000 ))
    SAVER_FOUND=$pid
    daemon xscreensaver-command -exit >/dev/null 2>&1
    wait "$xscreensaver" 2>/dev/null
}
