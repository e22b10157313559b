#include "ui/qt/project_window.h"

#include <QtCore/QMetaObject>
#include <QtCore/QSignalBlocker>
#include <QtGui/QAction>
#include <QtGui/QClipboard>
#include <QtGui/QCloseEvent>
#include <QtGui/QGuiApplication>
#include <QtGui/QImageReader>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QSplitter>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QVBoxLayout>

#include "ui/core/result_drawing_export.h"
#include "ui/qt/cell_table.h"
#include "ui/qt/drawing_export.h"
#include "ui/qt/dxf_import_dialog.h"
#include "ui/qt/plan_pictures.h"
#include "ui/qt/plan_reference_dialog.h"
#include "ui/qt/project_results_panel.h"
#include "ui/qt/site_plan_view.h"
#include "ui/qt/window_fit.h"

namespace quorvel {
namespace {

QString Text(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList Headers(TableId table) {
    QStringList headers;
    for (const ColumnDefinition& column : TableColumns(table)) headers << Text(column.header);
    return headers;
}

CellBlock BlockOf(const Table& table) {
    CellBlock block;
    block.reserve(table.rows.size());
    for (const TableRow& row : table.rows) block.push_back(row.cells);
    return block;
}

// The selected cells of a results table as shown.
CellBlock ShownCells(const CellTable& table, const CellRange& range) {
    CellBlock block;
    for (std::size_t r = 0; r < range.rowCount; ++r) {
        auto& row = block.emplace_back();
        for (std::size_t c = 0; c < range.columnCount; ++c) {
            const QTableWidgetItem* cell = table.item(static_cast<int>(range.firstRow + r),
                                                      static_cast<int>(range.firstColumn + c));
            row.push_back(cell ? cell->text().toStdU16String() : std::u16string());
        }
    }
    return block;
}

}  // namespace

ProjectWindow::ProjectWindow(ProjectWindowServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)) {
    setObjectName(QStringLiteral("ProjectWindow"));
    ProjectWindowControls& controls = *this;
    behaviour_ =
        std::make_unique<ProjectWindowBehaviour>(controls, services_.appDir, services_.makeLauncher,
                                                 services_.workers, services_.computeField);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(BuildTables());
    auto* right = new QSplitter(Qt::Vertical, splitter);
    QWidget* plan = BuildPlan(right);
    results_ = new ProjectResultsPanel(right);
    right->addWidget(plan);
    right->addWidget(results_);
    right->setStretchFactor(0, 3);
    right->setStretchFactor(1, 2);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    setCentralWidget(splitter);
    connect(results_, &ProjectResultsPanel::copyRequested, this,
            [this](CellTable* table) { Copy(table, std::nullopt); });

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("runStatus"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("runProgress"));
    progress_->setMaximumWidth(220);
    progress_->hide();
    statusBar()->addWidget(status_, 1);
    statusBar()->addPermanentWidget(progress_);
    auto* pointer = new QLabel(this);
    statusBar()->addPermanentWidget(pointer);
    pointerValue_ = new QLabel(this);
    pointerValue_->setObjectName(QStringLiteral("pointerValue"));
    statusBar()->addPermanentWidget(pointerValue_);
    connect(plan_, &SitePlanView::pointerMoved, this, [this, pointer](QPointF site) {
        pointer->setText(plan_->pointerText());
        behaviour_->PointerAt(project::SitePoint{site.x(), site.y()});
    });
    connect(plan_, &SitePlanView::pointerLeft, this, [this, pointer] {
        pointer->clear();
        behaviour_->PointerAt(std::nullopt);
    });

    BuildCommands();
    ResizeWithinScreen(*this, QSize(1120, 720));
    behaviour_->Refresh();
    table(TableId::Sources)->setFocus();
}

ProjectWindow::~ProjectWindow() { behaviour_.reset(); }

QWidget* ProjectWindow::BuildPlan(QWidget* parent) {
    auto* panel = new QWidget(parent);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 0);
    planShows_ = new QComboBox(panel);
    planShows_->setObjectName(QStringLiteral("planShows"));
    for (std::u16string_view text : kPlanShowsTexts) planShows_->addItem(Text(text));
    planPollutant_ = new QComboBox(panel);
    planPollutant_->setObjectName(QStringLiteral("planPollutant"));
    planPollutant_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    bar->addWidget(new QLabel(QStringLiteral("图示:"), panel));
    bar->addWidget(planShows_);
    bar->addSpacing(8);
    bar->addWidget(new QLabel(QStringLiteral("污染物:"), panel));
    bar->addWidget(planPollutant_);
    bar->addStretch(1);
    layout->addLayout(bar);
    plan_ = new SitePlanView(panel);
    plan_->setObjectName(QStringLiteral("planView"));
    layout->addWidget(plan_, 1);
    connect(planShows_, &QComboBox::activated, this,
            [this](int index) { behaviour_->SetPlanShows(static_cast<PlanShows>(index)); });
    connect(planPollutant_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0) behaviour_->ChoosePlanPollutant(static_cast<std::size_t>(index));
    });
    return panel;
}

void ProjectWindow::BuildCommands() {
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    QMenu* editMenu = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    QMenu* planMenu = menuBar()->addMenu(QStringLiteral("底图(&P)"));
    QMenu* runMenu = menuBar()->addMenu(QStringLiteral("计算(&C)"));
    QToolBar* bar = addToolBar(QStringLiteral("命令"));
    bar->setObjectName(QStringLiteral("commandBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->setMovable(false);
    for (const ProjectCommandDesign& design : kProjectCommands) {
        auto* action = new QAction(Text(design.caption), this);
        if (!design.shortcut.empty()) {
            action->setShortcut(QKeySequence(Text(design.shortcut)));
            action->setShortcutContext(Qt::WindowShortcut);
        }
        const ProjectCommand command = design.command;
        connect(action, &QAction::triggered, this, [this, command] { Run(command); });
        actions_[static_cast<std::size_t>(command)] = action;
        const bool run = command == ProjectCommand::Compute || command == ProjectCommand::Stop ||
                         command == ProjectCommand::Sheet;
        (run ? runMenu : fileMenu)->addAction(action);
        bar->addAction(action);
        if (command == ProjectCommand::SaveAs || command == ProjectCommand::ImportCsv)
            fileMenu->addSeparator();
        if (command == ProjectCommand::ImportCsv || command == ProjectCommand::Sheet)
            bar->addSeparator();
    }
    fileMenu->insertSeparator(action(ProjectCommand::Close));
    exportDrawing_ = runMenu->addAction(Text(kDxfExportCommand));
    exportDrawing_->setObjectName(QStringLiteral("exportDrawing"));
    connect(exportDrawing_, &QAction::triggered, this,
            [this] { ExportDrawing(this, *behaviour_, services_); });

    QAction* addRow = editMenu->addAction(QStringLiteral("添加行"));
    // As spreadsheets do; Ctrl+Insert is a copy key on some desktops.
    addRow->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(addRow, &QAction::triggered, this, [this] {
        if (auto id = CurrentTable()) AddRow(*id);
    });
    QAction* deleteRows = editMenu->addAction(QStringLiteral("删除行"));
    deleteRows->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    connect(deleteRows, &QAction::triggered, this, [this] {
        if (auto id = CurrentTable()) DeleteRows(*id);
    });
    editMenu->addSeparator();
    // The tables take Ctrl+C and Ctrl+V themselves; the menu names the keys.
    QAction* copy = editMenu->addAction(QStringLiteral("复制\tCtrl+C"));
    connect(copy, &QAction::triggered, this, [this] {
        if (auto id = CurrentTable()) Copy(table(*id), id);
    });
    QAction* paste = editMenu->addAction(QStringLiteral("粘贴\tCtrl+V"));
    connect(paste, &QAction::triggered, this, [this] {
        if (auto id = CurrentTable()) Paste(*id);
    });
    QAction* fieldFile = editMenu->addAction(Text(kFieldFileCommand));
    fieldFile->setObjectName(QStringLiteral("chooseFieldFile"));
    connect(fieldFile, &QAction::triggered, this, [this] { ChooseFieldFile(); });
    bar->addAction(addRow);
    bar->addAction(deleteRows);

    QAction* importDrawing = planMenu->addAction(Text(kDxfImportCommand));
    importDrawing->setObjectName(QStringLiteral("importDrawing"));
    connect(importDrawing, &QAction::triggered, this, [this] { ImportDrawing(); });
    bar->addAction(importDrawing);
    planMenu->addSeparator();
    QAction* choose = planMenu->addAction(QStringLiteral("选择底图…"));
    connect(choose, &QAction::triggered, this, [this] { ChoosePlanImage(); });
    for (int i = 0; i < 2; ++i) {
        planActions_[static_cast<std::size_t>(i)] =
            planMenu->addAction(QStringLiteral("设置参考点 %1…").arg(i + 1));
        connect(planActions_[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { SetPlanPoint(i); });
    }
    planActions_[2] = planMenu->addAction(QStringLiteral("移除底图"));
    connect(planActions_[2], &QAction::triggered, this, [this] {
        behaviour_->RemovePlan();
        ShowSettings();
    });
    planMenu->addSeparator();
    QAction* copyPlan = planMenu->addAction(Text(kCopyPlanCommand));
    copyPlan->setObjectName(QStringLiteral("copyPlan"));
    connect(copyPlan, &QAction::triggered, this, [this] { CopyPlan(); });
    QAction* exportPlan = planMenu->addAction(Text(kExportPlanCommand));
    exportPlan->setObjectName(QStringLiteral("exportPlan"));
    connect(exportPlan, &QAction::triggered, this, [this] { ExportPlanPicture(); });
    bar->addAction(copyPlan);
    planMenu->addSeparator();
    QAction* fit = planMenu->addAction(QStringLiteral("适合窗口"));
    connect(fit, &QAction::triggered, plan_, &SitePlanView::fitToWindow);
}

QWidget* ProjectWindow::BuildTables() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* settings = new QHBoxLayout;
    location_ = new QComboBox(panel);
    location_->setObjectName(QStringLiteral("location"));
    for (std::u16string_view text : kLocationTexts) location_->addItem(Text(text));
    targetDistance_ = new QLineEdit(panel);
    targetDistance_->setObjectName(QStringLiteral("targetDistance"));
    targetDistance_->setMaximumWidth(120);
    settings->addWidget(new QLabel(Text(kLocationLabel), panel));
    settings->addWidget(location_);
    settings->addSpacing(16);
    settings->addWidget(new QLabel(Text(kTargetDistanceLabel), panel));
    settings->addWidget(targetDistance_);
    settings->addStretch(1);
    layout->addLayout(settings);
    connect(location_, &QComboBox::activated, this,
            [this](int index) { behaviour_->SetLocation(static_cast<project::Location>(index)); });
    connect(targetDistance_, &QLineEdit::editingFinished, this, [this] {
        if (targetDistance_->text().toStdU16String() == behaviour_->TargetDistanceText()) return;
        behaviour_->SetTargetDistance(targetDistance_->text().toStdU16String());
        ShowSettings();
    });

    tableTabs_ = new QTabWidget(panel);
    tableTabs_->setObjectName(QStringLiteral("tableTabs"));
    static constexpr std::array<const char*, kAllTables.size()> kNames = {
        "sourcesTable", "emissionsTable", "boundaryTable", "receptorsTable", "fieldsTable"};
    for (TableId id : kAllTables) {
        const auto i = static_cast<std::size_t>(id);
        auto* view = new CellTable(tableTabs_);
        view->setObjectName(QLatin1String(kNames[i]));
        view->setHeaders(Headers(id), false);
        if (auto unit = ColumnOf(id, ColumnKey::Unit)) view->setUnitColumn(static_cast<int>(*unit));
        connect(view, &CellTable::cellEdited, this,
                [this, id](int row, int column, const QString& text) {
                    behaviour_->SetCell(id, static_cast<std::size_t>(row),
                                        static_cast<std::size_t>(column), text.toStdU16String());
                    ShowProblems();
                });
        connect(view, &CellTable::copyRequested, this, [this, id] { Copy(table(id), id); });
        connect(view, &CellTable::pasteRequested, this, [this, id] { Paste(id); });
        tables_[i] = view;
        tableTabs_->addTab(view, Text(TableTitle(id)));
    }
    layout->addWidget(tableTabs_, 1);
    return panel;
}

bool ProjectWindow::openFile(const std::filesystem::path& file) {
    return behaviour_->OpenFile(file);
}

bool ProjectWindow::openFileAsking(const std::filesystem::path& file) {
    if (behaviour_->IsDirty()) {
        switch (AskSaveChanges(u"是否保存对当前项目的修改？")) {
            case SaveAnswer::Cancel:
                return false;
            case SaveAnswer::Save:
                if (!behaviour_->Save()) return false;
                break;
            case SaveAnswer::DontSave:
                break;
        }
    }
    return behaviour_->OpenFile(file);
}

void ProjectWindow::showTable(TableId id) { tableTabs_->setCurrentIndex(static_cast<int>(id)); }

void ProjectWindow::CommitEditing() {
    for (CellTable* view : tables_) view->commitEditing();
    if (targetDistance_->hasFocus()) emit targetDistance_->editingFinished();
}

void ProjectWindow::Run(ProjectCommand command) {
    CommitEditing();
    const CommandOutcome outcome = behaviour_->Run(command, services_.documentsDir);
    if (const auto& range = outcome.imported) {
        showTable(range->table);
        CellTable* view = table(range->table);
        view->clearSelection();
        if (range->rowCount > 0)
            view->setRangeSelected(
                QTableWidgetSelectionRange(static_cast<int>(range->firstRow), 0,
                                           static_cast<int>(range->firstRow + range->rowCount) - 1,
                                           view->columnCount() - 1),
                true);
    }
    if (outcome.sheet && services_.openUrl)
        services_.openUrl(
            QUrl::fromLocalFile(QString::fromStdU16String(outcome.sheet->u16string())));
}

std::optional<TableId> ProjectWindow::CurrentTable() const {
    const int index = tableTabs_->currentIndex();
    if (index < 0) return std::nullopt;
    return kAllTables[static_cast<std::size_t>(index)];
}

void ProjectWindow::Copy(CellTable* view, std::optional<TableId> id) {
    const auto range = view->selectedRange();
    if (!range) return;
    const std::u16string text = id ? behaviour_->Copy(*id, range->firstRow, range->rowCount,
                                                      range->firstColumn, range->columnCount)
                                   : ClipboardText(ShownCells(*view, *range));
    QGuiApplication::clipboard()->setText(QString::fromStdU16String(text));
}

void ProjectWindow::Paste(TableId id) {
    CellTable* view = table(id);
    view->commitEditing();
    const QModelIndex current = view->currentIndex();
    const auto range = view->selectedRange();
    const std::size_t row = range               ? range->firstRow
                            : current.isValid() ? static_cast<std::size_t>(current.row())
                                                : 0;
    const std::size_t column = range               ? range->firstColumn
                               : current.isValid() ? static_cast<std::size_t>(current.column())
                                                   : 0;
    const PasteOutcome outcome =
        behaviour_->Paste(id, row, column, QGuiApplication::clipboard()->text().toStdU16String());
    if (outcome.rowCount == 0) return;
    view->clearSelection();
    view->setRangeSelected(
        QTableWidgetSelectionRange(static_cast<int>(outcome.firstRow),
                                   static_cast<int>(outcome.firstColumn),
                                   static_cast<int>(outcome.firstRow + outcome.rowCount) - 1,
                                   static_cast<int>(outcome.firstColumn + outcome.columnCount) - 1),
        true);
}

void ProjectWindow::AddRow(TableId id) {
    CellTable* view = table(id);
    view->commitEditing();
    const QModelIndex current = view->currentIndex();
    const std::size_t at = current.isValid() ? static_cast<std::size_t>(current.row()) + 1
                                             : behaviour_->Tables().Of(id).rows.size();
    const std::size_t row = behaviour_->AddRows(id, at);
    view->setCurrentCell(static_cast<int>(row), 0);
}

void ProjectWindow::DeleteRows(TableId id) {
    CellTable* view = table(id);
    view->commitEditing();
    std::vector<std::size_t> rows;
    for (const QTableWidgetSelectionRange& range : view->selectedRanges())
        for (int row = range.topRow(); row <= range.bottomRow(); ++row)
            rows.push_back(static_cast<std::size_t>(row));
    if (rows.empty() && view->currentIndex().isValid())
        rows.push_back(static_cast<std::size_t>(view->currentIndex().row()));
    if (!rows.empty()) behaviour_->DeleteRows(id, std::move(rows));
}

void ProjectWindow::ChoosePlanImage() {
    if (!services_.askPath) return;
    auto image = services_.askPath(this, ProjectWindowServices::FileKind::PlanImage, QString());
    if (!image) return;
    behaviour_->SetPlanImage(*image);
    ShowSettings();
    SetPlanPoint(0);
}

void ProjectWindow::ChooseFieldFile() {
    if (!services_.askPath) return;
    CommitEditing();
    CellTable* view = table(TableId::Fields);
    const bool onRow = CurrentTable() == TableId::Fields && view->currentIndex().isValid();
    const std::size_t row = onRow ? static_cast<std::size_t>(view->currentIndex().row())
                                  : behaviour_->Tables().fields.rows.size();
    const auto file = services_.askPath(this, ProjectWindowServices::FileKind::FieldFile, {});
    if (!file) return;
    const std::size_t chosen = behaviour_->SetFieldFile(row, *file);
    showTable(TableId::Fields);
    view->setCurrentCell(static_cast<int>(chosen),
                         static_cast<int>(*ColumnOf(TableId::Fields, ColumnKey::File)));
}

void ProjectWindow::ImportDrawing() {
    if (!services_.askPath) return;
    CommitEditing();
    const std::optional<project::Project> current = behaviour_->ProjectForImport();
    if (!current) return;
    const auto drawing = services_.askPath(this, ProjectWindowServices::FileKind::Drawing, {});
    if (!drawing) return;
    std::optional<DxfImportBehaviour> opened = behaviour_->OpenDrawingImport(*drawing, *current);
    if (!opened) return;
    DxfImportDialog dialog(std::move(*opened), this);
    const bool accepted =
        services_.runDialog ? services_.runDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (!accepted || !dialog.behaviour().CanAccept()) return;
    behaviour_->TakeImport(dialog.behaviour().Imported());
    ShowSettings();
}

void ProjectWindow::SetPlanPoint(int index) {
    const auto& plan = behaviour_->Plan();
    const auto file = behaviour_->PlanImagePath();
    if (!plan || !file) return;
    QImageReader reader(QString::fromStdU16String(file->u16string()));
    reader.setAutoTransform(true);
    PlanReferenceDialog dialog(reader.read(), index, plan->points[static_cast<std::size_t>(index)],
                               this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (auto site = dialog.site())
        behaviour_->SetPlanPoint(static_cast<std::size_t>(index), dialog.pixel(), *site);
}

void ProjectWindow::ShowProblems() {
    const ProjectTables& tables = behaviour_->Tables();
    for (TableId id : kAllTables) {
        CellTable* view = table(id);
        const Table& rows = tables.Of(id);
        for (std::size_t row = 0; row < rows.rows.size(); ++row)
            for (std::size_t column = 0; column < rows.rows[row].cells.size(); ++column)
                view->markCell(static_cast<int>(row), static_cast<int>(column),
                               QString::fromStdU16String(behaviour_->CellProblem(id, row, column)));
    }
}

void ProjectWindow::ShowSettings() {
    const ProjectTables& tables = behaviour_->Tables();
    location_->setCurrentIndex(static_cast<int>(tables.location));
    if (targetDistance_->text().toStdU16String() != tables.targetDistance)
        targetDistance_->setText(QString::fromStdU16String(tables.targetDistance));
    const QString problem = QString::fromStdU16String(behaviour_->TargetDistanceProblem());
    targetDistance_->setToolTip(problem);
    targetDistance_->setStyleSheet(
        problem.isEmpty() ? QString()
                          : QStringLiteral("background-color: %1;").arg(ProblemColour().name()));
    const bool hasPlan = behaviour_->Plan().has_value();
    for (QAction* action : planActions_) action->setEnabled(hasPlan);
}

void ProjectWindow::closeEvent(QCloseEvent* event) {
    CommitEditing();
    if (closing_ || behaviour_->QueryClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

// --- ProjectWindowControls

void ProjectWindow::Post(std::function<void()> task) {
    // Queued on the window's thread; dropped with the window if it is gone by then.
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void ProjectWindow::ShowTitle(std::u16string_view title) { setWindowTitle(Text(title)); }

void ProjectWindow::ShowCommands(const CommandStates& commands) {
    for (const ProjectCommandDesign& design : kProjectCommands)
        action(design.command)->setEnabled(commands[design.command]);
    if (exportDrawing_) exportDrawing_->setEnabled(CanExportDrawing(*behaviour_));
}

void ProjectWindow::ShowTables(const ProjectTables& tables) {
    for (TableId id : kAllTables) {
        CellTable* view = table(id);
        view->showBlock(BlockOf(tables.Of(id)));
        view->resizeColumnsToContents();
        if (!view->currentIndex().isValid() && view->rowCount() > 0) view->setCurrentCell(0, 0);
    }
    ShowProblems();
    ShowSettings();
}

void ProjectWindow::ShowRunStatus(const RunStatus& status) {
    status_->setText(Text(status.text));
    progress_->setVisible(status.state == RunState::Running);
    progress_->setRange(0, static_cast<int>(std::max<std::size_t>(status.total, 1)));
    progress_->setValue(static_cast<int>(status.done));
    progress_->setToolTip(Text(status.current));
}

void ProjectWindow::ShowResults(const ResultsView* results) { results_->showResults(results); }

void ProjectWindow::ShowPlan(const project::SiteFigure& figure) { plan_->setFigure(figure); }

void ProjectWindow::CopyPlan() {
    QGuiApplication::clipboard()->setMimeData(
        PlanMimeData(plan_->figure(), plan_->view(), plan_->width(), plan_->height()).release());
}

void ProjectWindow::ExportPlanPicture() {
    const std::optional<std::filesystem::path> file = services_.askPath(
        this, ProjectWindowServices::FileKind::ExportPicture,
        Text(SuggestedPlanPictureName(behaviour_->Tables().name, behaviour_->File())));
    if (!file) return;
    if (const QString problem = ExportPlan(plan_->figure(), *file); !problem.isEmpty())
        services_.showMessage(this, problem);
}

void ProjectWindow::ShowPointerValue(std::u16string_view text) {
    pointerValue_->setText(Text(text));
}

void ProjectWindow::ShowPlanChoices(const PlanChoices& choices) {
    const QSignalBlocker blockShows(planShows_);
    const QSignalBlocker blockPollutant(planPollutant_);
    planShows_->setCurrentIndex(static_cast<int>(choices.shows));
    planPollutant_->clear();
    for (const std::u16string& name : choices.pollutants) planPollutant_->addItem(Text(name));
    planPollutant_->setCurrentIndex(static_cast<int>(choices.chosen));
    planPollutant_->setEnabled(choices.chooserEnabled());
}

void ProjectWindow::ShowField(const FieldResultsView* field) { results_->showField(field); }

void ProjectWindow::ShowFieldStatus(const FieldStatus& status) {
    plan_->setNote(Text(status.text));
}

void ProjectWindow::ShowMessage(std::u16string_view text) {
    if (services_.showMessage) services_.showMessage(this, Text(text));
}

SaveAnswer ProjectWindow::AskSaveChanges(std::u16string_view question) {
    return services_.askSave ? services_.askSave(this, Text(question)) : SaveAnswer::Cancel;
}

std::optional<std::filesystem::path> ProjectWindow::AskOpenPath() {
    if (!services_.askPath) return std::nullopt;
    return services_.askPath(this, ProjectWindowServices::FileKind::OpenProject, QString());
}

std::optional<std::filesystem::path> ProjectWindow::AskSavePath(std::u16string_view suggestedName) {
    if (!services_.askPath) return std::nullopt;
    return services_.askPath(this, ProjectWindowServices::FileKind::SaveProject,
                             Text(suggestedName));
}

std::optional<std::filesystem::path> ProjectWindow::AskCsvPath() {
    if (!services_.askPath) return std::nullopt;
    return services_.askPath(this, ProjectWindowServices::FileKind::Csv, QString());
}

void ProjectWindow::CloseWindow() {
    closing_ = true;
    close();
}

}  // namespace quorvel
