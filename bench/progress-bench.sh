#!/bin/sh
# How far Quillon's progress page runs over its own waits on the real clock.
#
#   bench/progress-bench.sh [BUILD-FOLDER] [RUNS]
#
# Each run goes from the page's start to the success box: to a file, and
# over TCP to the printer simulator on a free port of a loopback address
# picked at random. The page's own waits are its 500 ms ticks (four for a file;
# three and the 15 s status wait for TCP); whatever the run takes beyond them
# is the program's own time (goal: at most 5 ms). Traffic stays on loopback;
# the spooler calls go to a local socket where nothing listens, so no queue of
# this machine is touched.
set -eu

build=$(cd "${1:-build}" && pwd)
runs=${2:-3}
driver="$build/bench/quillon-progress-bench"
bin="$build/bin"
[ -x "$driver" ] || { echo "build $driver first (cmake --build $build --target quillon-progress-bench)" >&2; exit 2; }

work=$(mktemp -d)
sim=""
cleanup() {
    [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

cd "$work"
mkdir -p root/dev jobs
: > root/dev/lp0
export QT_QPA_PLATFORM=offscreen
export QUENMORA_ROOT="$work/root"

byte() { echo $(($(od -An -N1 -tu1 /dev/urandom) % 254 + 1)); }

# The simulator on a free port of a loopback address of its own.
attempt=0
while :; do
    attempt=$((attempt + 1))
    address="127.$(byte).$(byte).$(byte)"
    "$bin/printer-sim" --address "$address" --tcp-port 0 --no-snmp --jobs "$work/jobs" > sim.out 2> sim.err &
    sim=$!
    tries=0
    until grep -q '^ready$' sim.out 2>/dev/null || ! kill -0 "$sim" 2>/dev/null; do
        tries=$((tries + 1))
        [ "$tries" -gt 100 ] && break
        sleep 0.05
    done
    grep -q '^ready$' sim.out 2>/dev/null && break
    kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null || true
    sim=""
    [ "$attempt" -ge 3 ] && { echo "printer-sim did not start: $(cat sim.err)" >&2; exit 1; }
done
port=$(sed -n 's/^tcp //p' sim.out)
# A local socket where nothing listens: the spooler calls are refused at once.
export CUPS_SERVER="$work/no-cupsd.sock"

# measure NAME EXPECTED-MS DRIVER-ARGUMENTS...
measure() {
    name=$1 expected=$2
    shift 2
    i=1
    while [ "$i" -le "$runs" ]; do
        result=$("$driver" --folder "$bin" "$@" 2>> driver.err) || { echo "$name run $i: $result" >&2; exit 1; }
        ms=${result#success }
        printf '%-5s run %d: %6d ms, waits %6d ms, over by %4d ms\n' "$name" "$i" "$ms" "$expected" $((ms - expected))
        i=$((i + 1))
    done
}

measure file 2000 --file "$work/nic.txt"
measure tcp 16500 --tcp "$address" --port "$port"

received=$(ls jobs | grep -c '\.prn$' || true)
[ "$received" -eq "$runs" ] || { echo "the simulator stored $received jobs, not $runs" >&2; exit 1; }
