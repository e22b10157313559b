#!/usr/bin/env bash
# Regenerates the seed corpora from the project's own programs: the
# calculator's answer files (quorvel_fuzz_seeds), the model's reports for them
# (SCREEN3.EXE), crafted reports, inputs and project files (with the example
# project docs/example.qvproj). Usage: fuzz/make_corpus.sh BUILD-DIR where
# BUILD-DIR has the targets quorvel_fuzz_seeds and quorvel_screen_model.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?usage: make_corpus.sh BUILD-DIR}"
corpus="$here/corpus"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

mkdir -p "$corpus"/{report_verdict,input_check,code_page,model_answers,project_reader}

"$build/fuzz-bin/quorvel_fuzz_seeds" "$work"
for answers in "$work"/*.INP; do
    name="$(basename "$answers" .INP)"
    cp "$answers" "$corpus/model_answers/$name.INP"
    run="$work/run_$name"
    mkdir -p "$run"
    cp "$answers" "$run/Screen3.INP"
    (cd "$run" && "$build/bin/SCREEN3.EXE" "<Screen3.INP" >/dev/null)
done
# Three real reports are enough: they differ only in their numbers.
for name in default strong_source ratio_ten; do
    sed 's/^ [0-9][0-9]\/[0-9][0-9]\/[0-9][0-9]\r$/ 12\/08\/26\r/; s/^ [0-9][0-9]:[0-9][0-9]:[0-9][0-9]\r$/ 01:23:45\r/' \
        "$work/run_$name/SCREEN.OUT" >"$corpus/report_verdict/model_$name.OUT"
done

python3 "$here/crafted_seeds.py" "$corpus"
