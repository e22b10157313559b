#include "ui/qt/plan_pictures.h"

#include <QtCore/QBuffer>

#include <algorithm>

#include "ui/qt/site_figure_painter.h"

namespace quorvel {

QImage PlanImage(const project::SiteFigure& figure, const project::SiteView& view, double width,
                 double height, double scale) {
    scale = std::clamp(scale, 1.0, 8.0);
    width = std::max(width, 1.0);
    height = std::max(height, 1.0);
    QImage image(static_cast<int>(width * scale + 0.5), static_cast<int>(height * scale + 0.5),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    SiteFigurePainter(figure).paint(painter, view, QRectF(0, 0, width, height));
    return image;
}

QImage PlanPageImage(const project::SiteFigure& figure) {
    const PlanPage page = PlanPageOf(figure);
    return PlanImage(figure, page.view, page.width, page.height, kPlanPictureScale);
}

QByteArray PlanSvg(const project::SiteFigure& figure) {
    return QByteArray::fromStdString(PlanSvgText(figure));
}

std::unique_ptr<QMimeData> PlanMimeData(const project::SiteFigure& figure,
                                        const project::SiteView& view, double width,
                                        double height) {
    const QImage image = PlanImage(figure, view, width, height, 2.0);
    auto data = std::make_unique<QMimeData>();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    data->setImageData(image);
    data->setData(QStringLiteral("image/png"), png);
    data->setData(QStringLiteral("image/svg+xml"), PlanSvg(figure));
    return data;
}

QString ExportPlan(const project::SiteFigure& figure, const std::filesystem::path& file) {
    const Result<PlanPictureFormat> format = PlanPictureFormatOf(file, false);
    if (!format) return QString::fromStdU16String(format.error());
    QByteArray bytes;
    if (format.value() == PlanPictureFormat::Svg) {
        bytes = PlanSvg(figure);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!PlanPageImage(figure).save(&buffer, "PNG"))
            return QString::fromStdU16String(PlanPictureProblem(file, u"无法生成图片"));
    }
    const Status written = WritePlanPicture(
        file, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return written ? QString() : QString::fromStdU16String(written.error());
}

}  // namespace quorvel
