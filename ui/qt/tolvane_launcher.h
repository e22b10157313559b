#pragma once
// Runs programs for the calculation through the runner component: a new
// runner object for every run, released right after it.

#include <QtCore/QString>

#include <stop_token>

#include "calc/run/process_launcher.h"
#include "runner/clsexecute_interface.h"

namespace quorvel {

class TolvaneLauncher : public ProcessLauncher {
  public:
    // appDir: the directory that holds the runner component. While a program
    // runs, a requested `stop` ends it within a few tens of milliseconds; the
    // thread must process Qt events (it does while the runner waits).
    explicit TolvaneLauncher(QString appDir, std::stop_token stop = {});

    Result<std::int32_t> RunAndWait(const std::u16string& cmdline, const std::u16string& curDir,
                                    std::int16_t swShow) override;
    void Terminate() override;

  private:
    QString appDir_;
    std::stop_token stop_;
    _clsExecuteControl* running_ = nullptr;  // the object of the pending run, if any
};

}  // namespace quorvel
