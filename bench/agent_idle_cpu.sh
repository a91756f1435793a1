#!/bin/sh
# CPU time the idle agent uses over one minute, without a display: once with an empty job list
# and once with 10,000 jobs of which none comes due. Also its resident memory.
# Usage: bench/agent_idle_cpu.sh [build-dir]   (default build/default, built already)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/default}
seconds=60
ticks=$(getconf CLK_TCK)
# Job saves are made durable, which is slow on a disk; memory serves when there is some.
scratch=/tmp
[ -d /dev/shm ] && scratch=/dev/shm

cpu_ticks() {
    cut -d' ' -f14,15 "/proc/$1/stat" | awk '{ print $1 + $2 }'
}

idle() {
    with_jobs=$1
    label=$2
    dir=$(mktemp -d "$scratch/quorvex-idle-XXXXXX")
    cp "$build/bin/quorvex" "$dir/"
    [ "$with_jobs" -eq 0 ] || "$build/bench/agent_bench" --prepare "$dir"
    env -u DISPLAY -u WAYLAND_DISPLAY "$dir/quorvex" /SILENT 2>/dev/null &
    pid=$!
    sleep 10 # start-up
    start=$(cpu_ticks $pid)
    sleep $seconds
    used=$(($(cpu_ticks $pid) - start))
    rss=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    kill -TERM $pid
    wait $pid || true
    rm -rf "$dir"
    awk -v u=$used -v t=$ticks -v s=$seconds -v r=$rss -v label="$label" 'BEGIN {
        printf "%s: %.2f s CPU in %d s (%.3f %%), peak resident %d KiB\n", label, u / t, s,
               100 * u / t / s, r }'
}

idle 0 "idle, no jobs"
idle 1 "idle, 10,000 jobs none due"
