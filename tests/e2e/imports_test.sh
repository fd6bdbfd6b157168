#!/usr/bin/env bash
# Both builds of quakeglass.scr import system DLLs only: the runtimes are linked in.
. "$(dirname "$0")/lib.sh"
allowed="kernel32 user32 gdi32 advapi32 shell32 ole32 comctl32 winmm opengl32 glu32 msvcrt"
# Both build folders, or the files QG_SCR_FILES names (the release archive's check).
read -r -a files <<<"${QG_SCR_FILES:-$QG_SCR $QG_BIN/../win32/quakeglass.scr}"
for scr in "${files[@]}"; do
    [ -f "$scr" ] || continue
    dlls=$(x86_64-w64-mingw32-objdump -p "$scr" | awk '/DLL Name:/ {print tolower($3)}' | sed 's/\.dll$//' | sort -u)
    others=$(comm -23 <(echo "$dlls") <(tr ' ' '\n' <<<"$allowed" | sort))
    check "$(basename "$(dirname "$scr")")/quakeglass.scr imports only system DLLs ($(echo $dlls))" [ -z "$others" ]
done
e2e_finish
