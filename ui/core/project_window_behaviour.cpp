#include "ui/core/project_window_behaviour.h"

#include <algorithm>
#include <exception>
#include <fstream>
#include <iterator>
#include <new>
#include <utility>

#include "calc/project/batch/batch_run.h"
#include "calc/project/field/compute_field.h"
#include "calc/project/files/emission_inputs.h"
#include "calc/project/files/project_file.h"
#include "calc/project/limits/emission_limits.h"
#include "calc/project/sheet/field_figure.h"
#include "calc/project/sheet/plan_picture_file.h"
#include "calc/project/sheet/project_sheet.h"
#include "calc/sheet/sheet_file.h"
#include "calc/unicode_text.h"
#include "ui/core/cell_number.h"
#include "ui/core/csv_import.h"
#include "ui/core/form1_design.h"
#include "ui/core/project_sketch.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

std::u16string Decimal(std::size_t n) { return FromUtf8(std::to_string(n)); }

std::u16string ProgressText(std::size_t done, std::size_t total, const std::u16string& current) {
    std::u16string text = u"正在计算（" + Decimal(done) + u"/" + Decimal(total) + u"）";
    if (!current.empty()) text += u"：" + current;
    return text;
}

// The path in the generic form the project file keeps, UTF-8.
std::string GenericUtf8(const fs::path& path) {
    const std::u8string generic = path.generic_u8string();
    return {reinterpret_cast<const char*>(generic.data()), generic.size()};
}

// A file (UTF-8) named relative to the old project file's folder, named
// again so that it is the same file from the new folder.
void RebaseFileName(std::string& name, const fs::path& oldFolder, const fs::path& newFolder) {
    if (name.empty() || oldFolder.empty()) return;
    const fs::path named = PathFromText(FromUtf8(name));
    if (named.is_absolute() || oldFolder == newFolder) return;
    const fs::path file = (oldFolder / named).lexically_normal();
    fs::path relative = file.lexically_relative(newFolder.lexically_normal());
    const fs::path chosen = relative.empty() ? file : relative;
    name = GenericUtf8(chosen);
}

// The plan picture, the tied drawing and the field files, named again for
// the new folder.
void RebaseFiles(ProjectTables& tables, const fs::path& oldFolder, const fs::path& newFolder) {
    if (tables.plan) RebaseFileName(tables.plan->image, oldFolder, newFolder);
    if (tables.cad) RebaseFileName(tables.cad->file, oldFolder, newFolder);
    const std::size_t fileColumn = *ColumnOf(TableId::Fields, ColumnKey::File);
    for (TableRow& row : tables.fields.rows) {
        if (row.cells.size() <= fileColumn || IsBlankText(row.cells[fileColumn])) continue;
        std::string name = ToUtf8(row.cells[fileColumn]);
        RebaseFileName(name, oldFolder, newFolder);
        row.cells[fileColumn] = FromUtf8(name);
    }
}

// The parts of `project` that the combined field depends on.
project::Project FieldInput(const project::Project& project) {
    project::Project input;
    input.location = project.location;
    input.sources = project.sources;
    input.emissions = project.emissions;
    input.boundary = project.boundary;
    input.receptors = project.receptors;
    input.fields = project.fields;
    return input;
}

fs::path Absolute(const fs::path& file) {
    std::error_code ignored;
    fs::path absolute = fs::absolute(file, ignored);
    return absolute.empty() ? file : absolute;
}

}  // namespace

ProjectWindowBehaviour::ProjectWindowBehaviour(ProjectWindowControls& controls, fs::path appDir,
                                               project::LauncherFactory makeLauncher,
                                               unsigned workers, LiveField::Compute computeField)
    : controls_(controls),
      appDir_(std::move(appDir)),
      makeLauncher_(std::move(makeLauncher)),
      workers_(workers) {
    if (!computeField) {
        computeField = [](const project::Project& project, const LiveField::Folder& folder) {
            return project::ComputeField(project, folder);
        };
    }
    std::weak_ptr<int> alive = alive_;
    liveField_ = std::make_unique<LiveField>(
        std::move(computeField), [this, alive](FieldSchedule::Generation generation,
                                               std::shared_ptr<const project::Project> project,
                                               std::shared_ptr<const project::FieldResult> field) {
            controls_.Post([this, alive, generation, project, field] {
                if (alive.lock()) OnField(generation, project, field);
            });
        });
    pointerValue_ = std::make_unique<PointerValue>([this, alive](std::u16string text) {
        controls_.Post([this, alive, text = std::move(text)] {
            if (alive.lock()) controls_.ShowPointerValue(text);
        });
    });
    ScheduleField();
}

ProjectWindowBehaviour::~ProjectWindowBehaviour() {
    worker_.request_stop();
    if (worker_.joinable()) worker_.join();
}

void ProjectWindowBehaviour::Refresh() {
    controls_.ShowTables(tables_);
    ShowState();
    ShowPlan();
    controls_.ShowFieldStatus(fieldStatus_);
    controls_.ShowField(FieldView());
    controls_.ShowPlanChoices(planChoices_);
}

void ProjectWindowBehaviour::ShowPlan() { controls_.ShowPlan(Figure()); }

void ProjectWindowBehaviour::ShowState() {
    controls_.ShowTitle(Title());
    controls_.ShowCommands(Commands());
    controls_.ShowRunStatus(status_);
    controls_.ShowResults(Results());
}

std::u16string ProjectWindowBehaviour::CellProblem(TableId table, std::size_t row,
                                                   std::size_t column) const {
    std::u16string problem = quorvel::CellProblem(tables_, table, row, column);
    if (!problem.empty() || table != TableId::Fields ||
        column != ColumnOf(TableId::Fields, ColumnKey::File))
        return problem;
    return FieldFileReason(row);
}

std::u16string ProjectWindowBehaviour::FieldFileReason(std::size_t row) const {
    const std::vector<TableRow>& rows = tables_.fields.rows;
    if (!field_ || !fieldProject_ || row >= rows.size() || IsBlankRow(rows[row])) return {};
    const auto cell = [&](ColumnKey key) {
        const std::size_t column = *ColumnOf(TableId::Fields, key);
        return column < rows[row].cells.size() ? ToUtf8(rows[row].cells[column]) : std::string();
    };
    const std::string pollutant = cell(ColumnKey::Pollutant);
    const std::string file = cell(ColumnKey::File);
    // Only a field computed from this very file speaks for the row.
    const auto& entries = fieldProject_->fields;
    if (std::none_of(entries.begin(), entries.end(), [&](const project::FieldFile& f) {
            return f.pollutant == pollutant && f.file == file;
        }))
        return {};
    for (const project::PollutantFieldResult& p : field_->pollutants) {
        if (p.pollutant != pollutant) continue;
        if (!p.error.empty()) return p.error;
        return p.note;
    }
    return {};
}

std::u16string ProjectWindowBehaviour::Title() const {
    const std::u16string name = file_.empty() ? kUntitledProject : PathText(file_.filename());
    return name + (dirty_ ? u"*" : u"") + kProjectWindowTitleSuffix;
}

// --- edits

void ProjectWindowBehaviour::Edited() {
    dirty_ = true;
    ++generation_;
    if (status_.state == RunState::Finished) {
        status_.state = RunState::OutOfDate;
        status_.text = u"项目在计算后已修改，结果已过期，请重新计算。";
    }
    ShowState();
    UpdateField();
    ShowPlan();
}

bool ProjectWindowBehaviour::ScheduleField() {
    Result<project::Project> project = ProjectFromTables(tables_);
    if (!project) {
        // Nothing to compute: a field still coming is of the project before.
        const std::u16string text = kFieldUnusableText + project.error();
        if (!fieldInput_ && !fieldStatus_.computing && fieldStatus_.text == text) return false;
        if (fieldInput_ || fieldStatus_.computing) liveField_->Edit(nullptr);
        fieldInput_.reset();
        fieldInputFolder_.reset();
        fieldStatus_ = FieldStatus{false, text};
        return true;
    }
    project::Project input = FieldInput(project.value());
    LiveField::Folder folder = FieldFolder();
    if (fieldInput_ == input && fieldInputFolder_ == folder) return false;
    liveField_->Edit(std::make_shared<const project::Project>(input), folder);
    fieldInput_ = std::move(input);
    fieldInputFolder_ = std::move(folder);
    fieldStatus_ = FieldStatus{true, kFieldComputingText};
    return true;
}

void ProjectWindowBehaviour::UpdateField() {
    if (ScheduleField()) controls_.ShowFieldStatus(fieldStatus_);
}

void ProjectWindowBehaviour::OnField(FieldSchedule::Generation generation,
                                     std::shared_ptr<const project::Project> project,
                                     std::shared_ptr<const project::FieldResult> field) {
    if (!liveField_->IsCurrent(generation)) return;  // an edit came since: its field follows
    fieldProject_ = project;
    fieldFolder_ = fieldInputFolder_;  // the same as the computation's: no edit came since
    field_ = *field;
    fieldView_ = MakeFieldResultsView(*fieldProject_, *field_);
    fieldStatus_ = FieldStatus{};
    if (PlanChoices choices = WithPollutants(planChoices_, ChoosablePollutants(*field_));
        choices != planChoices_) {
        planChoices_ = std::move(choices);
        controls_.ShowPlanChoices(planChoices_);
    }
    pointerValue_->SetField(fieldProject_, fieldFolder_, ChosenPollutant(planChoices_));
    // The field file rows show the new field's reasons.
    std::vector<std::u16string> reasons;
    for (std::size_t row = 0; row < tables_.fields.rows.size(); ++row)
        reasons.push_back(FieldFileReason(row));
    if (reasons != fieldReasons_) {
        fieldReasons_ = std::move(reasons);
        controls_.ShowTables(tables_);
    }
    controls_.ShowFieldStatus(fieldStatus_);
    controls_.ShowField(FieldView());
    ShowPlan();
}

void ProjectWindowBehaviour::SetCell(TableId table, std::size_t row, std::size_t column,
                                     std::u16string text) {
    Table& t = tables_.Of(table);
    if (row >= t.rows.size() || column >= TableColumns(table).size()) return;
    std::vector<std::u16string>& cells = t.rows[row].cells;
    if (cells.size() <= column) cells.resize(TableColumns(table).size());
    if (cells[column] == text) return;
    cells[column] = std::move(text);
    Edited();
}

void ProjectWindowBehaviour::SetLocation(project::Location location) {
    if (tables_.location == location) return;
    tables_.location = location;
    Edited();
}

void ProjectWindowBehaviour::SetTargetDistance(std::u16string text) {
    if (tables_.targetDistance == text) return;
    tables_.targetDistance = std::move(text);
    Edited();
}

std::u16string ProjectWindowBehaviour::TargetDistanceProblem() const {
    return quorvel::TargetDistanceProblem(tables_);
}

// --- the plan

void ProjectWindowBehaviour::SetPlanShows(PlanShows shows) {
    if (planChoices_.shows == shows) return;
    planChoices_.shows = shows;
    controls_.ShowPlanChoices(planChoices_);
    ShowPlan();
}

void ProjectWindowBehaviour::PointerAt(std::optional<project::SitePoint> site) {
    pointerValue_->Ask(site);
}

void ProjectWindowBehaviour::ChoosePlanPollutant(std::size_t index) {
    if (index >= planChoices_.pollutants.size() || index == planChoices_.chosen) return;
    planChoices_.chosen = index;
    pointerValue_->SetField(fieldProject_, fieldFolder_, ChosenPollutant(planChoices_));
    controls_.ShowPlanChoices(planChoices_);
    ShowPlan();
}

const std::optional<project::PlanPicture>& ProjectWindowBehaviour::Picture() const {
    const std::optional<fs::path> file = PlanImagePath();
    if (file == pictureFile_) return picture_;
    pictureFile_ = file;
    picture_.reset();
    if (file && !file->empty()) {
        project::Plan plan = *tables_.plan;
        plan.image = GenericUtf8(*file);
        if (Result<project::PlanPicture> loaded = project::LoadPlanPicture({}, plan)) {
            picture_ = std::move(loaded).value();
        }
    }
    return picture_;
}

const project::dxf::PlanDrawing* ProjectWindowBehaviour::Drawing() const {
    if (!tables_.cad) return nullptr;
    const std::pair<project::CadTie, fs::path> tie{*tables_.cad, ProjectFolder()};
    if (tie != drawingTie_) {
        drawingTie_ = tie;
        drawing_.reset();
        if (Result<project::dxf::PlanDrawing> loaded =
                project::dxf::LoadPlanDrawing(tie.second, tie.first)) {
            drawing_ = std::move(loaded).value();
        }
    }
    return drawing_ ? &*drawing_ : nullptr;
}

fs::path ProjectWindowBehaviour::ProjectFolder() const {
    return file_.empty() ? fs::path() : file_.parent_path();
}

LiveField::Folder ProjectWindowBehaviour::FieldFolder() const {
    return file_.empty() ? LiveField::Folder() : LiveField::Folder(file_.parent_path());
}

std::optional<project::Project> ProjectWindowBehaviour::ProjectForImport() {
    Result<project::Project> current = ProjectFromTables(tables_);
    if (!current) {
        controls_.ShowMessage(u"表格中有不能使用的单元格，请先改正再导入图形：" + current.error());
        return std::nullopt;
    }
    return std::move(current).value();
}

std::optional<DxfImportBehaviour> ProjectWindowBehaviour::OpenDrawingImport(
    const fs::path& drawing, const project::Project& project) {
    Result<DxfImportBehaviour> opened = DxfImportBehaviour::Open(drawing, project, ProjectFolder());
    if (!opened) {
        controls_.ShowMessage(opened.error());
        return std::nullopt;
    }
    return std::move(opened).value();
}

void ProjectWindowBehaviour::TakeImport(const project::Project& imported) {
    tables_ = TablesFromProject(imported);
    controls_.ShowTables(tables_);
    Edited();
}

project::SiteFigure ProjectWindowBehaviour::Figure() const {
    try {
        // The picture and its reference points are always the ones set now.
        if (planChoices_.shows == PlanShows::CurrentRule && field_ && fieldProject_) {
            project::Project shown = *fieldProject_;
            shown.name = tables_.name;
            shown.plan = tables_.plan;
            shown.cad = tables_.cad;
            project::ProjectResults results;
            results.field = *field_;
            return project::BuildFieldFigure(shown, results, {ChosenPollutant(planChoices_)},
                                             Picture(), Drawing());
        }
        if (status_.state == RunState::Finished && runProject_ && results_) {
            project::Project shown = *runProject_;
            shown.plan = tables_.plan;
            return project::BuildSiteFigure(shown, &*results_, Picture(), Drawing());
        }
        return project::BuildSiteFigure(SketchOfTables(tables_), nullptr, Picture(), Drawing());
    } catch (const std::bad_alloc&) {
        return {};
    }
}

std::optional<fs::path> ProjectWindowBehaviour::PlanImagePath() const {
    if (!tables_.plan) return std::nullopt;
    const fs::path image = PathFromText(FromUtf8(tables_.plan->image));
    if (image.empty() || image.is_absolute() || file_.empty()) return image;
    return (file_.parent_path() / image).lexically_normal();
}

std::string ProjectWindowBehaviour::NameInProject(const fs::path& file) const {
    const fs::path absolute = Absolute(file);
    fs::path named = absolute;
    if (!file_.empty()) {
        const fs::path relative =
            absolute.lexically_normal().lexically_relative(file_.parent_path().lexically_normal());
        if (!relative.empty() && *relative.begin() != "..") named = relative;
    }
    return GenericUtf8(named);
}

std::size_t ProjectWindowBehaviour::SetFieldFile(std::size_t row, const fs::path& file) {
    Table& fields = tables_.fields;
    if (row >= fields.rows.size()) row = quorvel::AddRows(fields, row);
    const std::size_t column = *ColumnOf(TableId::Fields, ColumnKey::File);
    fields.rows[row].cells[column] = FromUtf8(NameInProject(file));
    controls_.ShowTables(tables_);
    Edited();
    return row;
}

void ProjectWindowBehaviour::SetPlanImage(const fs::path& image) {
    if (!tables_.plan) {
        project::Plan plan;
        plan.points[0] = {{0, 0}, {0, 0}, {}};
        plan.points[1] = {{100, 100}, {100, -100}, {}};
        tables_.plan = std::move(plan);
    }
    const std::string text = NameInProject(image);
    if (tables_.plan->image == text) return;
    tables_.plan->image = text;
    Edited();
}

bool ProjectWindowBehaviour::SetPlanPoint(std::size_t index, project::SitePoint pixel,
                                          project::SitePoint site) {
    if (!tables_.plan || index >= tables_.plan->points.size()) return false;
    const project::PlanPoint& other = tables_.plan->points[1 - index];
    if (other.pixel == pixel) {
        controls_.ShowMessage(u"两个参考点不能是底图上的同一个像素，否则定不出比例。");
        return false;
    }
    if (other.site == site) {
        controls_.ShowMessage(u"两个参考点不能是同一个场地坐标，否则定不出比例。");
        return false;
    }
    project::PlanPoint& point = tables_.plan->points[index];
    if (point.pixel == pixel && point.site == site) return true;
    point.pixel = pixel;
    point.site = site;
    Edited();
    return true;
}

void ProjectWindowBehaviour::RemovePlan() {
    if (!tables_.plan) return;
    tables_.plan.reset();
    Edited();
}

std::size_t ProjectWindowBehaviour::AddRows(TableId table, std::size_t at, std::size_t count) {
    const std::size_t first = quorvel::AddRows(tables_.Of(table), at, count);
    if (count > 0) {
        controls_.ShowTables(tables_);
        Edited();
    }
    return first;
}

void ProjectWindowBehaviour::DeleteRows(TableId table, std::vector<std::size_t> rows) {
    if (quorvel::DeleteRows(tables_.Of(table), std::move(rows)) == 0) return;
    controls_.ShowTables(tables_);
    Edited();
}

PasteOutcome ProjectWindowBehaviour::Paste(TableId table, std::size_t row, std::size_t column,
                                           std::u16string_view clipboardText) {
    const Table before = tables_.Of(table);
    const PasteOutcome outcome = PasteIntoTable(tables_.Of(table), row, column, clipboardText);
    if (!(tables_.Of(table) == before)) {
        controls_.ShowTables(tables_);
        Edited();
    }
    if (const std::u16string cut = PasteCutText(outcome); !cut.empty()) controls_.ShowMessage(cut);
    return outcome;
}

std::u16string ProjectWindowBehaviour::Copy(TableId table, std::size_t firstRow,
                                            std::size_t rowCount, std::size_t firstColumn,
                                            std::size_t columnCount) const {
    return CopyFromTable(tables_.Of(table), firstRow, rowCount, firstColumn, columnCount);
}

// --- commands

CommandStates ProjectWindowBehaviour::Commands() const {
    const bool running = status_.state == RunState::Running;
    CommandStates states;
    const auto set = [&states](ProjectCommand command, bool enabled) {
        states.enabled[static_cast<std::size_t>(command)] = enabled;
    };
    // A run reports into the project it was started for: no other project
    // may take its place until it has come back.
    set(ProjectCommand::New, !running);
    set(ProjectCommand::Open, !running);
    set(ProjectCommand::Save, true);
    set(ProjectCommand::SaveAs, true);
    set(ProjectCommand::ImportCsv, true);
    set(ProjectCommand::Compute, !running);
    set(ProjectCommand::Stop, running && !status_.stopping);
    // The sheet describes the project as it stands: not from results that
    // an edit has made out of date.
    set(ProjectCommand::Sheet, status_.state == RunState::Finished && results_.has_value());
    set(ProjectCommand::Close, true);
    return states;
}

bool ProjectWindowBehaviour::ResolveUnsaved() {
    if (!dirty_) return true;
    const std::u16string name = file_.empty() ? kUntitledProject : PathText(file_.filename());
    switch (controls_.AskSaveChanges(u"项目“" + name + u"”已修改，是否保存更改？")) {
        case SaveAnswer::Save:
            return Save();
        case SaveAnswer::DontSave:
            return true;
        case SaveAnswer::Cancel:
            break;
    }
    return false;
}

void ProjectWindowBehaviour::ReplaceDocument(ProjectTables tables, fs::path file) {
    tables_ = std::move(tables);
    file_ = std::move(file);
    dirty_ = false;
    ++generation_;
    status_ = RunStatus{};
    runProject_.reset();
    results_.reset();
    view_.reset();
    fieldInput_.reset();
    fieldInputFolder_.reset();
    fieldProject_.reset();
    fieldFolder_.reset();
    field_.reset();
    fieldView_.reset();
    planChoices_ = WithPollutants(planChoices_, {});
    pointerValue_->SetField(nullptr, std::nullopt, {});
    UpdateField();
    Refresh();
}

void ProjectWindowBehaviour::New() {
    if (status_.state == RunState::Running || !ResolveUnsaved()) return;
    ReplaceDocument(ProjectTables{}, {});
}

void ProjectWindowBehaviour::Open() {
    if (status_.state == RunState::Running || !ResolveUnsaved()) return;
    if (const std::optional<fs::path> file = controls_.AskOpenPath()) OpenFile(*file);
}

bool ProjectWindowBehaviour::OpenFile(const fs::path& file) {
    if (status_.state == RunState::Running) return false;
    Result<project::Project> opened = project::OpenProject(file);
    if (!opened) {
        controls_.ShowMessage(opened.error());
        return false;
    }
    ReplaceDocument(TablesFromProject(opened.value()), Absolute(file));
    return true;
}

bool ProjectWindowBehaviour::SaveTo(const fs::path& file) {
    ProjectTables tables = tables_;
    RebaseFiles(tables, file_.parent_path(), file.parent_path());
    const Result<project::Project> project = ProjectFromTables(tables);
    if (!project) {
        controls_.ShowMessage(u"项目无法保存：" + project.error());
        return false;
    }
    if (const quorvel::Status saved = project::SaveProject(file, project.value()); !saved) {
        controls_.ShowMessage(saved.error());
        return false;
    }
    // The names as saved, relative to the new folder.
    tables_.plan = tables.plan;
    tables_.cad = tables.cad;
    const bool renamed = tables_.fields != tables.fields;
    tables_.fields = tables.fields;
    file_ = file;
    dirty_ = false;
    if (renamed) controls_.ShowTables(tables_);
    ShowState();
    UpdateField();  // relative field files now lie in the new folder
    return true;
}

bool ProjectWindowBehaviour::Save() {
    if (file_.empty()) return SaveAs();
    return SaveTo(file_);
}

bool ProjectWindowBehaviour::SaveAs() {
    // Say what stops the save before a name is asked for.
    if (const Result<project::Project> project = ProjectFromTables(tables_); !project) {
        controls_.ShowMessage(u"项目无法保存：" + project.error());
        return false;
    }
    const std::u16string suggested =
        file_.empty()
            ? (tables_.name.empty() ? std::u16string(kUntitledProject) : FromUtf8(tables_.name)) +
                  project::kProjectExtension
            : PathText(file_.filename());
    std::optional<fs::path> file = controls_.AskSavePath(suggested);
    if (!file) return false;
    if (!file->has_extension()) *file += PathFromText(project::kProjectExtension);
    return SaveTo(Absolute(*file));
}

CommandOutcome ProjectWindowBehaviour::Run(ProjectCommand command, const fs::path& documentsDir) {
    CommandOutcome outcome;
    switch (command) {
        case ProjectCommand::New:
            New();
            break;
        case ProjectCommand::Open:
            Open();
            break;
        case ProjectCommand::Save:
            Save();
            break;
        case ProjectCommand::SaveAs:
            SaveAs();
            break;
        case ProjectCommand::ImportCsv:
            outcome.imported = ImportCsvFile();
            break;
        case ProjectCommand::Compute:
            Compute();
            break;
        case ProjectCommand::Stop:
            Stop();
            break;
        case ProjectCommand::Sheet:
            outcome.sheet = WriteSheet(documentsDir);
            break;
        case ProjectCommand::Close:
            Close();
            break;
    }
    return outcome;
}

std::optional<ImportedRange> ProjectWindowBehaviour::ImportCsvFile() {
    const std::optional<fs::path> file = controls_.AskCsvPath();
    if (!file) return std::nullopt;
    std::string bytes;
    try {
        std::ifstream in(*file, std::ios::binary);
        if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in && !in.eof()) {
            controls_.ShowMessage(u"无法读取CSV文件: " + PathText(*file));
            return std::nullopt;
        }
    } catch (const std::exception&) {
        controls_.ShowMessage(u"无法读取CSV文件: " + PathText(*file));
        return std::nullopt;
    }
    Result<ImportedTable> imported = ImportCsv(bytes);
    if (!imported) {
        controls_.ShowMessage(PathText(file->filename()) + u"：" + imported.error());
        return std::nullopt;
    }
    ImportedRange range{imported.value().table, 0, imported.value().rows.size()};
    range.firstRow = AppendImported(tables_, std::move(imported).value());
    controls_.ShowTables(tables_);
    Edited();
    return range;
}

void ProjectWindowBehaviour::Compute() {
    if (status_.state == RunState::Running) return;
    Result<project::Project> converted = ProjectFromTables(tables_);
    if (!converted) {
        controls_.ShowMessage(u"无法计算：" + converted.error());
        return;
    }
    if (converted.value().emissions.empty()) {
        controls_.ShowMessage(u"无法计算：污染物表中还没有排放。");
        return;
    }
    auto project = std::make_shared<const project::Project>(std::move(converted).value());
    runGeneration_ = generation_;
    runFolder_ = file_.parent_path();
    status_ = RunStatus{RunState::Running, 0, project->emissions.size(), {}, {}, false, false};
    status_.text = ProgressText(0, status_.total, {});
    ShowState();

    project::BatchSettings settings{appDir_, workers_};
    project::LauncherFactory factory = makeLauncher_;
    std::weak_ptr<int> alive = alive_;
    LiveField::Folder folder = FieldFolder();
    worker_ = std::jthread([this, project, settings, factory, alive,
                            folder = std::move(folder)](std::stop_token stop) {
        const auto post = [this, alive](std::function<void()> task) {
            controls_.Post([alive, task = std::move(task)] {
                if (alive.lock()) task();
            });
        };
        const project::ProgressCallback progress = [&](const project::BatchProgress& p) {
            // Only the start of an emission names a new current one.
            Progress update{
                p.done, p.total,
                p.result == nullptr ? project::RowLabel(*project, p.index) : std::u16string()};
            post([this, update = std::move(update)] { OnProgress(update); });
        };
        const project::LauncherFactory noLauncher = [](std::stop_token) {
            return std::unique_ptr<ProcessLauncher>();
        };
        const project::LauncherFactory& launcher = factory ? factory : noLauncher;
        auto run = std::make_shared<project::BatchRun>(
            project::RunProject(*project, settings, launcher, progress, stop));
        // The limits settle each emission's largest rates with further runs;
        // a stop leaves out those not yet settled.
        if (!run->cancelled && !stop.stop_requested()) {
            post([this] { OnLimitsProgress(0); });
            project::ComputeLimits(
                *project, run->results, project::PoolSettings{settings.appDir, settings.workers},
                launcher, [&](std::size_t runs) { post([this, runs] { OnLimitsProgress(runs); }); },
                stop);
        }
        const bool limitsStopped = !run->cancelled && stop.stop_requested();
        // The current rule's field goes with the results, so that the sheet
        // gives it as the console tool's does, field files included.
        if (!run->cancelled && !limitsStopped) {
            try {
                run->results.field = project::ComputeField(*project, folder);
            } catch (const std::exception&) {
                run->results.field.reset();  // out of memory: the sheet goes without it
            }
        }
        post([this, run, project, limitsStopped] {
            runProject_ = *project;
            OnFinished(run, limitsStopped);
        });
    });
}

void ProjectWindowBehaviour::OnProgress(const Progress& progress) {
    if (status_.state != RunState::Running) return;
    status_.done = progress.done;
    status_.total = progress.total;
    if (!progress.current.empty()) status_.current = progress.current;
    if (!status_.stopping)
        status_.text = ProgressText(status_.done, status_.total, status_.current);
    controls_.ShowRunStatus(status_);
}

void ProjectWindowBehaviour::OnLimitsProgress(std::size_t runs) {
    if (status_.state != RunState::Running || status_.stopping) return;
    status_.done = status_.total;
    status_.current.clear();
    status_.text = u"正在计算排放限值（已完成 " + Decimal(runs) + u" 次计算）…";
    controls_.ShowRunStatus(status_);
}

void ProjectWindowBehaviour::OnFinished(std::shared_ptr<project::BatchRun> run,
                                        bool limitsStopped) {
    results_ = std::move(run->results);
    view_ = MakeResultsView(*runProject_, *results_);
    const bool current = runGeneration_ == generation_;
    status_ = RunStatus{};
    status_.state = current ? RunState::Finished : RunState::OutOfDate;
    status_.total = results_->emissions.size();
    status_.done = status_.total;
    status_.cancelled = run->cancelled || limitsStopped;
    status_.text = run->cancelled  ? u"计算已停止，未计算的项已注明。"
                   : limitsStopped ? u"计算已停止，排放限值未全部算出。"
                                   : u"计算完成。";
    if (!current) status_.text += u"项目在计算期间已修改，结果已过期，请重新计算。";
    ShowState();
    ShowPlan();
    if (closeRequested_) controls_.CloseWindow();
}

void ProjectWindowBehaviour::Stop() {
    if (status_.state != RunState::Running || status_.stopping) return;
    worker_.request_stop();
    status_.stopping = true;
    status_.text = u"正在停止计算…";
    ShowState();
}

std::optional<fs::path> ProjectWindowBehaviour::WriteSheet(const fs::path& documentsDir) {
    if (!Commands()[ProjectCommand::Sheet] || !runProject_ || !results_) return std::nullopt;
    if (documentsDir.empty()) {
        controls_.ShowMessage(kNoDocumentsFolderText);
        return std::nullopt;
    }
    try {
        std::optional<project::PlanPicture> picture;
        if (runProject_->plan) {
            Result<project::PlanPicture> loaded =
                project::LoadPlanPicture(runFolder_, *runProject_->plan);
            if (loaded) {
                picture = std::move(loaded).value();
            } else {
                controls_.ShowMessage(loaded.error() + u"\r\n计算书中的厂区图将不含平面图。");
            }
        }
        const std::string html = project::ProjectSheetHtml(*runProject_, *results_, picture);
        Result<fs::path> saved = SaveSheetInDocuments(
            documentsDir, project::ProjectSheetFileName(results_->finished), html);
        if (!saved) {
            controls_.ShowMessage(saved.error());
            return std::nullopt;
        }
        return std::move(saved).value();
    } catch (const std::bad_alloc&) {
        controls_.ShowMessage(u"内存不足，无法保存计算书!");
        return std::nullopt;
    }
}

void ProjectWindowBehaviour::Close() {
    if (QueryClose()) controls_.CloseWindow();
}

bool ProjectWindowBehaviour::QueryClose() {
    if (closeRequested_) return false;  // already closing once the run is back
    if (!ResolveUnsaved()) return false;
    if (status_.state != RunState::Running) return true;
    closeRequested_ = true;
    Stop();
    return false;
}

}  // namespace quorvel
