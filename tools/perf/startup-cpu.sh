#!/usr/bin/env bash
# What a program costs to start: the CPU (the scheduler's exact run time of all its threads, from
# /proc/PID/task/*/schedstat) from exec to one second later, by when the clock has shown its face
# and first second. Each program runs RUNS times on one private Xvfb, each run with the same
# configuration folder and cache folder, the first run before the measured ones (so the clock's
# remembered font choices are in place, as they are from a user's second start on); prints the
# median and the range per program, and each median's ratio to xclock's of the same run.
#
# Needs: Xvfb, xclock and oclock (package x11-apps) and the built clock.
# Usage: tools/perf/startup-cpu.sh [RUNS [NIXIE_EXECUTABLE...]]   (default 7 runs, build/linux)
# Not part of CI.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
runs=${1:-7}
shift $(($# > 0 ? 1 : 0))
clocks=("$@")
[ ${#clocks[@]} -gt 0 ] || clocks=("$here/build/linux/app/nixie")

scratch=$(mktemp -d /tmp/startup-cpu-XXXXXX)
xvfb=""
cleanup() {
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 200); do [ -s "$scratch/display" ] && break; sleep 0.05; done
export DISPLAY=":$(tr -dc '0-9' <"$scratch/display")"

# one_run COMMAND...: microseconds of CPU in the first second.
one_run() {
    "$@" >/dev/null 2>&1 &
    local pid=$! total=0 t
    sleep 1
    for t in /proc/"$pid"/task/*/schedstat; do
        total=$((total + $(cut -d' ' -f1 "$t" 2>/dev/null || echo 0)))
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo $((total / 1000))
}

# measure NAME COMMAND...: prints "NAME median min max" in milliseconds.
measure() {
    local name=$1 i
    shift
    local home="$scratch/$name"
    mkdir -p "$home/config" "$home/cache"
    export XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache"
    one_run "$@" >/dev/null
    local samples=()
    for i in $(seq "$runs"); do samples+=("$(one_run "$@")"); done
    printf '%s\n' "${samples[@]}" | sort -n | awk -v name="$name" '
        { v[NR] = $1 } END { printf "%s %.2f %.2f %.2f\n", name, v[int((NR + 1) / 2)] / 1000, v[1] / 1000, v[NR] / 1000 }'
}

results=()
n=0
for c in "${clocks[@]}"; do
    n=$((n + 1))
    results+=("$(measure "clock$n" "$c")")
done
results+=("$(measure xclock xclock -digital -update 1)")
results+=("$(measure oclock oclock)")
xmedian=$(printf '%s\n' "${results[@]}" | awk '$1 == "xclock" { print $2 }')
echo "CPU in the first second after exec, ms, over $runs runs (median [min, max]) and the median's ratio to xclock's:"
n=0
for r in "${results[@]}"; do
    set -- $r
    label=$1
    case $1 in clock*) label="$1 (${clocks[$((${1#clock} - 1))]})" ;; esac
    printf '  %-60s %7s [%s, %s]  %s\n' "$label" "$2" "$3" "$4" \
        "$(awk -v a="$2" -v b="$xmedian" 'BEGIN { printf "%.2f x", a / b }')"
done
