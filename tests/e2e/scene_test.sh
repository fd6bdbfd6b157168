#!/usr/bin/env bash
# What the saver shows: the captured desktop on the plane, upright and in its own
# colours, animated, different in each view; the logo; the preview; a texture size
# that cannot be held.
. "$(dirname "$0")/lib.sh"

# run_view FILE [NAME VALUE]...: a full-screen run with those settings, screenshot after 2 s.
run_view() {
    local file=$1; shift
    reg_reset
    while [ $# -gt 0 ]; do reg_set_dword "$1" "$2"; shift 2; done
    saver_start /s
    wait_window "Screen Saver" 20 >/dev/null
    sleep 2
    screenshot "$file"
}
end_run() {
    xdotool key space
    saver_wait_exit 5
}

show_desktop
# A still, flat view: the plane holds the whole desktop at 74% of the screen, centred.
run_view flat.png Mode 1 xyAmplitude 0 enableMovement 0
end_run
check "the flat view shows the red top-left block at the top left" [ "$(dominant flat.png 192 144)" = red ]
check "the green top-right block at the top right" [ "$(dominant flat.png 832 144)" = green ]
check "the yellow bottom-left block at the bottom left" [ "$(dominant flat.png 192 623)" = yellow ]
check "the blue bottom-right block at the bottom right" [ "$(dominant flat.png 832 623)" = blue ]
check "outside the plane the screen is black" [ "$(pixel_at "$QG_OUT/flat.png" 60 40)" = 0,0,0 ]

run_view explode-a.png Mode 0
sleep 1
screenshot explode-b.png
end_run
check "the Explode view animates" differs explode-a.png explode-b.png
check "and the run ends with 0" [ "$SAVER_STATUS" = 0 ]
for mode in 1 2 3; do
    run_view "wave$mode.png" Mode "$mode" enableMovement 0
    end_run
    check "Wave$mode ends with 0 on a key ($SAVER_STATUS)" [ "$SAVER_STATUS" = 0 ]
done
check "Wave1 and Wave2 differ" differs wave1.png wave2.png
check "Wave2 and Wave3 differ" differs wave2.png wave3.png
check "Wave1 and Wave3 differ" differs wave1.png wave3.png
check "Explode and Wave1 differ" differs explode-a.png wave1.png

# The logo shows mirrored top to bottom: its dark top edge lands at the bottom.
run_view logo.png useOGL 1 Mode 1 xyAmplitude 0 enableMovement 0
end_run
# Corners of the plane lie outside the logo's ring: the gradient alone.
top=$(convert "$QG_OUT/logo.png" -crop 40x20+150+140 -format '%[fx:mean]' info:)
bottom=$(convert "$QG_OUT/logo.png" -crop 40x20+150+640 -format '%[fx:mean]' info:)
check "the logo fills the plane, mirrored (top $top lighter than bottom $bottom)" \
    awk -v t="$top" -v b="$bottom" 'BEGIN { exit !(t > b + 0.03 && b > 0.03) }'

run_view huge.png screenTextureWidth 2000000000 screenTextureHeight 2000000000 enableMovement 0 Mode 1
check "a texture size of 2000000000 runs" kill -0 "$SAVER_PID"
end_run
check "and ends with 0 on a key" [ "$SAVER_STATUS" = 0 ]
# A texture one texel wide and 2^26 high once crashed in the mipmap build at every start.
run_view thin.png screenTextureWidth 1 screenTextureHeight 67108864 enableMovement 0 Mode 1
check "a 1 x 67108864 texture runs" kill -0 "$SAVER_PID"
end_run
check "and ends with 0 on a key" [ "$SAVER_STATUS" = 0 ]
check "and the stored sizes stay as they were" \
    [ "$(reg_get_dword screenTextureWidth)x$(reg_get_dword screenTextureHeight)" = 1x67108864 ]

# WINE: the preview's GL pixels live on an offscreen X window of the preview's size.
reg_reset
wine "$QG_BIN/preview_host.exe" "$QG_SCR" 4 >"$QG_OUT/preview.txt" 2>/dev/null &
host=$!
e2e_pids+=("$host")
sleep 2.5
preview=$(xwininfo -root -tree | awk '/ 152x112\+0\+0 +\+-1\+-1/ {print $1; exit}')
if [ -n "$preview" ]; then
    import -window "$preview" "$QG_OUT/preview-a.png"
    sleep 0.7
    import -window "$preview" "$QG_OUT/preview-b.png"
fi
wait "$host"
if [ -n "$preview" ] && [ -f "$QG_OUT/preview-b.png" ]; then
    check "the preview is not black" [ "$(convert "$QG_OUT/preview-a.png" -format '%[fx:maxima]' info:)" != 0 ]
    check "the preview animates" [ "$(compare -metric AE "$QG_OUT/preview-a.png" "$QG_OUT/preview-b.png" null: 2>&1)" -gt 100 ]
else
    check "the preview draws into a window of its own size" false
fi
check "the preview ends with its host window" grep -q '^exit ended 0 ' "$QG_OUT/preview.txt"
reg_reset
e2e_finish
