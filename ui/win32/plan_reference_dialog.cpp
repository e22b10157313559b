#include "ui/win32/plan_reference_dialog.h"

#include <windowsx.h>
// After windows.h, which it builds on:
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "ui/core/cell_number.h"
#include "ui/win32/cjk_font.h"
#include "ui/win32/modal_window.h"
#include "ui/win32/owned_window.h"
#include "ui/win32/project_window_ids.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/window_dpi.h"
#include "ui/win32/window_text.h"

namespace quorvel {
namespace {

namespace ids = plan_reference_ids;

constexpr wchar_t kPictureClassName[] = L"QuorvelPlanReferencePicture";
// The largest the picture is shown, in points; it is never enlarged.
constexpr double kMaxShownWidth = 720;
constexpr double kMaxShownHeight = 480;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

class Dialog {
  public:
    Dialog(const std::filesystem::path& image, int index, const project::PlanPoint& current)
        : index_(index), pixel_(current.pixel), site_(current.site) {
        auto bitmap = std::make_unique<Gdiplus::Bitmap>(image.c_str());
        if (bitmap->GetLastStatus() == Gdiplus::Ok && bitmap->GetWidth() > 0 &&
            bitmap->GetHeight() > 0) {
            bitmap_ = std::move(bitmap);
        }
    }
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    ~Dialog() {
        if (window_ != nullptr) DestroyWindow(window_);
        if (font_ != nullptr) DeleteObject(font_);
    }

    std::optional<PlanReferenceChoice> Run(HINSTANCE instance, HWND owner);

  private:
    template <class Owner>
    friend LRESULT CALLBACK quorvel::OwnedWindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnPictureMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls(HINSTANCE instance);
    void Layout();
    int Px(double points) const { return static_cast<int>(points * dpi_ / 96.0 + 0.5); }
    // Device pixels per picture pixel at the window's resolution.
    double Scale() const;
    void ShowPixel();
    void PaintPicture(HDC dc);
    void Accept();

    std::unique_ptr<Gdiplus::Bitmap> bitmap_;  // null when the picture does not decode
    int index_;
    project::SitePoint pixel_;
    project::SitePoint site_;
    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    HWND hint_ = nullptr, picture_ = nullptr;
    HWND pixelLabel_ = nullptr, pixelText_ = nullptr;
    HWND xLabel_ = nullptr, x_ = nullptr, yLabel_ = nullptr, y_ = nullptr;
    HWND ok_ = nullptr, cancel_ = nullptr;
    HFONT font_ = nullptr;
    UINT dpi_ = 96;
    bool done_ = false;
    std::optional<PlanReferenceChoice> result_;
};

double Dialog::Scale() const {
    if (!bitmap_) return 1.0;
    const double width = bitmap_->GetWidth();
    const double height = bitmap_->GetHeight();
    return std::min({1.0, kMaxShownWidth / width, kMaxShownHeight / height}) * dpi_ / 96.0;
}

std::optional<PlanReferenceChoice> Dialog::Run(HINSTANCE instance, HWND owner) {
    owner_ = owner;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = OwnedWindowProc<Dialog>;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kPlanReferenceClassName;
    RegisterClassExW(&windowClass);  // fails harmlessly once registered
    windowClass.lpfnWndProc = PictureProc;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_CROSS);
    windowClass.hbrBackground = nullptr;
    windowClass.lpszClassName = kPictureClassName;
    RegisterClassExW(&windowClass);

    RECT ownerRect{};
    GetWindowRect(owner, &ownerRect);
    const std::wstring title = L"底图参考点 " + std::to_wstring(index_ + 1);
    window_ =
        CreateWindowExW(kExStyle, kPlanReferenceClassName, title.c_str(), kStyle, ownerRect.left,
                        ownerRect.top, 100, 100, owner, nullptr, instance, this);
    if (window_ == nullptr) return std::nullopt;
    dpi_ = WindowDpi(window_);
    CreateControls(instance);
    Layout();
    CentreOver(window_, owner);
    SendMessageW(x_, EM_SETSEL, 0, -1);
    RunModal(window_, owner, x_, [this] { return done_; });
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
        return CreateChildControl(window_, instance, cls, text, style, id, font_, exStyle, this);
    };
    hint_ = make(L"STATIC", L"在底图上单击参考点，再输入它的厂区坐标。", SS_CENTERIMAGE, -1);
    picture_ = make(kPictureClassName, L"", 0, ids::kPicture);
    pixelLabel_ = make(L"STATIC", L"底图像素:", SS_CENTERIMAGE, -1);
    pixelText_ = make(L"STATIC", L"", SS_CENTERIMAGE, ids::kPixel);
    xLabel_ = make(L"STATIC", L"x (m):", SS_CENTERIMAGE, -1);
    x_ = make(L"EDIT", Wide(CellNumberText(site_.x)).c_str(), WS_TABSTOP | ES_AUTOHSCROLL,
              ids::kSiteX, WS_EX_CLIENTEDGE);
    yLabel_ = make(L"STATIC", L"y (m):", SS_CENTERIMAGE, -1);
    y_ = make(L"EDIT", Wide(CellNumberText(site_.y)).c_str(), WS_TABSTOP | ES_AUTOHSCROLL,
              ids::kSiteY, WS_EX_CLIENTEDGE);
    ok_ = make(L"BUTTON", L"确定", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK);
    cancel_ = make(L"BUTTON", L"取消", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL);
    ShowPixel();
}

void Dialog::Layout() {
    const int margin = Px(10);
    const int gap = Px(6);
    const int rowHeight = Px(24);
    const int buttonWidth = Px(80);
    int pictureWidth = Px(360);
    int pictureHeight = Px(120);
    if (bitmap_) {
        pictureWidth = std::max(1, static_cast<int>(bitmap_->GetWidth() * Scale() + 0.5));
        pictureHeight = std::max(1, static_cast<int>(bitmap_->GetHeight() * Scale() + 0.5));
    }
    const int width = std::max(pictureWidth, Px(360));
    int y = margin;
    MoveWindow(hint_, margin, y, width, rowHeight, TRUE);
    y += rowHeight + gap;
    MoveWindow(picture_, margin + (width - pictureWidth) / 2, y, pictureWidth, pictureHeight, TRUE);
    y += pictureHeight + gap;
    const int labelWidth = Px(80);
    const std::pair<HWND, HWND> rows[] = {{pixelLabel_, pixelText_}, {xLabel_, x_}, {yLabel_, y_}};
    for (const auto& [label, field] : rows) {
        MoveWindow(label, margin, y, labelWidth, rowHeight, TRUE);
        MoveWindow(field, margin + labelWidth + gap, y, Px(140), rowHeight, TRUE);
        y += rowHeight + gap;
    }
    y += gap;
    MoveWindow(ok_, margin + width - 2 * buttonWidth - gap, y, buttonWidth, rowHeight, TRUE);
    MoveWindow(cancel_, margin + width - buttonWidth, y, buttonWidth, rowHeight, TRUE);
    RECT frame{0, 0, width + 2 * margin, y + rowHeight + margin};
    AdjustWindowRectForDpi(frame, kStyle, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Dialog::ShowPixel() {
    wchar_t text[64] = {};
    std::swprintf(text, 64, L"(%.1f, %.1f)", pixel_.x, pixel_.y);
    SetWindowTextW(pixelText_, text);
    InvalidateRect(picture_, nullptr, FALSE);
}

void Dialog::PaintPicture(HDC dc) {
    RECT client{};
    GetClientRect(picture_, &client);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP buffer = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, buffer);
    {
        Gdiplus::Graphics graphics(memory);
        graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
        if (bitmap_) {
            graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
            graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
            graphics.DrawImage(bitmap_.get(), 0, 0, static_cast<INT>(client.right),
                               static_cast<INT>(client.bottom));
            // The current point: a red cross in a ring.
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
            const double scale = Scale();
            const auto x = static_cast<Gdiplus::REAL>(pixel_.x * scale);
            const auto y = static_cast<Gdiplus::REAL>(pixel_.y * scale);
            const auto arm = static_cast<Gdiplus::REAL>(Px(8));
            const auto ring = static_cast<Gdiplus::REAL>(Px(5));
            Gdiplus::Pen pen(Gdiplus::Color(255, 255, 0, 0), static_cast<Gdiplus::REAL>(Px(2)));
            graphics.DrawLine(&pen, x - arm, y, x + arm, y);
            graphics.DrawLine(&pen, x, y - arm, x, y + arm);
            graphics.DrawEllipse(&pen, x - ring, y - ring, 2 * ring, 2 * ring);
        } else {
            Gdiplus::Font font(memory, font_);
            Gdiplus::StringFormat format;
            format.SetAlignment(Gdiplus::StringAlignmentCenter);
            format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
            Gdiplus::SolidBrush brush(Gdiplus::Color(255, 0, 0, 0));
            graphics.DrawString(L"底图无法读取。", -1, &font,
                                Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(client.right),
                                               static_cast<Gdiplus::REAL>(client.bottom)),
                                &format, &brush);
        }
    }
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(buffer);
    DeleteDC(memory);
}

void Dialog::Accept() {
    const auto x = ReadCellNumber(Utf16(WindowText(x_)));
    const auto y = ReadCellNumber(Utf16(WindowText(y_)));
    if (!x || !y) {
        MessageBoxW(window_, L"x 和 y 应是数字（m）。", L"Quorvel项目计算", MB_OK);
        SetFocus(x ? y_ : x_);
        SendMessageW(x ? y_ : x_, EM_SETSEL, 0, -1);
        return;
    }
    result_ = PlanReferenceChoice{pixel_, {*x, *y}};
    done_ = true;
}

LRESULT CALLBACK Dialog::PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->picture_ != window) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->OnPictureMessage(message, wParam, lParam);
}

LRESULT Dialog::OnPictureMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(picture_, &paint);
            PaintPicture(dc);
            EndPaint(picture_, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
            if (bitmap_) {
                const double scale = Scale();
                pixel_ = {std::clamp(GET_X_LPARAM(lParam) / scale, 0.0,
                                     static_cast<double>(bitmap_->GetWidth())),
                          std::clamp(GET_Y_LPARAM(lParam) / scale, 0.0,
                                     static_cast<double>(bitmap_->GetHeight()))};
                ShowPixel();
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(picture_, message, wParam, lParam);
}

LRESULT Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK && HIWORD(wParam) <= BN_CLICKED) {
                Accept();
            } else if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) <= BN_CLICKED) {
                done_ = true;
            }
            return 0;
        case WM_CLOSE:
            done_ = true;
            return 0;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            HFONT old = font_;
            font_ = CreateCjkFont(WindowFontFace(), 9, dpi_, false);
            for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
            }
            if (old != nullptr) DeleteObject(old);
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            Layout();
            InvalidateRect(picture_, nullptr, FALSE);
            return 0;
        }
        case WM_DESTROY:
            // Gone with its owner too: the loop ends without a choice.
            window_ = nullptr;
            done_ = true;
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace

std::optional<PlanReferenceChoice> AskPlanReference(HINSTANCE instance, HWND owner,
                                                    const std::filesystem::path& image, int index,
                                                    const project::PlanPoint& current) {
    Dialog dialog(image, index, current);
    return dialog.Run(instance, owner);
}

}  // namespace quorvel
