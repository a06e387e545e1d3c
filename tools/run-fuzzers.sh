#!/usr/bin/env bash
# Runs each fuzz target of the fuzz preset for SECONDS (default 30), or for RUNS executions when
# given, from its seed corpus in tests/fuzz/corpus; what it finds new goes to build/fuzz/corpus,
# never back into the repository. Any crash, leak, sanitizer report or failed check fails the run
# and leaves the input in build/fuzz/findings. Prints one line of figures per target.
#   bash tools/run-fuzzers.sh [SECONDS [RUNS [NAME...]]]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-30}
runs=${2:-0}
shift $(($# > 2 ? 2 : $#))
names=("$@")
[ ${#names[@]} -gt 0 ] || names=(dib rgndata form registry numbase hexedit)

mkdir -p build/fuzz/findings build/fuzz/logs
failed=0
for name in "${names[@]}"; do
    exe="build/fuzz/tests/fuzz/fuzz_$name"
    [ -x "$exe" ] || { echo "run-fuzzers: $exe is missing: build the fuzz preset first" >&2; exit 2; }
    work="build/fuzz/corpus/$name"
    mkdir -p "$work"
    log="build/fuzz/logs/$name.log"
    # A hex editor input is a script of steps, each of which repaints: keep the scripts short.
    max_len=4096
    [ "$name" = hexedit ] && max_len=512
    args=(-max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len="$max_len"
          -print_final_stats=1 -artifact_prefix="build/fuzz/findings/$name-")
    [ "$runs" -gt 0 ] && args+=(-runs="$runs")
    start=$SECONDS
    if ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
        LSAN_OPTIONS=suppressions=tests/fuzz/lsan.supp \
        "$exe" "${args[@]}" "$work" "tests/fuzz/corpus/$name" >"$log" 2>&1; then
        status=ok
    else
        status=FAILED
        failed=1
    fi
    elapsed=$((SECONDS - start))
    stat() { sed -n "s/^stat::$1: *//p" "$log" | tail -1; }
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2 || true)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2 || true)
    printf '%-9s %-6s runs %10s  %6s/s  %4s s  cov %5s  ft %6s  corpus %5s  peak %5s MB\n' "$name" \
        "$status" "$(stat number_of_executed_units)" "$(stat average_exec_per_sec)" \
        "$elapsed" "${cov:-?}" "${ft:-?}" \
        "$(ls "$work" | wc -l)" "$(stat peak_rss_mb)"
    [ "$status" = ok ] || tail -40 "$log"
done
exit $failed
