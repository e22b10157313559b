// The calculation-sheet button: usable once a run has succeeded, standing for
// the last successful run, writing the sheet into the documents folder and
// asking the desktop to open it, or saying why it cannot be written.

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtTest/QTest>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>

#include "calc/run/tests/crafted_report.h"
#include "calc/run/tests/fake_launcher.h"
#include "ui/qt/form1.h"
#include "ui/qt/tests/window_fixture.h"

using namespace quorvel;
using namespace quorvel::test_support;

class Form1SheetTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> appDir_;
    std::unique_ptr<QTemporaryDir> documents_;
    Recorder recorder_;
    std::unique_ptr<Form1> form_;
    bool modelSucceeds_ = true;

    QPushButton* SheetButton() { return Find<QPushButton>(*form_, "Command2"); }

    // A model that succeeds with the standard reached up to 60 m, or cannot start.
    Result<std::int32_t> Model() {
        if (!modelSucceeds_) return 0;
        CraftedReport report;
        for (double d = 10; d <= 100; d += 10) {
            report.rows.emplace_back(d, d <= 60 ? 900.0 : 10.0);
        }
        for (double d = 150; d <= 5000; d += 50) report.rows.emplace_back(d, 10.0);
        report.maxima = {{900.0, 10}};
        QFile file(appDir_->filePath(QStringLiteral("Screen.OUT")));
        if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the report");
        file.write(QByteArray::fromStdString(ReportText(report)));
        return 1;
    }

    void Run() { Click(*form_, Find<QPushButton>(*form_, "Command1_0")); }

    QStringList Sheets() const {
        return QDir(documents_->filePath(QStringLiteral("Quorvel"))).entryList(QDir::Files);
    }

  private slots:
    void init() {
        appDir_ = std::make_unique<QTemporaryDir>();
        documents_ = std::make_unique<QTemporaryDir>();
        QFile model(appDir_->filePath(QStringLiteral("SCREEN3.EXE")));
        QVERIFY(model.open(QIODevice::WriteOnly));
        model.close();
        recorder_ = Recorder();
        modelSucceeds_ = true;
        auto launcher =
            std::make_shared<FakeLauncher>([this](const LaunchCall&) { return Model(); });
        WindowServices services = RecordingServices(appDir_->path(), recorder_, launcher);
        services.documentsDir = documents_->path();
        form_ = std::make_unique<Form1>(std::move(services));
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }
    void cleanup() {
        form_.reset();
        appDir_.reset();
        documents_.reset();
    }

    void disabledUntilARunSucceedsAndUnchangedByAFailedOne() {
        QCOMPARE(SheetButton()->text(), QStringLiteral("计算书"));
        QVERIFY(!SheetButton()->isEnabled());
        modelSucceeds_ = false;
        Run();
        QVERIFY(!SheetButton()->isEnabled());
        modelSucceeds_ = true;
        Run();
        QVERIFY(SheetButton()->isEnabled());
        modelSucceeds_ = false;
        Run();
        QVERIFY(SheetButton()->isEnabled());
        QCOMPARE(recorder_.messages.size(), 2);
    }

    void followsTheResultBoxInTheTabOrder() {
        Run();
        Find<QPlainTextEdit>(*form_, "Text2")->setFocus();
        PressKey(*form_, Qt::Key_Tab);
        QCOMPARE(FocusName(*form_), QStringLiteral("Command2"));
        PressKey(*form_, Qt::Key_Tab);
        QCOMPARE(FocusName(*form_), QStringLiteral("Command1_2"));
    }

    void pressingWritesTheLastSuccessfulRunsSheetAndOpensIt() {
        Run();
        modelSucceeds_ = false;
        Run();  // fails: the sheet still stands for the run before
        recorder_.messages.clear();
        Click(*form_, SheetButton());

        QVERIFY(recorder_.messages.isEmpty());
        const QStringList sheets = Sheets();
        QCOMPARE(sheets.size(), 1);
        QVERIFY(sheets[0].startsWith(QStringLiteral("计算书_")));
        QVERIFY(sheets[0].endsWith(QStringLiteral(".html")));
        const QString path = documents_->filePath(QStringLiteral("Quorvel/") + sheets[0]);
        QCOMPARE(recorder_.opened, QList<QUrl>{QUrl::fromLocalFile(path)});
        QFile sheet(path);
        QVERIFY(sheet.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(sheet.readAll())
                    .contains(QStringLiteral("Quorvel 建议距离（距面源中心） = 70 m")));
    }

    void anUnwritableDocumentsFolderGivesTheReasonAndOpensNothing() {
        Run();
        QFile blocker(documents_->filePath(QStringLiteral("Quorvel")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));  // a file where the folder must be
        blocker.close();
        const QString verdict = Find<QPlainTextEdit>(*form_, "Text2")->toPlainText();

        Click(*form_, SheetButton());

        QCOMPARE(recorder_.messages.size(), 1);
        QVERIFY(recorder_.messages[0].startsWith(QStringLiteral("无法创建保存计算书的文件夹: ")));
        QVERIFY(recorder_.messages[0].contains(documents_->filePath(QStringLiteral("Quorvel"))));
        QVERIFY(recorder_.opened.isEmpty());
        QCOMPARE(Find<QPlainTextEdit>(*form_, "Text2")->toPlainText(), verdict);
        QVERIFY(SheetButton()->isEnabled());
    }
};

QTEST_MAIN(Form1SheetTest)
#include "form1_sheet_test.moc"
