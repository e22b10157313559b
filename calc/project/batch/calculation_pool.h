#pragma once
// Runs many calculations, each exactly as one calculation of the main window
// and in a run folder of its own, on a pool of worker threads.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <vector>

#include "calc/calculation_inputs.h"
#include "calc/result.h"
#include "calc/run/process_launcher.h"
#include "calc/run_record.h"

namespace quorvel::project {

// Makes the launcher one worker thread runs all its calculations with. It is
// called on that thread, and the launcher is destroyed there. While one of
// its programs runs, the launcher ends it soon after `stop` is requested (the
// calculation then fails and counts as not computed).
using LauncherFactory = std::function<std::unique_ptr<ProcessLauncher>(std::stop_token stop)>;

struct PoolSettings {
    std::filesystem::path appDir;  // the application directory with the model program
    unsigned workers = 0;          // calculations at once; 0: one per hardware thread
};

// Told as calculation `index` starts (`finished` null) and as it finishes,
// one call at a time, from the threads that compute them.
using CalculationObserver =
    std::function<void(std::size_t index, const Result<RunRecord>* finished)>;

// Computes every one of `calculations`. The result of each is its run's
// record or its error text; empty for those not computed because `stop` was
// requested (a stopped calculation is not computed either). A failed
// calculation never stops the others; a stopped or successful one leaves no
// run files, a failed one keeps its folder with the model's report, which its
// error text names. Never throws.
std::vector<std::optional<Result<RunRecord>>> RunCalculations(
    const std::vector<CalculationInputs>& calculations, const PoolSettings& settings,
    const LauncherFactory& makeLauncher, const CalculationObserver& observe,
    std::stop_token stop = {});

}  // namespace quorvel::project
