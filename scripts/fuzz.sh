#!/usr/bin/env bash
# Sets up, builds the libFuzzer targets in build-fuzz and runs each for a
# bounded time on a copy of its seed corpus, two at a time. Fails on any
# crash, leak or timeout. Usage: scripts/fuzz.sh [seconds-per-target]
# (default 60). A finding is kept in build-fuzz/fuzz-artifacts/<target>/;
# build-fuzz/fuzz-bin/fuzz_<target> <file> runs it again. Keep it as a seed in
# fuzz/corpus/<target>/ once fixed: the corpus replay test runs every seed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="$root/build-fuzz"
targets=(report_verdict input_check code_page model_answers project_reader dxf_reader field_files)
parallel=2

"$root/scripts/setup.sh"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
    -DQUORVEL_FUZZ=ON -DQUORVEL_WERROR=ON -DQUORVEL_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target quorvel_fuzzers -j"$parallel"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# One target on a copy of its corpus; its exit status goes to $work/$target.status.
fuzz_one() {
    local target="$1"
    local corpus="$work/corpus_$target"
    local artifacts="$build/fuzz-artifacts/$target"
    mkdir -p "$artifacts"
    cp -r "$root/fuzz/corpus/$target" "$corpus"
    local status=0
    "$build/fuzz-bin/fuzz_$target" "$corpus" \
        -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -max_len=16384 \
        -print_final_stats=1 -artifact_prefix="$artifacts/" >"$work/$target.log" 2>&1 || status=$?
    echo "$status" >"$work/$target.status"
}

for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
    fuzz_one "$target" &
done
wait

failed=()
for target in "${targets[@]}"; do
    status="$(cat "$work/$target.status" 2>/dev/null || echo 1)"
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$target.log" | tail -1)"
    if [ "$status" -eq 0 ]; then
        echo "fuzz $target: ${runs:-?} executions in ${seconds} s, clean"
    else
        echo "fuzz $target: FAILED (exit $status) after ${runs:-?} executions;" \
            "artifacts in $build/fuzz-artifacts/$target"
        grep -E "ERROR|SUMMARY|broken promise|runtime error|Test unit written" \
            "$work/$target.log" | head -20 || true
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz targets with findings: ${failed[*]}"
    exit 1
fi
