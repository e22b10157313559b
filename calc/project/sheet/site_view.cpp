#include "calc/project/sheet/site_view.h"

#include <algorithm>
#include <cmath>

#include "calc/sheet/markup.h"

namespace quorvel::project {
namespace {

bool Finite(double value) { return std::isfinite(value); }

}  // namespace

PixelPoint ToPixel(const SiteView& view, SitePoint site) {
    return {(site.x - view.left) * view.scale, (view.top - site.y) * view.scale};
}

SitePoint ToSite(const SiteView& view, PixelPoint pixel) {
    return {view.left + pixel.x / view.scale, view.top - pixel.y / view.scale};
}

SiteView FitView(const SiteFigure& figure, double width, double height) {
    const Extent& e = figure.extent;
    const LabelRoom& room = figure.room;
    const double extentWidth = e.maxX - e.minX;
    const double extentHeight = e.maxY - e.minY;
    const SiteView fallback{1.0, Finite(e.minX) ? e.minX : 0.0, Finite(e.maxY) ? e.maxY : 0.0};
    if (!Finite(extentWidth) || !Finite(extentHeight) || !(extentWidth > 0) ||
        !(extentHeight > 0) || !Finite(width) || !Finite(height)) {
        return fallback;
    }
    // Too small for the room: the extent gets the whole area.
    double innerWidth = width - room.left - room.right;
    double innerHeight = height - room.top - room.bottom;
    double offsetX = room.left;
    double offsetY = room.top;
    if (!(innerWidth > 1) || !(innerHeight > 1)) {
        innerWidth = width;
        innerHeight = height;
        offsetX = 0;
        offsetY = 0;
    }
    if (!(innerWidth > 0) || !(innerHeight > 0)) return fallback;
    const double scale = std::clamp(std::min(innerWidth / extentWidth, innerHeight / extentHeight),
                                    kMinViewScale, kMaxViewScale);
    const double marginX = offsetX + (innerWidth - extentWidth * scale) / 2;
    const double marginY = offsetY + (innerHeight - extentHeight * scale) / 2;
    return {scale, e.minX - marginX / scale, e.maxY + marginY / scale};
}

SiteView ZoomedAbout(const SiteView& view, double factor, PixelPoint about) {
    if (!Finite(factor) || !(factor > 0) || !Finite(about.x) || !Finite(about.y)) return view;
    const SitePoint fixed = ToSite(view, about);
    SiteView zoomed = view;
    zoomed.scale = std::clamp(view.scale * factor, kMinViewScale, kMaxViewScale);
    zoomed.left = fixed.x - about.x / zoomed.scale;
    zoomed.top = fixed.y + about.y / zoomed.scale;
    return zoomed;
}

SiteView Panned(const SiteView& view, double dx, double dy) {
    if (!Finite(dx) || !Finite(dy)) return view;
    SiteView panned = view;
    panned.left -= dx / view.scale;
    panned.top += dy / view.scale;
    return panned;
}

std::string PointerText(SitePoint site) {
    const auto metres = [](double value) {
        if (!Finite(value)) return std::string("?");
        // No "-0.0" for a point just west or south of the origin.
        const std::string text = FixedText(value, 1);
        return text == "-0.0" ? std::string("0.0") : text;
    };
    return "x = " + metres(site.x) + " m, y = " + metres(site.y) + " m";
}

}  // namespace quorvel::project
