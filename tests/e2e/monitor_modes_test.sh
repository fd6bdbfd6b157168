#!/usr/bin/env bash
# Two monitors side by side, an 800x600 primary left of a 1024x768 one, in each monitor
# mode, and with a stored record that lacks the setting. tools/check runs it in a nested
# Xephyr of those two screens.
. "$(dirname "$0")/lib.sh"
monitors=$(wine "$QG_BIN/display_probe.exe" monitors 2>/dev/null | tr -d '\r')
check "Wine counts two monitors side by side ($monitors)" [ "$monitors" = "2 primary 800x600 virtual 0,0 1824x768" ]

show_desktop 1824x768  # over both, the full height of the taller one
# same_on_monitors A B: two screenshots alike where the picture shows the monitors (Xephyr's
# root shows stray pixels below the smaller one, where no monitor is, and the plane shows
# them too).
same_on_monitors() {
    local area
    for area in 800x540+0+0 994x768+830+0; do
        [ "$(compare -metric AE "$QG_OUT/$1[$area]" "$QG_OUT/$2[$area]" null: 2>&1)" -lt 10000 ] || return 1
    done
}
statuses=
run_mode() { flat_run "$@"; statuses+=$SAVER_STATUS; }

run_mode span.png
check "no setting: one scene across both, its plane over the seam, the desktop's red block at its top left" \
    eval '! black span.png 800 300 && [ "$(dominant span.png 300 150)" = red ]'
run_mode span0.png monitorMode 0
check "span: the same picture" same_on_monitors span.png span0.png

run_mode each.png monitorMode 1
check "each: black at the seam, on both sides" black each.png 795 300 805 300
check "each its own part: red top left of the primary, green top right and blue bottom right of the other" \
    [ "$(dominants each.png 150 110 1600 140 1600 630)" = red/green/blue ]

run_mode primary.png monitorMode 2
check "primary: the primary shows its part, and the other monitor is black" \
    eval '[ "$(dominant primary.png 150 110)" = red ] && black primary.png 1300 400'
check "every run ended with 0 ($statuses)" [ "$statuses" = 0000 ]
reg_reset
e2e_finish
