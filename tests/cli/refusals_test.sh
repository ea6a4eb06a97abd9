#!/bin/sh
# Refusals through the binary, one row each: the exit status, a line that
# standard error must hold, the setup in the work folder and the command.
# After every row nothing outside the work folder has changed, the old
# configuration file is as it was, and no new file was left beside it.
# Usage: refusals_test.sh PROFILE PROGRAM
profile=$1
program=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
echo keep >outside.txt
"$program" config --config "$profile" --out old.txt && cp old.txt old.copy || exit 1

row() {
    want=$1 text=$2 setup=$3
    shift 3
    rm -rf d e && mkdir d && limit=unlimited sim=$profile && eval "$setup"
    (trap '' XFSZ; ulimit -f "$limit"; KORVANE_SIMULATOR=$sim exec "$program" "$@") >out.txt 2>err.txt
    status=$?
    [ $status -eq "$want" ] && grep -qF -- "$text" err.txt || { echo "FAIL: status $status: $setup: $*"; cat err.txt; exit 1; }
    [ "$(cat outside.txt)" = keep ] && [ ! -e nowhere ] && [ ! -e e/Chip.txt ] && cmp -s old.txt old.copy && [ "$(ls | grep -c new)" = 0 ] ||
        { echo "FAIL: files changed: $setup: $*"; ls -l; exit 1; }
}
read="--simulate read --config $profile --folder d --yes"
row 1 "Can't write through symbolic link <d/01_01.dump>" "ln -s ../outside.txt d/01_01.dump" $read
row 1 "Can't write through symbolic link <d/01_02.dump>" "ln -s ../nowhere d/01_02.dump" $read
row 1 "Can't write through symbolic link <d/01_01.dump.bb>" "ln -s ../outside.txt d/01_01.dump.bb" $read
row 1 "Bank_1  error: Can't write through symbolic link <d/01_01.dump>" \
    "ln -s ../outside.txt d/01_01.dump" $read --resume --banks 1
row 1 "Can't write through symbolic link <d/FE/Chip.txt>" "mkdir d/FE && ln -s ../../outside.txt d/FE/Chip.txt" $read
row 1 "Can't write through symbolic link <d/FE>" "mkdir e && ln -s ../e d/FE" $read
row 1 "Can't write through symbolic link <d/old.txt>" "ln -s ../old.txt d/old.txt" config --config "$profile" --out d/old.txt
row 1 "Write failure in file <old.txt> - File too large" "limit=1" config --config "$profile" --out old.txt
row 1 "Text file <d/big.txt> is larger than 1048576 bytes" "head -c 1048577 /dev/zero | tr '\\0' '\\n' >d/big.txt" \
    config --config d/big.txt
row 1 "Can't convert <ture> to true or false" "" config --config "$profile" --set "DDR=ture"
row 1 "KORVANE_SIMULATOR is not text of this system <\\xff>" "sim=\$(printf '\\377')" id --config "$profile"
row 1 "Can't open for protected read file <d/x\\x0ay\\x0d> - No such file" "" config --config "$(printf 'd/x\ny\r')"
row 2 "not expected: --x\\x1b[2J\\u202e" "" config "--x$(printf '\033[2J\342\200\256')"
row 2 "No bank <3> in Banks <2 x 4 MB>" "" program --config "$profile" --bank 3
row 1 "Bank_1  error: Empty dump file <d/01_01.dump>" ": >d/01_01.dump" map --config "$profile" --folder d --banks 1
row 1 "No catalogue chip fits --name <none> --id <>" "" chips --name none
[ "$(id -u)" = 0 ] || row 1 "Can't tell whether file <d/01_01.dump> exists" "chmod 300 d" $read
# A backslash is part of a name here: the dumps land in the folder so named.
into="--simulate read --config $profile --banks 1 --yes --folder"
row 0 "" "" $into 'd/x\y' && [ "$(ls d)" = 'x\y' ] && [ -f 'd/x\y/01_01.dump' ] && [ -f 'd/x\y/FE/Chip.txt' ] ||
    { echo 'FAIL: d/x\y'; exit 1; }
row 0 "" "" $into 'd\' && [ -z "$(ls d)" ] && [ -f 'd\/01_01.dump' ] && rm -r 'd\' || { echo 'FAIL: d\'; exit 1; }
# The chip number follows the integer rule: 010 is ten.
row 0 "" "" $read --number 010 --banks 1 && [ -e d/10_01.dump ] || { echo "FAIL: --number 010"; exit 1; }
echo "refusals: all refused"
