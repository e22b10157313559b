#pragma once
// The project window on Win32: menu and tool bar with the nine commands, the
// four tables on tabs, the location and the target distance, the plan, the
// run's progress and the results, wired to ProjectWindowBehaviour.

#include <windows.h>

#include <array>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>

#include "ui/core/project_window_behaviour.h"
#include "ui/win32/cell_list_view.h"
#include "ui/win32/field_results_pane.h"
#include "ui/win32/plan_field_bar.h"
#include "ui/win32/plan_view.h"
#include "ui/win32/project_window_ids.h"

namespace quorvel {

class ProjectWindow : private ProjectWindowControls {
  public:
    // closed: called once the window is gone.
    ProjectWindow(const std::filesystem::path& appDir, std::function<void()> closed);
    ~ProjectWindow() override;
    ProjectWindow(const ProjectWindow&) = delete;
    ProjectWindow& operator=(const ProjectWindow&) = delete;

    bool Create(HINSTANCE instance, int showCommand);
    // Opens a project file (the program's argument).
    bool OpenFile(const std::filesystem::path& file) { return behaviour_->OpenFile(file); }
    HWND window() const { return window_; }
    // The keys of the project window `message` is for, if any, for the
    // thread's message loop; true when the message was one of them.
    static bool TranslateKeys(MSG& message);

  private:
    // The tasks posted from any thread, run by the window's thread on a
    // registered message; the window's handle is forgotten when it goes.
    struct PostQueue {
        std::mutex mutex;
        HWND window = nullptr;
        std::deque<std::function<void()>> tasks;
    };

    template <class Owner>
    friend LRESULT CALLBACK OwnedWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void Layout();
    void LayOutStatusParts();
    void RunCommand(ProjectCommand command);
    void RunPosted();
    CellListView& CurrentTable();
    void ShowTab(int tab);
    void ShowResultsTab(int tab);
    void CopySelection();
    void PasteClipboard();
    void ChoosePlan();
    // 浏览浓度场文件…: a file into the 预测浓度场 table's selected row, or a new one.
    void ChooseFieldFile();
    // 导入DXF…: a drawing, the dialog, and what it adds into the tables.
    void ImportDrawing();
    void ExportDrawing();
    // Asks for reference point `index` (0 or 1) of the plan picture.
    void SetPlanPoint(int index);

    // ProjectWindowControls
    void Post(std::function<void()> task) override;
    void ShowTitle(std::u16string_view title) override;
    void ShowCommands(const CommandStates& commands) override;
    void ShowTables(const ProjectTables& tables) override;
    void ShowRunStatus(const RunStatus& status) override;
    void ShowResults(const ResultsView* results) override;
    void ShowPlan(const project::SiteFigure& figure) override;
    void ShowFieldStatus(const FieldStatus& status) override;
    void ShowPointerValue(std::u16string_view text) override;
    void ShowPlanChoices(const PlanChoices& choices) override;
    void ShowField(const FieldResultsView* field) override;
    // The run's conclusion, then the current rule's.
    void ShowConclusion();
    void ShowMessage(std::u16string_view text) override;
    SaveAnswer AskSaveChanges(std::u16string_view question) override;
    std::optional<std::filesystem::path> AskOpenPath() override;
    std::optional<std::filesystem::path> AskSavePath(std::u16string_view suggestedName) override;
    std::optional<std::filesystem::path> AskCsvPath() override;
    void CloseWindow() override;

    std::function<void()> closed_;
    std::shared_ptr<PostQueue> queue_ = std::make_shared<PostQueue>();
    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    HMENU menu_ = nullptr;
    HMENU pictureMenu_ = nullptr;  // 图: 复制图 and 导出图片…, also the plan's context menu
    HACCEL accelerators_ = nullptr;
    HFONT font_ = nullptr;
    UINT dpi_ = 96;
    HWND toolbar_ = nullptr;
    HWND locationLabel_ = nullptr, location_ = nullptr;
    HWND distanceLabel_ = nullptr, distance_ = nullptr;
    HWND tableTabs_ = nullptr, addRow_ = nullptr, deleteRow_ = nullptr;
    HWND resultTabs_ = nullptr, conclusion_ = nullptr;
    std::array<HWND, 4> results_{};  // emissions, sources, receptors, limits
    HWND progress_ = nullptr, stop_ = nullptr, status_ = nullptr, planButton_ = nullptr;
    std::array<std::unique_ptr<CellListView>, kAllTables.size()> tables_;
    PlanView plan_;
    PlanFieldBar planBar_;
    FieldResultsPane fieldPane_;
    std::u16string runConclusion_, fieldConclusion_;
    int tab_ = 0;
    int resultTab_ = 0;
    bool settingControls_ = false;  // filling the fields: their change is no edit
    bool planDialogOpen_ = false;   // the window stays while its dialog is up
    std::wstring statusText_, pointerText_, pointerValue_;
    std::array<int, 3> statusParts_{};  // the edges last given to the status bar
    // Last: gone (its run stopped and joined) before the controls.
    std::unique_ptr<ProjectWindowBehaviour> behaviour_;
};

}  // namespace quorvel
