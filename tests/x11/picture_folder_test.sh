#!/usr/bin/env bash
# The native saver under the X11 screen-saver daemon as Debian installs it (no desktop
# grabs) for a user who lets it choose random images: a picture from the user's folder,
# found two folders down, past hidden and broken files. An empty folder, a folder of broken
# pictures, or a FIFO where the folder should be: the logo; a picture that takes too long or
# too much memory to decode: the logo too, without holding the start. SIGTERM ends it at any
# point.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/daemon_lib.sh"

# A picture unlike the sample desktop: green on the left, yellow on the right, 4:3.
holiday_picture() { convert -size 800x600 xc:'rgb(48,208,48)' -fill 'rgb(208,208,48)' -draw 'rectangle 400,0 799,599' "$1"; }
shows_picture() { [ "$(dominants "$1" 192 144 832 623)" = green/yellow ]; }

pictures=$home/Pictures
mkdir -p "$pictures/2024/summer" "$pictures/.thumbnails" "$home/Empty" "$home/Broken/deeper"
holiday_picture "$pictures/2024/summer/beach.jpg"
convert -size 800x600 xc:'rgb(48,48,208)' "$pictures/.thumbnails/beach.png"  # hidden: never shown
printf 'not a picture\n' >"$pictures/notes.png"
holiday_picture "$home/whole.png"
head -c $(($(stat -c %s "$home/whole.png") / 2)) "$home/whole.png" >"$home/Broken/cut.png"
printf 'not a picture\n' >"$home/Broken/deeper/notes.jpg"
mkfifo "$home/Broken/waiting.png" "$home/Fifo"
[ "$(id -u)" = 0 ] && chown -R nobody:nogroup "$home"
images() { echo $'False\nchooseRandomImages: True\nimageDirectory: '"$1"; }

need "the sample desktop shows" show_sample_desktop
run_daemon "$(images '~/Pictures')" folder.png
check "grabs off, random images on: the daemon runs the saver" [ -n "$SAVER_FOUND" ]
check "which shows the picture two folders down in ~/Pictures: green left, yellow right" shows_picture folder.png
check "deactivated, the saver ends within 0.5 s ($SAVER_EXIT_MS ms)" [ "$SAVER_EXIT_MS" -lt 750 ]

# As the daemon runs it, for its messages and its end, in a window of its own each time.
as_the_daemon_runs_it() {
    images "$1" | sed '1s/^/grabDesktopImages: /' >"$home/.xscreensaver"
    test_window_start 1024 768 0 0
    HOME=$home XSCREENSAVER_WINDOW=$TEST_WINDOW saver_start -root "${flat_view[@]}"
}
# terminated WHEN: SIGTERM ends the saver within 0.5 s.
terminated() {
    kill -TERM "$SAVER_PID"
    saver_time_exit 5
    check "SIGTERM $1 ends it within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time
    test_window_destroy
}
# logo_shown FOLDER: the saver on that folder until it draws; SHOWN_MS is how long that took.
logo_shown() {
    local started
    started=$(date +%s%N)
    as_the_daemon_runs_it "~/$1"
    drawn "$1.png" 60 40 512 384
    SHOWN_MS=$((($(date +%s%N) - started) / 1000000))
}
for folder in Empty Broken Fifo; do
    logo_shown "$folder"
    check "imageDirectory ~/$folder: the logo, and one line on stderr" \
        eval 'logo_is_mirrored "$folder.png" && [ "$(wc -l <"$QG_OUT/saver.err")" = 1 ]'
    [ "$folder" = Empty ] && empty_ms=$SHOWN_MS
    terminated "on the logo"
done

# Pictures that would hold the start or the memory: a progressive JPEG of eight thousand scans,
# whose decode runs past the search's 2 s, and a progressive one whose frame says 8000x8000
# (its scans end early), whose coefficients alone would take 384 MB. The logo, at most 2.5 s
# after an empty folder's, and the saver stays small.
mkdir -p "$home/Scans" "$home/Huge"
many_scans "$home/Scans/scans.jpg"
convert -size 80x80 gradient:red-blue -interlace Plane -quality 92 "$QG_OUT/small.jpg"
perl -e 'binmode STDIN; binmode STDOUT; local $/; $_ = <STDIN>; s/\xFF\xC2(..\x08)..../\xFF\xC2$1\x1F\x40\x1F\x40/s; print' \
    <"$QG_OUT/small.jpg" >"$home/Huge/huge.jpg"
for folder in Scans Huge; do
    logo_shown "$folder"
    peak=$(peak_kb)
    check "imageDirectory ~/$folder: the logo ($SHOWN_MS ms, $empty_ms without pictures), the peak under 300 MB (${peak:-?} kB)" \
        eval 'logo_is_mirrored "$folder.png" && [ "$SHOWN_MS" -lt $((empty_ms + 2500)) ] && [ "${peak:-999999}" -lt 307200 ]'
    terminated "on the logo"
done

# Ended in the middle of the search and decode: large pictures take a while.
mkdir -p "$home/Large"
for i in 1 2; do convert -size 6000x4000 gradient:red-blue "$home/Large/$i.png"; done  # PNG: read whole
as_the_daemon_runs_it "~/Large"
sleep 0.15
terminated "while it reads a large picture"
rm -rf "$home"
e2e_finish
