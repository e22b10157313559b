#include "calc/project/batch/calculation_pool.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

#include "calc/project/batch/run_folder.h"
#include "calc/run/run_directory.h"
#include "calc/run/run_screen3.h"

namespace quorvel::project {
namespace {

// What the workers share: the calculations, where their results go and how
// they are told.
class Pool {
  public:
    Pool(const std::vector<CalculationInputs>& calculations, const PoolSettings& settings,
         const CalculationObserver& observe, std::stop_token stop)
        : calculations_(calculations),
          settings_(settings),
          observe_(observe),
          stop_(std::move(stop)),
          results_(calculations.size()) {}

    // One worker: takes calculations until none is left or stop is requested.
    void Work(const LauncherFactory& makeLauncher, const std::filesystem::path& runBase) {
        std::unique_ptr<ProcessLauncher> launcher;
        try {
            launcher = makeLauncher(stop_);
        } catch (...) {
            // Without a launcher each calculation this worker takes says so.
        }
        while (!stop_.stop_requested()) {
            const std::size_t index = next_.fetch_add(1);
            if (index >= calculations_.size()) break;
            Tell(index, nullptr);
            std::optional<Result<RunRecord>> result = Compute(index, launcher.get(), runBase);
            const std::lock_guard lock(mutex_);
            results_[index] = std::move(result);
            if (results_[index]) TellLocked(index, &*results_[index]);
        }
    }

    void FailAll(const std::u16string& message) {
        for (std::size_t i = 0; i < results_.size(); ++i) {
            results_[i] = Result<RunRecord>(Fail(message));
            TellLocked(i, &*results_[i]);
        }
    }

    std::vector<std::optional<Result<RunRecord>>> TakeResults() { return std::move(results_); }

  private:
    std::optional<Result<RunRecord>> Compute(std::size_t index, ProcessLauncher* launcher,
                                             const std::filesystem::path& runBase) {
        try {
            if (launcher == nullptr) return Result<RunRecord>(Fail(u"不能创建进程运行组件!"));
            const Result<std::filesystem::path> folder = MakeRunFolder(runBase);
            if (!folder) return Result<RunRecord>(Fail(folder.error()));
            const CalculationInputs& inputs = calculations_[index];
            std::optional<RunRecord> record;
            const Result<std::u16string> verdict = RunScreen3In(
                settings_.appDir, folder.value(), [&inputs] { return inputs; }, *launcher, record);
            const bool stopped = stop_.stop_requested();
            // A failed run keeps its report for the user to read, as a single
            // calculation does; a stopped or successful one leaves nothing.
            std::error_code ignored;
            if (verdict || stopped || std::filesystem::is_empty(folder.value(), ignored)) {
                RemoveRunFolder(folder.value());
            }
            if (stopped && !verdict) return std::nullopt;
            if (!verdict) return Result<RunRecord>(Fail(verdict.error()));
            return Result<RunRecord>(std::move(*record));
        } catch (const std::bad_alloc&) {
            return Result<RunRecord>(Fail(u"内存不足，计算中止!"));
        } catch (const std::exception&) {
            return Result<RunRecord>(Fail(u"计算时出现意外错误，计算中止!"));
        }
    }

    void Tell(std::size_t index, const Result<RunRecord>* finished) {
        const std::lock_guard lock(mutex_);
        TellLocked(index, finished);
    }

    void TellLocked(std::size_t index, const Result<RunRecord>* finished) {
        if (!observe_) return;
        try {
            observe_(index, finished);
        } catch (...) {
            // A failing observer does not stop the calculations.
        }
    }

    const std::vector<CalculationInputs>& calculations_;
    const PoolSettings& settings_;
    const CalculationObserver& observe_;
    std::stop_token stop_;
    std::atomic<std::size_t> next_{0};
    std::mutex mutex_;
    std::vector<std::optional<Result<RunRecord>>> results_;
};

unsigned WorkerCount(const PoolSettings& settings, std::size_t calculations) {
    unsigned workers = settings.workers;
    if (workers == 0) workers = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(std::min<std::size_t>(workers, calculations));
}

}  // namespace

std::vector<std::optional<Result<RunRecord>>> RunCalculations(
    const std::vector<CalculationInputs>& calculations, const PoolSettings& settings,
    const LauncherFactory& makeLauncher, const CalculationObserver& observe, std::stop_token stop) {
    try {
        Pool pool(calculations, settings, observe, stop);
        if (calculations.empty()) return pool.TakeResults();
        const Result<std::filesystem::path> runBase = ChooseRunDirectory(settings.appDir);
        if (!runBase) {
            pool.FailAll(runBase.error());
            return pool.TakeResults();
        }
        const auto work = [&pool, &makeLauncher, &runBase] {
            pool.Work(makeLauncher, runBase.value());
        };
        {
            std::vector<std::jthread> workers;
            const unsigned count = WorkerCount(settings, calculations.size());
            for (unsigned i = 0; i < count; ++i) {
                try {
                    workers.emplace_back(work);
                } catch (const std::system_error&) {
                    break;  // the system gives no more threads: fewer workers
                }
            }
            if (workers.empty()) work();
        }
        return pool.TakeResults();
    } catch (const std::exception&) {
        // Only memory can run out here: nothing counts as computed.
        return std::vector<std::optional<Result<RunRecord>>>(calculations.size());
    }
}

}  // namespace quorvel::project
