// The Run button with a stand-in for the model: the busy state and its order
// around the error message, the verdict in the result box, the standard read
// after the model has ended, and closing the window during a run.

#include <QtCore/QFile>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>

#include "calc/run/run_screen3.h"
#include "calc/run/tests/crafted_report.h"
#include "calc/run/tests/fake_launcher.h"
#include "ui/qt/form1.h"
#include "ui/qt/tests/window_fixture.h"

using namespace quorvel;
using namespace quorvel::test_support;

namespace {

struct BusyState {
    QString caption;
    bool enabled = true;
    bool waitCursor = false;
};

// Rows 10 m to 100 m at `near`, every farther row at `far`.
CraftedReport NearAndFar(double near, double far) {
    CraftedReport report;
    for (double d = 10; d <= 100; d += 10) report.rows.emplace_back(d, near);
    for (double d = 150; d <= 5000; d += 50) report.rows.emplace_back(d, far);
    report.maxima = {{near, 10}};
    return report;
}

}  // namespace

class Form1RunTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> appDir_;
    Recorder recorder_;
    std::shared_ptr<FakeLauncher> launcher_;
    std::unique_ptr<Form1> form_;
    FakeLauncher::Model model_;

    QPushButton* RunButton() { return Find<QPushButton>(*form_, "Command1_0"); }
    QPlainTextEdit* ResultBox() { return Find<QPlainTextEdit>(*form_, "Text2"); }

    BusyState Busy() {
        return {RunButton()->text(), RunButton()->isEnabled(),
                form_->cursor().shape() == Qt::WaitCursor};
    }

    void WriteReport(const CraftedReport& report) {
        QFile file(appDir_->filePath(QStringLiteral("Screen.OUT")));
        if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the report");
        file.write(QByteArray::fromStdString(ReportText(report)));
    }

  private slots:
    void init() {
        appDir_ = std::make_unique<QTemporaryDir>();
        QFile model(appDir_->filePath(QStringLiteral("SCREEN3.EXE")));
        QVERIFY(model.open(QIODevice::WriteOnly));
        model.close();
        recorder_ = Recorder();
        model_ = [](const LaunchCall&) -> Result<std::int32_t> { return 0; };
        launcher_ =
            std::make_shared<FakeLauncher>([this](const LaunchCall& call) { return model_(call); });
        form_ = std::make_unique<Form1>(RecordingServices(appDir_->path(), recorder_, launcher_));
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }
    void cleanup() {
        form_.reset();
        appDir_.reset();
    }

    void failedRunShowsItsTextWhileStillBusy() {
        BusyState duringRun;
        BusyState duringMessage;
        model_ = [&](const LaunchCall&) -> Result<std::int32_t> {
            duringRun = Busy();
            return 0;
        };
        recorder_.onMessage = [&](const QString&) { duringMessage = Busy(); };
        ResultBox()->setPlainText(QStringLiteral("earlier verdict"));

        Click(*form_, RunButton());

        QCOMPARE(recorder_.messages, QStringList{QString::fromStdU16String(kModelNotStartedText)});
        for (const BusyState& busy : {duringRun, duringMessage}) {
            QCOMPARE(busy.caption, QStringLiteral("正在运行..."));
            QVERIFY(!busy.enabled);
            QVERIFY(busy.waitCursor);
        }
        const BusyState after = Busy();
        QCOMPARE(after.caption, QStringLiteral("运行"));
        QVERIFY(after.enabled);
        QCOMPARE(form_->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(ResultBox()->toPlainText(), QStringLiteral("earlier verdict"));
        QVERIFY(!form_->IsBusy());
    }

    void verdictStandsInTheResultBox() {
        model_ = [this](const LaunchCall&) -> Result<std::int32_t> {
            WriteReport(NearAndFar(5000, 800));  // reached up to 5000 m
            return 1;
        };
        Click(*form_, RunButton());
        QVERIFY(recorder_.messages.isEmpty());
        QCOMPARE(
            ResultBox()->toPlainText(),
            QStringLiteral("最远超标距离 > 5000 m\n\n污染源强可能超标，建议削减源强后，再计算"));
        QCOMPARE(Busy().caption, QStringLiteral("运行"));
        QCOMPARE(launcher_->calls.size(), std::size_t{1});
    }

    void standardChangedDuringTheRunCounts() {
        // 0.5 mg/m^3 would reach the far rows (600); 0.7 reaches only the near ones.
        model_ = [this](const LaunchCall&) -> Result<std::int32_t> {
            Find<QLineEdit>(*form_, "Text1_4")->setText(QStringLiteral("0.7"));
            WriteReport(NearAndFar(900, 600));
            return 1;
        };
        Click(*form_, RunButton());
        QCOMPARE(ResultBox()->toPlainText(),
                 QStringLiteral("Quorvel 建议距离（距面源中心） = 150 m"));
    }

    void runButtonCannotStartASecondRun() {
        model_ = [this](const LaunchCall&) -> Result<std::int32_t> {
            Click(*form_, RunButton());
            return 0;
        };
        Click(*form_, RunButton());
        QCOMPARE(launcher_->calls.size(), std::size_t{1});
        QCOMPARE(recorder_.messages.size(), 1);
    }

    void closingDuringARunEndsTheModelThenTheWindow_data() {
        QTest::addColumn<bool>("byExitButton");
        QTest::newRow("close box") << false;
        QTest::newRow("exit button") << true;
    }

    void closingDuringARunEndsTheModelThenTheWindow() {
        QFETCH(bool, byExitButton);
        bool openDuringRun = false;
        model_ = [&](const LaunchCall&) -> Result<std::int32_t> {
            if (byExitButton) {
                Click(*form_, Find<QWidget>(*form_, "Command1_2"));
            } else {
                form_->windowHandle()->close();
            }
            openDuringRun = form_->isVisible();
            return 1;  // the model was ended, so it wrote no report
        };
        Click(*form_, RunButton());
        QVERIFY(openDuringRun);
        QCOMPARE(launcher_->terminations, 1);
        QVERIFY(recorder_.messages.isEmpty());
        QVERIFY(!form_->isVisible());
    }
};

QTEST_MAIN(Form1RunTest)
#include "form1_run_test.moc"
