#!/bin/sh
# Checks a built Windows plug-in without running it: it exports exactly the six
# entry points by their plain names; in the 32-bit library each of them removes
# its own arguments (ret with the argument bytes); it imports nothing but
# Windows system libraries; and it carries the asInvoker manifest as resource 2.
#   check-library.sh LIBRARY 32|64
set -u
library=$1
bits=$2
if [ "$bits" = 32 ]; then objdump=i686-w64-mingw32-objdump; else objdump=x86_64-w64-mingw32-objdump; fi
failures=0
check() {
    if [ "$1" = 0 ]; then echo "ok   $2"; else echo "FAIL $2"; failures=$((failures + 1)); fi
}

headers=$($objdump -p "$library")
exports=$(echo "$headers" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/^\t\[/{print $3}' | sort | tr '\n' ' ')
expected="ListCloseWindow ListGetDetectString ListLoad ListNotificationReceived ListPrint ListSendCommand "
[ "$exports" = "$expected" ]
check $? "$bits-bit exports exactly: $exports"

# The first return of each entry point, found from its address in the export table.
base=$(echo "$headers" | awk '/^ImageBase/{print $2}')
address_of() {
    ordinal=$(echo "$headers" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
        sed -n "s/^\s*\[ *\([0-9]*\)\] $1\$/\1/p")
    rva=$(echo "$headers" | sed -n "s/^\s*\[ *$ordinal\] +base\[ *[0-9]*\] *\([0-9a-f]*\) Export RVA/\1/p")
    [ -n "$ordinal" ] && [ -n "$rva" ] && echo $((0x$base + 0x$rva))
}
for entry in ListLoad:12 ListCloseWindow:4 ListGetDetectString:8 ListSendCommand:12 ListPrint:20 \
             ListNotificationReceived:16; do
    name=${entry%%:*}
    bytes=${entry#*:}
    start=$(address_of "$name") || { check 1 "$name has an address"; continue; }
    ret=$($objdump -d --no-show-raw-insn --start-address="$start" --stop-address=$((start + 4096)) "$library" |
        grep -m1 -E '\sret' | sed 's/.*ret *//')
    if [ "$bits" = 32 ]; then want=$(printf '$0x%x' "$bytes"); else want=""; fi
    [ "$ret" = "$want" ]
    check $? "$name returns with 'ret ${ret:-(plain)}'"
done

imports=$(echo "$headers" | awk '/DLL Name:/{print toupper($3)}' | sort | tr '\n' ' ')
unexpected=$(echo "$imports" | tr ' ' '\n' |
    grep -v -x -E 'KERNEL32.DLL|USER32.DLL|GDI32.DLL|ADVAPI32.DLL|SHLWAPI.DLL|MSVCRT.DLL|' || true)
[ -z "$unexpected" ]
check $? "imports only Windows system libraries: $imports"

resources=$(echo "$headers" | sed -n '/The .rsrc Resource Directory section/,/^$/p')
echo "$resources" | grep -q "Type Table.*IDs: 1" &&
    echo "$resources" | grep -q "Entry: ID: 0x000018" &&
    echo "$resources" | grep -q "Entry: ID: 0x000002" &&
    strings -a "$library" | grep -q 'requestedExecutionLevel level="asInvoker"'
check $? "carries the asInvoker manifest as resource 2"

[ "$failures" = 0 ]
