#!/usr/bin/env bash
# The two shipped executables as files: 32-bit PE images (PE32, i386), ostrafen.exe for the Windows GUI
# subsystem and velmarid.exe for the console, both importing nothing but DLLs that come with Windows:
# everything else (the C++ runtime, libgcc, winpthreads) is linked in statically.
#   check-pe.sh OBJDUMP OSTRAFEN_EXE VELMARID_EXE
set -uo pipefail
objdump=$1 ostrafen=$2 velmarid=$3

# DLLs of Windows itself, lower case.
system_dlls=(kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll comctl32.dll ole32.dll oleaut32.dll
    msvcrt.dll)

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# check FILE SUBSYSTEM-NUMBER SUBSYSTEM-NAME
check() {
    local file=$1 want_subsystem=$2 subsystem_name=$3 name headers private magic subsystem dlls dll
    name=$(basename "$file")
    [ -f "$file" ] || { fail "$name: no such file: $file"; return; }
    headers=$("$objdump" -f "$file" 2>&1) || { fail "$name: objdump -f failed: $headers"; return; }
    private=$("$objdump" -p "$file" 2>&1) || { fail "$name: objdump -p failed: $private"; return; }

    grep -q "file format pei-i386\$" <<<"$headers" || fail "$name: not a pei-i386 file: $(head -2 <<<"$headers")"
    grep -q "^architecture: i386," <<<"$headers" || fail "$name: not for i386: $(grep '^architecture' <<<"$headers")"

    magic=$(awk '$1 == "Magic" { print $2 }' <<<"$private")
    [ "$magic" = "010b" ] || fail "$name: optional header magic '$magic', not 010b (PE32)"

    subsystem=$(awk '$1 == "Subsystem" { print $2 }' <<<"$private")
    if [ -z "$subsystem" ] || [ $((16#$subsystem)) -ne "$want_subsystem" ]; then
        fail "$name: subsystem '$subsystem', not $want_subsystem ($subsystem_name)"
    fi

    dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$private" | tr '[:upper:]' '[:lower:]')
    # Every Windows program imports kernel32: without it the import table was not read at all.
    grep -qx "kernel32.dll" <<<"$dlls" || fail "$name: no kernel32.dll among the imports: $(echo $dlls)"
    for dll in $dlls; do
        [[ " ${system_dlls[*]} " == *" $dll "* ]] || fail "$name: imports $dll, which Windows does not ship"
    done
    echo "$name: pei-i386, magic $magic, subsystem $((16#${subsystem:-0})), imports $(echo $dlls)"
}

check "$ostrafen" 2 "Windows GUI"
check "$velmarid" 3 "Windows console"
[ "$failures" -eq 0 ]
