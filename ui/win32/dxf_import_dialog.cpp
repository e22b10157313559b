#include "ui/win32/dxf_import_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>

#include "ui/win32/cjk_font.h"
#include "ui/win32/modal_window.h"
#include "ui/win32/owned_window.h"
#include "ui/win32/plan_view.h"
#include "ui/win32/project_window_ids.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/window_dpi.h"
#include "ui/win32/window_text.h"

namespace quorvel {
namespace {

namespace ids = dxf_import_ids;

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

class Dialog {
  public:
    explicit Dialog(DxfImportBehaviour behaviour)
        : behaviour_(std::move(behaviour)), preview_([](const std::wstring&) {}) {}
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    ~Dialog() {
        if (window_ != nullptr) DestroyWindow(window_);
        if (font_ != nullptr) DeleteObject(font_);
    }

    std::optional<project::Project> Run(HINSTANCE instance, HWND owner);

  private:
    template <class Owner>
    friend LRESULT CALLBACK quorvel::OwnedWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls(HINSTANCE instance);
    void Layout();
    int Px(double points) const { return static_cast<int>(points * dpi_ / 96.0 + 0.5); }
    int SelectedLayer() const { return ListView_GetNextItem(layers_, -1, LVNI_SELECTED); }
    void ShowLayerRole(int row);
    void ShowState();

    DxfImportBehaviour behaviour_;
    PlanView preview_;
    HWND window_ = nullptr;
    HWND layers_ = nullptr, roleLabel_ = nullptr, role_ = nullptr;
    HWND unitLabel_ = nullptr, unit_ = nullptr, heightLabel_ = nullptr, height_ = nullptr;
    HWND northLabel_ = nullptr, north_ = nullptr, notes_ = nullptr;
    HWND ok_ = nullptr, cancel_ = nullptr;
    HFONT font_ = nullptr;
    UINT dpi_ = 96;
    bool done_ = false;
    bool filling_ = false;  // the fields are being set from the behaviour
    std::optional<project::Project> result_;
};

std::optional<project::Project> Dialog::Run(HINSTANCE instance, HWND owner) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = OwnedWindowProc<Dialog>;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kDxfImportClassName;
    RegisterClassExW(&windowClass);  // fails harmlessly once registered

    RECT ownerRect{};
    GetWindowRect(owner, &ownerRect);
    window_ =
        CreateWindowExW(kExStyle, kDxfImportClassName, Wide(kDxfImportTitle).c_str(), kStyle,
                        ownerRect.left, ownerRect.top, 100, 100, owner, nullptr, instance, this);
    if (window_ == nullptr) return std::nullopt;
    dpi_ = WindowDpi(window_);
    CreateControls(instance);
    Layout();
    CentreOver(window_, owner);
    ShowState();
    RunModal(window_, owner, layers_, [this] { return done_; });
    if (window_ != nullptr) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
    return result_;
}

void Dialog::CreateControls(HINSTANCE instance) {
    font_ = CreateCjkFont(WindowFontFace(), 9, dpi_, false);
    const auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id,
                          DWORD exStyle = 0) {
        return CreateChildControl(window_, instance, cls, text, style, id, font_, exStyle);
    };
    layers_ = make(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
                   ids::kLayers, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(layers_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (int i = 0; i < 3; ++i) {
        std::wstring header = Wide(kLayerColumnTitles[i]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = header.data();
        column.cx = Px(i == 1 ? 170 : 90);
        ListView_InsertColumn(layers_, i, &column);
    }
    const std::vector<DxfLayerRow>& rows = behaviour_.Layers();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::wstring name = Wide(rows[r].name);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(r);
        item.pszText = name.data();
        ListView_InsertItem(layers_, &item);
        std::wstring counts = Wide(rows[r].counts);
        ListView_SetItemText(layers_, static_cast<int>(r), 1, counts.data());
        ShowLayerRole(static_cast<int>(r));
    }
    roleLabel_ = make(L"STATIC", L"所选图层的用途:", SS_CENTERIMAGE, -1);
    role_ = make(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, ids::kRole);
    for (std::u16string_view text : kLayerRoleTexts)
        SendMessageW(role_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
    unitLabel_ = make(L"STATIC", Wide(kUnitLabel).c_str(), SS_CENTERIMAGE, -1);
    unit_ = make(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, ids::kUnit);
    for (std::u16string_view text : kDrawingUnitTexts)
        SendMessageW(unit_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
    SendMessageW(unit_, CB_SETCURSEL,
                 behaviour_.Unit() ? static_cast<WPARAM>(*behaviour_.Unit()) : WPARAM(-1), 0);
    EnableWindow(unit_, !behaviour_.UnitFixed());
    heightLabel_ = make(L"STATIC", Wide(kHeightLabel).c_str(), SS_CENTERIMAGE, -1);
    height_ = make(L"EDIT", Wide(behaviour_.HeightText()).c_str(), WS_TABSTOP | ES_AUTOHSCROLL,
                   ids::kHeight, WS_EX_CLIENTEDGE);
    northLabel_ = make(L"STATIC", Wide(kNorthLabel).c_str(), SS_CENTERIMAGE, -1);
    north_ = make(L"EDIT", Wide(behaviour_.NorthText()).c_str(), WS_TABSTOP | ES_AUTOHSCROLL,
                  ids::kNorth, WS_EX_CLIENTEDGE);
    EnableWindow(north_, !behaviour_.UnitFixed());  // the tie fixes it with the unit
    preview_.Create(instance, window_, ids::kPreview);
    notes_ = make(L"EDIT", L"", ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL,
                  ids::kNotes, WS_EX_CLIENTEDGE);
    ok_ = make(L"BUTTON", L"确定", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK);
    cancel_ = make(L"BUTTON", L"取消", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL);
    if (!rows.empty())
        ListView_SetItemState(layers_, 0, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
}

void Dialog::Layout() {
    const int margin = Px(10);
    const int gap = Px(6);
    const int rowHeight = Px(24);
    const int leftWidth = Px(380);
    const int rightWidth = Px(520);
    const int height = Px(560);
    const int labelWidth = Px(130);
    const int formHeight = 4 * (rowHeight + gap);
    MoveWindow(layers_, margin, margin, leftWidth, height - formHeight, TRUE);
    int y = margin + height - formHeight + gap;
    const std::pair<HWND, HWND> rows[] = {
        {roleLabel_, role_}, {unitLabel_, unit_}, {heightLabel_, height_}, {northLabel_, north_}};
    for (const auto& [label, field] : rows) {
        MoveWindow(label, margin, y, labelWidth, rowHeight, TRUE);
        // A drop-down list's height includes its open list.
        const bool list = field == role_ || field == unit_;
        MoveWindow(field, margin + labelWidth + gap, y, Px(140), list ? Px(160) : rowHeight, TRUE);
        y += rowHeight + gap;
    }
    const int x = margin + leftWidth + margin;
    const int notesHeight = Px(90);
    const int previewHeight = height - notesHeight - rowHeight - 2 * gap;
    MoveWindow(preview_.window(), x, margin, rightWidth, previewHeight, TRUE);
    MoveWindow(notes_, x, margin + previewHeight + gap, rightWidth, notesHeight, TRUE);
    const int buttonsY = margin + height - rowHeight;
    const int buttonWidth = Px(80);
    MoveWindow(ok_, x + rightWidth - 2 * buttonWidth - gap, buttonsY, buttonWidth, rowHeight, TRUE);
    MoveWindow(cancel_, x + rightWidth - buttonWidth, buttonsY, buttonWidth, rowHeight, TRUE);
    RECT frame{0, 0, x + rightWidth + margin, margin + height + margin};
    AdjustWindowRectForDpi(frame, kStyle, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Dialog::ShowLayerRole(int row) {
    const std::vector<DxfLayerRow>& rows = behaviour_.Layers();
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return;
    std::wstring role =
        Wide(kLayerRoleTexts[static_cast<std::size_t>(rows[static_cast<std::size_t>(row)].role)]);
    ListView_SetItemText(layers_, row, 2, role.data());
}

void Dialog::ShowState() {
    filling_ = true;
    const int row = SelectedLayer();
    if (row >= 0) {
        SendMessageW(role_, CB_SETCURSEL,
                     static_cast<WPARAM>(behaviour_.Layers()[static_cast<std::size_t>(row)].role),
                     0);
    }
    EnableWindow(role_, row >= 0);
    std::u16string notes;
    for (const std::u16string& note : behaviour_.Notes()) notes += note + u"\r\n";
    SetWindowTextW(notes_, Wide(notes).c_str());
    EnableWindow(ok_, behaviour_.CanAccept());
    preview_.Show(behaviour_.Preview());
    filling_ = false;
}

LRESULT Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (id == IDOK && code == BN_CLICKED) {
                if (behaviour_.CanAccept()) {
                    result_ = behaviour_.Imported();
                    done_ = true;
                }
            } else if (id == IDCANCEL) {
                done_ = true;
            } else if (filling_) {
                break;
            } else if (id == ids::kRole && code == CBN_SELCHANGE) {
                const int row = SelectedLayer();
                const auto index = SendMessageW(role_, CB_GETCURSEL, 0, 0);
                if (row >= 0 && index >= 0) {
                    behaviour_.SetRole(static_cast<std::size_t>(row),
                                       static_cast<project::dxf::LayerRole>(index));
                    ShowLayerRole(row);
                    ShowState();
                }
            } else if (id == ids::kUnit && code == CBN_SELCHANGE) {
                const auto index = SendMessageW(unit_, CB_GETCURSEL, 0, 0);
                if (index >= 0) behaviour_.SetUnit(static_cast<project::DrawingUnit>(index));
                ShowState();
            } else if (id == ids::kHeight && code == EN_CHANGE) {
                behaviour_.SetHeight(Utf16(WindowText(height_)));
                ShowState();
            } else if (id == ids::kNorth && code == EN_CHANGE) {
                behaviour_.SetNorth(Utf16(WindowText(north_)));
                ShowState();
            }
            return 0;
        }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == layers_ && header->code == LVN_ITEMCHANGED) ShowState();
            return 0;
        }
        case WM_CLOSE:
            done_ = true;
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace

std::optional<project::Project> AskDxfImport(HINSTANCE instance, HWND owner,
                                             DxfImportBehaviour behaviour) {
    Dialog dialog(std::move(behaviour));
    return dialog.Run(instance, owner);
}

}  // namespace quorvel
