#!/usr/bin/env bash
# Fails when a Windows exe imports a DLL outside the set every Windows ships,
# when its header does not say Windows 7 SP1 (subsystem 6.1), the oldest
# Windows that has every entry point it imports, or when it outgrows the
# release's budget of 640 KB.
set -euo pipefail
objdump=$1
exe=$2
allowed='^(KERNEL32|USER32|GDI32|SHELL32|COMCTL32|COMDLG32|ADVAPI32|WINSPOOL\.DRV|OLE32|OLEAUT32|GDIPLUS|WS2_32|MSVCRT|WINDOWSCODECS|UXTHEME|SHLWAPI|NORMALIZ|api-ms-win-crt-[a-z-]+-l1-1-0)(\.DLL)?$'
cabecera=$("$objdump" -p "$exe")
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$cabecera")
echo "$exe imports: $(echo $dlls)"
bad=$(echo "$dlls" | grep -viE "$allowed" || true)
if [ -n "$bad" ]; then
    echo "not a system DLL: $bad"
    exit 1
fi
subsistema=$(awk '$1 ~ /^M(aj|in)orSubsystemVersion$/ {printf "%s ", $2}' <<<"$cabecera")
if [ "$subsistema" != "6 1 " ]; then
    echo "subsystem version [$subsistema], not 6 1 (Windows 7 SP1)"
    exit 1
fi
tamano=$(stat -c %s "$exe")
if [ "$tamano" -gt $((640 * 1024)) ]; then
    echo "$tamano bytes: over the budget of 640 KB"
    exit 1
fi
