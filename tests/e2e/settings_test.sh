#!/usr/bin/env bash
# A saver run writes the whole settings record back, and a random preset drawn at
# its start is what the registry holds afterwards.
. "$(dirname "$0")/lib.sh"
fields="Priority x_div y_div xyAmplitude xyFrequency1 xyFrequency2 xySizeX xySizeY Mode genChildren
xyGoraud useLinear screenTextureWidth screenTextureHeight useTrails enableMovement rotX0 rotX1
rotY0 rotY1 rotZ0 rotZ1 zoom0 zoom1 useOGL randPreset resW resH resC monitorMode"

run_once() {
    saver_start /s
    wait_window "Screen Saver" 20 >/dev/null && sleep 0.5
    xdotool key space
    saver_wait_exit 5
}

reg_reset
reg_set_dword useOGL 1
run_once
check "the run ends with 0" [ "$SAVER_STATUS" = 0 ]
stored_names=$(reg_dword_names)
missing=""
for name in $fields; do grep -qx "$name" <<<"$stored_names" || missing="$missing $name"; done
check "after a run all 30 values are stored (missing:${missing:- none})" [ -z "$missing" ]
check "stored values are the defaults" [ "$(reg_get_dword x_div) $(reg_get_dword zoom0) $(reg_get_dword screenTextureWidth)" = "25 25 512" ]

# x_div y_div Mode rotZ0 zoom0 of the eight presets.
presets="30 25 0 45 3|5 35 0 60 4|40 5 0 0 5|5 5 0 20 5|60 40 3 0 14|80 60 2 360 13|80 60 3 3600 14|60 40 3 45 25"
seen=""
for i in 1 2 3; do
    reg_reset
    reg_set_dword useOGL 1
    reg_set_dword randPreset 1
    reg_set_dword enableMovement 0
    run_once
    stored="$(reg_get_dword x_div) $(reg_get_dword y_div) $(reg_get_dword Mode) $(reg_get_dword rotZ0) $(reg_get_dword zoom0)"
    seen="$seen[$stored]"
    check "run $i with a random preset stores one of the eight presets ($stored)" \
        grep -q -F -x "$stored" <<<"$(tr '|' '\n' <<<"$presets")"
    check "run $i: the preset switched movement on" [ "$(reg_get_dword enableMovement)" = 1 ]
done
echo "presets drawn: $seen"
reg_reset
e2e_finish
