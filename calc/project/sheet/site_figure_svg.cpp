#include "calc/project/sheet/site_figure_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "calc/project/sheet/base64.h"
#include "calc/sheet/markup.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

std::string At(double value) { return FixedText(std::isfinite(value) ? value : 0.0, 2); }

std::string ColourText(const std::optional<Colour>& colour) {
    if (!colour) return "none";
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour->red, colour->green, colour->blue);
    return text;
}

// Site metres to drawing units, y turned to point down.
class Mapping {
  public:
    Mapping(const Extent& extent, double left, double top, double scale)
        : extent_(extent), left_(left), top_(top), scale_(scale) {}

    double X(double x) const { return left_ + (x - extent_.minX) * scale_; }
    double Y(double y) const { return top_ + (extent_.maxY - y) * scale_; }
    std::string Point(SitePoint p) const { return At(X(p.x)) + "," + At(Y(p.y)); }
    double scale() const { return scale_; }
    const Extent& extent() const { return extent_; }
    double left() const { return left_; }
    double top() const { return top_; }

  private:
    Extent extent_;
    double left_;
    double top_;
    double scale_;
};

std::string StyleAttributes(const Style& style) {
    std::string text =
        " stroke=\"" + ColourText(style.stroke) + "\" fill=\"" + ColourText(style.fill) + "\"";
    if (style.stroke) {
        text += " stroke-width=\"" + At(style.strokeWidth) + "\" stroke-linejoin=\"round\"";
        if (!style.dash.empty()) {
            text += " stroke-dasharray=\"";
            for (std::size_t i = 0; i < style.dash.size(); ++i) {
                text += (i ? " " : "") + At(style.dash[i]);
            }
            text += "\"";
        }
    }
    if (style.opacity < 1.0) text += " opacity=\"" + At(std::clamp(style.opacity, 0.0, 1.0)) + "\"";
    return text;
}

bool Finite(SitePoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

class Painter {
  public:
    explicit Painter(const Mapping& map) : map_(map) {}

    std::string operator()(const Picture& picture) const {
        if (picture.bytes.empty() || picture.pixelWidth <= 0 || picture.pixelHeight <= 0) return {};
        // Pixel to site, then site to drawing.
        const PixelToSite& p = picture.placement;
        const double s = map_.scale();
        const Extent& e = map_.extent();
        // Six decimals: a picture's thousands of pixels multiply the error.
        const auto fine = [](double v) { return FixedText(std::isfinite(v) ? v : 0.0, 6); };
        const std::string matrix = fine(s * p.a) + " " + fine(-s * p.b) + " " + fine(s * p.c) +
                                   " " + fine(-s * p.d) + " " +
                                   fine(s * (p.e - e.minX) + map_.left()) + " " +
                                   fine(-s * (p.f - e.maxY) + map_.top());
        return "<image x=\"0\" y=\"0\" width=\"" + std::to_string(picture.pixelWidth) +
               "\" height=\"" + std::to_string(picture.pixelHeight) +
               "\" preserveAspectRatio=\"none\" transform=\"matrix(" + matrix + ")\"" +
               (picture.opacity < 1.0
                    ? " opacity=\"" + At(std::clamp(picture.opacity, 0.0, 1.0)) + "\""
                    : std::string()) +
               " href=\"data:" + std::string(MimeType(picture.format)) + ";base64," +
               Base64(picture.bytes) + "\"/>";
    }

    std::string operator()(const PolygonShape& polygon) const {
        std::string path;
        for (const std::vector<SitePoint>& ring : polygon.rings) {
            std::string part;
            for (const SitePoint& p : ring) {
                if (!Finite(p)) continue;
                part += (part.empty() ? "M" : " L") + map_.Point(p);
            }
            if (!part.empty()) path += (path.empty() ? "" : " ") + part + " Z";
        }
        if (path.empty()) return {};
        return "<path d=\"" + path + "\" fill-rule=\"evenodd\"" + StyleAttributes(polygon.style) +
               "/>";
    }

    std::string operator()(const CircleShape& circle) const {
        if (!Finite(circle.centre) || !(circle.radius > 0) || !std::isfinite(circle.radius)) {
            return {};
        }
        return "<circle cx=\"" + At(map_.X(circle.centre.x)) + "\" cy=\"" +
               At(map_.Y(circle.centre.y)) + "\" r=\"" + At(circle.radius * map_.scale()) + "\"" +
               StyleAttributes(circle.style) + "/>";
    }

    std::string operator()(const PolylineShape& line) const {
        std::string points;
        for (const SitePoint& p : line.points) {
            if (Finite(p)) points += (points.empty() ? "" : " ") + map_.Point(p);
        }
        if (points.empty()) return {};
        Style style = line.style;
        style.fill.reset();
        return "<polyline points=\"" + points + "\"" + StyleAttributes(style) + "/>";
    }

    std::string operator()(const TextLabel& label) const {
        if (!Finite(label.anchor) || label.text.empty()) return {};
        const double wanted = LabelSize(label, map_.scale());
        if (!(wanted > 0.0)) return {};
        const double size = std::clamp(wanted, 1.0, 200.0);
        double y = map_.Y(label.anchor.y) - label.offsetY;
        switch (label.vertical) {
            case VerticalAlign::Bottom:
                y -= 0.22 * size;  // the descenders stay above the anchor
                break;
            case VerticalAlign::Middle:
                y += 0.36 * size;
                break;
            case VerticalAlign::Top:
                y += 0.86 * size;
                break;
        }
        const char* anchor = label.horizontal == HorizontalAlign::Left     ? "start"
                             : label.horizontal == HorizontalAlign::Centre ? "middle"
                                                                           : "end";
        // The size also as an inline style: a style sheet of another figure
        // in the same page (the concentration figures' "text" rule) would
        // otherwise override the attribute.
        std::string text = "<text x=\"" + At(map_.X(label.anchor.x) + label.offsetX) + "\" y=\"" +
                           At(y) + "\" font-size=\"" + At(size) +
                           "\" style=\"font-size:" + At(size) + "px\" text-anchor=\"" + anchor +
                           "\" fill=\"" + ColourText(label.colour) + "\"";
        if (label.bold) text += " font-weight=\"bold\"";
        if (label.halo > 0) {
            text += " stroke=\"#ffffff\" stroke-width=\"" + At(2 * label.halo) +
                    "\" stroke-linejoin=\"round\" paint-order=\"stroke\"";
        }
        // Through UTF-16, so that a malformed byte of the project's text
        // becomes U+FFFD and the document stays well-formed.
        return text + ">" + Escaped(FromUtf8(label.text)) + "</text>";
    }

    std::string operator()(const Mark& mark) const {
        if (!Finite(mark.at)) return {};
        const double x = map_.X(mark.at.x);
        const double y = map_.Y(mark.at.y);
        const double h = std::clamp(mark.size, 1.0, 100.0) / 2;
        const std::string style = StyleAttributes(mark.style);
        switch (mark.shape) {
            case MarkShape::Circle:
                return "<circle cx=\"" + At(x) + "\" cy=\"" + At(y) + "\" r=\"" + At(h) + "\"" +
                       style + "/>";
            case MarkShape::Square:
                return "<rect x=\"" + At(x - h) + "\" y=\"" + At(y - h) + "\" width=\"" +
                       At(2 * h) + "\" height=\"" + At(2 * h) + "\"" + style + "/>";
            case MarkShape::Triangle:
                break;
        }
        // Its centre of area on the point.
        return "<polygon points=\"" + At(x) + "," + At(y - 1.15 * h) + " " + At(x + h) + "," +
               At(y + 0.58 * h) + " " + At(x - h) + "," + At(y + 0.58 * h) + "\"" + style + "/>";
    }

  private:
    const Mapping& map_;
};

}  // namespace

std::string SiteFigureSvg(const SiteFigure& figure, double widthPx, const std::string& clipId) {
    const double width = std::isfinite(widthPx) ? std::clamp(widthPx, 100.0, 10000.0) : 640.0;
    const Extent& e = figure.extent;
    const LabelRoom& room = figure.room;
    const double extentWidth = e.maxX - e.minX;
    const double extentHeight = e.maxY - e.minY;
    const double inner = std::max(width - room.left - room.right, 10.0);
    const double scale = extentWidth > 0 && std::isfinite(extentWidth) ? inner / extentWidth : 1.0;
    const double innerHeight =
        extentHeight > 0 && std::isfinite(extentHeight) ? extentHeight * scale : inner;
    const double height = innerHeight + room.top + room.bottom;
    const Mapping map(e, room.left, room.top, scale);
    const Painter paint(map);

    std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"site\" viewBox=\"0 0 " + At(width) +
        " " + At(height) + "\" role=\"img\" aria-label=\"厂区图\">\n<defs><clipPath id=\"" +
        Escaped(clipId) + "\"><rect x=\"" + At(room.left) + "\" y=\"" + At(room.top) +
        "\" width=\"" + At(inner) + "\" height=\"" + At(innerHeight) + "\"/></clipPath></defs>\n";
    bool clipping = false;
    for (const FigureItem& item : figure.items) {
        const std::string element = std::visit(paint, item.primitive);
        if (element.empty()) continue;
        if (IsClippedToExtent(item.part) != clipping) {
            svg += clipping ? std::string("</g>\n")
                            : "<g clip-path=\"url(#" + Escaped(clipId) + ")\">\n";
            clipping = !clipping;
        }
        svg += element + "\n";
    }
    if (clipping) svg += "</g>\n";
    svg += "</svg>\n";
    return svg;
}

}  // namespace quorvel::project
