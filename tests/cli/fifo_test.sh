#!/bin/sh
# A FIFO where a command expects a file, through the binary: each run ends at
# once, the open refused (exit 1). One that waits after all gets Ctrl-C
# (SIGINT) after 5 s, which fails the test too, and SIGKILL 5 s later.
# Usage: fifo_test.sh PROFILE PROGRAM
profile=$1
program=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" && mkfifo pipe || exit 1
refused() {
    timeout -k 5 -s INT 5 "$program" "$@" >/dev/null 2>err.txt
    status=$?
    [ $status -eq 1 ] && grep -q "Can't open for protected .* file <pipe>" err.txt ||
        { echo "FAIL: exit status $status: $*"; cat err.txt; exit 1; }
}
refused config --config pipe
refused --simulate id --config "$profile" --set "Sim Data=file pipe"
refused config --config "$profile" --out pipe
echo "fifo: refused"
