#pragma once
// The project window on Qt: the project's tables, the plan, the run and its
// results, wired to the toolkit-free ProjectWindowBehaviour.

#include <QtCore/QString>
#include <QtCore/QUrl>
#include <QtWidgets/QMainWindow>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "ui/core/project_window_behaviour.h"

class QAction;
class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTabWidget;

namespace quorvel {

class CellTable;
class ProjectResultsPanel;
class SitePlanView;

// What the project window asks of the desktop. Tests replace the dialogs so
// that nothing blocks and no outside program starts.
struct ProjectWindowServices {
    std::filesystem::path appDir;        // the application directory with the model
    std::filesystem::path documentsDir;  // where the sheets go
    project::LauncherFactory makeLauncher;
    unsigned workers = 0;  // calculations at once; 0: one per hardware thread
    // How the live field is computed (on its own thread); null: ComputeField.
    LiveField::Compute computeField;
    std::function<void(QWidget* parent, const QString& text)> showMessage;
    std::function<SaveAnswer(QWidget* parent, const QString& question)> askSave;
    enum class FileKind {
        OpenProject,
        SaveProject,
        Csv,
        PlanImage,
        Drawing,
        ExportPicture,
        ResultDrawing,
        FieldFile  // a pollutant's field for the 预测浓度场 table
    };
    // A file dialog; nullopt when cancelled. `suggested`: the name offered.
    std::function<std::optional<std::filesystem::path>(QWidget* parent, FileKind kind,
                                                       const QString& suggested)>
        askPath;
    std::function<void(const QUrl& url)> openUrl;
    // Runs a modal dialog; true when the user accepted it. Null: exec().
    std::function<bool(QDialog& dialog)> runDialog;
};

class ProjectWindow : public QMainWindow, private ProjectWindowControls {
    Q_OBJECT
  public:
    explicit ProjectWindow(ProjectWindowServices services, QWidget* parent = nullptr);
    ~ProjectWindow() override;

    // Opens `file` (the program's argument); false after a message when it cannot be.
    bool openFile(const std::filesystem::path& file);
    // Asks about unsaved changes first: false when the user cancelled.
    bool openFileAsking(const std::filesystem::path& file);

    ProjectWindowBehaviour& behaviour() { return *behaviour_; }
    QAction* action(ProjectCommand command) const {
        return actions_[static_cast<std::size_t>(command)];
    }
    CellTable* table(TableId table) const { return tables_[static_cast<std::size_t>(table)]; }
    ProjectResultsPanel* results() const { return results_; }
    SitePlanView* plan() const { return plan_; }
    // The plan's switch (PlanShows) and pollutant chooser.
    QComboBox* planShows() const { return planShows_; }
    QComboBox* planPollutant() const { return planPollutant_; }
    // Shows the table's tab.
    void showTable(TableId table);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // ProjectWindowControls
    void Post(std::function<void()> task) override;
    void ShowTitle(std::u16string_view title) override;
    void ShowCommands(const CommandStates& commands) override;
    void ShowTables(const ProjectTables& tables) override;
    void ShowRunStatus(const RunStatus& status) override;
    void ShowResults(const ResultsView* results) override;
    void ShowPlan(const project::SiteFigure& figure) override;
    void ShowFieldStatus(const FieldStatus& status) override;
    void ShowField(const FieldResultsView* field) override;
    void ShowPlanChoices(const PlanChoices& choices) override;
    void ShowPointerValue(std::u16string_view text) override;
    void ShowMessage(std::u16string_view text) override;
    SaveAnswer AskSaveChanges(std::u16string_view question) override;
    std::optional<std::filesystem::path> AskOpenPath() override;
    std::optional<std::filesystem::path> AskSavePath(std::u16string_view suggestedName) override;
    std::optional<std::filesystem::path> AskCsvPath() override;
    void CloseWindow() override;

    void BuildCommands();
    QWidget* BuildTables();
    // The plan with its switch and pollutant chooser above it.
    QWidget* BuildPlan(QWidget* parent);
    void Run(ProjectCommand command);
    void CommitEditing();
    void ShowProblems();
    void ShowSettings();
    void Copy(CellTable* table, std::optional<TableId> id);
    void Paste(TableId id);
    void AddRow(TableId id);
    void DeleteRows(TableId id);
    std::optional<TableId> CurrentTable() const;
    void ChoosePlanImage();
    // 浏览浓度场文件…: a file into the 预测浓度场 table's current row.
    void ChooseFieldFile();
    // 导入DXF…: a drawing, the dialog, and what it adds into the tables.
    void ImportDrawing();
    void SetPlanPoint(int index);
    // 复制图: the plan as shown onto the clipboard.
    void CopyPlan();
    // 导出图片…: the plan into a PNG or SVG file.
    void ExportPlanPicture();

    ProjectWindowServices services_;
    std::array<QAction*, kProjectCommands.size()> actions_{};
    std::array<CellTable*, kAllTables.size()> tables_{};
    QTabWidget* tableTabs_ = nullptr;
    QComboBox* location_ = nullptr;
    QLineEdit* targetDistance_ = nullptr;
    SitePlanView* plan_ = nullptr;
    QComboBox* planShows_ = nullptr;
    QComboBox* planPollutant_ = nullptr;
    ProjectResultsPanel* results_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* pointerValue_ = nullptr;         // the combined concentration under the pointer
    std::array<QAction*, 3> planActions_{};  // reference points 1, 2 and removing the picture
    bool closing_ = false;                   // CloseWindow was called: the close box lets it go
    QAction* exportDrawing_ = nullptr;       // 导出DXF…
    // Last, so that the run is stopped and joined before the widgets go.
    std::unique_ptr<ProjectWindowBehaviour> behaviour_;
};

}  // namespace quorvel
