#!/usr/bin/env bash
# The native saver on a Wayland desktop where grim gives no picture (GNOME, KDE, or no grim):
# a picture from the user's folder, given by -imageDirectory or by the X11 daemon's
# "Choose random images" in ~/.xscreensaver. A grim that writes forever, or one that hands
# over a 16384x16384 picture, gives the logo without the saver's memory growing past 300 MB;
# a folder picture that takes too long to decode gives it without holding the start.
. "$(dirname "$0")/lib.sh"
need "a headless sway starts" qg_sway_start "mode 1024x768 position 0 0 bg $sample_desktop fill"
need "the wallpaper shows" qg_sway_shows 60 40 "$sample_red"

# A picture unlike the sample desktop: green on the left, yellow on the right; 16:9, so that
# on the 4:3 output black bands show above and below it.
home=$QG_OUT/home
rm -rf "$home" && mkdir -p "$home/Pictures/2024/summer" "$home/Pictures/.thumbnails"
convert -size 1600x900 xc:'rgb(48,208,48)' -fill 'rgb(208,208,48)' -draw 'rectangle 800,0 1599,899' \
    "$home/Pictures/2024/summer/beach.png"
convert -size 800x600 xc:'rgb(48,48,208)' "$home/Pictures/.thumbnails/beach.jpg"  # hidden: never shown
shows_picture() { [ "$(dominants "$1" 192 384 832 384)" = green/yellow ] && black "$1" 512 100; }

stop() { kill "$SAVER_PID"; saver_wait_exit 5; }
# shows_folder FILE WHAT PATH HOME ARGS...: the saver, with that PATH and HOME, shows the
# folder's picture.
shows_folder() {
    local file=$1 what=$2 path=$3 home_dir=$4
    shift 4
    HOME=$home_dir PATH=$path saver_start "$@" "${flat_view[@]}"
    drawn "$file" 60 40 512 384
    check "$what" shows_picture "$file"
    stop
}
shows_folder option.png "without grim, -imageDirectory: its picture two folders down, whole, black above it" \
    /nonexistent "$HOME" -imageDirectory "$home/Pictures"
check "and nothing on stderr" [ ! -s "$QG_OUT/saver.err" ]

fake_grim() {  # NAME COMMAND: a grim that runs COMMAND in its place
    mkdir -p "$QG_OUT/$1"
    printf '#!/bin/sh\n%s\n' "$2" >"$QG_OUT/$1/grim"
    chmod +x "$QG_OUT/$1/grim"
}
fake_grim black "convert -size 1024x768 xc:black png:-"
shows_folder black.png "a grim whose picture reads all black: the folder's picture" \
    "$QG_OUT/black:$PATH" "$HOME" -imageDirectory "$home/Pictures"
printf 'chooseRandomImages: True\nimageDirectory: ~/Pictures\n' >"$home/.xscreensaver"
shows_folder daemon.png "without grim, the X11 daemon's random images on: a picture from its imageDirectory" \
    /nonexistent "$home"

# logo_shown NAME ARGS...: the saver without grim until it draws NAME; SHOWN_MS is how long that took.
logo_shown() {
    local started
    started=$(date +%s%N)
    PATH=/nonexistent saver_start "${@:2}" "${flat_view[@]}"
    drawn "$1" 60 40 512 384
    SHOWN_MS=$((($(date +%s%N) - started) / 1000000))
}
# What the saver takes showing the logo, without grim: the measure of the cases below, which
# read no more than a picture of this 1024x768 output can need (a few megabytes).
logo_shown logo.png
logo_peak=$(peak_kb) logo_ms=$SHOWN_MS
stop
within_bounds() { [ "${1:-999999}" -lt 307200 ] && [ "$1" -lt $((logo_peak + 65536)) ]; }

# The only picture of the folder a progressive JPEG of eight thousand scans, whose decode runs
# past the search's 2 s: the logo, at most 2.5 s after the logo alone.
mkdir -p "$home/Scans"
many_scans "$home/Scans/scans.jpg"
logo_shown scans.png -imageDirectory "$home/Scans"
peak=$(peak_kb)
check "a folder of a many-scan JPEG: the logo ($SHOWN_MS ms, $logo_ms alone), within bounds ($peak kB)" \
    eval 'logo_is_mirrored scans.png && [ "$SHOWN_MS" -lt $((logo_ms + 2500)) ] && within_bounds "$peak"'
stop

# grim_gives_logo NAME WHAT: the saver with the fake grim NAME shows the logo, within bounds.
grim_gives_logo() {
    PATH=$QG_OUT/$1:$PATH saver_start "${flat_view[@]}"
    drawn "$1.png" 60 40 512 384
    local peak
    peak=$(peak_kb)
    check "$2: the logo" logo_is_mirrored "$1.png"
    check "with the saver's peak memory under 300 MB, and within 64 MB of the logo's ($peak kB, $logo_peak kB)" \
        within_bounds "$peak"
    stop
}

fake_grim forever "printf '\\211PNG\\r\\n\\032\\n'; exec cat /dev/zero"
grim_gives_logo forever "a grim that writes forever"

# A PNG that says 16384x16384 (a gigabyte of pixels), over four rows of them.
perl -MCompress::Zlib -e '
    sub chunk { my ($type, $data) = @_; pack("N", length $data) . $type . $data . pack("N", crc32($type . $data)) }
    print "\x89PNG\r\n\x1a\n", chunk("IHDR", pack("NNCCCCC", 16384, 16384, 8, 2, 0, 0, 0)),
        chunk("IDAT", compress(("\0" x (1 + 16384 * 3)) x 4)), chunk("IEND", "");' >"$QG_OUT/huge.png"
fake_grim huge "cat '$QG_OUT/huge.png'"
grim_gives_logo huge "a grim with a 16384x16384 picture"
check "and nothing on stderr from libpng" [ ! -s "$QG_OUT/saver.err" ]
e2e_finish
