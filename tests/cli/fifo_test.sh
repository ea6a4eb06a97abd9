#!/bin/sh
# A FIFO where a command expects a file, through the binary as a user runs
# it: every run ends at once with the open refused (exit 1), never waiting
# for a writer. Should one wait after all, it gets Ctrl-C (SIGINT) after
# 5 s, which must end it with 130 (a failure here too), and SIGKILL after 10.
# Usage: fifo_test.sh PROFILE PROGRAM
profile=$1
program=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkfifo pipe

# expect FRAGMENT ARGUMENTS...: exit 1 with FRAGMENT on standard error.
expect() {
    fragment=$1
    shift
    "$program" "$@" >out.txt 2>err.txt &
    pid=$!
    tries=0
    while kill -0 $pid 2>/dev/null; do
        tries=$((tries + 1))
        [ $tries -eq 50 ] && kill -INT $pid
        [ $tries -eq 100 ] && { kill -KILL $pid; echo "FAIL: hung past Ctrl-C: $*"; exit 1; }
        sleep 0.1
    done
    wait $pid
    status=$?
    [ $status -eq 1 ] || { echo "FAIL: exit status $status: $*"; cat err.txt; exit 1; }
    grep -qF "$fragment" err.txt || { echo "FAIL: no <$fragment>: $*"; cat err.txt; exit 1; }
}

expect "Media Error: Can't open for protected read file <pipe>" config --config pipe
expect "Media Error: Can't open for protected read file <pipe>" options --options pipe
expect "Error: Emulator profile <pipe>: Can't open for protected read file <pipe>" --simulate=pipe id --config "$profile"
expect "Media Error: Can't open for protected read file <pipe>" --simulate id --config "$profile" --set "Sim Data=file pipe"
expect "Media Error: Can't open for protected write file <pipe>" config --config "$profile" --out pipe
echo "fifo: refused"
