// Speed of whole model runs: the calculator's default answers, and how the
// time grows with the number of discrete distances.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "model/answer_reader.h"
#include "model/model_run.h"
#include "model/report_writer.h"
#include "model/tests/answer_test_lines.h"

namespace quorvel {
namespace {

ModelAnswers Answers(const std::vector<std::string>& lines) {
    std::size_t next = 0;
    AnswerReading r = ReadAnswers([&](std::string_view) -> std::optional<std::string> {
        if (next >= lines.size()) return std::nullopt;
        return lines[next++];
    });
    return *r.answers;
}

void BM_DefaultRun(benchmark::State& state) {
    const auto lines = testing::DefaultCalculatorAnswers();
    for (auto _ : state) {
        const ModelAnswers answers = Answers(lines);
        const ModelResults results = RunModel(answers);
        std::string report = WriteReport(answers, results, {"12/08/26", "01:02:03"});
        benchmark::DoNotOptimize(report);
    }
}
BENCHMARK(BM_DefaultRun)->Unit(benchmark::kMillisecond);

// A long rural area with its receptors inside and beside it as well: interior
// wind angles to refine and every class close to the others near the area.
void BM_RuralRectangleRun(benchmark::State& state) {
    auto lines = testing::DefaultCalculatorAnswers();
    lines[2] = " 2.0833E-05 ";  // 10 g/s over the area
    lines[3] = " 3 ";
    lines[4] = " 1200 ";
    lines[5] = " 400 ";
    lines[7] = "R";
    const ModelAnswers answers = Answers(lines);
    for (auto _ : state) {
        const ModelResults results = RunModel(answers);
        benchmark::DoNotOptimize(results.overall_maximum.worst.concentration);
    }
}
BENCHMARK(BM_RuralRectangleRun)->Unit(benchmark::kMillisecond);

// The default answers with `count` discrete distances spread evenly from 10 m to 5000 m.
void BM_DiscreteDistances(benchmark::State& state) {
    const auto count = static_cast<int>(state.range(0));
    auto lines = testing::DefaultCalculatorAnswers();
    std::vector<std::string> distances;
    for (int i = 0; i < count; ++i) {
        const double d = 10.0 + (5000.0 - 10.0) * i / (count > 1 ? count - 1 : 1);
        distances.push_back(" " + std::to_string(d) + " ");
    }
    lines.erase(lines.begin() + 13, lines.begin() + 121);
    lines.insert(lines.begin() + 13, distances.begin(), distances.end());
    const ModelAnswers answers = Answers(lines);
    for (auto _ : state) {
        const ModelResults results = RunModel(answers);
        benchmark::DoNotOptimize(results.overall_maximum.worst.concentration);
    }
    state.SetComplexityN(count);
}
BENCHMARK(BM_DiscreteDistances)
    ->Arg(108)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace quorvel

BENCHMARK_MAIN();
