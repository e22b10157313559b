// Whole calculations through the runner component: with the project's own
// model, and with small stand-in model programs for each way a run can fail.
// Every test works on its own copy of the application directory.

#include <QtCore/QDir>
#include <QtCore/QElapsedTimer>
#include <QtCore/QFile>
#include <QtCore/QTimer>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>

#include <cerrno>
#include <csignal>

#include "calc/run/run_screen3.h"
#include "calc/run/tests/crafted_report.h"
#include "ui/qt/form1.h"
#include "ui/qt/tests/window_fixture.h"
#include "ui/qt/tolvane_launcher.h"

using namespace quorvel;
using namespace quorvel::test_support;

namespace {

const QString kVerdictPrefix = QStringLiteral("Quorvel 建议距离（距面源中心） = ");

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> appDir_;
    Recorder recorder_;
    std::unique_ptr<Form1> form_;

    QString AppFile(const QString& name) const { return appDir_->filePath(name); }

    void WriteFile(const QString& name, const QByteArray& bytes, bool executable = false) {
        QFile file(AppFile(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write a file");
        file.write(bytes);
        file.close();
        if (executable) {
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeGroup);
        }
    }

    // A stand-in model: a shell script in the model's place.
    void UseModelScript(const QByteArray& body) {
        QFile::remove(AppFile(QStringLiteral("SCREEN3.EXE")));
        WriteFile(QStringLiteral("SCREEN3.EXE"), "#!/bin/sh\n" + body, true);
    }

    QStringList RunFilesLeft() const {
        return QDir(appDir_->path())
                   .entryList({QStringLiteral("screen3.inp"), QStringLiteral("screen.out"),
                               QStringLiteral("screen.dat")},
                              QDir::Files | QDir::CaseSensitive | QDir::Hidden) +
               QDir(appDir_->path())
                   .entryList({QStringLiteral("Screen3.INP"), QStringLiteral("Screen.OUT"),
                               QStringLiteral("SCREEN.OUT"), QStringLiteral("SCREEN.DAT")},
                              QDir::Files);
    }

    void PressRun() { Click(*form_, Find<QWidget>(*form_, "Command1_0")); }
    QString Result() { return Find<QPlainTextEdit>(*form_, "Text2")->toPlainText(); }

  private slots:
    void init() {
        appDir_ = std::make_unique<QTemporaryDir>();
        QDir source(QStringLiteral(QUORVEL_APP_DIR));
        for (const QFileInfo& entry : source.entryInfoList(QDir::Files)) {
            QVERIFY(QFile::copy(entry.filePath(), AppFile(entry.fileName())));
        }
        QVERIFY(QFile::exists(AppFile(QStringLiteral("SCREEN3.EXE"))));
        recorder_ = Recorder();
        form_ = std::make_unique<Form1>(RecordingServices(
            appDir_->path(), recorder_, std::make_shared<TolvaneLauncher>(appDir_->path())));
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }
    void cleanup() {
        form_.reset();
        appDir_.reset();
    }

    void defaultsGiveADistanceAndLeaveNoRunFiles() {
        PressRun();
        QVERIFY2(recorder_.messages.isEmpty(), qPrintable(recorder_.messages.join('|')));
        const QString verdict = Result();
        QVERIFY2(verdict.startsWith(kVerdictPrefix), qPrintable(verdict));
        const QString firstLine = verdict.section(QLatin1Char('\n'), 0, 0);
        QVERIFY2(firstLine.endsWith(QStringLiteral(" m")), qPrintable(verdict));
        bool number = false;
        const int metres = firstLine.mid(kVerdictPrefix.size()).chopped(2).toInt(&number);
        QVERIFY(number);
        QVERIFY(metres >= 10 && metres <= 5000);
        QCOMPARE(RunFilesLeft(), QStringList());
        QCOMPARE(Find<QPushButton>(*form_, "Command1_0")->text(), QStringLiteral("运行"));
    }

    void aLargerSourceNeedsAtLeastTheSameDistance() {
        PressRun();
        const QString small = Result();
        Find<QLineEdit>(*form_, "Text1_3")->setText(QStringLiteral("40"));
        PressRun();
        const QString large = Result();
        QVERIFY(recorder_.messages.isEmpty());
        auto metres = [](const QString& verdict) {
            return verdict.section(QLatin1Char('\n'), 0, 0)
                .mid(kVerdictPrefix.size())
                .chopped(2)
                .toInt();
        };
        QVERIFY2(metres(large) >= metres(small), qPrintable(small + " / " + large));
    }

    void missingModel() {
        QFile::remove(AppFile(QStringLiteral("SCREEN3.EXE")));
        PressRun();
        QCOMPARE(recorder_.messages, QStringList{QString::fromStdU16String(kModelMissingText)});
        QCOMPARE(RunFilesLeft(), QStringList());
    }

    void modelThatCannotStart() {
        QFile::remove(AppFile(QStringLiteral("SCREEN3.EXE")));
        WriteFile(QStringLiteral("SCREEN3.EXE"), "not a program", false);
        PressRun();
        QCOMPARE(recorder_.messages, QStringList{QString::fromStdU16String(kModelNotStartedText)});
        QVERIFY(QFile::exists(AppFile(QStringLiteral("Screen3.INP"))));
    }

    void modelWithoutCompletionText() {
        UseModelScript("printf ' *** SCREEN3 MODEL RUN ***\\r\\n' > Screen.OUT\n");
        PressRun();
        QCOMPARE(recorder_.messages, QStringList{QString::fromStdU16String(kModelFailedText)});
        QVERIFY(QFile::exists(AppFile(QStringLiteral("Screen.OUT"))));
    }

    void reportTheReaderRefuses() {
        CraftedReport report{{{10, 1.0}}, {{1.0, 50}}};
        std::string text = ReportText(report);
        const auto at = text.find(" SIMPLE TERRAIN");
        text.replace(at, text.find("\r\n", at) - at, text.substr(at, 42));
        WriteFile(QStringLiteral("crafted.out"), QByteArray::fromStdString(text));
        UseModelScript("cp crafted.out Screen.OUT\n");
        PressRun();
        QCOMPARE(recorder_.messages.size(), 1);
        for (const char16_t* known : {kModelMissingText, kModelNotStartedText, kModelFailedText}) {
            QVERIFY(recorder_.messages[0] != QString::fromStdU16String(known));
        }
        QVERIFY(!recorder_.messages[0].isEmpty());
        QCOMPARE(RunFilesLeft(), QStringList());
    }

    void craftedReportThroughTheModelsCommandLine() {
        CraftedReport report;
        for (double d = 10; d <= 100; d += 10) report.rows.emplace_back(d, d <= 60 ? 900.0 : 10.0);
        for (double d = 150; d <= 5000; d += 50) report.rows.emplace_back(d, 1.0);
        report.maxima = {{900, 20}};
        WriteFile(QStringLiteral("crafted.out"), QByteArray::fromStdString(ReportText(report)));
        // The model gets "<Screen3.INP" as its one argument and runs in the
        // application directory, where its answer file lies.
        UseModelScript(
            "[ \"$#\" = 1 ] && [ \"$1\" = \"<Screen3.INP\" ] && [ -s Screen3.INP ] || exit 1\n"
            "cp crafted.out Screen.OUT\n"
            "echo data > screen.dat\n");
        PressRun();
        QVERIFY2(recorder_.messages.isEmpty(), qPrintable(recorder_.messages.join('|')));
        QCOMPARE(Result(), kVerdictPrefix + QStringLiteral("70 m"));
        QCOMPARE(RunFilesLeft(), QStringList());
    }

    void closingDuringARunEndsTheModelProcess() {
        UseModelScript("echo $$ > model.pid\nexec sleep 30\n");
        bool closedDuringRun = false;
        QTimer::singleShot(300, form_.get(), [&] {
            closedDuringRun = form_->IsBusy();
            form_->close();
        });
        QElapsedTimer clock;
        clock.start();
        PressRun();
        QVERIFY(closedDuringRun);
        QVERIFY(clock.elapsed() < 10000);
        QVERIFY(!form_->isVisible());
        QVERIFY(recorder_.messages.isEmpty());
        QFile pidFile(AppFile(QStringLiteral("model.pid")));
        QVERIFY(pidFile.open(QIODevice::ReadOnly));
        const pid_t pid = static_cast<pid_t>(pidFile.readAll().trimmed().toInt());
        QVERIFY(pid > 0);
        QCOMPARE(::kill(pid, 0), -1);
        QCOMPARE(errno, ESRCH);
    }
};

QTEST_MAIN(EndToEndTest)
#include "end_to_end_test.moc"
