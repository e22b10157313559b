#pragma once
// Paints a site figure with GDI+, anti-aliased, meaning by each primitive and
// style what the sheet's SVG painter means by it.

#include <windows.h>
// After windows.h, which it builds on:
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "calc/project/sheet/site_figure.h"
#include "calc/project/sheet/site_view.h"

namespace quorvel {

class SiteFigureGdiplus {
  public:
    SiteFigureGdiplus() = default;
    // Decodes the plan picture once; one that does not decode is left out.
    explicit SiteFigureGdiplus(project::SiteFigure figure);

    const project::SiteFigure& figure() const { return figure_; }

    // Paints into `area` (device pixels) as `view` maps it, the first item
    // undermost; `pointPixels` pixels per point (the window's dpi / 96). The
    // plan, zone, boundary, discs and sources are clipped to the extent.
    void Paint(Gdiplus::Graphics& graphics, const project::SiteView& view,
               const Gdiplus::RectF& area, double pointPixels) const;

  private:
    project::SiteFigure figure_;
    std::vector<std::shared_ptr<Gdiplus::Bitmap>> pictures_;  // one per item, null but pictures
};

}  // namespace quorvel
