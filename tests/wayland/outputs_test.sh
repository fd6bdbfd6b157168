#!/usr/bin/env bash
# The native saver on a Wayland desktop of three outputs side by side, of different sizes,
# the third at scale 2 (the middle one has the sample desktop mirrored, the third upside
# down), and a fourth plugged in while it runs: each monitor mode, its end by a key, and by
# the compositor's end, in the run and at its start.
. "$(dirname "$0")/lib.sh"
screenshot() { grim -s 1 "$QG_OUT/$1"; }  # in logical pixels, whatever the outputs' scales
python=/usr/bin/python3                     # Debian's: quick to start, for checks in a loop
convert "$sample_desktop" -flop -resize 800x600 "$QG_OUT/mirrored-desktop.png"
convert "$sample_desktop" -flip -resize 1280x960 "$QG_OUT/flipped-desktop.png"
need "a headless sway starts with three outputs" qg_sway_start "mode 1024x768 position 0 0 bg $sample_desktop fill" \
    "mode 800x600 position 1024 0 bg $QG_OUT/mirrored-desktop.png fill" \
    "mode 1280x960 scale 2 position 1824 0 bg $QG_OUT/flipped-desktop.png fill"
key_end() { wtype -s 300 -k space; saver_time_exit 5; }
wallpapers_shown() { qg_sway_shows 60 40 "$sample_red" && qg_sway_shows 1794 30 "$sample_red"; }
need "each output shows its wallpaper" wallpapers_shown

# not_upscaled FILE: a picture of an output at scale 2 has detail of its own pixels: an
# upscaled one is made of 2 x 2 blocks of one colour, which sampling down and up again keeps
# (more than 600 pixels change: more than 200 blocks of more than one colour).
not_upscaled() {
    convert "$QG_OUT/$1" -sample 50% -sample 200% "$QG_OUT/resampled-$1"
    local changed
    changed=$(compare -metric AE "$QG_OUT/$1" "$QG_OUT/resampled-$1" null: 2>&1 | cut -d' ' -f1)
    echo "$changed pixels change when sampled down and up" >&2
    [ "$changed" -gt 600 ]
}

saver_start "${flat_view[@]}"
drawn each.png 60 40 512 384 && drawn each.png 1071 31 1424 300 && drawn each.png 1834 10 2144 240
check "each output shows its own part, its margin at the seam: left red top left, blue bottom right; middle green top left, red top right; scaled yellow top left" \
    eval '[ "$(dominants each.png 192 144 832 623 1174 112 1674 112 1910 90)" = red/blue/green/red/yellow ] && black each.png 1020 384'
grim -o HEADLESS-3 "$QG_OUT/scaled.png"
check "the scaled output is drawn at its own 1280 x 960 pixels" \
    eval '[ "$(identify -format %wx%h "$QG_OUT/scaled.png")" = 1280x960 ] && not_upscaled scaled.png'

# An output plugged in: the saver's window is on it within 2 s.
saver_on() {
    swaymsg -t get_tree -r | "$python" -c '
import json, sys
def walk(node, output):
    output = node.get("name") if node.get("type") == "output" else output
    found = node.get("app_id") == "quakeglass" and output == sys.argv[1]
    return found or any(walk(child, output) for child in node.get("nodes", []) + node.get("floating_nodes", []))
sys.exit(0 if walk(json.load(sys.stdin), None) else 1)' "$1"
}
cover_ms=$(( ${QG_END_MS:-750} > 2000 ? QG_END_MS : 2000 ))
swaymsg -q create_output
plugged=$(date +%s%N)
eventually $((cover_ms / 100)) 0.1 saver_on HEADLESS-4
covered_ms=$(( ($(date +%s%N) - plugged) / 1000000 ))
check "an output plugged in is covered within 2 s ($covered_ms ms)" \
    eval 'saver_on HEADLESS-4 && [ "$covered_ms" -le "$cover_ms" ]'
logo_shown() { grim -o HEADLESS-4 "$QG_OUT/plugged.png" && [ "$(dominant plugged.png 960 300)" = blue ]; }
check "it shows a scene of its own: the logo, for the desktop was taken before it came" \
    eventually 10 0.2 logo_shown
check "the saver runs on" running
key_end
check "a key ends it with 0 within 0.5 s ($SAVER_STATUS, $SAVER_EXIT_MS ms)" ended_in_time

# Across all four: the plane's black margins lie at the layout's edges, none at the seams.
saver_start -monitorMode 0 "${flat_view[@]}"
drawn span.png 20 20 1020 384 && drawn span.png 1034 20 1830 300 && drawn span.png 4370 1070 2470 500
check "one scene across all: no margin at the seams, its edges on the left and the plugged outputs; the picture runs across: the left one's red top left, the middle one's green" \
    eval '! black span.png 1028 500 && ! black span.png 1820 300 && black span.png 500 500 4000 500 && [ "$(dominants span.png 620 205 1320 200)" = red/green ]'
key_end

saver_start -monitorMode 2 "${flat_view[@]}"
drawn primary.png 60 40 512 384
sleep 1
screenshot primary.png
check "primary alone: the output at the origin shows its part, and the others are black" \
    eval '[ "$(dominant primary.png 192 144)" = red ] && black primary.png 1424 300 2144 240'
key_end

# went_away: the saver ended with 1 and one line for all outputs, that the compositor went.
went_away() {
    saver_time_exit 5
    echo "$SAVER_STATUS: $(head -c 300 "$QG_OUT/saver.err")" >&2
    [ "$SAVER_STATUS" = 1 ] && [ "$(wc -l <"$QG_OUT/saver.err")" = 1 ] && grep -q "went away" "$QG_OUT/saver.err"
}

# Explode, a scene each: every scene's boxes are let go once, as the run ends.
saver_start -preset explode-1 -monitorMode 1
drawn compositor.png 1071 31 1424 300
qg_sway_end
check "the compositor's end: 1, with one line for all outputs" went_away

# The compositor's end while the saver starts (grim takes the desktop then): the same line.
need "a headless sway starts again with three outputs" qg_sway_start "mode 1024x768 position 0 0" \
    "mode 800x600 position 1024 0" "mode 1280x960 scale 2 position 1824 0"
saver_start
eventually 500 0.01 pgrep -P "$SAVER_PID" -x grim >/dev/null
qg_sway_end
check "the compositor's end as grim takes the desktop: the same, not a want of EGL" went_away

# Two outputs whose frames come at their own times (60 and 40 Hz), at the defaults: one
# output's frame must not hold the other's, so each draws about as often as the faster one
# (one frame in two, were they held). Frames are the window's commits, from the protocol log.
need "a headless sway starts with outputs at 60 and 40 Hz" qg_sway_start "mode 640x480@60Hz position 0 0" \
    "mode 640x480@40Hz position 640 0"
WAYLAND_DEBUG=1 saver_start
sleep 5
kill -TERM "$SAVER_PID"
saver_time_exit 5
rates=$(awk -F'[][]' '/-> wl_surface@[0-9]+\.commit\(\)/ { t = $2 / 1000; if (!first) first = t;
    if (t - first >= 1.5 && t - first < 4.5) n[$3]++ }
    END { for (s in n) printf "%.0f ", n[s] / 3 }' "$QG_OUT/saver.err")
read -r slower faster _ < <(tr ' ' '\n' <<<"$rates" | sort -n | xargs)
check "each output at its own pace, the slower at 85 % of the faster or more ($rates a second)" \
    eval '[ "$(wc -w <<<"$rates")" = 2 ] && [ "$slower" -ge $((faster * 85 / 100)) ]'
e2e_finish
