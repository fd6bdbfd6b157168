#!/usr/bin/env bash
# The Change Resolution dialog inside quakeglass.scr, over the modes Wine lists for the
# virtual screen: Enter takes OK and saves the entry it opened on, Escape cancels and
# saves nothing. Its screenshot shows the template's layout.
. "$(dirname "$0")/lib.sh"

# open_dialog KEY [SCREENSHOT]: opens the dialog on the stored settings, presses KEY;
# prints its result line.
open_dialog() {
    wine "$QG_BIN/resolution_dialog_host.exe" "$QG_SCR" 2>/dev/null >"$QG_OUT/resolution-dialog.out" &
    local host=$!
    e2e_pids+=("$host")
    wait_window "Change Resolution" 20 >/dev/null && sleep 0.5
    [ -n "${2:-}" ] && screenshot "$2"
    xdotool key "$1"
    wait "$host"
    tr -d '\r' <"$QG_OUT/resolution-dialog.out"
}
stored_mode() { echo "$(reg_get_dword resW) $(reg_get_dword resH) $(reg_get_dword resC)"; }

reg_reset
reg_set_dword resW 1024 && reg_set_dword resH 768 && reg_set_dword resC 16
result=$(open_dialog Return resolution-dialog.png)
check "Enter ends it with OK on the listed 1024x768x16 ($result)" [ "$result" = "result 1 1024 768 16" ]
reg_set_dword resW 0
result=$(open_dialog Escape)
check "Escape ends it with Cancel ($result)" [ "$result" = "result 2 0 768 16" ]
check "and leaves the registry alone ($(stored_mode))" [ "$(stored_mode)" = "0 768 16" ]

reg_reset
e2e_finish
