// The project window on the offscreen platform: its commands and keys, the
// title and the save prompt, paste and copy, cell marks, and real runs of
// the example project through the runner component and the model.

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtGui/QAction>
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QPushButton>

#include <deque>
#include <memory>

#include "ui/console/runner_launchers.h"
#include "ui/qt/cell_table.h"
#include "ui/qt/form1.h"
#include "ui/qt/project_results_panel.h"
#include "ui/qt/project_window.h"
#include "ui/qt/site_plan_view.h"
#include "ui/qt/tests/window_fixture.h"

using namespace quorvel;
using namespace quorvel::test_support;

namespace {

std::filesystem::path PathOf(const QString& text) { return {text.toStdU16String()}; }

}  // namespace

class ProjectWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QTemporaryDir> appDir_;
    std::unique_ptr<ProjectWindow> window_;
    QStringList messages_;
    QStringList questions_;
    std::deque<SaveAnswer> answers_;
    std::optional<std::filesystem::path> nextPath_;
    QList<QUrl> opened_;
    QString suggested_;  // the name the last file dialog offered

    QString File(const QString& name) const { return dir_->filePath(name); }

    void MakeWindow() {
        ProjectWindowServices services;
        services.appDir = PathOf(appDir_->path());
        services.documentsDir = PathOf(File(QStringLiteral("documents")));
        services.makeLauncher = RunnerLauncherFactory(services.appDir);
        services.workers = 2;
        services.showMessage = [this](QWidget*, const QString& text) { messages_ << text; };
        services.askSave = [this](QWidget*, const QString& question) {
            questions_ << question;
            if (answers_.empty()) return SaveAnswer::Cancel;
            const SaveAnswer answer = answers_.front();
            answers_.pop_front();
            return answer;
        };
        services.askPath = [this](QWidget*, ProjectWindowServices::FileKind,
                                  const QString& suggested) {
            suggested_ = suggested;
            return std::exchange(nextPath_, std::nullopt);
        };
        services.openUrl = [this](const QUrl& url) { opened_ << url; };
        window_ = std::make_unique<ProjectWindow>(std::move(services));
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    QString OpenExample() {
        const QString file = File(QStringLiteral("example.qvproj"));
        QFile::remove(file);
        if (!QFile::copy(QStringLiteral(QUORVEL_DOCS_DIR "/example.qvproj"), file)) return {};
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        return window_->openFile(PathOf(file)) ? file : QString();
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window_->windowHandle(), key, modifiers);
    }

    // Types `text` into the cell and leaves it with Enter.
    void TypeCell(CellTable* table, int row, int column, const QString& text) {
        table->setFocus();
        for (int i = 0; i < 10 && table->rowCount() <= row; ++i)
            Key(Qt::Key_Plus, Qt::ControlModifier);
        table->setCurrentCell(row, column);
        QTest::keyClick(table, Qt::Key_F2);  // opens the cell's editor
        QWidget* editor = table->indexWidget(table->currentIndex());

        auto* line = qobject_cast<QLineEdit*>(editor);
        QVERIFY(line != nullptr);
        line->selectAll();
        line->insert(text);  // QTest types only ASCII; this is what typing does
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // the view commits Return's edit queued
    }

    bool WaitForRunEnd(int milliseconds = 180000) {
        return QTest::qWaitFor(
            [this] { return window_->behaviour().Status().state != RunState::Running; },
            milliseconds);
    }

    QString Title() const { return window_->windowTitle(); }

  private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        appDir_ = std::make_unique<QTemporaryDir>();
        QDir source(QStringLiteral(QUORVEL_APP_DIR));
        for (const QFileInfo& entry : source.entryInfoList(QDir::Files))
            QVERIFY(QFile::copy(entry.filePath(), appDir_->filePath(entry.fileName())));
        messages_.clear();
        questions_.clear();
        answers_.clear();
        opened_.clear();
        nextPath_.reset();
        MakeWindow();
    }
    void cleanup() {
        window_.reset();
        appDir_.reset();
        dir_.reset();
    }

    void theCommandsAreInTheMenuAndToolBarWithTheirKeys() {
        QCOMPARE(Title(), QStringLiteral("未命名 - Quorvel项目计算"));
        for (const ProjectCommandDesign& design : kProjectCommands) {
            QAction* action = window_->action(design.command);
            QCOMPARE(action->text(),
                     QString::fromUtf16(design.caption.data(),
                                        static_cast<qsizetype>(design.caption.size())));
            QCOMPARE(action->shortcut().toString(),
                     QString::fromUtf16(design.shortcut.data(),
                                        static_cast<qsizetype>(design.shortcut.size())));
        }
        QVERIFY(!window_->action(ProjectCommand::Stop)->isEnabled());
        QVERIFY(!window_->action(ProjectCommand::Sheet)->isEnabled());
    }

    void editsMakeItDirtyAndSavingCleansTheTitle() {
        TypeCell(window_->table(TableId::Sources), 0, 0, QStringLiteral("S9"));
        QVERIFY(window_->behaviour().Tables().sources.rows.at(0).cells.at(0) == u"S9");
        QCOMPARE(Title(), QStringLiteral("未命名* - Quorvel项目计算"));
        // A project with an unusable row is not saved: the message says why.
        nextPath_ = PathOf(File(QStringLiteral("mine.qvproj")));
        Key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(messages_.size(), 1);
        QVERIFY(!QFile::exists(File(QStringLiteral("mine.qvproj"))));
        QVERIFY(window_->behaviour().IsDirty());

        const QString file = OpenExample();
        QVERIFY(!file.isEmpty());
        QCOMPARE(Title(), QStringLiteral("example.qvproj - Quorvel项目计算"));
        TypeCell(window_->table(TableId::Sources), 0, 1, QStringLiteral("储罐区"));
        QCOMPARE(Title(), QStringLiteral("example.qvproj* - Quorvel项目计算"));
        Key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(Title(), QStringLiteral("example.qvproj - Quorvel项目计算"));
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(saved.readAll()).contains(QStringLiteral("储罐区")));
        // The target distance is an edit too; a bad one is marked.
        auto* distance = Find<QLineEdit>(*window_, "targetDistance");
        distance->setFocus();
        distance->setText(QStringLiteral("abc"));
        QTest::keyClick(distance, Qt::Key_Return);
        QVERIFY(window_->behaviour().IsDirty());
        QVERIFY(!distance->toolTip().isEmpty());
    }

    void closingAsksAndEachAnswerDoesWhatItSays() {
        TypeCell(window_->table(TableId::Sources), 0, 0, QStringLiteral("S1"));
        for (int column = 2; column < 8; ++column)
            TypeCell(window_->table(TableId::Sources), 0, column, QStringLiteral("10"));
        answers_ = {SaveAnswer::Cancel};
        Key(Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(questions_.size(), 1);
        QVERIFY(window_->isVisible());
        // 保存 with no file asks for one; cancelling that keeps the window.
        answers_ = {SaveAnswer::Save};
        Key(Qt::Key_W, Qt::ControlModifier);
        QVERIFY(window_->isVisible());
        answers_ = {SaveAnswer::Save};
        nextPath_ = PathOf(File(QStringLiteral("kept.qvproj")));
        QVERIFY(window_->close());
        QVERIFY(QFile::exists(File(QStringLiteral("kept.qvproj"))));
        QVERIFY(!window_->isVisible());
    }

    void dontSaveClosesWithoutWriting() {
        const QString file = OpenExample();
        QVERIFY(!file.isEmpty());
        QFile original(file);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray before = original.readAll();
        original.close();
        TypeCell(window_->table(TableId::Sources), 0, 1, QStringLiteral("改名"));
        answers_ = {SaveAnswer::DontSave};
        Key(Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!window_->isVisible());
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(original.readAll(), before);
    }

    void aPastedBlockAddsRowsAndCopyGivesItBack() {
        CellTable* sources = window_->table(TableId::Sources);
        const QString block = QStringLiteral(
            "A1\t罐区\t10\t20\t0\t5\t30\t40\r\nA2\t库房\t50\t60\t15\t4\t10\t20\r\nA3\t泵房\t-"
            "5\t7\t0\t3\t8\t9\r\n");
        QGuiApplication::clipboard()->setText(block);
        sources->setFocus();
        sources->setCurrentCell(0, 0);
        QTest::keyClick(sources, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(sources->rowCount(), 3);
        QCOMPARE(sources->item(2, 1)->text(), QStringLiteral("泵房"));
        QCOMPARE(window_->behaviour().Tables().sources.rows.size(), std::size_t{3});
        QVERIFY(Title().contains(QLatin1Char('*')));
        // The pasted block stays selected; Ctrl+C copies it the same way.
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(sources, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), block);
        // Emission rows: the unit column takes what is pasted, marked when it is no unit.
        CellTable* emissions = window_->table(TableId::Emissions);
        window_->showTable(TableId::Emissions);
        QGuiApplication::clipboard()->setText(QStringLiteral("A1\t苯\t1\tlb/h\t0.11\t\r\n"));
        emissions->setFocus();
        emissions->setCurrentCell(0, 0);
        QTest::keyClick(emissions, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(emissions->item(0, 3)->text(), QStringLiteral("lb/h"));
        QVERIFY(!emissions->item(0, 3)->toolTip().isEmpty());
    }

    void aBadCellIsMarkedWithItsReasonWhenLeft() {
        CellTable* sources = window_->table(TableId::Sources);
        TypeCell(sources, 0, 2, QStringLiteral("12a"));
        QTableWidgetItem* cell = sources->item(0, 2);
        QCOMPARE(cell->text(), QStringLiteral("12a"));  // kept as typed
        QCOMPARE(cell->toolTip(), QString::fromStdU16String(
                                      window_->behaviour().CellProblem(TableId::Sources, 0, 2)));
        QVERIFY(!cell->toolTip().isEmpty());
        QCOMPARE(cell->background().color(), ProblemColour());
        TypeCell(sources, 0, 2, QStringLiteral("12"));
        QVERIFY(sources->item(0, 2)->toolTip().isEmpty());
        QCOMPARE(sources->item(0, 2)->background().style(), Qt::NoBrush);
    }

    void rowsAreAddedAndDeleted() {
        const QString file = OpenExample();
        QVERIFY(!file.isEmpty());
        CellTable* sources = window_->table(TableId::Sources);
        QCOMPARE(sources->rowCount(), 3);
        sources->setFocus();
        sources->setCurrentCell(0, 0);
        Key(Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(sources->rowCount(), 4);
        QVERIFY(sources->item(1, 0)->text().isEmpty());
        sources->clearSelection();
        sources->selectRow(1);
        Key(Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(sources->rowCount(), 3);
        QCOMPARE(sources->item(1, 0)->text(), QStringLiteral("S2"));
    }

    void aRunShowsProgressThenResultsLimitsAndTheZone() {
        QVERIFY(!OpenExample().isEmpty());
        QCOMPARE(Title(), QStringLiteral("example.qvproj - Quorvel项目计算"));
        auto* progress = Find<QProgressBar>(*window_, "runProgress");
        const std::size_t itemsBefore = window_->plan()->figure().items.size();
        auto* exportDrawing = window_->findChild<QAction*>(QStringLiteral("exportDrawing"));
        QVERIFY(exportDrawing != nullptr);
        QVERIFY(!exportDrawing->isEnabled());
        Key(Qt::Key_F5);
        QCOMPARE(window_->behaviour().Status().state, RunState::Running);
        QVERIFY(progress->isVisible());
        QVERIFY(window_->action(ProjectCommand::Stop)->isEnabled());
        QVERIFY(!window_->action(ProjectCommand::Compute)->isEnabled());
        QVERIFY(WaitForRunEnd());
        QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('|')));
        QCOMPARE(window_->behaviour().Status().state, RunState::Finished);
        QVERIFY(!progress->isVisible());
        const auto& tables = window_->results()->tables();
        QCOMPARE(tables[0]->rowCount(), 6);
        QVERIFY2(tables[0]->item(0, 5)->text().startsWith(QStringLiteral("Quorvel 建议距离")),
                 qPrintable(tables[0]->item(0, 5)->text()));
        QCOMPARE(tables[1]->rowCount(), 3);
        QCOMPARE(tables[2]->rowCount(), 2);
        QVERIFY(tables[3]->rowCount() > 0);  // the limits
        QCOMPARE(tables[3]->item(0, 0)->text(), tables[0]->item(0, 0)->text());
        QVERIFY(window_->results()->summaryText().contains(QStringLiteral("m²")));
        QVERIFY(!window_->results()->conclusionText().isEmpty());
        QVERIFY(window_->plan()->figure().items.size() > itemsBefore);  // the discs and the zone
        // A results table copies as the spreadsheet block.
        tables[1]->setFocus();
        tables[1]->selectAll();
        QTest::keyClick(tables[1], Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text().count(QStringLiteral("\r\n")), 3);

        // 计算书 writes the sheet and opens it.
        QVERIFY(window_->action(ProjectCommand::Sheet)->isEnabled());
        window_->action(ProjectCommand::Sheet)->trigger();
        QCOMPARE(opened_.size(), 1);
        QFile sheet(opened_.front().toLocalFile());
        QVERIFY(sheet.exists());
        QVERIFY(sheet.fileName().startsWith(File(QStringLiteral("documents/Quorvel/"))));
        QVERIFY(sheet.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(sheet.readAll()).contains(QStringLiteral("罐区")));

        // 导出DXF… offers the project's name and writes the drawing; a
        // folder in the file's place is said to be one.
        QVERIFY(exportDrawing->isEnabled());
        nextPath_ = PathOf(File(QStringLiteral("result.dxf")));
        exportDrawing->trigger();
        QCOMPARE(suggested_, QStringLiteral("示例化工项目-结果.dxf"));
        QFile drawing(File(QStringLiteral("result.dxf")));
        QVERIFY(drawing.open(QIODevice::ReadOnly));
        const QByteArray bytes = drawing.readAll();
        QVERIFY(bytes.contains("QV-控制距离") && bytes.contains("罐区") &&
                bytes.endsWith("EOF\r\n"));
        QVERIFY(QDir().mkdir(File(QStringLiteral("folder.dxf"))));
        nextPath_ = PathOf(File(QStringLiteral("folder.dxf")));
        exportDrawing->trigger();
        QCOMPARE(messages_.size(), 1);
        QVERIFY2(messages_.front().contains(QStringLiteral("folder.dxf")),
                 qPrintable(messages_.front()));
        messages_.clear();

        // An edit marks the results as out of date.
        TypeCell(window_->table(TableId::Sources), 0, 5, QStringLiteral("6"));
        QCOMPARE(window_->behaviour().Status().state, RunState::OutOfDate);
    }

    void stopCancelsTheRunAndTheWindowStaysUsable() {
        QVERIFY(!OpenExample().isEmpty());
        Key(Qt::Key_F5);
        QCOMPARE(window_->behaviour().Status().state, RunState::Running);
        window_->action(ProjectCommand::Stop)->trigger();
        QVERIFY(WaitForRunEnd(60000));
        QVERIFY(window_->behaviour().Status().cancelled);
        QVERIFY(window_->action(ProjectCommand::Compute)->isEnabled());
        // Closing the window while a run goes on stops it first.
        Key(Qt::Key_F5);
        QVERIFY(!window_->close());
        QVERIFY(QTest::qWaitFor([this] { return !window_->isVisible(); }, 60000));
    }

    void theMainWindowsButtonOpensTheProjectWindow() {
        Recorder recorder;
        int opened = 0;
        WindowServices services = RecordingServices(appDir_->path(), recorder, nullptr);
        services.openProjectWindow = [&opened] { ++opened; };
        Form1 form(std::move(services));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* button = Find<QPushButton>(form, "Command3");
        QCOMPARE(button->text(), QStringLiteral("项目计算..."));
        Click(form, button);
        QCOMPARE(opened, 1);
    }
};

QTEST_MAIN(ProjectWindowTest)
#include "project_window_test.moc"
