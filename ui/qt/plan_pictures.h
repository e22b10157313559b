#pragma once
// The plan as pictures: for the clipboard (复制图, PNG and SVG) and for a
// file (导出图片…, PNG or SVG at a size fit for an A4 page).

#include <QtCore/QMimeData>
#include <QtCore/QString>
#include <QtGui/QImage>

#include <filesystem>
#include <memory>

#include "calc/project/sheet/site_figure.h"
#include "calc/project/sheet/site_view.h"
#include "ui/core/plan_picture_format.h"

namespace quorvel {

// The figure painted on white as `view` maps it into a `width` x `height` pt
// area (each at least 1), at `scale` pixels per point (1 to 8).
QImage PlanImage(const project::SiteFigure& figure, const project::SiteView& view, double width,
                 double height, double scale);

// The whole figure fitted to kPlanPictureWidth, its height following the
// extent's aspect ratio, at kPlanPictureScale.
QImage PlanPageImage(const project::SiteFigure& figure);

// The whole figure as a standalone SVG file's text (UTF-8), kPlanPictureWidth wide.
QByteArray PlanSvg(const project::SiteFigure& figure);

// What 复制图 puts on the clipboard: the plan as shown (`view` in a
// `width` x `height` pt area) as an image and as PNG, and the whole figure as SVG.
std::unique_ptr<QMimeData> PlanMimeData(const project::SiteFigure& figure,
                                        const project::SiteView& view, double width, double height);

// Writes the plan to `file` atomically, as PNG or SVG as its name's extension
// says (PlanPictureFormatOf). An empty text when written, else why not,
// naming the file.
QString ExportPlan(const project::SiteFigure& figure, const std::filesystem::path& file);

}  // namespace quorvel
