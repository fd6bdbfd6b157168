# Sourced by tools and tests: a private wine prefix and a private Xvfb display.
# WINE: without a window manager Wine waits 2 s whenever a managed window is hidden
# or destroyed and keeps keyboard focus from the saver, so the prefix sets Managed=N;
# a crash ends the process (status 5 or 139) instead of waiting in the crash dialog.

qg_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# qg_prefix_init DIR: creates the prefix once and exports the wine environment.
qg_prefix_init() {
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
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

# qg_xvfb_start [GEOMETRY]: starts Xvfb on a free display; sets QG_XVFB_PID and DISPLAY.
qg_xvfb_start() {
    local geometry=${1:-1024x768x24} n
    for n in $(seq 71 199); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 "$geometry" -nolisten tcp >/dev/null 2>&1 &
    QG_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "wine-env: Xvfb did not start on $DISPLAY" >&2
    return 1
}

# qg_session_start DIR [GEOMETRY]: prefix + display + a wineserver kept alive between programs.
qg_session_start() {
    qg_xvfb_start "${2:-}" || return 1
    qg_prefix_init "$1" || return 1
    wineserver -p
    # The first program starts Wine's background services; start them here, away from
    # any caller's pipes, or a caller that reads a program's output waits for them.
    wine cmd /c exit </dev/null >/dev/null 2>&1
}

qg_session_end() {
    wineserver -k 2>/dev/null
    [ -n "${QG_XVFB_PID:-}" ] && kill "$QG_XVFB_PID" 2>/dev/null && wait "$QG_XVFB_PID" 2>/dev/null
    QG_XVFB_PID=
}
