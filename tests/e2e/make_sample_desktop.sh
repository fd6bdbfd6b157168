#!/usr/bin/env bash
# Draws the sample desktop (1024x768): a teal background, a few windows with text,
# icons and four solid corner blocks whose colours the scenarios look for.
#   make_sample_desktop.sh OUT.png
set -eu
out=$1
font=DejaVu-Sans
convert -size 1024x768 xc:'#1f6f78' \
  -fill '#d03030' -draw 'rectangle 0,0 159,119' \
  -fill '#30b040' -draw 'rectangle 864,0 1023,119' \
  -fill '#f0d020' -draw 'rectangle 0,648 159,767' \
  -fill '#3050e0' -draw 'rectangle 864,648 1023,767' \
  -fill '#c0c0c0' -draw 'rectangle 220,140 700,460' \
  -fill '#000080' -draw 'rectangle 223,143 697,163' \
  -fill white -font "$font" -pointsize 13 -draw 'text 230,158 "Quarterly report - Notepad"' \
  -fill white -draw 'rectangle 226,168 694,456' \
  -fill black -font "$font" -pointsize 14 \
  -draw 'text 236,192 "Sales rose in every region this quarter."' \
  -draw 'text 236,214 "The north office opened two new branches."' \
  -draw 'text 236,236 "Next meeting: Thursday at ten."' \
  -fill '#c0c0c0' -draw 'rectangle 420,400 860,620' \
  -fill '#800000' -draw 'rectangle 423,403 857,423' \
  -fill white -font "$font" -pointsize 13 -draw 'text 430,418 "Paint"' \
  -fill '#ff8c00' -draw 'circle 560,520 620,520' \
  -fill '#8a2be2' -draw 'polygon 680,580 760,440 840,580' \
  -fill '#ffffe0' -draw 'rectangle 40,200 88,248' -fill '#4080ff' -draw 'rectangle 44,204 84,230' \
  -fill white -font "$font" -pointsize 11 -draw 'text 34,266 "My Files"' \
  -fill '#e0e0e0' -draw 'rectangle 40,300 88,348' -fill '#30a030' -draw 'circle 64,324 76,324' \
  -fill white -draw 'text 38,366 "Network"' \
  -fill '#c0c0c0' -draw 'rectangle 160,740 863,767' \
  -fill '#008000' -draw 'rectangle 164,744 224,764' -fill white -draw 'text 174,759 "Start"' \
  "$out"
