// Computes the default verdict through an installed application directory's
// own runner component and model, the way the window does, and says where the
// run's files lay. The package test runs it as an ordinary user.
//   installed_run_check <app-dir>
// Prints "run directory: <dir>" and "verdict: <text>" (or "error: <text>");
// exits 0 for a verdict whose answer file and report were in the run
// directory while the model ran, 1 otherwise.

#include <QtCore/QCoreApplication>

#include <cstdio>
#include <filesystem>
#include <string>

#include "calc/calculation_inputs.h"
#include "calc/file_names.h"
#include "calc/run/run_files.h"
#include "calc/run/run_screen3.h"
#include "calc/unicode_text.h"
#include "ui/qt/tolvane_launcher.h"

namespace {

namespace fs = std::filesystem;

// The component's launcher, noting which run files lie in the model's working
// directory just before it starts and just after it ends.
class WatchingLauncher : public quorvel::ProcessLauncher {
  public:
    explicit WatchingLauncher(const QString& appDir) : real_(appDir) {}

    quorvel::Result<std::int32_t> RunAndWait(const std::u16string& cmdline,
                                             const std::u16string& curDir,
                                             std::int16_t swShow) override {
        runDir = curDir;
        const fs::path dir = quorvel::PathFromText(curDir);
        answerBefore = quorvel::FindFileIgnoringCase(dir, quorvel::kAnswerFileName).has_value();
        auto result = real_.RunAndWait(cmdline, curDir, swShow);
        reportAfter = quorvel::FindFileIgnoringCase(dir, quorvel::kReportFileName).has_value();
        return result;
    }
    void Terminate() override { real_.Terminate(); }

    std::u16string runDir;
    bool answerBefore = false;
    bool reportAfter = false;

  private:
    quorvel::TolvaneLauncher real_;
};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: installed_run_check <app-dir>\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    const fs::path appDir(argv[1]);
    WatchingLauncher launcher(QString::fromStdString(appDir.string()));
    const auto verdict = quorvel::RunScreen3(
        appDir, [] { return quorvel::CalculationInputs(); }, launcher);

    std::printf("run directory: %s\n", quorvel::ToUtf8(launcher.runDir).c_str());
    std::printf("answer file there before the model: %s\n", launcher.answerBefore ? "yes" : "no");
    std::printf("report there after the model: %s\n", launcher.reportAfter ? "yes" : "no");
    if (!verdict) {
        std::printf("error: %s\n", quorvel::ToUtf8(verdict.error()).c_str());
        return 1;
    }
    std::printf("verdict: %s\n", quorvel::ToUtf8(verdict.value()).c_str());
    return launcher.answerBefore && launcher.reportAfter ? 0 : 1;
}
