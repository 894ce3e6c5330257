#!/usr/bin/env bash
# Fails when a Windows exe imports a DLL outside the set every Windows ships.
set -euo pipefail
objdump=$1
exe=$2
allowed='^(KERNEL32|USER32|GDI32|SHELL32|COMCTL32|COMDLG32|ADVAPI32|WINSPOOL\.DRV|OLE32|OLEAUT32|GDIPLUS|WS2_32|MSVCRT|WINDOWSCODECS|UXTHEME|SHLWAPI|api-ms-win-crt-[a-z-]+-l1-1-0)(\.DLL)?$'
dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
echo "$exe imports: $(echo $dlls)"
bad=$(echo "$dlls" | grep -viE "$allowed" || true)
if [ -n "$bad" ]; then
    echo "not a system DLL: $bad"
    exit 1
fi
