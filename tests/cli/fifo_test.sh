#!/bin/sh
# A FIFO where a command expects a file, through the binary: each run ends at
# once, the open refused (exit 1). One that waits after all gets Ctrl-C
# (SIGINT) after 5 s, whose 130 fails the test too, and SIGKILL after 10 s.
# Usage: fifo_test.sh PROFILE PROGRAM
profile=$1
program=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" && mkfifo pipe || exit 1
refused() {
    "$program" "$@" >/dev/null 2>err.txt &
    pid=$!
    for tries in $(seq 100); do
        kill -0 $pid 2>/dev/null || break
        [ $tries -eq 50 ] && kill -INT $pid
        sleep 0.1
    done
    kill -KILL $pid 2>/dev/null && { echo "FAIL: hung past Ctrl-C: $*"; exit 1; }
    wait $pid
    status=$?
    [ $status -eq 1 ] && grep -q "Can't open for protected .* file <pipe>" err.txt ||
        { echo "FAIL: exit status $status: $*"; cat err.txt; exit 1; }
}
refused config --config pipe
refused --simulate id --config "$profile" --set "Sim Data=file pipe"
refused config --config "$profile" --out pipe
echo "fifo: refused"
