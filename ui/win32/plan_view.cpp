#include "ui/win32/plan_view.h"

#include <windowsx.h>

#include <cmath>

#include "ui/win32/cjk_font.h"
#include "ui/win32/owned_window.h"
#include "ui/win32/window_dpi.h"

namespace quorvel {

bool PlanView::Create(HINSTANCE instance, HWND parent, int id) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = OwnedWindowProc<PlanView>;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_CROSS);
    windowClass.lpszClassName = kPlanViewClassName;
    RegisterClassExW(&windowClass);  // fails harmlessly once registered
    window_ = CreateWindowExW(WS_EX_CLIENTEDGE, kPlanViewClassName, L"", WS_CHILD | WS_VISIBLE, 0,
                              0, 10, 10, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              instance, this);
    return window_ != nullptr;
}

void PlanView::Show(project::SiteFigure figure) {
    painter_ = SiteFigureGdiplus(std::move(figure));
    if (fitted_) Fit();
    InvalidateRect(window_, nullptr, FALSE);
}

void PlanView::SetNote(const std::wstring& note) {
    if (note == note_) return;
    note_ = note;
    SetWindowTextW(window_, note_.c_str());
    InvalidateRect(window_, nullptr, FALSE);
}

double PlanView::PointPixels() const { return WindowDpi(window_) / 96.0; }

void PlanView::Fit() {
    RECT client{};
    GetClientRect(window_, &client);
    const double pt = PointPixels();
    // The figure's label room is in points: fit in points, then scale to pixels.
    project::SiteView view =
        project::FitView(painter_.figure(), client.right / pt, client.bottom / pt);
    view.scale *= pt;
    view_ = view;
    fitted_ = true;
    InvalidateRect(window_, nullptr, FALSE);
}

void PlanView::Paint(HDC dc) {
    RECT client{};
    GetClientRect(window_, &client);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    {
        Gdiplus::Graphics graphics(memory);
        graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
        painter_.Paint(graphics, view_,
                       Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(client.right),
                                      static_cast<Gdiplus::REAL>(client.bottom)),
                       PointPixels());
        PaintNote(graphics);
    }
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

void PlanView::PaintNote(Gdiplus::Graphics& graphics) const {
    if (note_.empty()) return;
    const double pt = PointPixels();
    static const std::wstring faceName = WindowFontFace();
    Gdiplus::FontFamily family(faceName.c_str());
    const Gdiplus::FontFamily* face =
        family.IsAvailable() ? &family : Gdiplus::FontFamily::GenericSansSerif();
    const Gdiplus::Font font(face, static_cast<Gdiplus::REAL>(12 * pt), Gdiplus::FontStyleRegular,
                             Gdiplus::UnitPixel);
    const auto margin = static_cast<Gdiplus::REAL>(4 * pt);
    Gdiplus::RectF size;
    graphics.MeasureString(note_.c_str(), static_cast<INT>(note_.size()), &font,
                           Gdiplus::PointF(0, 0), &size);
    const Gdiplus::RectF box(margin, margin, size.Width + 2 * margin, size.Height + margin);
    const Gdiplus::SolidBrush back(Gdiplus::Color(230, 255, 248, 200));
    graphics.FillRectangle(&back, box);
    const Gdiplus::SolidBrush ink(Gdiplus::Color(255, 120, 60, 0));
    graphics.DrawString(note_.c_str(), static_cast<INT>(note_.size()), &font,
                        Gdiplus::PointF(2 * margin, margin * 1.5f), &ink);
}

LRESULT PlanView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window_, &paint);
            Paint(dc);
            EndPaint(window_, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            if (fitted_) Fit();
            return 0;
        case WM_MOUSEWHEEL: {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(window_, &at);
            const double notches = GET_WHEEL_DELTA_WPARAM(wParam) / double(WHEEL_DELTA);
            view_ =
                project::ZoomedAbout(view_, std::pow(1.25, notches), {double(at.x), double(at.y)});
            fitted_ = false;
            InvalidateRect(window_, nullptr, FALSE);
            return 0;
        }
        case WM_LBUTTONDOWN:
            SetFocus(window_);
            dragging_ = true;
            dragFrom_ = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            SetCapture(window_);
            return 0;
        case WM_LBUTTONUP:
            dragging_ = false;
            ReleaseCapture();
            return 0;
        case WM_LBUTTONDBLCLK:
            Fit();
            return 0;
        case WM_MOUSEMOVE: {
            const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (dragging_ && (at.x != dragFrom_.x || at.y != dragFrom_.y)) {
                view_ = project::Panned(view_, at.x - dragFrom_.x, at.y - dragFrom_.y);
                dragFrom_ = at;
                fitted_ = false;
                InvalidateRect(window_, nullptr, FALSE);
            }
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_, 0};
            TrackMouseEvent(&track);
            const project::SitePoint site = project::ToSite(view_, {double(at.x), double(at.y)});
            const std::string text = project::PointerText(site);
            if (pointerMoved_) pointerMoved_(std::wstring(text.begin(), text.end()));
            if (pointerAt_) pointerAt_(site);
            return 0;
        }
        case WM_MOUSELEAVE:
            if (pointerMoved_) pointerMoved_(L"");
            if (pointerAt_) pointerAt_(std::nullopt);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace quorvel
