#pragma once
// Runs programs for the calculation through the runner component: a new
// runner object for every run, released right after it.

#include <QtCore/QString>

#include "calc/run/process_launcher.h"
#include "runner/clsexecute_interface.h"

namespace quorvel {

class TolvaneLauncher : public ProcessLauncher {
  public:
    // appDir: the directory that holds the runner component.
    explicit TolvaneLauncher(QString appDir);

    Result<std::int32_t> RunAndWait(const std::u16string& cmdline, const std::u16string& curDir,
                                    std::int16_t swShow) override;
    void Terminate() override;

  private:
    QString appDir_;
    _clsExecuteControl* running_ = nullptr;  // the object of the pending run, if any
};

}  // namespace quorvel
