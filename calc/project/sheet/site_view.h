#pragma once
// Where a site figure lies on a screen: the map from site metres to pixels
// (x right, y down) with north up, how it fits a figure into an area, and how
// zooming and panning change it. Shared by the painters of both front ends.

#include <string>

#include "calc/project/project.h"
#include "calc/project/sheet/site_figure.h"

namespace quorvel::project {

struct PixelPoint {
    double x = 0.0;  // px, to the right
    double y = 0.0;  // px, downwards
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// pixel.x = (site.x - left) * scale, pixel.y = (top - site.y) * scale.
struct SiteView {
    double scale = 1.0;  // px per m, above 0
    double left = 0.0;   // m, the site x at the pixel column 0
    double top = 0.0;    // m, the site y at the pixel row 0
};

PixelPoint ToPixel(const SiteView& view, SitePoint site);
SitePoint ToSite(const SiteView& view, PixelPoint pixel);

// The view that shows the figure's extent as large as fits into an area of
// `width` x `height` px, less the figure's label room on each side, keeping
// its aspect ratio and centred in what is left. A view of 1 px per m on the
// extent's corner when the area or the extent is empty or not finite.
SiteView FitView(const SiteFigure& figure, double width, double height);

// The scales a zoom may reach, px per m.
inline constexpr double kMinViewScale = 1e-4;
inline constexpr double kMaxViewScale = 1e4;

// The view zoomed by `factor` (above 1: closer) about `about`: the site
// point under that pixel stays under it. The scale stays within
// kMinViewScale to kMaxViewScale; a factor or point that is not a finite
// number, or a factor not above 0, leaves the view as it is.
SiteView ZoomedAbout(const SiteView& view, double factor, PixelPoint about);

// The view moved with the pointer: what was at a pixel is `dx`, `dy` px
// further right and down. Not finite: as it is.
SiteView Panned(const SiteView& view, double dx, double dy);

// "x = 1234.5 m, y = -67.8 m": a site point with one decimal, whatever the
// locale.
std::string PointerText(SitePoint site);

}  // namespace quorvel::project
