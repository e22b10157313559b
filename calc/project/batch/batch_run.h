#pragma once
// Computes every emission of a project, each exactly as one calculation of
// the main window, several at a time, then each source's distance, the
// protection zone and the receptors.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>

#include "calc/project/batch/calculation_pool.h"
#include "calc/project/project.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

struct BatchProgress {
    std::size_t done = 0;                    // emissions finished so far, 0 to total
    std::size_t total = 0;                   // emissions of the project
    std::size_t index = 0;                   // the emission this report is about, in file order
    const Emission* emission = nullptr;      // that emission
    const EmissionResult* result = nullptr;  // its result when it has finished; null when it starts
};

// Called as each emission starts and as it finishes, one call at a time,
// from the threads that compute them.
using ProgressCallback = std::function<void(const BatchProgress&)>;

struct BatchSettings {
    std::filesystem::path appDir;  // the application directory with the model program
    unsigned workers = 0;          // calculations at once; 0: one per hardware thread
};

struct BatchRun {
    ProjectResults results;
    bool cancelled = false;  // stop was requested; rows not computed carry kNotComputedText
};

inline constexpr char16_t kNotComputedText[] = u"计算已停止，未计算此项。";

// Computes the project. A row with a fault gets its message and the others
// are still computed; a failed run never stops the others. When `stop` is
// requested, the running model programs are ended, no further row starts,
// and no run files are left behind. Never throws.
BatchRun RunProject(const Project& project, const BatchSettings& settings,
                    const LauncherFactory& makeLauncher, const ProgressCallback& progress,
                    std::stop_token stop = {});

}  // namespace quorvel::project
