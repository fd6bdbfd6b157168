#!/usr/bin/env bash
# The Windows installer, run for real under wine in a fresh prefix: its first page; a
# silent install and its entry in Installed apps; the installed saver running; a second
# (signed) setup over the running saver that makes it the screen saver; Uninstall from
# Installed apps; again with another saver chosen, the entry's quiet uninstall; a setup that
# cannot write the saver. In a 64-bit prefix, or a 32-bit one with WINEARCH=win32 (the
# Windows helpers then come from the build of that name).
#   [WINEARCH=win32] tools/wine-session bash tests/release/installer_test.sh SETUP.exe SIGNED-SETUP.exe
root=$(cd "$(dirname "$0")/../.." && pwd)
setup=$(realpath "$1") signed=$(realpath "$2")
arch=${WINEARCH:-win64}
export QG_OUT=${QG_BUILD:-$root/build}/installer-test/$arch QG_BIN=${QG_BUILD:-$root/build}/$arch
export QG_SCR='C:\windows\system32\quakeglass.scr'
. "$root/tests/e2e/lib.sh"
. "$root/tests/wine-env.sh"
version=$(basename "$setup" | sed -n 's/^quakeglass-\(.*\)-setup\.exe$/\1/p')
entry_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quakeglass'
desktop_key='HKCU\Control Panel\Desktop'
other='C:\windows\system32\other.scr'

# A prefix of its own, kept for a look only when a check failed.
prefix=$QG_OUT/prefix
rm -rf "$prefix"
qg_prefix_start "$prefix" || exit 1
trap 'wineserver -k; [ "$e2e_failures" -ne 0 ] || rm -rf "$prefix"' EXIT
system32=$prefix/drive_c/windows/system32
folder="$prefix/drive_c/Program Files/Quakeglass"

# Prints a key's values as sorted name=value lines.
reg_values() {
    wine reg query "$1" 2>/dev/null | tr -d '\r' |
        awk '$2 ~ /^REG_/ {v = $0; sub(/^ *[^ ]+ +REG_[A-Z_]+ */, "", v); print $1 "=" v}' | sort
}
current_saver() { reg_values "$desktop_key" | sed -n 's/^SCRNSAVE\.EXE=//p'; }
# Our entries in Installed apps, counted in each registry view the system has: a 32-bit setup
# writes to the 32-bit view unless it asks for the 64-bit one.
entries() {
    local views=("") view
    [ "$arch" = win64 ] && views=(/reg:64 /reg:32)
    for view in "${views[@]}"; do
        wine reg query "${entry_key%\\*}" /s $view 2>/dev/null
    done | grep -c 'DisplayName.*3D Quakeglass'
}
# The Installed apps entry, as a user and a package manager see it.
entry_value() { reg_values "$entry_key" | sed -n "s/^$1=//p"; }
# The uninstaller hands over to a copy of itself and returns; the work ends with its folder.
uninstalled() {
    local i
    for i in $(seq 100); do [ -e "$folder" ] || break; sleep 0.2; done
}
# What a package manager does: runs the entry's QuietUninstallString, a quoted program and
# its arguments.
uninstall_quietly() {
    local command program
    command=$(entry_value QuietUninstallString)
    program=$(sed -n 's/^"\([^"]*\)".*/\1/p' <<<"$command")
    wine "$program" ${command#\"$program\"} >/dev/null 2>&1
    uninstalled
}
# What a user does: Uninstall on the entry in Wine's list of installed programs runs its
# UninstallString; the user confirms and finishes.
uninstall_as_a_user() {
    local i title="3D Quakeglass Uninstall "  # NSIS ends the title with a space
    wine uninstaller --remove Quakeglass >/dev/null 2>&1 &
    wait_window "$title" 20 >/dev/null && wine "$QG_BIN/dialog_driver.exe" click "$title" 1 >/dev/null 2>&1
    for i in $(seq 50); do [ -e "$folder/uninstall.exe" ] || break; sleep 0.2; done
    wine "$QG_BIN/dialog_driver.exe" click "$title" 1 >/dev/null 2>&1  # Finish
    uninstalled
}
# Another saver chosen by the user, read back: a write made just after the prefix starts can be
# lost, and the checks after it stand on it.
choose_other_saver() {
    local try
    for try in 1 2 3; do
        wine reg add "$desktop_key" /v SCRNSAVE.EXE /d "$other" /f >/dev/null 2>&1
        [ "$(current_saver)" = "$other" ] && return 0
        sleep 0.5
    done
    return 1
}
no_trace() { [ ! -e "$system32/quakeglass.scr" -a ! -e "$system32/quakeglass.scr.new" -a ! -e "$folder" -a "$(entries)" = 0 ]; }

need "another saver is the current one" choose_other_saver
wine "$setup" >/dev/null 2>&1 &
e2e_pids+=($!)
first_page() { wait_window "3D Quakeglass Setup" 20 >/dev/null; }
check "the installer's first page appears" first_page
sleep 1
screenshot installer-first-page.png
wine "$QG_BIN/dialog_driver.exe" click "3D Quakeglass Setup" 2 >/dev/null 2>&1  # Cancel

wine "$setup" /S
status=$?
installed=$(x86_64-w64-mingw32-windres -J coff -O rc -i "$system32/quakeglass.scr" 2>/dev/null |
    sed -n 's/.*VALUE "FileVersion", "\(.*\)"/\1/p')
# The saver of the system's kind, in the real system folder (not SysWOW64 on 64-bit Windows).
kind=$(x86_64-w64-mingw32-objdump -f "$system32/quakeglass.scr" 2>/dev/null | sed -n 's/.*file format //p')
[ "$arch" = win32 ] && expected_kind=pei-i386 || expected_kind=pei-x86-64
check "/S installs ($status) the $kind saver of version $installed into the system folder, the uninstaller and licence into Program Files" \
    [ "$status" = 0 -a "$installed" = "$version" -a "$kind" = "$expected_kind" \
      -a ! -e "$prefix/drive_c/windows/syswow64/quakeglass.scr" -a -f "$folder/uninstall.exe" -a -f "$folder/LICENSE.txt" ]
# Wine's list of installed programs gives each entry's key and name.
listed() { wine uninstaller --list 2>/dev/null | tr -d '\r' | grep -q -x -F 'Quakeglass|||3D Quakeglass'; }
size=$(entry_value EstimatedSize)
check "Installed apps lists 3D Quakeglass $(entry_value DisplayVersion) by $(entry_value Publisher), of $((size)) KB" \
    [ "$(listed && echo yes)" = yes -a "$(entry_value DisplayVersion)" = "$version" \
      -a "$(entry_value Publisher)" = "Veltrask Software" -a "$((size))" -gt 300 ]
check "the current saver stays: $(current_saver)" [ "$(current_saver)" = "$other" ]

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

wine "$signed" /S /ACTIVATE
status=$?
pending=$(wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null)
# WINE: exit codes arrive cut to 8 bits: 3010 (done, a restart finishes it) as 194.
waits_for_restart() {
    [ "$status" = 194 -a -f "$system32/quakeglass.scr.new" ] &&
        grep -q -F 'quakeglass.scr.new\0!\??\C:\windows\system32\quakeglass.scr' <<<"$pending"
}
check "a setup over the running saver leaves the new file to replace it at restart, and says so ($status)" waits_for_restart
xdotool key space
saver_wait_exit 5
check "a key ends the saver" [ "$SAVER_STATUS" = 0 ]
check "/S /ACTIVATE makes it the current screen saver; two installs, one entry" \
    [ "$(current_saver)" = "$QG_SCR" -a "$(entries)" = 1 ]
signed_uninstaller() { osslsigncode verify -CAfile "${signed%/*}/test-signer.pem" -in "$folder/uninstall.exe" >/dev/null 2>&1; }
check "the signed setup wrote a signed uninstaller" signed_uninstaller

uninstall_as_a_user
check "Uninstall in Installed apps, confirmed, leaves no file, folder or entry of ours" no_trace
ours_gone_settings_kept() { [ -z "$(current_saver)" ] && wine reg query "$qg_key" >/dev/null 2>&1; }
check "the current screen saver that named it is gone, the user's settings stay" ours_gone_settings_kept
# Installed again into a folder of the user's choice, then a setup over it without one: the
# upgrade goes where the entry says.
default_folder=$folder folder=$prefix/drive_c/Quakeglass
wine "$setup" /S '/D=C:\Quakeglass'
wine "$setup" /S
kept_folder() { [ -f "$folder/uninstall.exe" -a ! -e "$default_folder" -a "$(entries)" = 1 ]; }
check "a setup over an install in C:\\Quakeglass stays there ($(entry_value InstallLocation)), one entry" kept_folder
need "another saver is the current one again" choose_other_saver
uninstall_quietly
other_kept() { [ "$(current_saver)" = "$other" ] && no_trace; }
check "another saver chosen, the entry's quiet uninstall: no trace, and that saver stays" other_kept
folder=$default_folder

# A saver file that cannot be written, nor its stand-in for the restart (folders in their
# places): the setup fails and says so, and leaves nothing of its own.
mkdir "$system32/quakeglass.scr" "$system32/quakeglass.scr.new"
nothing_installed() { [ ! -e "$folder" -a "$(entries)" = 0 ]; }
wine "$setup" /S
status=$?
failed_cleanly() { [ "$status" = 2 ] && nothing_installed; }
check "a silent setup that cannot write the saver ends with 2 and installs nothing ($status)" failed_cleanly
wine "$setup" >/dev/null 2>&1 &
e2e_pids+=($!)
wait_window "3D Quakeglass Setup" 20 >/dev/null
wine "$QG_BIN/dialog_driver.exe" click "3D Quakeglass Setup" 1 1 1 >/dev/null 2>&1  # Next, I Agree, Install
message=$(wine "$QG_BIN/dialog_driver.exe" message "3D Quakeglass Setup" 2>/dev/null | tr -d '\r')
check "one run with its pages says so: $message" grep -q 'quakeglass.scr could not be written' <<<"$message"
rmdir "$system32/quakeglass.scr" "$system32/quakeglass.scr.new"
e2e_finish
