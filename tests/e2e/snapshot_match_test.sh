#!/usr/bin/env bash
# The same screen gives the same texture on both systems: the Windows capture (GDI, under
# wine) and the native X11 capture of this Xvfb screen are equal byte for byte, squeezed,
# stretched and at odd sizes. QG_NATIVE_BIN is the native build (default: beside QG_BIN).
. "$(dirname "$0")/lib.sh"
native=${QG_NATIVE_BIN:-$QG_BIN/../native}

# both_hold BYTES FILE FILE
both_hold() { [ "$(stat -c %s "$2" 2>/dev/null)" = "$1" ] && [ "$(stat -c %s "$3" 2>/dev/null)" = "$1" ]; }

show_desktop
check "the native build's snapshot_dump is there" [ -x "$native/snapshot_dump" ]
for size in "512 256" "2048 1024" "333 97" "1024 768" "1 1"; do
    set -- $size
    wine "$QG_BIN/capture_dump.exe" "$1" "$2" "$QG_OUT/windows-$1x$2.bgr" >/dev/null 2>&1
    "$native/snapshot_dump" "$1" "$2" "$QG_OUT/linux-$1x$2.bgr"
    check "$1 x $2: both captures hold $(($1 * $2 * 3)) bytes" \
        both_hold $(($1 * $2 * 3)) "$QG_OUT/windows-$1x$2.bgr" "$QG_OUT/linux-$1x$2.bgr"
    check "$1 x $2: the same bytes" cmp -s "$QG_OUT/windows-$1x$2.bgr" "$QG_OUT/linux-$1x$2.bgr"
done
# Not a blank screen compared with itself: the full-size capture is the sample desktop.
check "the 1024 x 768 capture shows the red corner block" \
    [ "$(od -An -tu1 -N3 "$QG_OUT/linux-1024x768.bgr" | tr -s ' ')" = " 48 48 208" ]
e2e_finish
