#!/usr/bin/env bash
# The Debian package as a user meets it: lintian finds no error in it; it installs with
# dpkg -i; the X11 screen-saver daemon runs the installed program from the programs line the
# manual page gives; man renders that page, with every option -help lists; dpkg -r takes
# away every file it put there. It installs for real, in a throwaway copy of this machine:
# a mount namespace of its own where /usr, /etc and /var are overlays on tmpfs, so that
# dpkg, the daemon and man work on the machine's own files while every write stays in the
# overlays, and the machine's package database (a quakeglass installed there too) stays as
# it was. Needs root, for the namespace and the mounts.
#   tests/release/deb_test.sh PACKAGE.deb     (QG_OUT: where screenshots and logs go)
deb=$(realpath "$1")
x11_tests=$(cd "$(dirname "$0")/../x11" && pwd)

# The machine's own quakeglass, as its package database and its files tell it.
machine_state() {
    dpkg-query -W -f='${Status} ${Version}\n' quakeglass 2>/dev/null
    ls -l /usr/libexec/xscreensaver/quakeglass /usr/bin/quakeglass 2>/dev/null
}
if [ -z "${QG_DEB_SANDBOX:-}" ]; then
    if [ "$(id -u)" != 0 ]; then
        echo "FAIL - the package scenario runs as root, for a mount namespace of its own"
        exit 1
    fi
    before=$(machine_state)
    sandbox=$(mktemp -d)
    QG_DEB_SANDBOX=$sandbox unshare --mount --propagation private bash "$0" "$@"
    status=$?
    rmdir "$sandbox"
    if [ "$(machine_state)" = "$before" ]; then
        echo "ok   - the machine's own package database and files are as they were"
    else
        echo "FAIL - the machine's own quakeglass changed: $before -> $(machine_state)"
        status=1
    fi
    exit "$status"
fi

# The overlays: what dpkg writes (the files under /usr, its database and log under /var,
# the manual index's cache), and /etc for what a package's scripts may touch.
sandbox=$QG_DEB_SANDBOX
mount -t tmpfs quakeglass-deb-test "$sandbox" || exit 1
for dir in usr etc var; do
    mkdir "$sandbox/$dir" "$sandbox/$dir.work"
    mount -t overlay overlay -o "lowerdir=/$dir,upperdir=$sandbox/$dir,workdir=$sandbox/$dir.work" "/$dir" || exit 1
done

export QG_SAVER=quakeglass QG_NATIVE_BIN=/nonexistent
. "$x11_tests/lib.sh"
. "$x11_tests/daemon_lib.sh"
installed() { dpkg-query -W -f='${Status}' quakeglass 2>/dev/null | grep -q 'install ok installed'; }
# A quakeglass of the machine's own goes, here only: the package installs as on a fresh machine.
installed && dpkg --purge quakeglass >"$QG_OUT/dpkg.log" 2>&1
not_installed() { ! installed; }
need "in the throwaway copy of this machine no quakeglass is installed" not_installed

lintian --fail-on error "$deb" >"$QG_OUT/lintian.log" 2>&1
lintian_status=$?
check "lintian finds no error ($(grep -c '^E:' "$QG_OUT/lintian.log") errors)" [ "$lintian_status" = 0 ]

dpkg -i "$deb" >>"$QG_OUT/dpkg.log" 2>&1
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
