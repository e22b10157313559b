// The window under inputs at the edges of single precision and texts of
// 100,000 characters, and closed while a model hangs that ignores SIGTERM:
// every run ends in a message or a verdict, and the window stays alive.

#include <QtCore/QElapsedTimer>
#include <QtCore/QTimer>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>

#include <memory>

#include "tests/hardening/app_dir_fixture.h"
#include "ui/qt/form1.h"
#include "ui/qt/tests/window_fixture.h"
#include "ui/qt/tolvane_launcher.h"

using namespace quorvel;
using namespace quorvel::hardening;
using namespace quorvel::test_support;

class WindowFaultsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<ScratchAppDir> dir_;
    Recorder recorder_;
    std::unique_ptr<Form1> form_;
    int descriptorsBefore_ = 0;

    QPushButton* RunButton() { return Find<QPushButton>(*form_, "Command1_0"); }
    QLineEdit* Box(int index) {
        return Find<QLineEdit>(*form_, qPrintable(QStringLiteral("Text1_%1").arg(index)));
    }
    QString Result() { return Find<QPlainTextEdit>(*form_, "Text2")->toPlainText(); }

    // The window is usable again: not busy, the Run button back to normal.
    void VerifyAlive() {
        QVERIFY(form_->isVisible());
        QVERIFY(!form_->IsBusy());
        QVERIFY(RunButton()->isEnabled());
        QCOMPARE(RunButton()->text(), QString::fromStdU16String(kRunCaption));
    }

    // One press of Run ends in either a message or a new verdict, and the
    // window is usable again; a verdict leaves no run files behind.
    void VerifyOneOutcome() {
        const QString before = Result();
        const qsizetype messagesBefore = recorder_.messages.size();
        Click(*form_, RunButton());
        const bool verdict = Result() != before;
        const bool message = recorder_.messages.size() > messagesBefore;
        QVERIFY2(verdict != message,
                 qPrintable(Result() + QStringLiteral(" | ") + recorder_.messages.join('|')));
        for (const QString& text : recorder_.messages) QVERIFY(!text.isEmpty());
        VerifyAlive();
        if (verdict) QCOMPARE(dir_->RunFilesLeft(), std::string());
    }

  private slots:
    void initTestCase() {
        // The first run loads the runner component and fills Qt's caches for
        // good; the descriptor counts of the tests start after it.
        init();
        Click(*form_, RunButton());
        QVERIFY2(recorder_.messages.isEmpty(), qPrintable(recorder_.messages.join('|')));
        form_.reset();
        dir_.reset();
    }
    void init() {
        descriptorsBefore_ = OpenDescriptorCount();
        dir_ = std::make_unique<ScratchAppDir>();
        dir_->UseRealModel();
        recorder_ = Recorder();
        const QString appDir = QString::fromStdString(dir_->path().string());
        form_ = std::make_unique<Form1>(
            RecordingServices(appDir, recorder_, std::make_shared<TolvaneLauncher>(appDir)));
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }
    void cleanup() {
        form_.reset();
        dir_.reset();
        QVERIFY2(NoChildLeft(), "a child process was left behind");
        QCOMPARE(OpenDescriptorCount(), descriptorsBefore_);
    }

    void edgeInputsEndInAMessageOrAVerdict_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("unit");
        const QString digits(100000, QLatin1Char('9'));
        QTest::newRow("100,000 digits as the height") << 0 << digits << 0;
        QTest::newRow("100,000 letters as the width")
            << 1 << QString(100000, QLatin1Char('x')) << 0;
        QTest::newRow("100,000 Chinese characters as the rate")
            << 3 << QString(100000, QChar(0x5341)) << 0;
        QTest::newRow("100,000 blanks before a length")
            << 2 << QString(100000, QLatin1Char(' ')) + QStringLiteral("120") << 0;
        QTest::newRow("a rate beyond single precision") << 3 << QStringLiteral("1e39") << 0;
        QTest::newRow("a rate in t/a beyond single precision")
            << 3 << QStringLiteral("3.4e38") << 2;
        QTest::newRow("a rate that rounds to 0 in single") << 3 << QStringLiteral("1e-50") << 0;
        QTest::newRow("a tiny rate in kg/hr") << 3 << QStringLiteral("1.5e-45") << 1;
        QTest::newRow("a width beyond single precision") << 1 << QStringLiteral("1e39") << 0;
        QTest::newRow("a length that rounds to 0 in single") << 2 << QStringLiteral("1e-46") << 0;
        QTest::newRow("a height beyond single precision") << 0 << QStringLiteral("1e300") << 0;
        QTest::newRow("a standard whose x 1000 overflows single")
            << 4 << QStringLiteral("1e36") << 0;
        QTest::newRow("a standard that rounds to 0 in single") << 4 << QStringLiteral("1e-47") << 0;
        QTest::newRow("a standard just above 0 in single") << 4 << QStringLiteral("1e-44") << 0;
    }
    void edgeInputsEndInAMessageOrAVerdict() {
        QFETCH(int, box);
        QFETCH(QString, text);
        QFETCH(int, unit);
        Find<QComboBox>(*form_, "Combo1_0")->setCurrentIndex(unit);
        Box(box)->setFocus();
        Box(box)->setText(text);
        VerifyOneOutcome();
        // A box that refused the text keeps the focus. Move it away without
        // the box's validation, as a lost window focus may: the check at Run
        // must then refuse the value itself, or the run must end in a verdict.
        if (!recorder_.messages.isEmpty() && form_->focusWidget() == Box(box)) {
            recorder_.messages.clear();
            Find<QWidget>(*form_, "Text2")->setFocus();
            VerifyOneOutcome();
        }
    }

    void closingWhileAModelHangsThatIgnoresTermination() {
        dir_->UseFakeModel("hang");
        QTimer::singleShot(500, form_.get(), [this] { form_->close(); });
        QElapsedTimer clock;
        clock.start();
        Click(*form_, RunButton());
        QVERIFY(clock.elapsed() < 20000);
        QVERIFY(!form_->isVisible());
        QVERIFY(recorder_.messages.isEmpty());
        const pid_t pid = static_cast<pid_t>(std::stol(ReadBytes(*dir_ / "model.pid")));
        QVERIFY(ProcessGone(pid));
    }
};

QTEST_MAIN(WindowFaultsTest)
#include "window_faults_test.moc"
