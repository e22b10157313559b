// One whole calculation as the Run button makes it, with the project's model
// and the window's defaults: the input check, the answer file, the model run
// through the runner component, the report and the verdict.

#include <benchmark/benchmark.h>

#include <QtCore/QDir>
#include <QtCore/QTemporaryDir>
#include <QtWidgets/QApplication>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>

#include <cstdio>
#include <memory>

#include "calc/check_inputs.h"
#include "calc/run/run_screen3.h"
#include "ui/qt/form1.h"
#include "ui/qt/tolvane_launcher.h"

namespace {

using namespace quorvel;

// A copy of the application directory, so that runs do not disturb a build.
class AppDirCopy {
  public:
    AppDirCopy() {
        QDir source(QStringLiteral(QUORVEL_APP_DIR));
        for (const QFileInfo& entry : source.entryInfoList(QDir::Files)) {
            QFile::copy(entry.filePath(), dir_.filePath(entry.fileName()));
        }
    }
    QString path() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
};

void BM_RunButton(benchmark::State& state) {
    AppDirCopy appDir;
    WindowServices services;
    services.appDir = appDir.path();
    services.showMessage = [&state](QWidget*, const QString& text) {
        state.SkipWithError(qPrintable(text));
    };
    services.launcher = std::make_shared<TolvaneLauncher>(appDir.path());
    Form1 form(std::move(services));
    auto* run = form.findChild<QPushButton*>(QStringLiteral("Command1_0"));
    auto* result = form.findChild<QPlainTextEdit*>(QStringLiteral("Text2"));
    for (auto _ : state) {
        run->click();
    }
    std::printf("verdict: %s\n", qPrintable(result->toPlainText()));
}
BENCHMARK(BM_RunButton)->Unit(benchmark::kMillisecond);

void BM_RunScreen3WithoutWindow(benchmark::State& state) {
    AppDirCopy appDir;
    TolvaneLauncher launcher(appDir.path());
    const auto dir = std::filesystem::path(appDir.path().toStdString());
    for (auto _ : state) {
        const CalculationInputs inputs;
        if (!DecideCheckInputs(inputs).pass) state.SkipWithError("check refused the defaults");
        const auto verdict = RunScreen3(
            dir, [] { return CalculationInputs(); }, launcher);
        if (!verdict.ok()) state.SkipWithError("run failed");
        benchmark::DoNotOptimize(verdict);
    }
}
BENCHMARK(BM_RunScreen3WithoutWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
