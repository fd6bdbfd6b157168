#!/usr/bin/env bash
# A desktop that gives nothing to copy (a locked PC's secure desktop, a blank screen): the
# saver shows the user's wallpaper as laid out, else the background colour, else the logo,
# which is never stored as the user's setting; a broken wallpaper gives the logo; a normal
# desktop is copied as before, wallpaper or not.
. "$(dirname "$0")/lib.sh"
desktop_key='HKCU\Control Panel\Desktop'
colours_key='HKCU\Control Panel\Colors'

# user_value KEY NAME: the text of a value, failing when it is missing.
user_value() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v n="$2" '$1 == n && $2 ~ /^REG_/ {sub(/^ *[^ ]+ +[^ ]+ ?/, ""); sub(/^ +/, ""); print; f = 1} END {exit !f}'
}
set_user_value() { wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1; }

# The prefix is shared with the other scenarios: give the desktop settings back at the end.
restore=()
for entry in "$desktop_key|Wallpaper" "$desktop_key|WallpaperStyle" "$desktop_key|TileWallpaper" \
    "$colours_key|Background"; do
    IFS='|' read -r key name <<<"$entry"
    if value=$(user_value "$key" "$name"); then restore+=("add|$key|$name|$value"); else restore+=("del|$key|$name|"); fi
done
restore_user_values() {
    local entry how key name value
    for entry in "${restore[@]}"; do
        IFS='|' read -r how key name value <<<"$entry"
        if [ "$how" = add ]; then set_user_value "$key" "$name" "$value"
        else wine reg delete "$key" /v "$name" /f >/dev/null 2>&1; fi
    done
}
trap restore_user_values EXIT

# wallpaper FILE STYLE TILE: the user's wallpaper and its layout ("" for none).
wallpaper() {
    set_user_value "$desktop_key" Wallpaper "$([ -n "$1" ] && winepath -w "$1")"
    set_user_value "$desktop_key" WallpaperStyle "$2"
    set_user_value "$desktop_key" TileWallpaper "$3"
}

# saver_picture NAME: the saver's own 16 x 12 picture of the screen, as it would texture the
# scene, into NAME.bgr; PICTURE_STATUS is 3 when the logo stands in.
saver_picture() {
    wine "$QG_BIN/capture_dump.exe" 16 12 "$QG_OUT/$1.bgr" saver >/dev/null 2>&1
    PICTURE_STATUS=$?
}
# texel NAME X Y: the colour name of one texel of a 16 x 12 picture.
texel() {
    colour_name "$(od -An -tu1 -j $((($3 * 16 + $2) * 3)) -N3 "$QG_OUT/$1.bgr" | awk '{print $3 "," $2 "," $1}')"
}

# flat_run FILE: a still full-screen run, screenshot after 2 s, ended by a key.
flat_run() {
    reg_reset
    reg_set_dword Mode 1; reg_set_dword xyAmplitude 0; reg_set_dword enableMovement 0
    saver_start /s
    wait_window "Screen Saver" 20 >/dev/null
    sleep 2
    screenshot "$1"
    check "$1: the saver runs" kill -0 "$SAVER_PID"
    xdotool key space
    saver_wait_exit 5
    check "$1: and ends with 0 on a key" [ "$SAVER_STATUS" = 0 ]
}
# The logo shows mirrored top to bottom: its dark top edge lands at the bottom.
shows_logo() {
    local top bottom
    top=$(convert "$QG_OUT/$1" -crop 40x20+150+140 -format '%[fx:mean]' info:)
    bottom=$(convert "$QG_OUT/$1" -crop 40x20+150+640 -format '%[fx:mean]' info:)
    awk -v t="$top" -v b="$bottom" 'BEGIN { exit !(t > b + 0.03 && b > 0.03) }'
}

# A 4:3 wallpaper (half the screen's size) of four known quarters, as JPEG, and the same cut short.
convert -size 256x192 xc:'#d03030' xc:'#30b040' +append \
    \( -size 256x192 xc:'#f0d020' xc:'#3050e0' +append \) -append -quality 95 "$QG_OUT/wallpaper.jpg"
head -c 600 "$QG_OUT/wallpaper.jpg" >"$QG_OUT/wallpaper-cut.jpg"

# A black desktop: a copy of it is blank, as the secure desktop's is.
wine "$QG_BIN/test_desktop.exe" 000000 >/dev/null 2>&1 &
e2e_pids+=($!)
desktop_window=$(wait_window "Test desktop" 20)
check "the black test desktop shows" [ -n "$desktop_window" ]

set_user_value "$colours_key" Background "0 0 0"
wallpaper "$QG_OUT/wallpaper.jpg" 10 0
saver_picture filled
check "a blank desktop gives the wallpaper filled over the screen" \
    [ "$PICTURE_STATUS/$(texel filled 0 0)/$(texel filled 15 0)/$(texel filled 0 11)/$(texel filled 15 11)" = \
      0/red/green/yellow/blue ]
flat_run background.png
check "the saver shows it: red at the top left" [ "$(dominant background.png 192 144)" = red ]
check "green at the top right" [ "$(dominant background.png 832 144)" = green ]
check "yellow at the bottom left" [ "$(dominant background.png 192 623)" = yellow ]
check "blue at the bottom right" [ "$(dominant background.png 832 623)" = blue ]

wallpaper "$QG_OUT/wallpaper.jpg" 0 1
saver_picture tiled
check "tiled at its own size: four copies from the primary screen's corner" \
    [ "$PICTURE_STATUS/$(texel tiled 0 0)/$(texel tiled 7 0)/$(texel tiled 8 0)/$(texel tiled 3 5)" = \
      0/red/green/red/yellow ] && [ "$(texel tiled 0 6)/$(texel tiled 15 11)" = red/blue ]

wallpaper "" 10 0
set_user_value "$colours_key" Background "48 176 64"
saver_picture coloured
check "no wallpaper: the background colour" \
    [ "$PICTURE_STATUS/$(texel coloured 0 0)/$(texel coloured 9 7)" = 0/green/green ]

set_user_value "$colours_key" Background "0 0 0"
saver_picture nothing
check "no wallpaper and a black background: the logo stands in" [ "$PICTURE_STATUS" = 3 ]
flat_run logo.png
check "the saver shows the logo" shows_logo logo.png
check "and the stored OpenGL Logo setting stays off" [ "$(reg_get_dword useOGL)" = 0 ]

wallpaper "$QG_OUT/wallpaper-cut.jpg" 10 0
saver_picture cut
check "a truncated wallpaper: the logo stands in" [ "$PICTURE_STATUS" = 3 ]
flat_run cut.png
check "the saver shows the logo" shows_logo cut.png

# A normal desktop is copied byte for byte as before, whatever the wallpaper.
wallpaper "$QG_OUT/wallpaper.jpg" 10 0
show_desktop
wine "$QG_BIN/capture_dump.exe" 16 12 "$QG_OUT/copied.bgr" >/dev/null 2>&1
saver_picture normal
check "a normal desktop: the saver's picture is the copy of the screen" \
    [ "$PICTURE_STATUS" = 0 ] && cmp -s "$QG_OUT/copied.bgr" "$QG_OUT/normal.bgr"
check "which shows the desktop's red corner, not the wallpaper's" \
    [ "$(od -An -tu1 -N3 "$QG_OUT/normal.bgr" | tr -s ' ')" = " 48 48 208" ]
e2e_finish
