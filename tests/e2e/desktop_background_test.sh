#!/usr/bin/env bash
# A desktop that gives nothing to copy (a locked PC's secure desktop, a blank screen): the
# saver shows the user's wallpaper as laid out, else the background colour, else the logo
# (never stored as the user's setting); a broken wallpaper gives the logo; one too large
# gives the colour at once, and no wallpaper holds the saver's start or an early key; a
# normal desktop is copied as before, wallpaper or not.
. "$(dirname "$0")/lib.sh"
desktop_key='HKCU\Control Panel\Desktop'
colours_key='HKCU\Control Panel\Colors'

set_user_value() { wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1; }

# The prefix is shared with the other scenarios: give the desktop settings back at the end.
need "the desktop settings are kept aside" eval 'wine reg export "$desktop_key" "$QG_OUT/desktop.reg" /y >/dev/null 2>&1 &&
    wine reg export "$colours_key" "$QG_OUT/colours.reg" /y >/dev/null 2>&1'
restore_user_values() {
    local name
    for name in Wallpaper WallpaperStyle TileWallpaper; do wine reg delete "$desktop_key" /v "$name" /f >/dev/null 2>&1; done
    wine reg delete "$colours_key" /v Background /f >/dev/null 2>&1
    wine reg import "$QG_OUT/desktop.reg" >/dev/null 2>&1 && wine reg import "$QG_OUT/colours.reg" >/dev/null 2>&1
}
trap restore_user_values EXIT

# wallpaper FILE STYLE TILE: the user's wallpaper and its layout ("" for none).
wallpaper() {
    set_user_value "$desktop_key" Wallpaper "$([ -n "$1" ] && winepath -w "$1")"
    set_user_value "$desktop_key" WallpaperStyle "$2"
    set_user_value "$desktop_key" TileWallpaper "$3"
}

# saver_picture NAME X Y [X Y]...: the saver's own 16 x 12 picture of the screen, as it would
# texture the scene, into NAME.bgr; prints its status (3: the logo stands in) and the colour
# names of those texels, joined by "/".
saver_picture() {
    wine "$QG_BIN/capture_dump.exe" 16 12 "$QG_OUT/$1.bgr" saver >/dev/null 2>&1
    local texels=($?) file=$QG_OUT/$1.bgr
    shift
    while [ $# -ge 2 ]; do
        texels+=("$(colour_name "$(od -An -tu1 -j $((($2 * 16 + $1) * 3)) -N3 "$file" | awk '{print $3 "," $2 "," $1}')")")
        shift 2
    done
    (IFS=/; echo "${texels[*]}")
}
# shows FILE CHECK...: a still full-screen run that runs until a key ends it with 0, and
# CHECK holds of its screenshot FILE.
shows() {
    flat_run "$1"
    [ "$SAVER_RAN/$SAVER_STATUS" = yes/0 ] && "${@:2}"
}

# A 4:3 wallpaper (half the screen's size) of four known quarters, as JPEG, and the same cut short.
convert -size 256x192 xc:'#d03030' xc:'#30b040' +append \
    \( -size 256x192 xc:'#f0d020' xc:'#3050e0' +append \) -append -quality 95 "$QG_OUT/wallpaper.jpg"
head -c 600 "$QG_OUT/wallpaper.jpg" >"$QG_OUT/wallpaper-cut.jpg"

# A black desktop: a copy of it is blank, as the secure desktop's is.
wine "$QG_BIN/test_desktop.exe" 000000 >/dev/null 2>&1 &
e2e_pids+=($!)
desktop_window=$(wait_window "Test desktop" 20)
need "the black test desktop shows" [ -n "$desktop_window" ]

corners() { [ "$(dominants "$1" 192 144 832 144 192 623 832 623)" = red/green/yellow/blue ]; }
set_user_value "$colours_key" Background "0 0 0"
wallpaper "$QG_OUT/wallpaper.jpg" 10 0
check "a blank desktop gives the wallpaper filled over the screen" \
    [ "$(saver_picture filled 0 0 15 0 0 11 15 11)" = 0/red/green/yellow/blue ]
check "the saver shows it, ending with 0 on a key: red, green, yellow, blue at the corners" \
    shows background.png corners background.png

wallpaper "$QG_OUT/wallpaper.jpg" 0 1
check "tiled at its own size: four copies from the primary screen's corner" \
    [ "$(saver_picture tiled 0 0 7 0 8 0 3 5 0 6 15 11)" = 0/red/green/red/yellow/red/blue ]

wallpaper "" 10 0
set_user_value "$colours_key" Background "48 176 64"
check "no wallpaper: the background colour" [ "$(saver_picture coloured 0 0 9 7)" = 0/green/green ]

set_user_value "$colours_key" Background "0 0 0"
check "no wallpaper and a black background: the logo stands in" [ "$(saver_picture nothing)" = 3 ]
check "the saver shows the logo, and the stored OpenGL Logo setting stays off" \
    eval 'shows logo.png logo_is_mirrored logo.png && [ "$(reg_get_dword useOGL)" = 0 ]'

wallpaper "$QG_OUT/wallpaper-cut.jpg" 10 0
check "a truncated wallpaper: the logo stands in" [ "$(saver_picture cut)" = 3 ]
check "the saver shows the logo" shows cut.png logo_is_mirrored cut.png

# flat_png FILE W H: a flat blue PNG of W x H, its identical rows deflated once and repeated.
flat_png() {
    perl -MCompress::Zlib -e '
        my ($w, $h) = @ARGV;
        sub chunk { my ($type, $data) = @_; pack("N", length $data) . $type . $data . pack("N", crc32($type . $data)) }
        my $block = ("\1" . pack("C3", 48, 80, 224) . ("\0" x (3 * $w - 3))) x 100;  # filter Sub: zeros after the first pixel
        my $d = deflateInit(-Level => 9, -WindowBits => -15);
        my $part = $d->deflate($block) . $d->flush(Z_FULL_FLUSH);
        my $adler = adler32("");
        $adler = adler32($block, $adler) for 1 .. $h / 100;
        my $end = deflateInit(-WindowBits => -15)->flush();  # an empty last block
        print "\x89PNG\r\n\x1a\n", chunk("IHDR", pack("NNCCCCC", $w, $h, 8, 2, 0, 0, 0)),
            chunk("IDAT", "\x78\x01" . $part x ($h / 100) . $end . pack("N", $adler)), chunk("IEND", "");' "$2" "$3" >"$1"
}
# A 20000x20000 wallpaper, a megabyte of PNG that decodes to 1.6 GB: refused from its size, so
# the background colour stands in; the saver's window comes soon, small, and a key pressed
# 1 s after the start ends it. One of 3 megapixels is shown.
flat_png "$QG_OUT/huge-wallpaper.png" 20000 20000
flat_png "$QG_OUT/large-wallpaper.png" 2000 1500
set_user_value "$colours_key" Background "48 176 64"
# early_key WALLPAPER: the saver with that wallpaper, a key 1 s after its start; WINDOW_MS is
# when its window came, PEAK_KB its peak memory (wine's loader becomes the saver's process)
# and KEY_END_MS how long after the key it ended.
early_key() {
    wallpaper "$1" 10 0
    reg_reset
    local now key_sent= started=$(date +%s%N)
    saver_start /s
    WINDOW_MS= PEAK_KB=0
    while kill -0 "$SAVER_PID" 2>/dev/null; do
        PEAK_KB=$(awk -v peak="$PEAK_KB" '/^VmHWM:/ { print ($2 > peak ? $2 : peak) }' \
            "/proc/$SAVER_PID/status" 2>/dev/null || echo "$PEAK_KB")
        now=$((($(date +%s%N) - started) / 1000000))
        [ -z "$WINDOW_MS" ] && xdotool search --onlyvisible --name '^Screen Saver$' >/dev/null 2>&1 && WINDOW_MS=$now
        [ -z "$key_sent" ] && [ "$now" -ge 1000 ] && { xdotool key space; key_sent=$now; }
        [ "$now" -gt 20000 ] && break
        sleep 0.05
    done
    saver_wait_exit 1
    KEY_END_MS=${key_sent:+$((($(date +%s%N) - started) / 1000000 - key_sent))}
}
wallpaper "$QG_OUT/huge-wallpaper.png" 10 0
check "a 20000x20000 wallpaper: the background colour" [ "$(saver_picture huge-wallpaper 0 0 9 7)" = 0/green/green ]
early_key "$QG_OUT/huge-wallpaper.png"
check "the saver's window within 3 s (${WINDOW_MS:-none} ms), its peak under 300 MB ($PEAK_KB kB)" \
    eval '[ "${WINDOW_MS:-99999}" -lt 3000 ] && [ "$PEAK_KB" -gt 0 ] && [ "$PEAK_KB" -lt 307200 ]'
check "a key 1 s after the start ends it with 0 within 1 s ($SAVER_STATUS, ${KEY_END_MS:-no key} ms)" \
    eval '[ "$SAVER_STATUS" = 0 ] && [ "${KEY_END_MS:-99999}" -lt 1000 ]'
wallpaper "$QG_OUT/large-wallpaper.png" 10 0
check "a 3-megapixel wallpaper is shown" [ "$(saver_picture large-wallpaper 0 0 9 7)" = 0/blue/blue ]

# A normal desktop is copied byte for byte as before, whatever the wallpaper.
wallpaper "$QG_OUT/wallpaper.jpg" 10 0
show_desktop
wine "$QG_BIN/capture_dump.exe" 16 12 "$QG_OUT/copied.bgr" >/dev/null 2>&1
check "a normal desktop: the saver's picture is the copy of the screen" \
    eval '[ "$(saver_picture normal)" = 0 ] && cmp -s "$QG_OUT/copied.bgr" "$QG_OUT/normal.bgr"'
check "which shows the desktop's red corner, not the wallpaper's" \
    [ "$(od -An -tu1 -N3 "$QG_OUT/normal.bgr" | tr -s ' ')" = " 48 48 208" ]
e2e_finish
