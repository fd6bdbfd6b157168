# Sourced by the end-to-end scenarios (and, for its checks and screenshots, by the native
# ones in tests/x11/). They run inside tools/wine-session (a private
# Xvfb display and wine prefix) with QG_SCR (quakeglass.scr), QG_BIN (the Windows
# build folder with the helper programs) and QG_OUT (where screenshots go).
set -u
e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
qg_key='HKCU\Software\Veltrask\ss\qg\16'
mkdir -p "$QG_OUT"
e2e_failures=0
e2e_pids=()

# check "what" COMMAND...: one verdict line; a failure is counted, the scenario goes on.
check() {
    local what=$1; shift
    if "$@"; then echo "ok   - $what"; else echo "FAIL - $what"; e2e_failures=$((e2e_failures + 1)); fi
}

# need "what" COMMAND...: a set-up step that the checks after it stand on: a check of its
# own, and when it fails the scenario ends there, failed.
need() {
    local before=$e2e_failures
    check "$@"
    if [ "$e2e_failures" -ne "$before" ]; then e2e_finish; fi
}

# Ends the scenario: stops what it started and exits 1 when a check failed.
e2e_finish() {
    local pid
    for pid in "${e2e_pids[@]}"; do kill "$pid" 2>/dev/null; done
    [ "$e2e_failures" -eq 0 ]
    exit $?
}

reg_reset() { wine reg delete "$qg_key" /f >/dev/null 2>&1; return 0; }
reg_set_dword() { wine reg add "$qg_key" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1; }
# Prints the names of the DWORD values the key holds, from one query.
reg_dword_names() {
    wine reg query "$qg_key" 2>/dev/null | tr -d '\r' | awk '$2 == "REG_DWORD" {print $1}'
}
# Prints the value as a signed decimal number, or nothing when it is missing.
reg_get_dword() {
    local hex
    hex=$(wine reg query "$qg_key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}')
    [ -n "$hex" ] && echo $(( (hex ^ 0x80000000) - 0x80000000 ))
}

# saver_start ARGS...: starts quakeglass.scr; SAVER_PID is the wine process.
saver_start() {
    wine "$QG_SCR" "$@" >/dev/null 2>&1 &
    SAVER_PID=$!
    e2e_pids+=("$SAVER_PID")
}

# saver_wait_exit SECONDS: waits for the saver; SAVER_STATUS is its exit status,
# or "running" (and the saver is killed) when it did not end in time.
saver_wait_exit() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$SAVER_PID" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.05; done
    if kill -0 "$SAVER_PID" 2>/dev/null; then
        SAVER_STATUS=running
        kill "$SAVER_PID" 2>/dev/null
        wait "$SAVER_PID" 2>/dev/null
    else
        wait "$SAVER_PID"
        SAVER_STATUS=$?
    fi
}

# Milliseconds for the saver to end after the current moment, as SAVER_STATUS plus SAVER_EXIT_MS.
saver_time_exit() {
    local start=$(date +%s%N)
    saver_wait_exit "$1"
    SAVER_EXIT_MS=$(( ($(date +%s%N) - start) / 1000000 ))
}

# wait_window NAME [SECONDS]: prints the X window id of the first visible window of that
# exact title once it is mapped.
wait_window() {
    local deadline=$((SECONDS + ${2:-15})) id
    while [ "$SECONDS" -lt "$deadline" ]; do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

screenshot() { import -window root "$QG_OUT/$1"; }

# show_desktop [WIDTHxHEIGHT]: puts the sample desktop picture full screen (stretched to
# that size), as a user's desktop.
show_desktop() {
    local picture=$QG_OUT/sample-desktop.png
    [ -f "$picture" ] || "$e2e_dir/make_sample_desktop.sh" "$picture"
    if [ -n "${1:-}" ]; then
        convert "$picture" -resize "$1!" "$QG_OUT/sample-desktop-$1.png"
        picture=$QG_OUT/sample-desktop-$1.png
    fi
    display -borderwidth 0 -geometry +0+0 "$picture" &
    DESKTOP_PID=$!
    e2e_pids+=("$DESKTOP_PID")
    local i
    for i in $(seq 50); do
        xdotool search --pid "$DESKTOP_PID" >/dev/null 2>&1 && break
        sleep 0.1
    done
    sleep 0.3
}

# flat_run FILE [NAME VALUE]...: the flat Wave1 view full screen, with those settings stored
# too; a screenshot after 2 s, then a key. SAVER_RAN says whether it still ran at the
# screenshot, SAVER_STATUS how it ended.
flat_run() {
    local file=$1; shift
    reg_reset
    reg_set_dword Mode 1; reg_set_dword xyAmplitude 0; reg_set_dword enableMovement 0
    while [ $# -ge 2 ]; do reg_set_dword "$1" "$2"; shift 2; done
    saver_start /s
    wait_window "Screen Saver" 20 >/dev/null
    sleep 2
    screenshot "$file"
    SAVER_RAN=no
    kill -0 "$SAVER_PID" 2>/dev/null && SAVER_RAN=yes
    xdotool key space
    saver_wait_exit 5
}

# pixel_at FILE X Y: prints "r,g,b" of one pixel of a screenshot.
pixel_at() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# dominant FILE X Y: red, green, blue or yellow, by the pixel's leading channels
# (the light falls off toward the plane's edges, so only proportions count).
dominant() { colour_name "$(pixel_at "$QG_OUT/$1" "$2" "$3")"; }
# colour_name R,G,B: the same by the colour's leading channels.
colour_name() {
    local rgb=$1 r g b
    IFS=, read -r r g b <<<"$rgb"
    if [ "$r" -gt 60 ] && [ "$g" -gt 60 ] && [ "$r" -gt $((2 * b)) ] && [ "$g" -gt $((2 * b)) ]; then echo yellow
    elif [ "$r" -gt 60 ] && [ "$r" -gt $((2 * g)) ] && [ "$r" -gt $((2 * b)) ]; then echo red
    elif [ "$g" -gt 60 ] && [ "$g" -gt $((3 * r / 2)) ] && [ "$g" -gt $((3 * b / 2)) ]; then echo green
    elif [ "$b" -gt 60 ] && [ "$b" -gt $((3 * r / 2)) ] && [ "$b" -gt $((3 * g / 2)) ]; then echo blue
    else echo "other($rgb)"; fi
}
# dominants FILE X Y [X Y]...: the colour names of those points, joined by "/".
dominants() {
    local file=$1 names=()
    shift
    while [ $# -ge 2 ]; do names+=("$(dominant "$file" "$1" "$2")"); shift 2; done
    (IFS=/; echo "${names[*]}")
}
# black FILE X Y [X Y]...: every one of those points is black.
black() {
    local file=$1
    shift
    while [ $# -ge 2 ]; do [ "$(pixel_at "$QG_OUT/$file" "$1" "$2")" = 0,0,0 ] || return 1; shift 2; done
}
# mean FILE GEOMETRY: the mean brightness (0..1) of an area of a screenshot.
mean() { convert "$QG_OUT/$1" -crop "$2" -format '%[fx:mean]' info:; }
# The logo shows mirrored top to bottom, as on Windows: its dark top edge at the bottom.
logo_is_mirrored() {
    local top bottom
    top=$(mean "$1" 40x20+150+140) bottom=$(mean "$1" 40x20+150+640)
    awk -v t="$top" -v b="$bottom" 'BEGIN { exit !(t > b + 0.03 && b > 0.03) }'
}
differs() { [ "$(compare -metric AE "$QG_OUT/$1" "$QG_OUT/$2" null: 2>&1)" -gt 2000 ]; }
