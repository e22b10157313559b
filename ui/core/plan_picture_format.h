#pragma once
// The plan as a picture for a report, whatever the toolkit paints it with:
// the size fit for an A4 page, the file formats 导出图片… writes and how a
// file's name chooses one, the name offered, the SVG text and the writing of
// the file. Both windows paint the bitmaps and metafiles themselves.

#include <filesystem>
#include <string>
#include <string_view>

#include "calc/project/sheet/site_figure.h"
#include "calc/project/sheet/site_view.h"
#include "calc/result.h"

namespace quorvel {

// The width (pt) of a picture for an A4 page: the text width of a portrait
// page with 2.5 cm margins is about 454 pt; bitmaps are painted at
// kPlanPictureScale pixels per point.
inline constexpr double kPlanPictureWidth = 454.0;
inline constexpr double kPlanPictureScale = 4.0;  // 288 dpi on the page

inline constexpr std::u16string_view kCopyPlanCommand = u"复制图";
inline constexpr std::u16string_view kExportPlanCommand = u"导出图片…";
inline constexpr std::u16string_view kExportPlanTitle = u"导出图片";

enum class PlanPictureFormat { Png, Svg, Emf };

// Its file name extension, lower case with the dot: ".png", ".svg", ".emf".
std::u16string_view PlanPictureExtension(PlanPictureFormat format);

// The format of `file`, told by its extension in any case (".png", ".svg",
// and ".emf" when `emf`, the Windows window, can write it). Another
// extension, or none, is refused with a message naming the file and the
// formats that can be written.
Result<PlanPictureFormat> PlanPictureFormatOf(const std::filesystem::path& file, bool emf);

// The name a save dialog returned, with `chosen`'s extension added when the
// user typed none ("厂区图" → "厂区图.png"); a name with any extension as it is.
std::filesystem::path WithPlanPictureExtension(std::filesystem::path file,
                                               PlanPictureFormat chosen);

// The name the save dialog offers: "<project name>-厂区图.png" (the name in
// UTF-8); the project file's stem in place of an empty name; "厂区图.png" for
// neither.
std::u16string SuggestedPlanPictureName(std::string_view projectName,
                                        const std::filesystem::path& projectFile);

// The whole figure on a page: kPlanPictureWidth pt wide, its height (pt)
// following the extent's aspect ratio with the label room added, and the
// view (pt per m) that fits the figure into it.
struct PlanPage {
    double width = kPlanPictureWidth;  // pt
    double height = 0.0;               // pt, above 0
    project::SiteView view;
};
PlanPage PlanPageOf(const project::SiteFigure& figure);

// The whole figure as a standalone SVG file's text (UTF-8, with its XML
// declaration), kPlanPictureWidth wide: the sheet's own SVG painter.
std::string PlanSvgText(const project::SiteFigure& figure);

// "图片未写出：<file>（<reason>）": why a picture was not written.
std::u16string PlanPictureProblem(const std::filesystem::path& file, std::u16string_view reason);

// Writes a picture's `bytes` to `file` atomically; the fault's message names
// the file and the reason, and the file is then as it was.
Status WritePlanPicture(const std::filesystem::path& file, std::string_view bytes);

}  // namespace quorvel
