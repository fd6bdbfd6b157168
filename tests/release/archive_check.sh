#!/usr/bin/env bash
# The downloads that tools/package wrote: the zip's files and checksums, the install note's
# line ends, in both builds the system DLLs only, our manifest and the project version
# (read statically here; the Windows tests read the 64-bit build at run time), no symbol
# table but the symbols beside them, the installer's version and manifest, the checksums of
# the release folder, the same bytes from a second packing (the Debian package's too: the
# one check of its reproducibility), and a signed packing of the Windows downloads.
#   tests/release/archive_check.sh ARCHIVE      one "ok"/"FAIL" line per check
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${QG_BUILD:-$root/build}
archive=$(realpath "$1")
release=$(dirname "$archive")
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

unzip -q "${archive%.zip}-symbols.zip" -d symbols
check "the symbols archive's x64/quakeglass.scr is the build the Windows tests read" \
    cmp -s symbols/x64/quakeglass.scr "$build/win64/quakeglass.scr"
# Stripping the kept file must give the shipped one: the same build, its symbols not lost.
stripped_of_kept_symbols() {
    ! x86_64-w64-mingw32-objdump -f "$1" | grep -q -E 'HAS_SYMS|HAS_DEBUG' &&
        SOURCE_DATE_EPOCH=0 x86_64-w64-mingw32-strip -o stripped.scr "symbols/$1" && cmp -s stripped.scr "$1" &&
        x86_64-w64-mingw32-nm -C "symbols/$1" | grep -q ' T RenderThread('
}
for scr in x64/quakeglass.scr x86/quakeglass.scr; do
    check "$scr carries no symbol table; the symbols archive holds it with them" stripped_of_kept_symbols "$scr"
done

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

setup=$release/quakeglass-$version-setup.exe
info=$(resource_text "$setup" coff VERSIONINFO)
check "the installer carries version $version" \
    grep -q -z -E "FILEVERSION $major, $minor, $patch, 0.*\"ProductVersion\", \"$version\"" <<<"$info"
# NSIS writes its manifest as plain text among the resources.
check "the installer's manifest asks for administrator rights" \
    grep -a -q 'requestedExecutionLevel level="requireAdministrator"' "$setup"
release_sums() { (cd "$release" && sha256sum --quiet --strict -c SHA256SUMS && grep -q " ${setup##*/}\$" SHA256SUMS); }
check "the release folder's SHA256SUMS verifies each download, the installer too" release_sums

sleep 2  # a zip time is kept to 2 s: an archive stamped with the clock would differ now
again=$(dirname "$("$root/tools/package" "$unpacked/again")")
for file in $(cd "$release" && ls quakeglass-"$version"-* quakeglass_"$version"_*.deb SHA256SUMS); do
    check "packaging again gives the same $file" cmp -s "$release/$file" "$again/$file"
done

# Signing, with a certificate made for this check (its chain is trusted only here). The
# installer test installs this signed setup.exe.
signed=$build/signed-release
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Quakeglass test signer" \
    -addext extendedKeyUsage=codeSigning -keyout key.pem -out cert.pem 2>/dev/null
rm -rf "$signed"
QG_SIGN_CERT=cert.pem QG_SIGN_KEY=key.pem "$root/tools/package" --windows "$signed" >/dev/null
unzip -q "$signed/quakeglass-$version-windows.zip" x64/quakeglass.scr x86/quakeglass.scr -d signed
# The signed packing's file carries the test signature, the plain packing's none.
signed_only_when_given() {
    osslsigncode verify -CAfile cert.pem -in "$1" >/dev/null 2>&1 &&
        ! osslsigncode extract-signature -in "$2" -out signature.der >/dev/null 2>&1
}
for file in x64/quakeglass.scr x86/quakeglass.scr; do
    check "$file is signed when a certificate is given, and only then" signed_only_when_given "signed/$file" "$file"
done
check "the installer is signed when a certificate is given, and only then" \
    signed_only_when_given "$signed/${setup##*/}" "$setup"
cp cert.pem "$signed/test-signer.pem"
[ "$failures" -eq 0 ]
