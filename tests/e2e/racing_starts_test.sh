#!/usr/bin/env bash
# Two full-screen starts let go at the same moment, ten times: one window each time,
# and one key ends the run; both starts exit with 0.
. "$(dirname "$0")/lib.sh"
reg_reset
reg_set_dword useOGL 1

saver_windows() { xdotool search --onlyvisible --name '^Screen Saver$' 2>/dev/null | wc -l; }

pairs=()
for i in $(seq 1 10); do
    wine "$QG_BIN/start_together.exe" "$QG_SCR" 15 >"$QG_OUT/pair.txt" 2>/dev/null &
    pair=$!
    e2e_pids+=("$pair")
    wait_window "Screen Saver" 20 >/dev/null
    sleep 1  # a second window would be up by now
    windows=$(saver_windows)
    xdotool key space
    wait "$pair"
    pairs+=("$windows:$(awk '$1 == "exit" {print $2 ":" $3}' "$QG_OUT/pair.txt" | tr -d '\r')")
done
echo "windows:status:status of each pair: ${pairs[*]}"
check "two starts together show one window every time" \
    bash -c '! printf "%s\n" "$@" | grep -v "^1:"' _ "${pairs[@]}"
check "and one key ends both with 0" bash -c '! printf "%s\n" "$@" | grep -v ":0:0$"' _ "${pairs[@]}"

reg_reset
e2e_finish
