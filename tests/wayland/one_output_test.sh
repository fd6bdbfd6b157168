#!/usr/bin/env bash
# The native saver on a Wayland desktop of one output: it covers the output and shows the
# wallpaper on its plane, and the -fps overlay; a key, a click or a move of the pointer
# ends it, and so do the end signals (a lock screen's reset, SIGUSR1, does not), the
# compositor closing its window and the compositor going away; without grim, or with a
# picture that cannot be read, the logo.
. "$(dirname "$0")/lib.sh"
need "a headless sway starts" qg_sway_start "mode 1024x768 position 0 0 bg $sample_desktop fill"
need "it shows the sample desktop as its wallpaper" qg_sway_shows 60 40 "$sample_red"

saver_start "${flat_view[@]}"
drawn flat.png 60 40 512 384
check "it covers the output: where it clears, black" [ "$(pixel_at "$QG_OUT/flat.png" 60 40)" = 0,0,0 ]
check "the wallpaper's red top-left block at the top left" [ "$(dominant flat.png 192 144)" = red ]
check "the green top-right block at the top right" [ "$(dominant flat.png 832 144)" = green ]
check "the yellow bottom-left block at the bottom left" [ "$(dominant flat.png 192 623)" = yellow ]
check "the blue bottom-right block at the bottom right" [ "$(dominant flat.png 832 623)" = blue ]
wtype -s 300 -k space
saver_time_exit 5
check "a key ends it with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time

pointer_start
pointer move 300 200
saver_start -preset wave-2
drawn pointer.png 20 20 512 384
sleep 0.5
pointer move 4 3
sleep 0.5
check "the pointer it appeared under, and a move within a few pixels, leave it running" running
pointer move 40 0
saver_time_exit 5
check "a move of the pointer ends it with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time

saver_start -preset explode-1
drawn explode.png 20 20 512 384
kill -USR1 "$SAVER_PID"  # a lock screen's reset: the scene starts afresh
sleep 0.5
screenshot reset.png
sleep 1
screenshot reset-later.png
check "a reset (SIGUSR1): it runs on and animates" eval 'running && differs reset.png reset-later.png'
pointer click
saver_time_exit 5
check "a click ends it with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time

for signal in TERM HUP; do
    saver_start -delay 1000000
    drawn signal.png 60 40 512 384
    kill -"$signal" "$SAVER_PID"
    saver_time_exit 5
    check "SIG$signal ends it with 0 within 0.5 s, even in a long delay ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time
done

saver_start -fps "${flat_view[@]}"
drawn close.png 60 40 512 384
sleep 1.5  # the overlay shows after its first whole second
screenshot fps.png
check "-fps shows its figures in the bottom-left corner, beside the plane" \
    awk -v m="$(mean fps.png 120x60+5+705)" 'BEGIN { exit !(m > 0.01) }'
swaymsg -q '[app_id="quakeglass"] kill'
saver_time_exit 5
check "the compositor closing its window ends it with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time

PATH=/nonexistent saver_start "${flat_view[@]}"
drawn logo.png 60 40 512 384
check "without grim, the logo" logo_is_mirrored logo.png
kill "$SAVER_PID"
saver_wait_exit 5
# A grim that stops half way through its picture: the logo again, and no crash.
mkdir -p "$QG_OUT/broken-grim"
printf '#!/bin/sh\nhead -c 10000 "%s"\n' "$sample_desktop" >"$QG_OUT/broken-grim/grim"
chmod +x "$QG_OUT/broken-grim/grim"
PATH=$QG_OUT/broken-grim:$PATH saver_start "${flat_view[@]}"
drawn broken.png 60 40 512 384
check "with a picture cut short, the logo" logo_is_mirrored broken.png

qg_sway_end
saver_time_exit 5
ended_lost() { [ "$SAVER_STATUS" = 1 ] && grep -q "compositor went away" "$QG_OUT/saver.err"; }
check "the compositor going away ends it with 1 and a message ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_lost
e2e_finish
