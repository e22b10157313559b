#pragma once
// The project window's plan: a child window that paints the site figure with
// GDI+, fits it to its size until the user zooms (mouse wheel) or pans (left
// drag), fits again on a double click, tells the site coordinates under
// the pointer, and writes a note over its top-left corner (also its window
// text).

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "calc/project/sheet/site_view.h"
#include "ui/win32/site_figure_gdiplus.h"

namespace quorvel {

inline constexpr wchar_t kPlanViewClassName[] = L"QuorvelPlanView";

class PlanView {
  public:
    // pointerMoved: the pointer's site coordinates as text, empty when it leaves.
    explicit PlanView(std::function<void(const std::wstring&)> pointerMoved)
        : pointerMoved_(std::move(pointerMoved)) {}
    PlanView(const PlanView&) = delete;
    PlanView& operator=(const PlanView&) = delete;

    bool Create(HINSTANCE instance, HWND parent, int id);
    HWND window() const { return window_; }
    // A new figure; the view fits it unless the user has zoomed or panned.
    void Show(project::SiteFigure figure);
    void Fit();
    // The site point (m) under the pointer, nullopt when it leaves the plan.
    void OnPointerAt(std::function<void(std::optional<project::SitePoint>)> pointerAt) {
        pointerAt_ = std::move(pointerAt);
    }
    // The note over the plan ("正在计算浓度场…"); empty for none.
    void SetNote(const std::wstring& note);
    // What it paints and how: the painter, the view (px per m) and the pixels
    // a point of the figure takes at the window's dpi.
    const SiteFigureGdiplus& painter() const { return painter_; }
    const project::SiteView& view() const { return view_; }
    double PointPixels() const;

  private:
    template <class Owner>
    friend LRESULT CALLBACK OwnedWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc);
    void PaintNote(Gdiplus::Graphics& graphics) const;

    std::function<void(const std::wstring&)> pointerMoved_;
    std::function<void(std::optional<project::SitePoint>)> pointerAt_;
    std::wstring note_;
    HWND window_ = nullptr;
    SiteFigureGdiplus painter_;
    project::SiteView view_;
    bool fitted_ = true;  // follows the window's size and the figure
    bool dragging_ = false;
    POINT dragFrom_{};
};

}  // namespace quorvel
