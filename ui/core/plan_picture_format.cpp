#include "ui/core/plan_picture_format.h"

#include <algorithm>
#include <cmath>

#include "calc/project/files/atomic_file.h"
#include "calc/project/sheet/site_figure_svg.h"
#include "calc/unicode_text.h"
#include "ui/core/suggested_file_name.h"

namespace quorvel {
namespace {

std::u16string Lower(std::u16string text) {
    for (char16_t& c : text) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return text;
}

}  // namespace

std::u16string_view PlanPictureExtension(PlanPictureFormat format) {
    switch (format) {
        case PlanPictureFormat::Svg:
            return u".svg";
        case PlanPictureFormat::Emf:
            return u".emf";
        case PlanPictureFormat::Png:
            break;
    }
    return u".png";
}

Result<PlanPictureFormat> PlanPictureFormatOf(const std::filesystem::path& file, bool emf) {
    const std::u16string extension = Lower(PathText(file.extension()));
    for (PlanPictureFormat format :
         {PlanPictureFormat::Png, PlanPictureFormat::Svg, PlanPictureFormat::Emf}) {
        if (format == PlanPictureFormat::Emf && !emf) continue;
        if (extension == PlanPictureExtension(format)) return format;
    }
    return Fail(PlanPictureProblem(
        file, std::u16string(u"只能写 PNG") + (emf ? u"、SVG 或 EMF" : u" 或 SVG") +
                  u" 图片，请用 .png、.svg" + (emf ? u" 或 .emf" : u"") + u" 结尾的文件名"));
}

std::filesystem::path WithPlanPictureExtension(std::filesystem::path file,
                                               PlanPictureFormat chosen) {
    if (!file.empty() && !file.has_extension()) {
        file += PathFromText(PlanPictureExtension(chosen)).native();
    }
    return file;
}

std::u16string SuggestedPlanPictureName(std::string_view projectName,
                                        const std::filesystem::path& projectFile) {
    return SuggestedFileName(projectName, projectFile, u"厂区图.png");
}

PlanPage PlanPageOf(const project::SiteFigure& figure) {
    const project::Extent& e = figure.extent;
    const double inner = std::max(kPlanPictureWidth - figure.room.left - figure.room.right, 1.0);
    PlanPage page;
    page.height = inner * (e.maxY - e.minY) / std::max(e.maxX - e.minX, 1e-9) + figure.room.top +
                  figure.room.bottom;
    // An extent that is not finite: a page of the usual shape, painted empty.
    if (!std::isfinite(page.height) || page.height < 1.0) page.height = kPlanPictureWidth * 0.75;
    page.view = project::FitView(figure, page.width, page.height);
    return page;
}

std::string PlanSvgText(const project::SiteFigure& figure) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" +
           project::SiteFigureSvg(figure, kPlanPictureWidth) + '\n';
}

std::u16string PlanPictureProblem(const std::filesystem::path& file, std::u16string_view reason) {
    return u"图片未写出：" + PathText(file) + u"（" + std::u16string(reason) + u"）";
}

Status WritePlanPicture(const std::filesystem::path& file, std::string_view bytes) {
    const Status written = WriteFileAtomically(file, bytes);
    if (!written) return Fail(u"图片未写出：" + written.error());
    return written;
}

}  // namespace quorvel
