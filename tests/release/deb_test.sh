#!/usr/bin/env bash
# The Debian package on this machine, as a user meets it: lintian finds no error in it; it
# installs with dpkg -i; the X11 screen-saver daemon runs the installed program from the
# programs line the manual page gives; man renders that page, with every option -help
# lists; dpkg -r takes away every file it put there; a second packing gives the same bytes. It installs for real: as root, one
# run at a time on a machine, and never over a quakeglass package installed before.
#   tests/release/deb_test.sh PACKAGE.deb     (QG_OUT: where screenshots and logs go)
deb=$(realpath "$1")
x11_tests=$(cd "$(dirname "$0")/../x11" && pwd)
export QG_SAVER=quakeglass QG_NATIVE_BIN=/nonexistent
. "$x11_tests/lib.sh"
. "$x11_tests/daemon_lib.sh"

installed() { dpkg-query -W -f='${Status}' quakeglass 2>/dev/null | grep -q 'install ok installed'; }
if [ "$(id -u)" != 0 ]; then check "the package scenario runs as root, to install the package" false; e2e_finish; fi
exec 8>/run/lock/quakeglass-package-test.lock
flock 8
if installed; then
    check "no quakeglass package is installed before (remove it with dpkg -r quakeglass)" false
    e2e_finish
fi
trap 'dpkg -r quakeglass >/dev/null 2>&1; kill "$QG_XVFB_PID" 2>/dev/null' EXIT

lintian --fail-on error "$deb" >"$QG_OUT/lintian.log" 2>&1
lintian_status=$?
check "lintian finds no error ($(grep -c '^E:' "$QG_OUT/lintian.log") errors)" [ "$lintian_status" = 0 ]

again=$("$x11_tests/../../tools/package-deb" "$QG_OUT/again" 2>"$QG_OUT/again.log")
check "a second packing gives the same bytes" cmp -s "$deb" "$again"

# dpkg waits for no lock: another program's apt or dpkg may hold it for a moment.
for try in $(seq 30); do
    dpkg -i "$deb" >"$QG_OUT/dpkg.log" 2>&1 && break
    grep -q 'lock' "$QG_OUT/dpkg.log" || break
    sleep 2
done
check "dpkg -i installs it" installed
check "quakeglass on the PATH is the program in the daemon's folder" \
    [ "$(readlink -f "$(command -v quakeglass)")" = /usr/libexec/xscreensaver/quakeglass ]

show_sample_desktop
run_daemon True daemon.png
check "the daemon runs the installed program ($SAVER_EXE)" [ "$SAVER_EXE" = /usr/libexec/xscreensaver/quakeglass ]
check "which shows the desktop: red top left" [ "$(dominant daemon.png 192 144)" = red ]

MANWIDTH=100 man --warnings 6 quakeglass >"$QG_OUT/manual.txt" 2>"$QG_OUT/manual.err"
rendered() { [ -s "$QG_OUT/manual.txt" ] && [ ! -s "$QG_OUT/manual.err" ]; }
check "man 6 quakeglass renders the page without a warning" rendered
missing=$(quakeglass -help | grep -oE '^ +-[A-Za-z0-9_-]+' | while read -r option; do
    grep -qF -- "$option" "$QG_OUT/manual.txt" || echo "$option"; done)
check "with every option that -help lists${missing:+ (missing: $missing)}" [ -z "$missing" ]

dpkg -L quakeglass >"$QG_OUT/files.txt"
dpkg -r quakeglass >>"$QG_OUT/dpkg.log" 2>&1
left=$(while read -r file; do
    if [ ! -d "$file" ] && { [ -e "$file" ] || [ -L "$file" ]; }; then echo "$file"; fi
done <"$QG_OUT/files.txt")
check "dpkg -r takes away every file it put there${left:+ (left: $left)}" [ -z "$left" ]
check "and the program is gone from the PATH" [ -z "$(command -v quakeglass)" ]
rm -rf "$home"
e2e_finish
