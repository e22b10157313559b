#include "ui/qt/plan_pictures.h"

#include <QtCore/QBuffer>
#include <QtCore/QFile>
#include <QtCore/QSaveFile>

#include <algorithm>

#include "calc/project/sheet/site_figure_svg.h"
#include "ui/qt/site_figure_painter.h"

namespace quorvel {
namespace {

QString PathText(const std::filesystem::path& file) {
    return QString::fromStdU16String(file.u16string());
}

}  // namespace

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
    const project::Extent& e = figure.extent;
    const double inner = std::max(kPlanPictureWidth - figure.room.left - figure.room.right, 1.0);
    const double height = inner * (e.maxY - e.minY) / std::max(e.maxX - e.minX, 1e-9) +
                          figure.room.top + figure.room.bottom;
    const project::SiteView view = project::FitView(figure, kPlanPictureWidth, height);
    return PlanImage(figure, view, kPlanPictureWidth, height, kPlanPictureScale);
}

QByteArray PlanSvg(const project::SiteFigure& figure) {
    const std::string svg = project::SiteFigureSvg(figure, kPlanPictureWidth);
    return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n") +
           QByteArray::fromStdString(svg) + '\n';
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
    const QString name = PathText(file);
    const bool svg = name.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
    QSaveFile out(name);
    if (!out.open(QIODevice::WriteOnly)) {
        return QStringLiteral("无法写入图片文件：%1（%2）").arg(name, out.errorString());
    }
    bool written = true;
    if (svg) {
        const QByteArray text = PlanSvg(figure);
        written = out.write(text) == text.size();
    } else {
        written = PlanPageImage(figure).save(&out, "PNG");
    }
    if (!written || !out.commit()) {
        return QStringLiteral("无法写入图片文件：%1（%2）").arg(name, out.errorString());
    }
    return {};
}

}  // namespace quorvel
