# Sourced by tools and tests: a private wine prefix and a private Xvfb display.
# WINE: without a window manager Wine waits 2 s whenever a managed window is hidden
# or destroyed and keeps keyboard focus from the saver, so the prefix sets Managed=N;
# a crash ends the process (status 5 or 139) instead of waiting in the crash dialog.

qg_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The loader for the prefix's kind (WINEARCH: win64 unless said). Once wine32 is in,
# Debian's /usr/bin/wine starts everything with the 32-bit loader, and Wine's own tools
# started so see the 32-bit registry view and syswow64 as system32.
qg_wine_loader() {
    if [ "${WINEARCH:-win64}" = win32 ]; then echo /usr/lib/wine/wine; else echo /usr/lib/wine/wine64; fi
}
# Every `wine` of the scripts, tests and ctest's emulator is tests/wine-bin/wine, which
# execs that loader (a process of its own: a script's $! and kill reach the program); so is
# the `wine-stable` that Debian's winepath and the like start.
case ":$PATH:" in *":$qg_root/tests/wine-bin:"*) ;; *) export PATH="$qg_root/tests/wine-bin:$PATH" ;; esac

# qg_prefix_init DIR: creates the prefix once (of the kind WINEARCH names) and exports the
# wine environment.
qg_prefix_init() {
    export WINEPREFIX=$1 WINEARCH=${WINEARCH:-win64} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    [ -f "$WINEPREFIX/.quakeglass-ready" ] && return 0
    mkdir -p "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1
    wineserver -w
    local try
    for try in 1 2 3; do
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wineserver -w
        grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" &&
            grep -q '"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg" &&
            { touch "$WINEPREFIX/.quakeglass-ready"; return 0; }
    done
    echo "wine-env: could not set up the test prefix $WINEPREFIX" >&2
    return 1
}

# qg_x_server PID_VARIABLE PROGRAM OPTIONS...: starts an X server on a display it picks
# itself (-displayfd: two sessions started together never share one); sets PID_VARIABLE to
# its process and DISPLAY, and fails with a message when the display does not answer.
qg_x_server() {
    local program=$2 numberfile n i
    numberfile=$(mktemp)
    "$program" -displayfd 9 -nolisten tcp "${@:3}" 9>"$numberfile" >/dev/null 2>&1 &
    printf -v "$1" %s $!
    for i in $(seq 100); do
        n=$(head -n 1 "$numberfile")
        [ -n "$n" ] && break
        sleep 0.05
    done
    rm -f "$numberfile"
    [ -n "$n" ] && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && export DISPLAY=":$n" && return 0
    echo "wine-env: $program did not start (${*:3})" >&2
    return 1
}

# qg_xvfb_start [GEOMETRY | XVFB OPTIONS...]: starts Xvfb; sets QG_XVFB_PID and DISPLAY.
# Default: one 1024x768 screen of 24 bits.
qg_xvfb_start() {
    local options=("$@")
    [ ${#options[@]} -eq 0 ] && options=(1024x768x24)
    [[ ${options[0]} =~ ^[0-9]+x[0-9]+ ]] && options=(-screen 0 "${options[0]}")
    qg_x_server QG_XVFB_PID Xvfb "${options[@]}"
}

# qg_xephyr_start XEPHYR OPTIONS...: a nested Xephyr in an Xvfb of its own, for monitors side
# by side (Xvfb's Xinerama puts every screen at the origin; Xephyr's lays them out left to
# right, and Wine sees them so). Sets QG_XEPHYR_PID, and DISPLAY to the Xephyr.
qg_xephyr_start() {
    qg_xvfb_start -screen 0 2048x1024x24 && qg_x_server QG_XEPHYR_PID Xephyr -noreset "$@"
}

# qg_prefix_start DIR: the prefix, with a wineserver kept alive between programs.
qg_prefix_start() {
    qg_prefix_init "$1" || return 1
    wineserver -p </dev/null >/dev/null 2>&1
    # The first program starts Wine's background services; start them here, away from
    # any caller's pipes, or a caller that reads a program's output waits for them.
    wine cmd /c exit </dev/null >/dev/null 2>&1
}

# qg_session_start DIR [GEOMETRY | XVFB OPTIONS... | --xephyr XEPHYR OPTIONS...]: display + prefix.
qg_session_start() {
    local prefix=$1; shift
    if [ "${1:-}" = --xephyr ]; then
        shift
        qg_xephyr_start "$@" || return 1
    else
        qg_xvfb_start "$@" || return 1
    fi
    qg_prefix_start "$prefix"
}

qg_session_end() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
    if [ -n "${QG_XEPHYR_PID:-}" ]; then kill "$QG_XEPHYR_PID" 2>/dev/null && wait "$QG_XEPHYR_PID" 2>/dev/null; fi
    QG_XEPHYR_PID=
    if [ -n "${QG_XVFB_PID:-}" ]; then kill "$QG_XVFB_PID" 2>/dev/null && wait "$QG_XVFB_PID" 2>/dev/null; fi
    QG_XVFB_PID=
    return 0
}
