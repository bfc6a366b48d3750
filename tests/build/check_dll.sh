#!/usr/bin/env bash
# OLWATCH.DLL is one self-contained library of the expected kind: it imports only DLLs
# that every Windows has, and exports exactly DLLATTACH and DLLDETACH, by name.
#   check_dll.sh <dll> <objdump> <PE32|PE32+>
set -euo pipefail
dll=$1 objdump=$2 want=$3
headers=$("$objdump" -p "$dll")
magic=$(sed -n 's/^Magic[[:space:]]*[0-9a-f]*[[:space:]]*(\(.*\))/\1/p' <<<"$headers")
[[ "$magic" == "$want" ]] || { echo "FAIL: $dll is $magic, not $want"; exit 1; }
flags=$(sed -n 's/^Characteristics[[:space:]]*0x\([0-9a-fA-F]*\)$/\1/p' <<<"$headers")
(( 16#${flags:-0} & 0x2000 )) || { echo "FAIL: $dll is not a DLL"; exit 1; }
system='^(KERNEL32|USER32|GDI32|ADVAPI32|msvcrt)\.dll$'
status=0
while read -r name; do
  if [[ "${name^^}" =~ ${system^^} ]]; then
    echo "imports $name"
  else
    echo "FAIL: imports $name, which Windows does not provide"
    status=1
  fi
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
# The export name table: "[Ordinal/Name Pointer] Table" lines look like "[   0] DLLATTACH".
exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' \
  <<<"$headers" | sort | tr '\n' ' ')
if [[ "$exports" == "DLLATTACH DLLDETACH " ]]; then
  echo "exports DLLATTACH DLLDETACH"
else
  echo "FAIL: exports '${exports}', not exactly DLLATTACH and DLLDETACH"
  status=1
fi
exit $status
