#pragma once
// The project window's decisions, toolkit-free: the document and its dirty
// state, the title, the commands and when each may be used, the save prompt,
// the run on a background thread with its progress and results, and the
// sheet. A front end implements ProjectWindowControls for its own controls,
// forwards the user's edits and commands here and shows what it is told.
//
// Threads: every member function is called on the front end's UI thread,
// and every ProjectWindowControls function except Post is called on it
// too. The run computes on a thread of its own; it reaches the window only
// through Post, whose tasks the front end runs on its UI thread.

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "calc/project/batch/batch_run.h"
#include "calc/project/batch/calculation_pool.h"
#include "calc/project/dxf/plan_drawing.h"
#include "calc/project/project.h"
#include "calc/project/project_results.h"
#include "calc/project/sheet/plan_picture.h"
#include "calc/project/sheet/site_figure.h"
#include "ui/core/dxf_import_behaviour.h"
#include "ui/core/field_results_view.h"
#include "ui/core/live_field.h"
#include "ui/core/plan_choice.h"
#include "ui/core/pointer_value.h"
#include "ui/core/project_commands.h"
#include "ui/core/project_results_view.h"
#include "ui/core/project_tables.h"
#include "ui/core/table_clipboard.h"

namespace quorvel {

inline constexpr char16_t kProjectWindowTitleSuffix[] = u" - Quorvel项目计算";
inline constexpr char16_t kUntitledProject[] = u"未命名";
// The save prompt's buttons, left to right.
inline constexpr char16_t kSaveButtonText[] = u"保存";
inline constexpr char16_t kDontSaveButtonText[] = u"不保存";
inline constexpr char16_t kCancelButtonText[] = u"取消";
// The location list, indexed by project::Location.
inline constexpr std::array<std::u16string_view, 2> kLocationTexts = {u"农村", u"城市"};
// The labels of the project's own settings beside the tables.
inline constexpr char16_t kLocationLabel[] = u"项目所在位置:";
inline constexpr char16_t kTargetDistanceLabel[] = u"目标距离 (m):";
// Over the plan while the combined field is computed again after an edit.
inline constexpr char16_t kFieldComputingText[] = u"正在计算浓度场…";
// Over the plan, before the reason, while the tables cannot be computed.
inline constexpr char16_t kFieldUnusableText[] = u"表格中有不能使用的单元格，浓度场未更新：";

// The command that fills the 预测浓度场 table's row with a file, its file
// dialog's title and filter.
inline constexpr char16_t kFieldFileCommand[] = u"浏览浓度场文件…";
inline constexpr char16_t kFieldFileTitle[] = u"选择浓度场文件";
inline constexpr char16_t kFieldFileFilter[] =
    u"浓度场文件 (*.plt *.PLT *.grd *.GRD *.csv *.CSV *.txt);;所有文件 (*)";

enum class SaveAnswer { Save, DontSave, Cancel };

enum class RunState {
    Idle,       // nothing computed since the project was opened or made
    Running,    // a run is going on
    Finished,   // the results stand for the project as it is
    OutOfDate,  // the project was edited after (or during) the run of the results shown
};

struct RunStatus {
    RunState state = RunState::Idle;
    std::size_t done = 0;   // emissions finished, 0 to total (while running)
    std::size_t total = 0;  // emissions of the run
    // While running: the emission that started last, "排放源“S1”（罐区）的
    // 污染物“非甲烷总烃”"; else empty.
    std::u16string current;
    std::u16string text;  // the status line, e.g. "正在计算（3/8）：…", "计算完成。"
    bool cancelled = false;  // the results shown are of a stopped run
    bool stopping = false;   // 停止 was pressed; the run is winding down
};

// The combined field behind the plan: whether the one shown is still being
// computed again after an edit.
struct FieldStatus {
    bool computing = false;  // an edit's field is still to come; the plan shows the one before
    // The plan's note: "正在计算浓度场…" while computing, why the field cannot
    // be computed as the tables stand, or empty.
    std::u16string text;
};

class ProjectWindowControls {
  public:
    virtual ~ProjectWindowControls() = default;

    // Runs `task` on the UI thread soon, after the events already queued;
    // tasks run in the order they were posted. May be called from any
    // thread, also while a task or another member runs, until the behaviour
    // is destroyed (its destructor waits for the run's thread). A task posted
    // before the behaviour is destroyed may still be run after: it then does
    // nothing.
    virtual void Post(std::function<void()> task) = 0;

    virtual void ShowTitle(std::u16string_view title) = 0;
    virtual void ShowCommands(const CommandStates& commands) = 0;
    // The tables were replaced as a whole (new, open, import, paste, rows
    // added or deleted): show every row and mark the cells with problems
    // (ProjectWindowBehaviour::CellProblem).
    virtual void ShowTables(const ProjectTables& tables) = 0;
    virtual void ShowRunStatus(const RunStatus& status) = 0;
    // The results tables and texts; null: none to show.
    virtual void ShowResults(const ResultsView* results) = 0;
    // The plan view's figure changed (an edit, a run's results, the plan
    // picture): paint this one.
    virtual void ShowPlan(const project::SiteFigure& figure) = 0;
    // Whether the plan's field is being computed again; shown over the plan.
    virtual void ShowFieldStatus(const FieldStatus& status) { (void)status; }
    // The combined concentration under the plan's pointer (PointerValue's
    // text); empty when there is none.
    virtual void ShowPointerValue(std::u16string_view text) { (void)text; }
    // The plan's switch and pollutant chooser.
    virtual void ShowPlanChoices(const PlanChoices& choices) { (void)choices; }
    // The combined field's tables and texts (the 现行导则 tab); null: none yet.
    virtual void ShowField(const FieldResultsView* field) { (void)field; }
    // A modal message with one OK button; returns once it is closed.
    virtual void ShowMessage(std::u16string_view text) = 0;
    // The modal question with the buttons 保存, 不保存, 取消; closing it
    // without a button is Cancel.
    virtual SaveAnswer AskSaveChanges(std::u16string_view question) = 0;
    // File dialogs; nullopt when cancelled. The project dialogs filter on
    // "*.qvproj"; the CSV one on "*.csv".
    virtual std::optional<std::filesystem::path> AskOpenPath() = 0;
    virtual std::optional<std::filesystem::path> AskSavePath(std::u16string_view suggestedName) = 0;
    virtual std::optional<std::filesystem::path> AskCsvPath() = 0;
    // Closes the window for good.
    virtual void CloseWindow() = 0;
};

// Where an import put its rows, for the front end to show that table.
struct ImportedRange {
    TableId table = TableId::Sources;
    std::size_t firstRow = 0;
    std::size_t rowCount = 0;
};

// What a command leaves for the front end to show: the rows an import put in
// a table, to select them; the sheet it wrote, to open it in the browser.
struct CommandOutcome {
    std::optional<ImportedRange> imported;
    std::optional<std::filesystem::path> sheet;
};

class ProjectWindowBehaviour {
  public:
    // appDir: the application directory with the model program. makeLauncher:
    // the front end's way to run the model (called on the run's threads);
    // null when there is none, and every row then fails with the
    // model-not-started text. workers: calculations at once, 0 for one per
    // hardware thread. computeField: how the live field is computed (on the
    // field's thread); null for ComputeField. Starts with a new, unnamed
    // project; calls no control until Refresh or a command.
    ProjectWindowBehaviour(ProjectWindowControls& controls, std::filesystem::path appDir,
                           project::LauncherFactory makeLauncher, unsigned workers = 0,
                           LiveField::Compute computeField = {});
    // Stops a run that is going on and waits for its thread.
    ~ProjectWindowBehaviour();
    ProjectWindowBehaviour(const ProjectWindowBehaviour&) = delete;
    ProjectWindowBehaviour& operator=(const ProjectWindowBehaviour&) = delete;

    // Shows everything: title, commands, tables, run status and results.
    void Refresh();

    // --- the document
    const ProjectTables& Tables() const { return tables_; }
    // The cell's tooltip; empty when the cell is usable. A field file row's
    // file cell also carries why the field shown could not use that file,
    // or its note (FieldFileReason).
    std::u16string CellProblem(TableId table, std::size_t row, std::size_t column) const;
    // Why the live field shown refused the file of the 预测浓度场 table's
    // `row` (from 0), or its note on that file's field; empty when there is
    // none, or when the field shown was computed before the row's pollutant
    // and file were as they are.
    std::u16string FieldFileReason(std::size_t row) const;
    bool IsDirty() const { return dirty_; }
    // The project file; empty for a project not yet saved.
    const std::filesystem::path& File() const { return file_; }
    std::u16string Title() const;

    // --- edits; each one that changes something makes the project dirty and
    // marks results as out of date. Edits are taken while a run goes on.
    // A cell the user has left: its text as typed.
    void SetCell(TableId table, std::size_t row, std::size_t column, std::u16string text);
    void SetLocation(project::Location location);
    // The target distance (m) as typed; blank for none.
    void SetTargetDistance(std::u16string text);
    const std::u16string& TargetDistanceText() const { return tables_.targetDistance; }
    // The target distance field's tooltip; empty when it is usable.
    std::u16string TargetDistanceProblem() const;
    // `count` empty rows before `at` (rows.size() or more appends); returns the first.
    std::size_t AddRows(TableId table, std::size_t at, std::size_t count = 1);
    void DeleteRows(TableId table, std::vector<std::size_t> rows);
    // Ctrl+V at the selected cell; columns cut are told in a message.
    PasteOutcome Paste(TableId table, std::size_t row, std::size_t column,
                       std::u16string_view clipboardText);
    // Ctrl+C of a rectangular selection: the clipboard text.
    std::u16string Copy(TableId table, std::size_t firstRow, std::size_t rowCount,
                        std::size_t firstColumn, std::size_t columnCount) const;

    // --- the plan
    // The plan view's figure: the rows of the tables that can be placed, the
    // plan picture, and while the results are current their discs and zone.
    project::SiteFigure Figure() const;
    // The switch between the current rule and each source's control range.
    void SetPlanShows(PlanShows shows);
    // The chooser's item `index` (0: all pollutants); an index beyond the
    // items is ignored.
    void ChoosePlanPollutant(std::size_t index);
    const PlanChoices& PlanChoicesShown() const { return planChoices_; }
    // The pointer is over the plan at `site` (m), or left it (nullopt): its
    // value comes later through ShowPointerValue.
    void PointerAt(std::optional<project::SitePoint> site);
    // The plan picture the user chose (any folder; kept relative to the
    // project file's folder when it is inside it). Its reference points stay
    // as they were; a new plan starts with (0, 0) and (100, 100) pixels at
    // the same site coordinates, to be set with SetPlanPoint.
    void SetPlanImage(const std::filesystem::path& image);
    // Reference point 0 or 1: `pixel` of the picture (from its top-left
    // corner, y down) lies at `site` (m). Ignored without a plan. A point on
    // the other one's pixel or site coordinates gives no scale, and the file
    // would not open again: it is refused with a message (false).
    bool SetPlanPoint(std::size_t index, project::SitePoint pixel, project::SitePoint site);
    void RemovePlan();
    // The field file the user chose for the 预测浓度场 table's `row` (from 0;
    // rows.size() or more: a new row at the end), named relative to the
    // project file's folder when it lies inside it, else absolute. Returns
    // the row it went into.
    std::size_t SetFieldFile(std::size_t row, const std::filesystem::path& file);
    const std::optional<project::Plan>& Plan() const { return tables_.plan; }

    // --- the site plan drawing
    // 导入DXF…, before its file dialog: the project the tables stand for,
    // for the import to build on; nullopt after a message naming the cell
    // that cannot be used.
    std::optional<project::Project> ProjectForImport();
    // The import dialog's decisions for `drawing` into `project`
    // (ProjectForImport); nullopt after a message when the drawing cannot be used.
    std::optional<DxfImportBehaviour> OpenDrawingImport(const std::filesystem::path& drawing,
                                                        const project::Project& project);
    // The folder the project file lies in; empty for a project not saved yet.
    std::filesystem::path ProjectFolder() const;
    // The same for the field's files: nullopt for a project not saved yet.
    LiveField::Folder FieldFolder() const;
    // Puts the project an import from a drawing made in place of the tables
    // (DxfImportBehaviour::Imported); the drawing is then drawn under the plan.
    void TakeImport(const project::Project& imported);
    // The plan picture's file, absolute; nullopt without a plan.
    std::optional<std::filesystem::path> PlanImagePath() const;

    // --- commands
    CommandStates Commands() const;
    // A command of the menu or the tool bar, by the functions below.
    // documentsDir: the documents folder, where 计算书 writes the sheet.
    CommandOutcome Run(ProjectCommand command, const std::filesystem::path& documentsDir);
    void New();
    void Open();
    // Opens `file` without asking (the program's argument, or after 打开…),
    // also when the current project has unsaved changes: the caller asks
    // first. False, after the reason in a message, when it cannot be opened.
    bool OpenFile(const std::filesystem::path& file);
    // True once saved; false when it could not be (message shown) or the
    // user cancelled the file dialog.
    bool Save();
    bool SaveAs();
    std::optional<ImportedRange> ImportCsvFile();
    void Compute();
    void Stop();
    // 计算书: writes the project sheet of the results into
    // documentsDir/Quorvel and returns its path, for the front end to open in
    // the desktop's browser; nullopt after a message when it cannot, and
    // without one when the command is not enabled.
    std::optional<std::filesystem::path> WriteSheet(const std::filesystem::path& documentsDir);
    // 关闭: closes the window unless the user cancels the save prompt.
    void Close();
    // The close box: true when the window may close now. False when the user
    // cancelled, or when a run is still going on: it is stopped and the
    // window is closed (CloseWindow) as soon as the run has come back.
    bool QueryClose();

    // --- the run
    const RunStatus& Status() const { return status_; }
    // The results shown; null before any run has finished.
    const ResultsView* Results() const { return view_ ? &*view_ : nullptr; }
    const project::ProjectResults* RawResults() const { return results_ ? &*results_ : nullptr; }
    // The project as the results' run computed it; null before any run.
    const project::Project* ResultsProject() const { return runProject_ ? &*runProject_ : nullptr; }

    // --- the live field
    // The combined field shown, of the project as it was at FieldProject;
    // null before the first one has come.
    const project::FieldResult* Field() const { return field_ ? &*field_ : nullptr; }
    const project::Project* FieldProject() const {
        return fieldProject_ ? &*fieldProject_ : nullptr;
    }
    const FieldStatus& FieldState() const { return fieldStatus_; }
    const FieldResultsView* FieldView() const { return fieldView_ ? &*fieldView_ : nullptr; }

  private:
    struct Progress {
        std::size_t done = 0;
        std::size_t total = 0;
        std::u16string current;
    };

    void Edited();
    void ShowPlan();
    // `file` as the project names it: relative to the project file's folder
    // when inside it, else absolute (UTF-8, forward slashes).
    std::string NameInProject(const std::filesystem::path& file) const;
    // The plan picture of the tables' plan, read again only when its file changes.
    const std::optional<project::PlanPicture>& Picture() const;
    // The tied drawing's lines, read again only when the tie changes; null
    // without a tie or when the drawing cannot be read.
    const project::dxf::PlanDrawing* Drawing() const;
    void MarkClean();
    void ReplaceDocument(ProjectTables tables, std::filesystem::path file);
    // Asks about unsaved changes; true when the caller may go on.
    bool ResolveUnsaved();
    bool SaveTo(const std::filesystem::path& file);
    void ShowState();
    // The tables changed: a new field when what it depends on changed; true
    // when the field's status changed. UpdateField also shows it.
    bool ScheduleField();
    void UpdateField();
    void OnField(FieldSchedule::Generation generation,
                 std::shared_ptr<const project::Project> project,
                 std::shared_ptr<const project::FieldResult> field);
    void OnProgress(const Progress& progress);
    void OnLimitsProgress(std::size_t runs);
    void OnFinished(std::shared_ptr<project::BatchRun> run, bool limitsStopped);

    ProjectWindowControls& controls_;
    std::filesystem::path appDir_;
    project::LauncherFactory makeLauncher_;
    unsigned workers_ = 0;

    ProjectTables tables_;
    std::filesystem::path file_;
    bool dirty_ = false;
    unsigned long long generation_ = 0;     // counts the edits
    unsigned long long runGeneration_ = 0;  // the edit count at the start of the results' run

    RunStatus status_;
    std::optional<project::Project> runProject_;  // the project of the results' run
    std::filesystem::path runFolder_;             // its file's folder then, for the plan picture
    std::optional<project::ProjectResults> results_;
    std::optional<ResultsView> view_;
    bool closeRequested_ = false;

    mutable std::optional<std::filesystem::path> pictureFile_;  // the file of `picture_`
    mutable std::optional<project::PlanPicture> picture_;
    mutable std::optional<std::pair<project::CadTie, std::filesystem::path>> drawingTie_;
    mutable std::optional<project::dxf::PlanDrawing> drawing_;

    // What the field was last asked for (the parts of the project it depends
    // on); empty when the tables could not be used.
    std::optional<project::Project> fieldInput_;
    LiveField::Folder fieldInputFolder_;  // and the folder of its field files
    std::shared_ptr<const project::Project> fieldProject_;
    LiveField::Folder fieldFolder_;  // the folder of fieldProject_'s field files
    std::optional<project::FieldResult> field_;
    std::optional<FieldResultsView> fieldView_;
    FieldStatus fieldStatus_;
    std::vector<std::u16string> fieldReasons_;  // FieldFileReason of each row as last shown
    PlanChoices planChoices_;

    // Posted tasks hold it weakly: once the behaviour is gone they do nothing.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    // Destroyed before the members above: no result comes after they are gone.
    std::unique_ptr<LiveField> liveField_;
    std::unique_ptr<PointerValue> pointerValue_;
    // Last, so that it is stopped and joined before the rest goes.
    std::jthread worker_;
};

}  // namespace quorvel
