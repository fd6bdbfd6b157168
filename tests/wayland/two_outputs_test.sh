#!/usr/bin/env bash
# The native saver on a Wayland desktop of two outputs side by side, of different sizes:
# each is covered and shows its own part of the desktop (the right one has the sample
# desktop mirrored, so its top left is green); one key ends the saver on both; with the
# primary monitor alone, the output at the origin animates and the other is black; the
# compositor's end ends it on both with one line.
. "$(dirname "$0")/lib.sh"
convert "$sample_desktop" -flop -resize 800x600 "$QG_OUT/mirrored-desktop.png"
need "a headless sway starts with two outputs" qg_sway_start "mode 1024x768 position 0 0 bg $sample_desktop fill" \
    "mode 800x600 position 1024 0 bg $QG_OUT/mirrored-desktop.png fill"
wallpapers_shown() { qg_sway_shows 60 40 "$sample_red" && qg_sway_shows 1794 30 "$sample_red"; }
need "each output shows its wallpaper" wallpapers_shown

saver_start "${flat_view[@]}"
drawn left.png 60 40 512 384 && drawn two.png 1071 31 1424 300
check "the left output is covered, its red block top left" [ "$(dominant two.png 192 144)" = red ]
check "its blue block bottom right" [ "$(dominant two.png 832 623)" = blue ]
check "the right output is covered: where it clears, black" [ "$(pixel_at "$QG_OUT/two.png" 1071 31)" = 0,0,0 ]
check "it shows its own part of the desktop: green top left" [ "$(dominant two.png 1174 112)" = green ]
check "red top right" [ "$(dominant two.png 1674 112)" = red ]
check "yellow bottom right" [ "$(dominant two.png 1674 487)" = yellow ]
wtype -s 300 -k space
saver_time_exit 5
check "a key ends it with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time

saver_start -monitorMode 2 "${flat_view[@]}"
drawn primary.png 60 40 512 384
sleep 1
screenshot primary.png
check "primary alone: the output at the origin shows its part" [ "$(dominant primary.png 192 144)" = red ]
check "and the other is black" [ "$(pixel_at "$QG_OUT/primary.png" 1424 300)" = 0,0,0 ]
wtype -s 300 -k space
saver_time_exit 5

saver_start -preset wave-2
drawn compositor.png 1071 31 1424 300
qg_sway_end
saver_time_exit 5
check "the compositor's end: 1, with one line for both outputs ($SAVER_STATUS: $(head -c 300 "$QG_OUT/saver.err"))" \
    eval '[ "$SAVER_STATUS" = 1 ] && [ "$(wc -l <"$QG_OUT/saver.err")" = 1 ] && grep -q "went away" "$QG_OUT/saver.err"'
e2e_finish
