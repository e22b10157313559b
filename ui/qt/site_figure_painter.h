#pragma once
// Paints a site figure with QPainter, meaning by each primitive and style
// what the sheet's SVG painter means by it: the same colours, widths, dashes,
// text sizes and offsets.

#include <QtCore/QRectF>
#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <vector>

#include "calc/project/sheet/site_figure.h"
#include "calc/project/sheet/site_view.h"

namespace quorvel {

class SiteFigurePainter {
  public:
    SiteFigurePainter() = default;
    // Decodes the plan picture once; a picture that does not decode is left
    // out of the painting.
    explicit SiteFigurePainter(project::SiteFigure figure);

    const project::SiteFigure& figure() const { return figure_; }

    // Paints the figure anti-aliased into `area` (widget pixels) as `view`
    // maps it, the first item undermost. The plan, the zone, the boundary,
    // the discs and the sources are clipped to the extent, everything to
    // `area`. One point is one pixel: lengths in points stay the same
    // whatever the view's scale. The painter's state is restored afterwards.
    void paint(QPainter& painter, const project::SiteView& view, const QRectF& area) const;

  private:
    project::SiteFigure figure_;
    std::vector<QImage> pictures_;  // one for each item, null but for decoded pictures
};

}  // namespace quorvel
