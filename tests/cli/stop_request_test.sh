#!/bin/sh
# Ctrl-C during a dump, through the binary as a user runs it: the bank being
# read ends at the next chunk with "Canceled.", the run's link closes before
# the module and then the adapter are switched off (a second Ctrl-C while
# cleaning up changes nothing), the partial dump stays, the second bank is
# never touched, and the exit status is 130.
# A hang-up (SIGHUP, the terminal closed) stops the same way.
# Usage: stop_request_test.sh PROFILE PROGRAM [LAUNCHER] [SIGNAL]
profile=$1
program=$2
launcher=$3
signal=${4:-INT}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

fail() {
    echo "FAIL: $1"
    echo "--- standard output"; cat out.txt
    echo "--- standard error (end)"; tail -20 err.txt
    exit 1
}

# Two banks of 4 GiB each, far more than can be read before the stop; an
# old hash file that the canceled dump must take with it.
mkdir dumps && echo old >dumps/01_01.dump.sha256
$launcher "$program" --simulate read --config "$profile" --trace --set "Block=0" --set "Banks=2 x 4096 MB" \
    --set "Power=1/0x0024" --opt "Voltage=1.8" --opt "Check ID=false" --folder dumps --yes --hash >out.txt 2>err.txt &
pid=$!
tries=0
until grep -q "^trace: data" err.txt; do
    tries=$((tries + 1))
    [ $tries -gt 600 ] && { kill $pid; fail "no data within a minute"; }
    sleep 0.1
done
kill -$signal $pid
sleep 0.05
kill -$signal $pid 2>/dev/null
wait $pid
status=$?
# Windows programs end their lines with CR LF.
for file in out.txt err.txt; do tr -d '\r' <$file >$file.unix && mv $file.unix $file; done

[ $status -eq 130 ] || fail "exit status $status, not 130"
[ ! -s out.txt ] || fail "a result on standard output"
grep -q "^Bank_1  error: Canceled\.$" err.txt || fail "no canceled row for bank 1"
grep -q "^Bank_2" err.txt && fail "bank 2 was touched"
[ -e dumps/01_02.dump ] && fail "bank 2 has a dump"
size=$(wc -c <dumps/01_01.dump)
[ "$size" -gt 0 ] && [ "$size" -lt 4294967296 ] || fail "partial dump of $size bytes"
ls dumps | grep -q "sha256" && fail "a hash file beside the canceled dump"
# After the last data read: the run's link, then module off, then adapter off.
expected="close open upload-image-3 module:-off close open upload-image-2 adapter:-off close"
after=$(sed -n '/^trace: data/h; /^trace: data/!H; ${x;p}' err.txt | grep "^trace: " | grep -v "^trace: data" |
    sed 's/^trace: //; s/ /-/g' | tr '\n' ' ' | sed 's/ $//')
[ "$after" = "$expected" ] || fail "clean-up was <$after>"
echo "stop request: clean"
