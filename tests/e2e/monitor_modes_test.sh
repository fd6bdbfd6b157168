#!/usr/bin/env bash
# Two monitors side by side, an 800x600 primary left of a 1024x768 one, in each monitor
# mode: one scene across both (its plane runs over the seam), each monitor a scene of its
# own (each with its own part of the desktop, and the black margin of its own plane at the
# seam), the primary alone (the other black); and a stored record without the setting
# runs as one scene across both. Run in a session of its own: tools/check starts it with a
# nested Xephyr of those two screens.
. "$(dirname "$0")/lib.sh"
monitors=$(wine "$QG_BIN/display_probe.exe" monitors 2>/dev/null | tr -d '\r')
check "Wine counts two monitors side by side ($monitors)" [ "$monitors" = "2 primary 800x600 virtual 0,0 1824x768" ]

# The sample desktop over both, the full height of the taller one.
desktop=$QG_OUT/sample-desktop-1824.png
[ -f "$QG_OUT/sample-desktop.png" ] || "$e2e_dir/make_sample_desktop.sh" "$QG_OUT/sample-desktop.png"
convert "$QG_OUT/sample-desktop.png" -resize '1824x768!' "$desktop"
display -borderwidth 0 -geometry +0+0 "$desktop" &
e2e_pids+=($!)
sleep 2

# run_mode FILE [MODE]: the flat view full screen with monitorMode MODE (none: not stored).
run_mode() {
    reg_reset
    reg_set_dword Mode 1 && reg_set_dword xyAmplitude 0 && reg_set_dword enableMovement 0
    [ -n "${2:-}" ] && reg_set_dword monitorMode "$2"
    saver_start /s
    wait_window "Screen Saver" 20 >/dev/null
    sleep 2
    screenshot "$1"
    xdotool key space
    saver_wait_exit 5
}

run_mode span.png
check "no setting: one scene across both, its plane over the seam" [ "$(pixel_at "$QG_OUT/span.png" 800 300)" != 0,0,0 ]
check "and the desktop's red block at its top left" [ "$(dominant span.png 300 150)" = red ]
run_mode span0.png 0
# same_on_monitors A B: two screenshots alike where the picture shows the monitors (Xephyr's
# root shows stray pixels below the smaller one, where no monitor is, and the plane shows
# them too).
same_on_monitors() {
    local area
    for area in 800x540+0+0 994x768+830+0; do
        [ "$(compare -metric AE "$QG_OUT/$1[$area]" "$QG_OUT/$2[$area]" null: 2>&1)" -lt 10000 ] || return 1
    done
}
check "span: the same picture" same_on_monitors span.png span0.png

run_mode each.png 1
check "each: black at the seam, on both sides" \
    [ "$(pixel_at "$QG_OUT/each.png" 795 300),$(pixel_at "$QG_OUT/each.png" 805 300)" = 0,0,0,0,0,0 ]
check "the primary shows its part: the red block top left" [ "$(dominant each.png 150 110)" = red ]
check "the other its own: the green block top right" [ "$(dominant each.png 1600 140)" = green ]
check "and the blue block bottom right" [ "$(dominant each.png 1600 630)" = blue ]

run_mode primary.png 2
check "primary: the primary shows its part" [ "$(dominant primary.png 150 110)" = red ]
check "and the other monitor is black" [ "$(pixel_at "$QG_OUT/primary.png" 1300 400)" = 0,0,0 ]
check "every run ended with 0 ($SAVER_STATUS)" [ "$SAVER_STATUS" = 0 ]
reg_reset
e2e_finish
