#!/usr/bin/env bash
# The configuration run: /c shows the dialog, a preset, a choice of monitors and OK store
# them, Cancel stores nothing, /c:<window> puts the dialog over that window, the About
# banner scales with the dialog at 200%; screenshots for the README.
. "$(dirname "$0")/lib.sh"
title="Quakeglass Configuration"
driver() { wine "$QG_BIN/dialog_driver.exe" "$@" 2>/dev/null | tr -d '\r'; }

reg_reset
saver_start /c
check "/c shows the configuration dialog" [ "$(driver find "$title" | cut -d' ' -f1)" = found ]
sleep 0.5
screenshot config-dialog.png
driver click "$title" 1016 >/dev/null  # About
check "About opens over it" [ "$(driver find About | cut -d' ' -f1)" = found ]
sleep 0.5
screenshot about-dialog.png
read -r dialog100 banner100 <<<"$(driver widths About 1021)"
driver click About 1 >/dev/null
driver choose "$title" 1094 2 >/dev/null  # Monitors: Primary monitor only
driver click "$title" 1066 1 >/dev/null  # Wave preset 2, then OK
saver_wait_exit 10
check "OK ends the run with 1" [ "$SAVER_STATUS" = 1 ]
check "and stores the preset (Mode $(reg_get_dword Mode), x_div $(reg_get_dword x_div))" \
    [ "$(reg_get_dword Mode) $(reg_get_dword x_div) $(reg_get_dword rotZ0)" = "2 80 360" ]
check "and the monitors chosen (monitorMode $(reg_get_dword monitorMode))" [ "$(reg_get_dword monitorMode)" = 2 ]

reg_reset
saver_start /c
driver click "$title" 1068 2 >/dev/null  # Wave preset 4, then Cancel
saver_wait_exit 10
check "Cancel ends the run with 2" [ "$SAVER_STATUS" = 2 ]
check "and stores nothing" [ -z "$(reg_get_dword Mode)" ]

wine "$QG_BIN/dialog_driver.exe" window 8 >"$QG_OUT/owner.txt" 2>/dev/null &
e2e_pids+=($!)
sleep 1.5
owner=$(tr -d '\r' <"$QG_OUT/owner.txt" | head -n 1)
saver_start "/c:$owner"
found=$(driver find "$title")
check "/c:$owner puts the dialog over that window ($found)" [ "${found##* }" = "$owner" ]
driver click "$title" 2 >/dev/null
saver_wait_exit 10

# 200%: Windows scales the dialog's font and units, the banner is ours to scale.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
saver_start /c
driver click "$title" 1016 >/dev/null
read -r dialog200 banner200 <<<"$(driver widths About 1021)"
screenshot about-dialog-200.png
driver click About 1 >/dev/null
driver click "$title" 2 >/dev/null
saver_wait_exit 10
wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
check "at 200% the banner grows with the dialog (dialog $dialog100 to $dialog200, banner $banner100 to $banner200 pixels)" \
    [ $((10 * banner200 * dialog100)) -ge $((9 * banner100 * dialog200)) ]
reg_reset
e2e_finish
