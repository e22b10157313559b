#include "ui/qt/site_figure_painter.h"

#include <QtCore/QByteArray>
#include <QtGui/QFont>
#include <QtGui/QFontMetricsF>
#include <QtGui/QPainterPath>
#include <QtGui/QPen>
#include <QtGui/QPolygonF>
#include <QtGui/QTransform>

#include <algorithm>
#include <cmath>
#include <utility>

namespace quorvel {
namespace {

using namespace project;

bool Finite(SitePoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

QPointF At(const SiteView& view, SitePoint site) {
    const PixelPoint p = ToPixel(view, site);
    return {p.x, p.y};
}

QColor ToQColor(Colour colour) { return QColor(colour.red, colour.green, colour.blue); }

// The painter's pen, brush and opacity for a style, as the SVG attributes
// read: round joins, butt caps, dashes in points.
void Apply(QPainter& painter, const Style& style) {
    const double width =
        std::clamp(std::isfinite(style.strokeWidth) ? style.strokeWidth : 1.0, 0.0, 100.0);
    // A pen of width 0 would be Qt's one-pixel cosmetic pen; SVG draws nothing.
    if (style.stroke && width > 0) {
        QPen pen(ToQColor(*style.stroke), width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
        if (!style.dash.empty()) {
            // Qt counts dashes in pen widths.
            QList<qreal> pattern;
            bool drawn = false;
            for (double length : style.dash) {
                const double l = std::isfinite(length) ? std::max(length, 0.0) : 0.0;
                drawn = drawn || l > 0;
                pattern << l / width;
            }
            // SVG repeats a list of odd length; Qt needs pairs.
            if (pattern.size() % 2 != 0) pattern.append(QList<qreal>(pattern));
            if (drawn) pen.setDashPattern(pattern);
        }
        painter.setPen(pen);
    } else {
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(style.fill ? QBrush(ToQColor(*style.fill)) : QBrush(Qt::NoBrush));
    painter.setOpacity(std::clamp(std::isfinite(style.opacity) ? style.opacity : 1.0, 0.0, 1.0));
}

// The SVG text's baseline from the anchor, for the label's vertical
// alignment: fractions of the size.
double BaselineShift(VerticalAlign vertical, double size) {
    switch (vertical) {
        case VerticalAlign::Bottom:
            return -0.22 * size;
        case VerticalAlign::Middle:
            return 0.36 * size;
        case VerticalAlign::Top:
            return 0.86 * size;
    }
    return 0;
}

class ItemPainter {
  public:
    ItemPainter(QPainter& painter, const SiteView& view, const QImage& picture)
        : painter_(painter), view_(view), picture_(picture) {}

    void operator()(const Picture& picture) const {
        if (picture_.isNull() || picture.pixelWidth <= 0 || picture.pixelHeight <= 0) return;
        // Pixel to site, then site to widget.
        const PixelToSite& p = picture.placement;
        const double s = view_.scale;
        const QTransform transform(s * p.a, -s * p.b, s * p.c, -s * p.d, s * (p.e - view_.left),
                                   s * (view_.top - p.f));
        if (!transform.isInvertible()) return;
        painter_.setTransform(transform, true);
        painter_.setOpacity(
            std::clamp(std::isfinite(picture.opacity) ? picture.opacity : 1.0, 0.0, 1.0));
        painter_.drawImage(QRectF(0, 0, picture.pixelWidth, picture.pixelHeight), picture_);
    }

    void operator()(const PolygonShape& polygon) const {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        for (const std::vector<SitePoint>& ring : polygon.rings) {
            QPolygonF points;
            for (const SitePoint& p : ring) {
                if (Finite(p)) points << At(view_, p);
            }
            if (points.isEmpty()) continue;
            path.addPolygon(points);
            path.closeSubpath();
        }
        if (path.isEmpty()) return;
        Apply(painter_, polygon.style);
        painter_.drawPath(path);
    }

    void operator()(const CircleShape& circle) const {
        if (!Finite(circle.centre) || !(circle.radius > 0) || !std::isfinite(circle.radius)) return;
        const double r = circle.radius * view_.scale;
        Apply(painter_, circle.style);
        painter_.drawEllipse(At(view_, circle.centre), r, r);
    }

    void operator()(const PolylineShape& line) const {
        QPolygonF points;
        for (const SitePoint& p : line.points) {
            if (Finite(p)) points << At(view_, p);
        }
        if (points.isEmpty()) return;
        Style style = line.style;
        style.fill.reset();
        Apply(painter_, style);
        painter_.drawPolyline(points);
    }

    void operator()(const TextLabel& label) const {
        if (!Finite(label.anchor) || label.text.empty()) return;
        const double wanted = LabelSize(label, view_.scale);
        if (!(wanted > 0.0)) return;
        const double size = std::clamp(wanted, 1.0, 200.0);
        QFont font = painter_.font();
        // One point, one pixel, as in the SVG; a pixel size keeps it so
        // whatever the device's resolution.
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
        font.setBold(label.bold);
        const QString text =
            QString::fromUtf8(label.text.data(), static_cast<qsizetype>(label.text.size()));
        const QPointF anchor = At(view_, label.anchor);
        const double advance = QFontMetricsF(font).horizontalAdvance(text);
        double x = anchor.x() + (std::isfinite(label.offsetX) ? label.offsetX : 0.0);
        if (label.horizontal == HorizontalAlign::Centre) x -= advance / 2;
        if (label.horizontal == HorizontalAlign::Right) x -= advance;
        const double y = anchor.y() - (std::isfinite(label.offsetY) ? label.offsetY : 0.0) +
                         BaselineShift(label.vertical, size);
        QPainterPath path;
        path.addText(QPointF(x, y), font, text);
        painter_.setOpacity(1.0);
        if (label.halo > 0 && std::isfinite(label.halo)) {
            painter_.strokePath(path, QPen(Qt::white, 2 * std::min(label.halo, 50.0), Qt::SolidLine,
                                           Qt::RoundCap, Qt::RoundJoin));
        }
        painter_.fillPath(path, ToQColor(label.colour));
    }

    void operator()(const Mark& mark) const {
        if (!Finite(mark.at)) return;
        const QPointF c = At(view_, mark.at);
        const double h = std::clamp(std::isfinite(mark.size) ? mark.size : 7.0, 1.0, 100.0) / 2;
        Apply(painter_, mark.style);
        switch (mark.shape) {
            case MarkShape::Circle:
                painter_.drawEllipse(c, h, h);
                return;
            case MarkShape::Square:
                painter_.drawRect(QRectF(c.x() - h, c.y() - h, 2 * h, 2 * h));
                return;
            case MarkShape::Triangle:
                break;
        }
        // Its centre of area on the point.
        const QPointF corners[] = {{c.x(), c.y() - 1.15 * h},
                                   {c.x() + h, c.y() + 0.58 * h},
                                   {c.x() - h, c.y() + 0.58 * h}};
        painter_.drawPolygon(corners, 3);
    }

  private:
    QPainter& painter_;
    const SiteView& view_;
    const QImage& picture_;
};

QImage Decoded(const Picture& picture) {
    if (picture.bytes.empty()) return {};
    const QByteArray bytes =
        QByteArray::fromRawData(picture.bytes.data(), static_cast<qsizetype>(picture.bytes.size()));
    QImage image = QImage::fromData(bytes, picture.format == PictureFormat::Png ? "PNG" : "JPG");
    // fromRawData does not copy: the image must not share the bytes.
    image.detach();
    return image;
}

}  // namespace

SiteFigurePainter::SiteFigurePainter(SiteFigure figure) : figure_(std::move(figure)) {
    pictures_.resize(figure_.items.size());
    for (std::size_t i = 0; i < figure_.items.size(); ++i) {
        if (const auto* picture = std::get_if<Picture>(&figure_.items[i].primitive)) {
            pictures_[i] = Decoded(*picture);
        }
    }
}

void SiteFigurePainter::paint(QPainter& painter, const SiteView& view, const QRectF& area) const {
    if (!(view.scale > 0) || !std::isfinite(view.scale)) return;
    const Extent& e = figure_.extent;
    const QRectF extent =
        QRectF(At(view, {e.minX, e.maxY}), At(view, {e.maxX, e.minY})).normalized() & area;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QTransform base = painter.transform();
    for (std::size_t i = 0; i < figure_.items.size(); ++i) {
        const FigureItem& item = figure_.items[i];
        painter.setTransform(base);
        painter.setClipRect(project::IsClippedToExtent(item.part) ? extent : area);
        std::visit(ItemPainter(painter, view, pictures_[i]), item.primitive);
    }
    painter.restore();
}

}  // namespace quorvel
