#!/usr/bin/env bash
# Sets up, builds the libFuzzer targets in build-fuzz and runs each for a
# bounded time on a copy of its seed corpus. Fails on any crash, leak or
# timeout. Usage: scripts/fuzz.sh [seconds-per-target]   (default 60)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="$root/build-fuzz"
targets=(report_verdict input_check code_page model_answers)

"$root/scripts/setup.sh"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
    -DQUORVEL_FUZZ=ON -DQUORVEL_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target quorvel_fuzzers

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed=()
for target in "${targets[@]}"; do
    corpus="$work/corpus_$target"
    artifacts="$build/fuzz-artifacts/$target"
    mkdir -p "$artifacts"
    cp -r "$root/fuzz/corpus/$target" "$corpus"
    log="$work/$target.log"
    status=0
    "$build/fuzz-bin/fuzz_$target" "$corpus" \
        -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -max_len=16384 \
        -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1 || status=$?
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
    if [ "$status" -eq 0 ]; then
        echo "fuzz $target: ${runs:-?} executions in ${seconds} s, clean"
    else
        echo "fuzz $target: FAILED (exit $status) after ${runs:-?} executions; artifacts in $artifacts"
        grep -E "ERROR|SUMMARY|broken promise|Test unit written" "$log" | head -20 || true
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz targets with findings: ${failed[*]}"
    exit 1
fi
