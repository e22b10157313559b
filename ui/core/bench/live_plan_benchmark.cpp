// From an edit in the project window to the plan redrawn with the new
// combined field: the pause in typing, the field computed on its thread and
// the figure built, for the example project and a project of 100 emissions.
// The window is a stand-in that runs posted tasks as the UI thread would.

#include <benchmark/benchmark.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <thread>

#include "calc/project/files/project_file.h"
#include "ui/console/bench/hundred_emissions.h"
#include "ui/core/project_tables.h"
#include "ui/core/project_window_behaviour.h"

namespace {

using namespace quorvel;

class PlanWindow : public ProjectWindowControls {
  public:
    int plans = 0;

    void Post(std::function<void()> task) override {
        const std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    void ShowTitle(std::u16string_view) override {}
    void ShowCommands(const CommandStates&) override {}
    void ShowTables(const ProjectTables&) override {}
    void ShowRunStatus(const RunStatus&) override {}
    void ShowResults(const ResultsView*) override {}
    void ShowPlan(const project::SiteFigure&) override { ++plans; }
    void ShowMessage(std::u16string_view) override {}
    SaveAnswer AskSaveChanges(std::u16string_view) override { return SaveAnswer::DontSave; }
    std::optional<std::filesystem::path> AskOpenPath() override { return {}; }
    std::optional<std::filesystem::path> AskSavePath(std::u16string_view) override { return {}; }
    std::optional<std::filesystem::path> AskCsvPath() override { return {}; }
    void CloseWindow() override {}

    // Runs posted tasks until the field stops computing.
    void PumpUntilField(const ProjectWindowBehaviour& behaviour) {
        while (behaviour.FieldState().computing) {
            std::deque<std::function<void()>> ready;
            {
                const std::lock_guard lock(mutex_);
                ready.swap(tasks_);
            }
            for (auto& task : ready) task();
            if (ready.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

  private:
    std::mutex mutex_;
    std::deque<std::function<void()>> tasks_;
};

void EditToPlan(benchmark::State& state, const project::Project& project) {
    PlanWindow window;
    ProjectWindowBehaviour behaviour(window, {}, {}, 0);
    behaviour.TakeImport(project);
    window.PumpUntilField(behaviour);
    int edit = 0;
    for (auto _ : state) {
        // The first source's height, one way and back.
        behaviour.SetCell(TableId::Sources, 0, 5, ++edit % 2 == 1 ? u"6.5" : u"5");
        window.PumpUntilField(behaviour);
    }
    state.counters["pause_ms"] = static_cast<double>(kFieldPause.count());
    state.counters["plans"] = window.plans;
}

void BM_ExampleEditToPlan(benchmark::State& state) {
    EditToPlan(state, project::OpenProject(QUORVEL_EXAMPLE_PROJECT).value());
}

void BM_HundredEditToPlan(benchmark::State& state) {
    EditToPlan(state, project::HundredEmissions());
}

BENCHMARK(BM_ExampleEditToPlan)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HundredEditToPlan)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
