#!/usr/bin/env bash
# What the running clock costs, next to `xclock -digital -update 1`: each program runs on an Xvfb
# of its own (so the server's CPU is attributable to it), all at the same time, and after a
# warm-up all are watched for the same stretch. Reported for each: the CPU of the client and of
# its server (utime + stime from /proc/PID/stat, and the scheduler's exact run time from
# /proc/PID/task/*/schedstat, since a quiet clock uses only a few 10-ms ticks a minute), their
# sum, the client's resident memory (VmRSS, VmHWM) and its private dirty memory, and the ratios
# to xclock from this one run. A second clock (an older build, say) can be measured alongside.
#
# Needs: Xvfb (package xvfb), xclock (package x11-apps) and the built clock.
# Usage: tools/perf/clock-vs-xclock.sh [NIXIE_EXECUTABLE [OTHER_NIXIE_EXECUTABLE]]
#   environment: SECONDS_MEASURED (default 60), SECONDS_WARMUP (default 8: past the title box)
# Not part of CI: it takes more than a minute.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
clock=${1:-}
other=${2:-}
if [ -z "$clock" ]; then
    for candidate in "$here/build/linux/app/nixie" /tmp/build-x11/app/nixie; do
        [ -x "$candidate" ] && clock=$candidate && break
    done
fi
measured=${SECONDS_MEASURED:-60}
warmup=${SECONDS_WARMUP:-8}

missing=()
command -v Xvfb >/dev/null 2>&1 || missing+=("Xvfb (apt-get install xvfb)")
command -v xclock >/dev/null 2>&1 || missing+=("xclock (apt-get install x11-apps)")
[ -n "$clock" ] && [ -x "$clock" ] || missing+=("the clock: give its executable as the argument")
[ -z "$other" ] || [ -x "$other" ] || missing+=("the other clock $other")
[ -r /proc/self/schedstat ] || missing+=("/proc/PID/schedstat (a kernel with CONFIG_SCHED_INFO)")
if [ ${#missing[@]} -gt 0 ]; then
    printf 'clock-vs-xclock: missing %s\n' "${missing[@]}" >&2
    exit 2
fi

scratch=$(mktemp -d /tmp/clock-vs-xclock-XXXXXX)
pids=()
cleanup() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT

declare -A client server
# start NAME COMMAND...: a private Xvfb, then COMMAND on it with a configuration folder of its
# own.
start() {
    local name=$1
    shift
    local ready="$scratch/$name.display"
    : >"$ready"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
    server[$name]=$!
    pids+=("${server[$name]}")
    local i
    for i in $(seq 200); do
        [ -s "$ready" ] && break
        kill -0 "${server[$name]}" 2>/dev/null || break
        sleep 0.05
    done
    local display
    display=":$(tr -dc '0-9' <"$ready")"
    if [ "$display" = ":" ]; then
        echo "clock-vs-xclock: Xvfb did not start" >&2
        exit 1
    fi
    mkdir -p "$scratch/$name.config" "$scratch/$name.cache"
    local env=(DISPLAY="$display" XDG_CONFIG_HOME="$scratch/$name.config"
        XDG_CACHE_HOME="$scratch/$name.cache")
    # A clock runs as from a user's second start: settings saved and font choices remembered
    # (the first start asks fontconfig, which costs a quarter of a megabyte for the whole run).
    if [ "$name" != xclock ]; then
        env "${env[@]}" timeout 3 "$@" >"$scratch/$name.first.log" 2>&1 || true
    fi
    env "${env[@]}" "$@" >"$scratch/$name.log" 2>&1 &
    client[$name]=$!
    pids+=("${client[$name]}")
}

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
runtime_ns() {
    local total=0 t
    for t in /proc/"$1"/task/*/schedstat; do
        total=$((total + $(cut -d' ' -f1 "$t")))
    done
    echo "$total"
}
status_kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }
private_dirty_kb() { awk '$1 == "Private_Dirty:" { print $2 }' "/proc/$1/smaps_rollup"; }

names=(clock)
start clock "$clock"
if [ -n "$other" ]; then
    names+=(other)
    start other "$other"
fi
names+=(xclock)
start xclock xclock -digital -update 1
sleep "$warmup"

declare -A ticks0 ns0 cpu_ticks cpu_ns rss hwm dirty
for name in "${names[@]}"; do
    for role in client server; do
        declare -n ids=$role
        pid=${ids[$name]}
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "clock-vs-xclock: the $name $role ended early; its output:" >&2
            cat "$scratch/$name.log" >&2
            exit 1
        fi
        ticks0[$name.$role]=$(ticks "$pid")
        ns0[$name.$role]=$(runtime_ns "$pid")
    done
done
sleep "$measured"
for name in "${names[@]}"; do
    for role in client server; do
        declare -n ids=$role
        pid=${ids[$name]}
        cpu_ticks[$name.$role]=$(($(ticks "$pid") - ${ticks0[$name.$role]}))
        cpu_ns[$name.$role]=$(($(runtime_ns "$pid") - ${ns0[$name.$role]}))
    done
    rss[$name]=$(status_kb "${client[$name]}" VmRSS)
    hwm[$name]=$(status_kb "${client[$name]}" VmHWM)
    dirty[$name]=$(private_dirty_kb "${client[$name]}")
done

hz=$(getconf CLK_TCK)
ms_of_ticks() { awk -v t="$1" -v hz="$hz" 'BEGIN { printf "%.0f", t * 1000 / hz }'; }
ms_of_ns() { awk -v n="$1" 'BEGIN { printf "%.2f", n / 1e6 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "n/a" }'; }

echo "Measured ${measured} s after ${warmup} s of warm-up; CPU in milliseconds of the whole stretch."
echo "clock: $clock"
[ -z "$other" ] || echo "other: $other"
printf '%-7s %25s %25s %25s %9s %9s %9s\n' "" "client CPU (ticks|exact)" \
    "server CPU (ticks|exact)" "sum (ticks|exact)" "VmRSS kB" "VmHWM kB" "dirty kB"
for name in "${names[@]}"; do
    c=$name.client s=$name.server
    printf '%-7s %8s | %14s %8s | %14s %8s | %14s %9s %9s %9s\n' "$name" \
        "$(ms_of_ticks "${cpu_ticks[$c]}")" "$(ms_of_ns "${cpu_ns[$c]}")" \
        "$(ms_of_ticks "${cpu_ticks[$s]}")" "$(ms_of_ns "${cpu_ns[$s]}")" \
        "$(ms_of_ticks $((cpu_ticks[$c] + cpu_ticks[$s])))" \
        "$(ms_of_ns $((cpu_ns[$c] + cpu_ns[$s])))" "${rss[$name]}" "${hwm[$name]}" "${dirty[$name]}"
done
xsum=$((cpu_ns[xclock.client] + cpu_ns[xclock.server]))
for name in "${names[@]}"; do
    [ "$name" = xclock ] && continue
    sum=$((cpu_ns[$name.client] + cpu_ns[$name.server]))
    echo "$name / xclock: CPU client $(ratio "${cpu_ns[$name.client]}" "${cpu_ns[xclock.client]}")," \
        "server $(ratio "${cpu_ns[$name.server]}" "${cpu_ns[xclock.server]}")," \
        "sum $(ratio "$sum" "$xsum") (ticks: $(ratio $((cpu_ticks[$name.client] + cpu_ticks[$name.server])) \
$((cpu_ticks[xclock.client] + cpu_ticks[xclock.server]))));" \
        "VmRSS $(ratio "${rss[$name]}" "${rss[xclock]}"), VmHWM $(ratio "${hwm[$name]}" "${hwm[xclock]}")," \
        "private dirty $(ratio "${dirty[$name]}" "${dirty[xclock]}")"
done
sum=$((cpu_ns[clock.client] + cpu_ns[clock.server]))
goal_cpu=$(awk -v a="$sum" -v b="$xsum" 'BEGIN { print (a <= 1.2 * b) ? "met" : "missed" }')
goal_mem=$(awk -v a="${dirty[clock]}" -v b="${dirty[xclock]}" 'BEGIN { print (a <= 1.2 * b) ? "met" : "missed" }')
echo "Goals for the clock: CPU (client and server) at most 1.2 x xclock's: $goal_cpu;" \
    "private dirty memory at most 1.2 x xclock's: $goal_mem"
