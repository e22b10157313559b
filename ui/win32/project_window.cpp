#include "ui/win32/project_window.h"

// After windows.h, which they build on:
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "ui/console/runner_launchers.h"
#include "ui/core/plan_picture_format.h"
#include "ui/core/result_drawing_export.h"
#include "ui/win32/cjk_font.h"
#include "ui/win32/dxf_import_dialog.h"
#include "ui/win32/owned_window.h"
#include "ui/win32/plan_picture_commands.h"
#include "ui/win32/plan_reference_dialog.h"
#include "ui/win32/result_list.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/window_dpi.h"
#include "ui/win32/window_text.h"

namespace quorvel {
namespace {

constexpr int kCommandId = project_window_ids::kCommand;
constexpr int kPlanCommandId = project_window_ids::kPlanCommand;
constexpr int kPlanPointCommandId = project_window_ids::kPlanPointCommand;
constexpr int kToolbarId = project_window_ids::kToolbar;
constexpr int kLocationId = project_window_ids::kLocation;
constexpr int kDistanceId = project_window_ids::kDistance;
constexpr int kTableTabsId = project_window_ids::kTableTabs;
constexpr int kAddRowId = project_window_ids::kAddRow;
constexpr int kDeleteRowId = project_window_ids::kDeleteRow;
constexpr int kResultTabsId = project_window_ids::kResultTabs;
constexpr int kConclusionId = project_window_ids::kConclusion;
constexpr int kProgressId = project_window_ids::kProgress;
constexpr int kStopId = project_window_ids::kStop;
constexpr int kStatusId = project_window_ids::kStatus;
constexpr int kPlanId = project_window_ids::kPlan;
constexpr int kPlanButtonId = project_window_ids::kPlanButton;
constexpr int kFirstTableId = project_window_ids::kFirstTable;
constexpr int kFirstResultId = project_window_ids::kFirstResult;

constexpr std::array<const wchar_t*, 6> kResultTabTexts = {L"排放",     L"排放源",   L"敏感目标",
                                                           L"排放限值", L"现行导则", L"结论"};
constexpr int kFieldTab = 4;
constexpr int kConclusionTab = 5;

// The registered message that runs the posted tasks.
UINT PostedMessage() {
    static const UINT message = RegisterWindowMessageW(L"QuorvelProjectWindowPosted");
    return message;
}

std::wstring MenuCaption(const ProjectCommandDesign& design) {
    std::wstring caption = Wide(design.caption);
    if (!design.shortcut.empty()) caption += L"\t" + Wide(design.shortcut);
    return caption;
}

ACCEL AcceleratorOf(const ProjectCommandDesign& design) {
    const std::u16string_view key = design.shortcut;
    ACCEL accel{};
    accel.cmd = static_cast<WORD>(kCommandId + static_cast<int>(design.command));
    if (key == u"F5") {
        accel.fVirt = FVIRTKEY;
        accel.key = VK_F5;
    } else {
        accel.fVirt = FVIRTKEY | FCONTROL;
        accel.key = static_cast<WORD>(key.back());  // "Ctrl+N": the letter's virtual key
    }
    return accel;
}

std::optional<std::filesystem::path> FileDialog(HWND owner, const wchar_t* filter,
                                                const wchar_t* extension, bool save,
                                                std::wstring suggested = {}) {
    std::wstring file = std::move(suggested);
    file.resize(32768);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt = extension;
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR |
                   (save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
    if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return std::nullopt;
    return std::filesystem::path(file.c_str());
}

void SetClipboardText(HWND owner, const std::u16string& text) {
    if (!OpenClipboard(owner)) return;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (auto* target = static_cast<wchar_t*>(GlobalLock(memory))) {
            std::copy(text.begin(), text.end(), target);
            target[text.size()] = L'\0';
            GlobalUnlock(memory);
            if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

std::optional<std::u16string> ClipboardUnicodeText(HWND owner) {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner)) return std::nullopt;
    std::optional<std::u16string> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            const std::size_t limit = GlobalSize(data) / sizeof(wchar_t);
            std::size_t length = 0;
            while (length < limit && chars[length] != L'\0') ++length;
            text = Utf16(std::wstring_view(chars, length));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace

ProjectWindow::ProjectWindow(const std::filesystem::path& appDir, std::function<void()> closed)
    : closed_(std::move(closed)),
      plan_([this](const std::wstring& text) {
          pointerText_ = text;
          if (status_)
              SendMessageW(status_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(text.c_str()));
      }),
      planBar_({[this](PlanShows shows) { behaviour_->SetPlanShows(shows); },
                [this](std::size_t index) { behaviour_->ChoosePlanPollutant(index); }}) {
    plan_.OnPointerAt(
        [this](std::optional<project::SitePoint> site) { behaviour_->PointerAt(site); });
    for (TableId id : kAllTables) {
        const auto index = static_cast<std::size_t>(id);
        CellEvents events;
        events.commit = [this, id](std::size_t row, std::size_t column, std::u16string text) {
            behaviour_->SetCell(id, row, column, std::move(text));
        };
        events.problem = [this, id](std::size_t row, std::size_t column) {
            return behaviour_->CellProblem(id, row, column);
        };
        events.current = [this](const std::u16string& problem) {
            const std::wstring text = problem.empty() ? statusText_ : Wide(problem);
            if (status_)
                SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
        };
        tables_[index] = std::make_unique<CellListView>(id, std::move(events));
    }
    behaviour_ = std::make_unique<ProjectWindowBehaviour>(
        static_cast<ProjectWindowControls&>(*this), appDir, RunnerLauncherFactory(appDir));
}

ProjectWindow::~ProjectWindow() {
    behaviour_.reset();
    {
        const std::lock_guard lock(queue_->mutex);
        queue_->window = nullptr;
        queue_->tasks.clear();
    }
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
    if (font_ != nullptr) DeleteObject(font_);
}

bool ProjectWindow::Create(HINSTANCE instance, int showCommand) {
    instance_ = instance;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = OwnedWindowProc<ProjectWindow>;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.lpszClassName = kProjectWindowClassName;
    RegisterClassExW(&windowClass);

    menu_ = CreateMenu();
    HMENU fileMenu = CreatePopupMenu();
    HMENU runMenu = CreatePopupMenu();
    std::vector<ACCEL> accelerators;
    for (const ProjectCommandDesign& design : kProjectCommands) {
        const bool run = design.command == ProjectCommand::Compute ||
                         design.command == ProjectCommand::Stop ||
                         design.command == ProjectCommand::Sheet;
        if (design.command == ProjectCommand::Close) {
            AppendMenuW(fileMenu, MF_STRING, project_window_ids::kImportDrawingCommand,
                        Wide(kDxfImportCommand).c_str());
            AppendMenuW(fileMenu, MF_STRING, kPlanCommandId, L"平面图…");
            AppendMenuW(fileMenu, MF_STRING, project_window_ids::kFieldFileCommand,
                        Wide(kFieldFileCommand).c_str());
            for (int i = 0; i < 2; ++i) {
                const std::wstring caption = L"设置参考点 " + std::to_wstring(i + 1) + L"…";
                AppendMenuW(fileMenu, MF_STRING | MF_GRAYED,
                            static_cast<UINT_PTR>(kPlanPointCommandId + i), caption.c_str());
            }
            AppendMenuW(fileMenu, MF_SEPARATOR, 0, nullptr);
        }
        AppendMenuW(run ? runMenu : fileMenu, MF_STRING,
                    static_cast<UINT_PTR>(kCommandId + static_cast<int>(design.command)),
                    MenuCaption(design).c_str());
        if (!design.shortcut.empty()) accelerators.push_back(AcceleratorOf(design));
    }
    AppendMenuW(runMenu, MF_STRING | MF_GRAYED, project_window_ids::kExportDrawingCommand,
                Wide(kDxfExportCommand).c_str());
    AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(fileMenu), L"项目(&F)");
    AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(runMenu), L"计算(&C)");
    pictureMenu_ = CreatePopupMenu();
    AppendMenuW(pictureMenu_, MF_STRING | MF_GRAYED, project_window_ids::kCopyPlanCommand,
                Wide(kCopyPlanCommand).c_str());
    AppendMenuW(pictureMenu_, MF_STRING | MF_GRAYED, project_window_ids::kExportPlanCommand,
                Wide(kExportPlanCommand).c_str());
    AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(pictureMenu_), L"图(&P)");
    accelerators_ =
        CreateAcceleratorTableW(accelerators.data(), static_cast<int>(accelerators.size()));

    window_ = CreateWindowExW(0, kProjectWindowClassName, Wide(behaviour_->Title()).c_str(),
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                              1000, 680, nullptr, menu_, instance, this);
    if (window_ == nullptr) return false;
    {
        const std::lock_guard lock(queue_->mutex);
        queue_->window = window_;
    }
    dpi_ = WindowDpi(window_);
    // The designed size at the monitor's resolution.
    RECT frame{0, 0, MulDiv(1100, static_cast<int>(dpi_), 96),
               MulDiv(720, static_cast<int>(dpi_), 96)};
    AdjustWindowRectForDpi(frame, WS_OVERLAPPEDWINDOW, dpi_);
    RECT placed{};
    GetWindowRect(window_, &placed);
    OffsetRect(&frame, placed.left - frame.left, placed.top - frame.top);
    // A 1366 x 768 screen has less room than the designed size and its frame.
    FitInWorkArea(frame, window_);
    SetWindowPos(window_, nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER);
    CreateControls();
    Layout();
    behaviour_->Refresh();
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    return true;
}

bool ProjectWindow::TranslateKeys(MSG& message) {
    if (message.hwnd == nullptr) return false;
    HWND top = GetAncestor(message.hwnd, GA_ROOT);
    wchar_t className[64] = {};
    GetClassNameW(top, className, 64);
    if (std::wstring_view(className) != kProjectWindowClassName) return false;
    const auto* self =
        reinterpret_cast<const ProjectWindow*>(GetWindowLongPtrW(top, GWLP_USERDATA));
    if (self == nullptr || self->accelerators_ == nullptr) return false;
    return TranslateAcceleratorW(top, self->accelerators_, &message) != 0;
}

void ProjectWindow::CreateControls() {
    font_ = CreateCjkFont(WindowFontFace(), 9, dpi_, false);
    const auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id,
                          DWORD exStyle = 0) {
        return CreateChildControl(window_, instance_, cls, text, style, id, font_, exStyle);
    };
    toolbar_ = make(TOOLBARCLASSNAMEW, L"",
                    TBSTYLE_FLAT | TBSTYLE_LIST | CCS_TOP | TBSTYLE_TOOLTIPS, kToolbarId);
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    std::vector<std::wstring> captions;
    for (const ProjectCommandDesign& design : kProjectCommands) {
        std::wstring caption = Wide(design.caption);
        caption.push_back(L'\0');
        captions.push_back(std::move(caption));
    }
    std::vector<TBBUTTON> buttons;
    for (std::size_t i = 0; i < kProjectCommands.size(); ++i) {
        TBBUTTON button{};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = kCommandId + static_cast<int>(kProjectCommands[i].command);
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        button.iString = reinterpret_cast<INT_PTR>(captions[i].c_str());
        buttons.push_back(button);
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(),
                 reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);

    locationLabel_ = make(L"STATIC", Wide(kLocationLabel).c_str(), SS_CENTERIMAGE, -1);
    location_ = make(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, kLocationId);
    for (std::u16string_view text : kLocationTexts) {
        SendMessageW(location_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
    }
    distanceLabel_ = make(L"STATIC", Wide(kTargetDistanceLabel).c_str(), SS_CENTERIMAGE, -1);
    distance_ = make(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, kDistanceId, WS_EX_CLIENTEDGE);
    planButton_ = make(L"BUTTON", L"平面图…", BS_PUSHBUTTON | WS_TABSTOP, kPlanButtonId);

    tableTabs_ = make(WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | WS_TABSTOP, kTableTabsId);
    for (TableId id : kAllTables) {
        std::wstring title = Wide(TableTitle(id));
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = title.data();
        TabCtrl_InsertItem(tableTabs_, static_cast<int>(id), &item);
        tables_[static_cast<std::size_t>(id)]->Create(instance_, window_,
                                                      kFirstTableId + static_cast<int>(id), font_);
    }
    addRow_ = make(L"BUTTON", L"添加行", BS_PUSHBUTTON | WS_TABSTOP, kAddRowId);
    deleteRow_ = make(L"BUTTON", L"删除行", BS_PUSHBUTTON | WS_TABSTOP, kDeleteRowId);

    resultTabs_ = make(WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | WS_TABSTOP, kResultTabsId);
    for (std::size_t i = 0; i < kResultTabTexts.size(); ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kResultTabTexts[i]);
        TabCtrl_InsertItem(resultTabs_, static_cast<int>(i), &item);
    }
    for (std::size_t i = 0; i < results_.size(); ++i) {
        results_[i] = make(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP,
                           kFirstResultId + static_cast<int>(i), WS_EX_CLIENTEDGE);
        ListView_SetExtendedListViewStyle(
            results_[i], LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    }
    conclusion_ = make(L"EDIT", L"", ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_TABSTOP,
                       kConclusionId, WS_EX_CLIENTEDGE);

    plan_.Create(instance_, window_, kPlanId);
    planBar_.Create(instance_, window_, font_, project_window_ids::kPlanShows,
                    project_window_ids::kPlanPollutant);
    fieldPane_.Create(instance_, window_, font_, project_window_ids::kFieldSummary,
                      project_window_ids::kFieldPollutants, project_window_ids::kFieldReceptors);
    progress_ = make(PROGRESS_CLASSW, L"", 0, kProgressId);
    stop_ =
        make(L"BUTTON",
             Wide(kProjectCommands[static_cast<std::size_t>(ProjectCommand::Stop)].caption).c_str(),
             BS_PUSHBUTTON | WS_TABSTOP, kStopId);
    status_ = make(STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, kStatusId);
    ShowTab(0);
    ShowResultsTab(0);
}

void ProjectWindow::Layout() {
    RECT client{};
    GetClientRect(window_, &client);
    const auto px = [&](int points) { return MulDiv(points, static_cast<int>(dpi_), 96); };
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    SendMessageW(status_, WM_SIZE, 0, 0);
    RECT bar{};
    GetWindowRect(toolbar_, &bar);
    RECT statusRect{};
    GetWindowRect(status_, &statusRect);
    const int statusHeight = statusRect.bottom - statusRect.top;
    LayOutStatusParts();

    const int gap = px(6);
    const int rowHeight = px(24);
    int y = bar.bottom - bar.top + gap;
    int x = gap;
    const auto place = [&](HWND control, int width, int height = 0) {
        MoveWindow(control, x, y, width, height > 0 ? height : rowHeight, TRUE);
        x += width + gap;
    };
    place(locationLabel_, px(90));
    place(location_, px(80), px(120));
    place(distanceLabel_, px(90));
    place(distance_, px(90));
    place(planButton_, px(80));
    y += rowHeight + gap;

    const int bottom = client.bottom - statusHeight - rowHeight - 2 * gap;
    const int leftWidth = (client.right - 3 * gap) * 55 / 100;
    const int tablesHeight = (bottom - y) * 48 / 100;
    MoveWindow(tableTabs_, gap, y, leftWidth, tablesHeight - rowHeight - gap, TRUE);
    RECT inside{gap, y, gap + leftWidth, y + tablesHeight - rowHeight - gap};
    TabCtrl_AdjustRect(tableTabs_, FALSE, &inside);
    for (auto& table : tables_) {
        MoveWindow(table->window(), inside.left, inside.top, inside.right - inside.left,
                   inside.bottom - inside.top, TRUE);
        SetWindowPos(table->window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    x = gap;
    y += tablesHeight - rowHeight;
    place(addRow_, px(80));
    place(deleteRow_, px(80));
    y += rowHeight + gap;
    MoveWindow(resultTabs_, gap, y, leftWidth, bottom - y, TRUE);
    inside = {gap, y, gap + leftWidth, bottom};
    TabCtrl_AdjustRect(resultTabs_, FALSE, &inside);
    for (HWND control : {results_[0], results_[1], results_[2], results_[3], conclusion_}) {
        MoveWindow(control, inside.left, inside.top, inside.right - inside.left,
                   inside.bottom - inside.top, TRUE);
        SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    fieldPane_.Layout(inside, gap, px(16));
    const int planLeft = 2 * gap + leftWidth;
    RECT settingsRow{};
    GetWindowRect(location_, &settingsRow);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&settingsRow), 2);
    const int planTop = settingsRow.top + rowHeight + gap;
    planBar_.Layout(planLeft, settingsRow.top, client.right - planLeft - gap, rowHeight,
                    dpi_ / 96.0);
    MoveWindow(plan_.window(), planLeft, planTop, client.right - planLeft - gap, bottom - planTop,
               TRUE);
    y = bottom + gap;
    x = gap;
    place(progress_, client.right - 3 * gap - px(80), rowHeight);
    place(stop_, px(80));
}

void ProjectWindow::ShowTab(int tab) {
    tab_ = tab;
    TabCtrl_SetCurSel(tableTabs_, tab);
    for (std::size_t i = 0; i < tables_.size(); ++i) {
        if (static_cast<int>(i) != tab) tables_[i]->EndEdit(true);
        ShowWindow(tables_[i]->window(), static_cast<int>(i) == tab ? SW_SHOW : SW_HIDE);
    }
}

void ProjectWindow::ChooseFieldFile() {
    const auto fieldsTab = static_cast<int>(TableId::Fields);
    CellListView& fields = *tables_[static_cast<std::size_t>(fieldsTab)];
    fields.EndEdit(true);
    const std::vector<std::size_t> selected = fields.SelectedRows();
    const std::size_t row = tab_ == fieldsTab && !selected.empty()
                                ? selected.front()
                                : behaviour_->Tables().fields.rows.size();
    const std::optional<std::filesystem::path> file =
        FileDialog(window_,
                   L"浓度场文件 (*.plt;*.grd;*.csv;*.txt)\0*.plt;*.grd;*.csv;*.txt\0"
                   L"所有文件 (*.*)\0*.*\0",
                   nullptr, false);
    if (!file) return;
    const std::size_t at = behaviour_->SetFieldFile(row, *file);
    ShowTab(fieldsTab);
    fields.SelectCell(at, *ColumnOf(TableId::Fields, ColumnKey::File));
}

void ProjectWindow::ShowResultsTab(int tab) {
    resultTab_ = tab;
    TabCtrl_SetCurSel(resultTabs_, tab);
    for (std::size_t i = 0; i < results_.size(); ++i) {
        ShowWindow(results_[i], static_cast<int>(i) == tab ? SW_SHOW : SW_HIDE);
    }
    fieldPane_.SetVisible(tab == kFieldTab);
    ShowWindow(conclusion_, tab == kConclusionTab ? SW_SHOW : SW_HIDE);
}

CellListView& ProjectWindow::CurrentTable() { return *tables_[static_cast<std::size_t>(tab_)]; }

void ProjectWindow::RunCommand(ProjectCommand command) {
    for (auto& table : tables_) table->EndEdit(true);
    std::filesystem::path documents;
    if (command == ProjectCommand::Sheet) {
        PWSTR folder = nullptr;
        if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_CREATE, nullptr, &folder)))
            documents = folder;
        CoTaskMemFree(folder);
    }
    const CommandOutcome outcome = behaviour_->Run(command, documents);
    if (const auto& range = outcome.imported) {
        ShowTab(static_cast<int>(range->table));
        CurrentTable().SelectCell(range->firstRow, 0);
    }
    if (const auto& sheet = outcome.sheet)
        ShellExecuteW(window_, L"open", sheet->c_str(), nullptr, sheet->parent_path().c_str(),
                      SW_SHOWNORMAL);
}

void ProjectWindow::CopySelection() {
    HWND focus = GetFocus();
    if (const FieldResultsView* field = behaviour_->FieldView()) {
        if (const auto block = fieldPane_.CopyOf(focus, *field)) {
            SetClipboardText(window_, ClipboardText(*block));
            return;
        }
    }
    for (std::size_t i = 0; i < results_.size(); ++i) {
        if (focus != results_[i] || behaviour_->Results() == nullptr) continue;
        const ResultsView& view = *behaviour_->Results();
        const CellBlock block = i == 0   ? EmissionResultsBlock(view)
                                : i == 1 ? SourceResultsBlock(view)
                                : i == 2 ? ReceptorResultsBlock(view)
                                         : LimitResultsBlock(view);
        SetClipboardText(window_, ClipboardText(SelectedRows(results_[i], block)));
        return;
    }
    const auto range = CurrentTable().Selection();
    if (!range) return;
    SetClipboardText(window_,
                     behaviour_->Copy(CurrentTable().table(), range->firstRow, range->rowCount,
                                      range->firstColumn, range->columnCount));
}

void ProjectWindow::PasteClipboard() {
    const auto text = ClipboardUnicodeText(window_);
    if (!text) return;
    CellListView& table = CurrentTable();
    const std::size_t rows = behaviour_->Tables().Of(table.table()).rows.size();
    const std::size_t row = rows == 0 ? 0 : table.CurrentRow();
    const std::size_t column = rows == 0 ? 0 : table.CurrentColumn();
    const PasteOutcome outcome = behaviour_->Paste(table.table(), row, column, *text);
    if (outcome.rowCount > 0) table.SelectCell(outcome.firstRow, outcome.firstColumn);
}

void ProjectWindow::ChoosePlan() {
    const auto image =
        FileDialog(window_, L"平面图 (*.png;*.jpg;*.jpeg)\0*.png;*.jpg;*.jpeg\0\0", nullptr, false);
    if (image) behaviour_->SetPlanImage(*image);
}

void ProjectWindow::ImportDrawing() {
    if (planDialogOpen_) return;
    CurrentTable().EndEdit(true);
    const std::optional<project::Project> current = behaviour_->ProjectForImport();
    if (!current) return;
    const auto drawing = FileDialog(window_, L"DXF 图形 (*.dxf)\0*.dxf\0\0", nullptr, false);
    if (!drawing) return;
    std::optional<DxfImportBehaviour> opened = behaviour_->OpenDrawingImport(*drawing, *current);
    if (!opened) return;
    planDialogOpen_ = true;
    const std::optional<project::Project> imported =
        AskDxfImport(instance_, window_, std::move(*opened));
    planDialogOpen_ = false;
    if (imported) behaviour_->TakeImport(*imported);
}

void ProjectWindow::ExportDrawing() {
    if (!CanExportDrawing(*behaviour_)) return;
    const auto file = FileDialog(window_, L"DXF 图形 (*.dxf)\0*.dxf\0\0", L"dxf", true,
                                 Wide(SuggestedDrawingName(*behaviour_)));
    if (!file) return;
    if (const Status written = ExportResultDrawing(*behaviour_, *file); !written)
        ShowMessage(written.error());
}

void ProjectWindow::SetPlanPoint(int index) {
    const auto& plan = behaviour_->Plan();
    const auto image = behaviour_->PlanImagePath();
    if (!plan || !image || planDialogOpen_) return;
    planDialogOpen_ = true;
    const auto choice = AskPlanReference(instance_, window_, *image, index,
                                         plan->points[static_cast<std::size_t>(index)]);
    planDialogOpen_ = false;
    if (choice)
        behaviour_->SetPlanPoint(static_cast<std::size_t>(index), choice->pixel, choice->site);
}

void ProjectWindow::RunPosted() {
    for (;;) {
        std::function<void()> task;
        {
            const std::lock_guard lock(queue_->mutex);
            if (queue_->tasks.empty()) return;
            task = std::move(queue_->tasks.front());
            queue_->tasks.pop_front();
        }
        task();
    }
}

LRESULT ProjectWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PostedMessage()) {
        RunPosted();
        return 0;
    }
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (planBar_.OnCommand(id, code)) return 0;
            if (id >= kCommandId && id < kCommandId + static_cast<int>(kProjectCommands.size())) {
                RunCommand(static_cast<ProjectCommand>(id - kCommandId));
            } else if (id == kStopId && code == BN_CLICKED) {
                RunCommand(ProjectCommand::Stop);
            } else if ((id == kPlanCommandId || id == kPlanButtonId) && code <= BN_CLICKED) {
                ChoosePlan();
            } else if (id == project_window_ids::kImportDrawingCommand) {
                ImportDrawing();
            } else if (id == project_window_ids::kExportDrawingCommand) {
                ExportDrawing();
            } else if (id == project_window_ids::kCopyPlanCommand) {
                if (!CopyPlanPicture(window_, plan_)) ShowMessage(u"无法把图放到剪贴板上。");
            } else if (id == project_window_ids::kExportPlanCommand) {
                ExportPlanPicture(
                    window_, plan_,
                    SuggestedPlanPictureName(behaviour_->Tables().name, behaviour_->File()),
                    [this](std::u16string_view text) { ShowMessage(text); });
            } else if (id == project_window_ids::kFieldFileCommand) {
                ChooseFieldFile();
            } else if (id == kPlanPointCommandId || id == kPlanPointCommandId + 1) {
                SetPlanPoint(id - kPlanPointCommandId);
            } else if (id == kAddRowId && code == BN_CLICKED) {
                CellListView& table = CurrentTable();
                table.EndEdit(true);
                const std::size_t rows = behaviour_->Tables().Of(table.table()).rows.size();
                const std::size_t at = behaviour_->AddRows(table.table(), rows);
                table.SelectCell(at, 0);
                SetFocus(table.window());
            } else if (id == kDeleteRowId && code == BN_CLICKED) {
                CellListView& table = CurrentTable();
                table.EndEdit(true);
                behaviour_->DeleteRows(table.table(), table.SelectedRows());
            } else if (id == kLocationId && code == CBN_SELCHANGE && !settingControls_) {
                const auto index = SendMessageW(location_, CB_GETCURSEL, 0, 0);
                if (index >= 0) behaviour_->SetLocation(static_cast<project::Location>(index));
            } else if (id == kDistanceId && code == EN_CHANGE && !settingControls_) {
                behaviour_->SetTargetDistance(Utf16(WindowText(distance_)));
                const std::wstring problem = Wide(behaviour_->TargetDistanceProblem());
                SendMessageW(
                    status_, SB_SETTEXTW, 0,
                    reinterpret_cast<LPARAM>((problem.empty() ? statusText_ : problem).c_str()));
            }
            return 0;
        }
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.hwndFrom == tableTabs_ && header.code == TCN_SELCHANGE) {
                ShowTab(TabCtrl_GetCurSel(tableTabs_));
                return 0;
            }
            if (header.hwndFrom == resultTabs_ && header.code == TCN_SELCHANGE) {
                ShowResultsTab(TabCtrl_GetCurSel(resultTabs_));
                return 0;
            }
            // Ctrl+C and Ctrl+V before the tables take their keys.
            if (header.code == LVN_KEYDOWN && GetKeyState(VK_CONTROL) < 0) {
                const auto& key = *reinterpret_cast<const NMLVKEYDOWN*>(lParam);
                if (key.wVKey == 'C') CopySelection();
                if (key.wVKey == 'V' && header.hwndFrom == CurrentTable().window())
                    PasteClipboard();
            }
            LRESULT result = 0;
            for (auto& table : tables_) {
                if (table->OnNotify(header, result)) return result;
            }
            break;
        }
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == plan_.window()) {
                POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                if (at.x == -1 && at.y == -1) {  // from the keyboard: at the plan's corner
                    at = {0, 0};
                    ClientToScreen(plan_.window(), &at);
                }
                TrackPopupMenu(pictureMenu_, TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
                return 0;
            }
            break;
        case WM_SIZE:
            Layout();
            return 0;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            if (font_ != nullptr) DeleteObject(font_);
            font_ = CreateCjkFont(WindowFontFace(), 9, dpi_, false);
            EnumChildWindows(
                window_,
                [](HWND child, LPARAM font) {
                    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(font_));
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            Layout();
            return 0;
        }
        case WM_CLOSE:
            if (planDialogOpen_) return 0;
            for (auto& table : tables_) table->EndEdit(true);
            if (behaviour_->QueryClose()) DestroyWindow(window_);
            return 0;
        case WM_DESTROY: {
            {
                const std::lock_guard lock(queue_->mutex);
                queue_->window = nullptr;
            }
            window_ = nullptr;
            if (closed_) closed_();
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

// --- ProjectWindowControls

void ProjectWindow::Post(std::function<void()> task) {
    const std::lock_guard lock(queue_->mutex);
    if (queue_->window == nullptr) return;
    queue_->tasks.push_back(std::move(task));
    PostMessageW(queue_->window, PostedMessage(), 0, 0);
}

void ProjectWindow::ShowTitle(std::u16string_view title) {
    SetWindowTextW(window_, Wide(title).c_str());
}

void ProjectWindow::ShowCommands(const CommandStates& commands) {
    for (const ProjectCommandDesign& design : kProjectCommands) {
        const int id = kCommandId + static_cast<int>(design.command);
        const bool enabled = commands[design.command];
        EnableMenuItem(menu_, static_cast<UINT>(id),
                       MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
        SendMessageW(toolbar_, TB_ENABLEBUTTON, static_cast<WPARAM>(id), MAKELPARAM(enabled, 0));
    }
    EnableWindow(stop_, commands[ProjectCommand::Stop]);
    EnableMenuItem(menu_, project_window_ids::kExportDrawingCommand,
                   MF_BYCOMMAND | (CanExportDrawing(*behaviour_) ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(window_);
}

void ProjectWindow::ShowTables(const ProjectTables& tables) {
    for (TableId id : kAllTables) tables_[static_cast<std::size_t>(id)]->Show(tables.Of(id));
    settingControls_ = true;
    SendMessageW(location_, CB_SETCURSEL, static_cast<WPARAM>(tables.location), 0);
    if (Utf16(WindowText(distance_)) != tables.targetDistance) {
        SetWindowTextW(distance_, Wide(tables.targetDistance).c_str());
    }
    settingControls_ = false;
}

void ProjectWindow::ShowRunStatus(const RunStatus& status) {
    statusText_ = Wide(status.text);
    SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(statusText_.c_str()));
    const bool running = status.state == RunState::Running;
    SendMessageW(progress_, PBM_SETRANGE32, 0,
                 static_cast<LPARAM>(std::max<std::size_t>(status.total, 1)));
    SendMessageW(progress_, PBM_SETPOS,
                 running ? status.done : (status.total > 0 ? status.total : 0), 0);
    SetCursor(LoadCursorW(nullptr, running ? IDC_APPSTARTING : IDC_ARROW));
}

void ProjectWindow::ShowResults(const ResultsView* results) {
    if (results == nullptr) {
        for (HWND list : results_) ListView_DeleteAllItems(list);
        runConclusion_.clear();
        ShowConclusion();
        return;
    }
    FillList(results_[0], kEmissionResultHeaders, Body(EmissionResultsBlock(*results)));
    FillList(results_[1], kSourceResultHeaders, Body(SourceResultsBlock(*results)));
    FillList(results_[2], kReceptorResultHeaders, Body(ReceptorResultsBlock(*results)));
    FillList(results_[3], kLimitResultHeaders, Body(LimitResultsBlock(*results)));
    std::u16string text =
        u"防护区域面积：" + results->zoneArea + u"\r\n最远距离：" + results->zoneReach + u"\r\n";
    if (!results->notFinal.empty()) text += results->notFinal + u"\r\n";
    text += u"\r\n" + results->conclusion;
    runConclusion_ = std::move(text);
    ShowConclusion();
}

void ProjectWindow::ShowConclusion() {
    std::u16string text = runConclusion_;
    if (!fieldConclusion_.empty()) {
        if (!text.empty()) text += u"\r\n\r\n";
        text += u"现行导则（全厂叠加）：" + fieldConclusion_;
    }
    SetWindowTextW(conclusion_, Wide(text).c_str());
}

void ProjectWindow::ShowField(const FieldResultsView* field) {
    fieldPane_.Show(field);
    fieldConclusion_ = field != nullptr ? field->conclusion : std::u16string();
    ShowConclusion();
}

void ProjectWindow::ShowFieldStatus(const FieldStatus& status) { plan_.SetNote(Wide(status.text)); }

void ProjectWindow::ShowPointerValue(std::u16string_view text) {
    pointerValue_ = Wide(text);
    LayOutStatusParts();
    SendMessageW(status_, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(pointerValue_.c_str()));
}

void ProjectWindow::LayOutStatusParts() {
    RECT client{};
    GetClientRect(window_, &client);
    const auto px = [&](int points) { return MulDiv(points, static_cast<int>(dpi_), 96); };
    // The status, the pointer's site coordinates, the field's value there. The
    // value's part widens to its text (all pollutants' shares make a long one)
    // while the status keeps a quarter of the bar.
    const int width = static_cast<int>(client.right);
    const int coordinatesWidth = px(240);
    const int valueText = static_cast<int>(TextExtent(status_, font_, pointerValue_).cx) + px(32);
    const int valueWidth = std::max(px(360), std::min(valueText, width * 3 / 4 - coordinatesWidth));
    const std::array<int, 3> parts = {width - valueWidth - coordinatesWidth, width - valueWidth,
                                      -1};
    if (parts == statusParts_) return;  // moving the pointer need not repaint the bar
    statusParts_ = parts;
    SendMessageW(status_, SB_SETPARTS, parts.size(), reinterpret_cast<LPARAM>(parts.data()));
}

void ProjectWindow::ShowPlanChoices(const PlanChoices& choices) { planBar_.Show(choices); }

void ProjectWindow::ShowPlan(const project::SiteFigure& figure) {
    plan_.Show(figure);
    for (int command :
         {project_window_ids::kCopyPlanCommand, project_window_ids::kExportPlanCommand})
        EnableMenuItem(menu_, static_cast<UINT>(command),
                       MF_BYCOMMAND | (figure.items.empty() ? MF_GRAYED : MF_ENABLED));
    const bool hasPlan = behaviour_ != nullptr && behaviour_->Plan().has_value();
    for (int i = 0; i < 2; ++i) {
        EnableMenuItem(menu_, static_cast<UINT>(kPlanPointCommandId + i),
                       MF_BYCOMMAND | (hasPlan ? MF_ENABLED : MF_GRAYED));
    }
    if (!figure.planProblem.empty()) {
        SendMessageW(status_, SB_SETTEXTW, 0,
                     reinterpret_cast<LPARAM>(Wide(figure.planProblem).c_str()));
    }
}

void ProjectWindow::ShowMessage(std::u16string_view text) {
    MessageBoxW(window_, Wide(text).c_str(), L"Quorvel项目计算", MB_OK);
}

SaveAnswer ProjectWindow::AskSaveChanges(std::u16string_view question) {
    const std::wstring texts[] = {Wide(kSaveButtonText), Wide(kDontSaveButtonText),
                                  Wide(kCancelButtonText)};
    const TASKDIALOG_BUTTON buttons[] = {
        {IDYES, texts[0].c_str()}, {IDNO, texts[1].c_str()}, {IDCANCEL, texts[2].c_str()}};
    const std::wstring content = Wide(question);
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = window_;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.pszWindowTitle = L"Quorvel项目计算";
    config.pszContent = content.c_str();
    config.cButtons = 3;
    config.pButtons = buttons;
    config.nDefaultButton = IDYES;
    int pressed = IDCANCEL;
    if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr))) {
        pressed = MessageBoxW(window_, content.c_str(), L"Quorvel项目计算", MB_YESNOCANCEL);
    }
    return pressed == IDYES  ? SaveAnswer::Save
           : pressed == IDNO ? SaveAnswer::DontSave
                             : SaveAnswer::Cancel;
}

std::optional<std::filesystem::path> ProjectWindow::AskOpenPath() {
    return FileDialog(window_, L"项目文件 (*.qvproj)\0*.qvproj\0\0", L"qvproj", false);
}

std::optional<std::filesystem::path> ProjectWindow::AskSavePath(std::u16string_view suggestedName) {
    return FileDialog(window_, L"项目文件 (*.qvproj)\0*.qvproj\0\0", L"qvproj", true,
                      Wide(suggestedName));
}

std::optional<std::filesystem::path> ProjectWindow::AskCsvPath() {
    return FileDialog(window_, L"CSV 文件 (*.csv)\0*.csv\0\0", L"csv", false);
}

void ProjectWindow::CloseWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
}

}  // namespace quorvel
