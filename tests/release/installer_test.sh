#!/usr/bin/env bash
# The Windows installer, run for real under wine, each story in a fresh prefix: its first
# page; a silent install, the installed saver running, a second (signed) setup over the
# running saver, the silent uninstall; an older version made the screen saver, this one
# over it, the uninstall.
#   tools/wine-session bash tests/release/installer_test.sh SETUP.exe SIGNED-SETUP.exe
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${QG_BUILD:-$root/build}
setup=$(realpath "$1") signed=$(realpath "$2")
export QG_OUT=$build/installer-test QG_BIN=$build/win64 QG_SCR='C:\windows\system32\quakeglass.scr'
. "$root/tests/e2e/lib.sh"
. "$root/tests/wine-env.sh"
version=$(basename "$setup" | sed -n 's/^quakeglass-\(.*\)-setup\.exe$/\1/p')
uninstall_keys='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
desktop_key='HKCU\Control Panel\Desktop'
session_prefix=$WINEPREFIX

# fresh_prefix NAME: a new wine prefix for one story; its background programs start here,
# away from the pipes of the commands below.
fresh_prefix() {
    [ "$WINEPREFIX" = "$session_prefix" ] || wineserver -k
    rm -rf "${QG_OUT:?}/$1"
    qg_prefix_init "$QG_OUT/$1" || exit 1
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
    system32=$WINEPREFIX/drive_c/windows/system32
    folder="$WINEPREFIX/drive_c/Program Files/Quakeglass"
}
# At the end the last story's wine stops; its prefixes stay only when a check failed.
finish() {
    [ "$WINEPREFIX" = "$session_prefix" ] || wineserver -k
    [ "$e2e_failures" -ne 0 ] || rm -rf "$QG_OUT"/installer-[0-9]
}
trap finish EXIT

# Prints a key's values as sorted name=value lines.
reg_values() {
    wine reg query "$1" 2>/dev/null | tr -d '\r' |
        awk 'NF >= 2 && $2 ~ /^REG_/ {v = $0; sub(/^ *[^ ]+ +REG_[A-Z_]+ */, "", v); print $1 "=" v}' | sort
}
saver_value() { reg_values "$desktop_key" | sed -n 's/^SCRNSAVE\.EXE=//p'; }
entries() { wine reg query "$uninstall_keys" /s 2>/dev/null | grep -c 'DisplayName.*3D Quakeglass'; }
# The uninstaller hands over to a copy of itself and returns; its work ends with its folder.
uninstall() {
    wine "$folder/uninstall.exe" /S >/dev/null 2>&1
    local i
    for i in $(seq 100); do [ -e "$folder" ] || break; sleep 0.2; done
}
no_trace() {
    [ ! -e "$system32/quakeglass.scr" ] && [ ! -e "$system32/quakeglass.scr.new" ] &&
        [ ! -e "$folder" ] && [ "$(entries)" = 0 ]
}
installed_version() {
    x86_64-w64-mingw32-windres -J coff -O rc -i "$system32/quakeglass.scr" 2>/dev/null |
        sed -n 's/.*VALUE "FileVersion", "\(.*\)"/\1/p'
}

fresh_prefix installer-1
other='C:\windows\system32\other.scr'
wine reg add "$desktop_key" /v SCRNSAVE.EXE /d "$other" /f >/dev/null 2>&1
wine "$setup" >/dev/null 2>&1 &
e2e_pids+=($!)
first_page() { wait_window "3D Quakeglass Setup" 20 >/dev/null; }
check "the installer's first page appears" first_page
sleep 1
screenshot installer-first-page.png
wine "$QG_BIN/dialog_driver.exe" click "3D Quakeglass Setup" 2 >/dev/null 2>&1  # Cancel

wine "$setup" /S
status=$?
check "/S installs without a question ($status), the saver in the 64-bit system folder with version $(installed_version)" \
    [ "$status" = 0 -a "$(installed_version)" = "$version" -a ! -e "$WINEPREFIX/drive_c/windows/syswow64/quakeglass.scr" ]
check "the uninstaller and the licence in Program Files\\Quakeglass" \
    [ -f "$folder/uninstall.exe" -a -f "$folder/LICENSE.txt" ]
entry=$(reg_values "$uninstall_keys\\Quakeglass")
expected="DisplayIcon=C:\\windows\\system32\\quakeglass.scr,0
DisplayName=3D Quakeglass
DisplayVersion=$version
InstallLocation=C:\\Program Files\\Quakeglass
NoModify=0x1
NoRepair=0x1
Publisher=Veltrask Software
QuietUninstallString=\"C:\\Program Files\\Quakeglass\\uninstall.exe\" /S
UninstallString=\"C:\\Program Files\\Quakeglass\\uninstall.exe\""
size=$(sed -n 's/^EstimatedSize=//p' <<<"$entry")
check "the Installed apps entry has its values, and a size of $((size)) KB" \
    [ "$(grep -v EstimatedSize <<<"$entry")" = "$expected" -a "$((size))" -ge $(($(stat -c %s "$system32/quakeglass.scr") / 1024)) ]
check "the current screen saver is left as it was" [ "$(saver_value)" = "$other" ]

show_desktop
screenshot installer-desktop.png
saver_start /s
wait_window "Screen Saver" 20 >/dev/null
sleep 1
screenshot installed-saver.png
# Not the desktop, and not a black screen: the pieces of the desktop on black.
shows_the_saver() {
    differs installer-desktop.png installed-saver.png &&
        [ "$(convert "$QG_OUT/installed-saver.png" -format '%[fx:int(1000*standard_deviation)]' info:)" -gt 20 ]
}
check "the installed saver runs full screen with /s" shows_the_saver

# WINE: exit codes arrive cut to 8 bits: 3010 (done, restart to finish) as 194.
wine "$signed" /S
status=$?
pending=$(wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null)
waits_for_restart() {
    [ "$status" = 194 ] && [ -f "$system32/quakeglass.scr.new" ] &&
        grep -q -F 'quakeglass.scr.new\0!\??\C:\windows\system32\quakeglass.scr' <<<"$pending"
}
check "a setup over the running saver leaves the new one to replace it at restart, and says so ($status)" \
    waits_for_restart
xdotool key space
saver_wait_exit 5
check "a key ends the saver" [ "$SAVER_STATUS" = 0 ]
check "two installs leave one Installed apps entry" [ "$(entries)" = 1 ]
signed_uninstaller() {
    osslsigncode verify -CAfile "$(dirname "$signed")/test-signer.pem" -in "$folder/uninstall.exe" >/dev/null 2>&1
}
check "the signed setup wrote a signed uninstaller" signed_uninstaller

uninstall
check "the silent uninstall leaves no file, folder or entry of ours" no_trace
kept_the_users() { [ "$(saver_value)" = "$other" ] && wine reg query "$qg_key" >/dev/null 2>&1; }
check "and keeps the other saver as the current one, and the user's settings" kept_the_users

fresh_prefix installer-2
older=$QG_OUT/quakeglass-0.9.0-setup.exe
"$root/packaging/windows/make-setup" 0.9.0 "$QG_BIN/quakeglass.scr" "$root/LICENSE" "$older"
wine "$older" /S /ACTIVATE
check "/S /ACTIVATE makes it the current screen saver" \
    [ "$(saver_value)" = "$QG_SCR" -a "$(reg_values "$desktop_key" | grep '^ScreenSaveActive=')" = ScreenSaveActive=1 ]
wine "$setup" /S
upgraded() {
    unzip -p "${setup%-setup.exe}-windows.zip" x64/quakeglass.scr | cmp -s - "$system32/quakeglass.scr" &&
        [ "$(entries)" = 1 ] && [ "$(saver_value)" = "$QG_SCR" ] &&
        grep -q "^DisplayVersion=$version$" <<<"$(reg_values "$uninstall_keys\\Quakeglass")"
}
check "version $version over 0.9.0: its file, one entry of its version, still the current saver" upgraded
uninstall
check "the uninstall takes away the current screen saver that named it" [ -z "$(saver_value)" ]
check "and leaves no file, folder or entry of ours" no_trace
e2e_finish
