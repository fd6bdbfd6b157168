#!/usr/bin/env bash
# The download that tools/package wrote: its files and checksums, the install note's line
# ends, and in both builds the system DLLs only, our manifest and the project version
# (read statically here; the Windows tests read the 64-bit build at run time).
#   tests/release/archive_check.sh ARCHIVE      one "ok"/"FAIL" line per check
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${QG_BUILD:-$root/build}
archive=$(realpath "$1")
failures=0
check() {
    local what=$1; shift
    if "$@"; then echo "ok   - $what"; else echo "FAIL - $what"; failures=$((failures + 1)); fi
}
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$archive" -d "$unpacked"
cd "$unpacked"

version=$(basename "$archive" | sed -n 's/^quakeglass-\([0-9]*\.[0-9]*\.[0-9]*\)-windows\.zip$/\1/p')
check "the archive is named after the project version ($version)" \
    grep -q "^#define QG_VERSION_TEXT \"$version\"$" "$build/win64/generated/version.h"
listing=$(unzip -Z1 "$archive" | tr '\n' ' ')
check "it holds the install note, the licence, the checksums and both builds ($listing)" \
    [ "$listing" = "INSTALL.txt LICENSE.txt x64/quakeglass.scr x86/quakeglass.scr SHA256SUMS " ]
sums_verify() { [ "$(wc -l <SHA256SUMS)" = 4 ] && sha256sum --quiet --strict -c SHA256SUMS; }
check "SHA256SUMS verifies the four other files" sums_verify
crlf_only() { ! grep -q -v $'\r$' "$@"; }
check "INSTALL.txt and LICENSE.txt end every line with CRLF" crlf_only INSTALL.txt LICENSE.txt
check "x64/quakeglass.scr is the build the Windows tests read" cmp -s x64/quakeglass.scr "$build/win64/quakeglass.scr"

QG_OUT=$unpacked/imports QG_SCR_FILES="x64/quakeglass.scr x86/quakeglass.scr" bash "$root/tests/e2e/imports_test.sh" ||
    failures=$((failures + 1))

# A resource's body as windres writes it back as script text, from a built file or our sources.
resource_text() {  # FILE FORMAT HEADER-PATTERN
    x86_64-w64-mingw32-windres -J "$2" -O rc -i "$1" 2>/dev/null | sed -n "/$3/,/^END/p" | tail -n +2
}
printf '1 24 "%s"\n' "$root/src/resources/quakeglass.manifest" >manifest.rc
manifest=$(resource_text manifest.rc rc 'RT_MANIFEST')
IFS=. read -r major minor patch <<<"$version"
for scr in x64/quakeglass.scr x86/quakeglass.scr; do
    check "$scr carries our manifest" [ "$(resource_text "$scr" coff RT_MANIFEST)" = "$manifest" ]
    info=$(resource_text "$scr" coff VERSIONINFO)
    check "$scr carries version $version" \
        grep -q -z -E "FILEVERSION $major, $minor, $patch, 0.*\"FileVersion\", \"$version\"" <<<"$info"
done

sleep 2  # a zip time is kept to 2 s: an archive stamped with the clock would differ now
again=$("$root/tools/package" "$unpacked/again")
check "packaging again gives the same archive" cmp -s "$archive" "$again"
[ "$failures" -eq 0 ]
