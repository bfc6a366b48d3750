#!/usr/bin/env bash
# The shipped program is one self-contained Windows executable of the expected kind:
# it imports only DLLs that every Windows has (no MinGW runtime beside it).
#   check_exe.sh <exe> <objdump> <PE32|PE32+>
set -euo pipefail
exe=$1 objdump=$2 want=$3
headers=$("$objdump" -p "$exe")
magic=$(sed -n 's/^Magic[[:space:]]*[0-9a-f]*[[:space:]]*(\(.*\))/\1/p' <<<"$headers")
[[ "$magic" == "$want" ]] || { echo "FAIL: $exe is $magic, not $want"; exit 1; }
system='^(KERNEL32|USER32|GDI32|COMCTL32|COMDLG32|ADVAPI32|SHELL32|OLE32|OLEAUT32|msvcrt)\.dll$'
status=0
while read -r dll; do
  if [[ "${dll^^}" =~ ${system^^} ]]; then
    echo "imports $dll"
  else
    echo "FAIL: imports $dll, which Windows does not provide"
    status=1
  fi
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
exit $status
