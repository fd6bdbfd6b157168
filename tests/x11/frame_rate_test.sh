#!/usr/bin/env bash
# The native saver's pace and its -fps overlay: -delay bounds the frame rate and -delay 0
# lifts the bound; -fps shows its figures in the bottom-left corner and changes nothing else.
. "$(dirname "$0")/lib.sh"

show_sample_desktop
# rate OPTIONS...: frames a second over 2 s, counted in the saver's own process.
rate() { "$QG_NATIVE_BIN/saver_rate" 2 "$@" | awk '{ print $4 }'; }
paced=$(rate -delay 50000 "${flat_view[@]}")
unpaced=$(rate -delay 0 "${flat_view[@]}")
check "-delay 50000 draws at most 21 frames a second ($paced)" awk -v r="$paced" 'BEGIN { exit !(r > 5 && r <= 21) }'
check "-delay 0 draws faster ($unpaced)" awk -v r="$unpaced" 'BEGIN { exit !(r > 21) }'

# The flat view stands still: two screenshots differ only where the overlay is.
for shot in plain fps; do
    saver_start "${flat_view[@]}" $([ "$shot" = fps ] && echo -fps)
    drawn "$shot.png" 60 40 512 384
    sleep 1.5  # the overlay shows after its first whole second
    screenshot "$shot.png"
    kill "$SAVER_PID"
    saver_wait_exit 5
done
changed=$(convert "$QG_OUT/plain.png" "$QG_OUT/fps.png" -compose difference -composite -threshold 0 -format '%@' info:)
# overlay_sized WxH+X+Y: two lines of text, at the bottom left of the 1024x768 screen.
overlay_sized() {
    [[ $1 =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 1
    local w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]} x=${BASH_REMATCH[3]} y=${BASH_REMATCH[4]}
    ((w > 60 && w < 300 && h > 30 && h < 100 && x < 20 && y + h > 748))
}
check "-fps changes the bottom-left corner and only there ($changed)" overlay_sized "$changed"
e2e_finish
