#!/usr/bin/env bash
# A shipped file (Ostrel.exe, OLWATCH.DLL) is self-contained and of the expected kind: it
# imports only DLLs that every Windows has (no MinGW runtime beside it). Given export
# names, the file must be a DLL that exports exactly those, by name.
#   check_pe.sh <file> <objdump> <PE32|PE32+> [export...]
set -euo pipefail
file=$1 objdump=$2 want=$3
shift 3
headers=$("$objdump" -p "$file")
magic=$(sed -n 's/^Magic[[:space:]]*[0-9a-f]*[[:space:]]*(\(.*\))/\1/p' <<<"$headers")
[[ "$magic" == "$want" ]] || { echo "FAIL: $file is $magic, not $want"; exit 1; }
system='^(KERNEL32|USER32|GDI32|COMCTL32|COMDLG32|MSIMG32|ADVAPI32|SHELL32|SHLWAPI|OLE32|OLEAUT32|msvcrt)\.dll$'
status=0
while read -r dll; do
  if [[ "${dll^^}" =~ ${system^^} ]]; then
    echo "imports $dll"
  else
    echo "FAIL: imports $dll, which Windows does not provide"
    status=1
  fi
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
[[ $# -gt 0 ]] || exit $status

flags=$(sed -n 's/^Characteristics[[:space:]]*0x\([0-9a-fA-F]*\)$/\1/p' <<<"$headers")
(( 16#${flags:-0} & 0x2000 )) || { echo "FAIL: $file is not a DLL"; exit 1; }
# The export name table: "[Ordinal/Name Pointer] Table" lines look like "[   0] DLLATTACH".
exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' \
  <<<"$headers" | sort | tr '\n' ' ')
wanted=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
if [[ "$exports" == "$wanted" ]]; then
  echo "exports $*"
else
  echo "FAIL: exports '${exports}', not exactly '${wanted}'"
  status=1
fi
exit $status
