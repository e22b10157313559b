#include "ui/win32/site_figure_gdiplus.h"

#include <objidl.h>
#include <shlwapi.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "ui/win32/wide_text.h"

namespace quorvel {
namespace {

using namespace project;

bool Finite(SitePoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

double Clamped(double value, double fallback, double low, double high) {
    return std::clamp(std::isfinite(value) ? value : fallback, low, high);
}

Gdiplus::PointF At(const SiteView& view, SitePoint site) {
    const PixelPoint p = ToPixel(view, site);
    return {static_cast<Gdiplus::REAL>(p.x), static_cast<Gdiplus::REAL>(p.y)};
}

Gdiplus::Color ToColor(Colour colour, double opacity) {
    const auto alpha = static_cast<BYTE>(std::lround(255 * Clamped(opacity, 1.0, 0.0, 1.0)));
    return Gdiplus::Color(alpha, colour.red, colour.green, colour.blue);
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(size, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

class ItemPainter {
  public:
    ItemPainter(Gdiplus::Graphics& graphics, const SiteView& view, Gdiplus::Bitmap* picture,
                double pointPixels)
        : g_(graphics), view_(view), picture_(picture), pt_(pointPixels) {}

    void operator()(const Picture& picture) const {
        if (picture_ == nullptr || picture.pixelWidth <= 0 || picture.pixelHeight <= 0) return;
        const PixelToSite& p = picture.placement;
        const double s = view_.scale;
        Gdiplus::Matrix transform(
            static_cast<Gdiplus::REAL>(s * p.a), static_cast<Gdiplus::REAL>(-s * p.b),
            static_cast<Gdiplus::REAL>(s * p.c), static_cast<Gdiplus::REAL>(-s * p.d),
            static_cast<Gdiplus::REAL>(s * (p.e - view_.left)),
            static_cast<Gdiplus::REAL>(s * (view_.top - p.f)));
        if (!transform.IsInvertible()) return;
        const Gdiplus::GraphicsState state = g_.Save();
        g_.MultiplyTransform(&transform);
        Gdiplus::ColorMatrix fade = {
            {{1, 0, 0, 0, 0},
             {0, 1, 0, 0, 0},
             {0, 0, 1, 0, 0},
             {0, 0, 0, static_cast<Gdiplus::REAL>(Clamped(picture.opacity, 1.0, 0.0, 1.0)), 0},
             {0, 0, 0, 0, 1}}};
        Gdiplus::ImageAttributes attributes;
        attributes.SetColorMatrix(&fade);
        g_.DrawImage(picture_,
                     Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(picture.pixelWidth),
                                    static_cast<Gdiplus::REAL>(picture.pixelHeight)),
                     0, 0, static_cast<Gdiplus::REAL>(picture_->GetWidth()),
                     static_cast<Gdiplus::REAL>(picture_->GetHeight()), Gdiplus::UnitPixel,
                     &attributes);
        g_.Restore(state);
    }

    void operator()(const PolygonShape& polygon) const {
        Gdiplus::GraphicsPath path(Gdiplus::FillModeAlternate);
        for (const std::vector<SitePoint>& ring : polygon.rings) {
            std::vector<Gdiplus::PointF> points;
            for (const SitePoint& p : ring) {
                if (Finite(p)) points.push_back(At(view_, p));
            }
            if (points.size() < 2) continue;
            path.StartFigure();
            path.AddPolygon(points.data(), static_cast<INT>(points.size()));
            path.CloseFigure();
        }
        if (path.GetPointCount() == 0) return;
        Fill(polygon.style, [&](Gdiplus::Brush& brush) { g_.FillPath(&brush, &path); });
        Stroke(polygon.style, [&](Gdiplus::Pen& pen) { g_.DrawPath(&pen, &path); });
    }

    void operator()(const CircleShape& circle) const {
        if (!Finite(circle.centre) || !(circle.radius > 0) || !std::isfinite(circle.radius)) return;
        const auto r = static_cast<Gdiplus::REAL>(circle.radius * view_.scale);
        const Gdiplus::PointF c = At(view_, circle.centre);
        const Gdiplus::RectF box(c.X - r, c.Y - r, 2 * r, 2 * r);
        Fill(circle.style, [&](Gdiplus::Brush& brush) { g_.FillEllipse(&brush, box); });
        Stroke(circle.style, [&](Gdiplus::Pen& pen) { g_.DrawEllipse(&pen, box); });
    }

    void operator()(const PolylineShape& line) const {
        std::vector<Gdiplus::PointF> points;
        for (const SitePoint& p : line.points) {
            if (Finite(p)) points.push_back(At(view_, p));
        }
        if (points.size() < 2) return;
        Stroke(line.style, [&](Gdiplus::Pen& pen) {
            g_.DrawLines(&pen, points.data(), static_cast<INT>(points.size()));
        });
    }

    void operator()(const TextLabel& label) const {
        if (!Finite(label.anchor) || label.text.empty()) return;
        const double wanted = LabelSize(label, pt_ > 0 ? view_.scale / pt_ : view_.scale);
        if (!(wanted > 0.0)) return;
        const double size = Clamped(wanted, 8.0, 1.0, 200.0) * pt_;
        const std::wstring text = FromUtf8(label.text);
        Gdiplus::FontFamily family(L"Microsoft YaHei");
        Gdiplus::FontFamily fallback(L"WenQuanYi Zen Hei");
        const Gdiplus::FontFamily* face = &family;
        if (!family.IsAvailable()) face = fallback.IsAvailable() ? &fallback : nullptr;
        const Gdiplus::FontFamily* generic = Gdiplus::FontFamily::GenericSansSerif();
        if (face == nullptr) face = generic;
        const INT style = label.bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular;
        Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
        Gdiplus::GraphicsPath path;
        path.AddString(text.c_str(), static_cast<INT>(text.size()), face, style,
                       static_cast<Gdiplus::REAL>(size), Gdiplus::PointF(0, 0), &format);
        Gdiplus::RectF bounds;
        Gdiplus::Font font(face, static_cast<Gdiplus::REAL>(size), style, Gdiplus::UnitPixel);
        g_.MeasureString(text.c_str(), static_cast<INT>(text.size()), &font, Gdiplus::PointF(0, 0),
                         &format, &bounds);
        const Gdiplus::PointF anchor = At(view_, label.anchor);
        double x = anchor.X + Clamped(label.offsetX, 0.0, -1e4, 1e4) * pt_;
        if (label.horizontal == HorizontalAlign::Centre) x -= bounds.Width / 2;
        if (label.horizontal == HorizontalAlign::Right) x -= bounds.Width;
        // The SVG's baseline from the anchor; the path's origin is the em box's top.
        double baseline = anchor.Y - Clamped(label.offsetY, 0.0, -1e4, 1e4) * pt_;
        switch (label.vertical) {
            case VerticalAlign::Bottom:
                baseline -= 0.22 * size;
                break;
            case VerticalAlign::Middle:
                baseline += 0.36 * size;
                break;
            case VerticalAlign::Top:
                baseline += 0.86 * size;
                break;
        }
        const double ascent = size * face->GetCellAscent(style) / face->GetEmHeight(style);
        Gdiplus::Matrix move;
        move.Translate(static_cast<Gdiplus::REAL>(x),
                       static_cast<Gdiplus::REAL>(baseline - ascent));
        path.Transform(&move);
        if (label.halo > 0 && std::isfinite(label.halo)) {
            Gdiplus::Pen halo(Gdiplus::Color(255, 255, 255, 255),
                              static_cast<Gdiplus::REAL>(2 * std::min(label.halo, 50.0) * pt_));
            halo.SetLineJoin(Gdiplus::LineJoinRound);
            g_.DrawPath(&halo, &path);
        }
        Gdiplus::SolidBrush brush(ToColor(label.colour, 1.0));
        g_.FillPath(&brush, &path);
    }

    void operator()(const Mark& mark) const {
        if (!Finite(mark.at)) return;
        const Gdiplus::PointF c = At(view_, mark.at);
        const auto h = static_cast<Gdiplus::REAL>(Clamped(mark.size, 7.0, 1.0, 100.0) * pt_ / 2);
        Gdiplus::GraphicsPath path;
        switch (mark.shape) {
            case MarkShape::Circle:
                path.AddEllipse(c.X - h, c.Y - h, 2 * h, 2 * h);
                break;
            case MarkShape::Square:
                path.AddRectangle(Gdiplus::RectF(c.X - h, c.Y - h, 2 * h, 2 * h));
                break;
            case MarkShape::Triangle: {
                // Its centre of area on the point.
                const Gdiplus::PointF corners[] = {
                    {c.X, c.Y - 1.15f * h}, {c.X + h, c.Y + 0.58f * h}, {c.X - h, c.Y + 0.58f * h}};
                path.AddPolygon(corners, 3);
                break;
            }
        }
        Fill(mark.style, [&](Gdiplus::Brush& brush) { g_.FillPath(&brush, &path); });
        Stroke(mark.style, [&](Gdiplus::Pen& pen) { g_.DrawPath(&pen, &path); });
    }

  private:
    template <class Draw>
    void Fill(const Style& style, Draw draw) const {
        if (!style.fill) return;
        Gdiplus::SolidBrush brush(ToColor(*style.fill, style.opacity));
        draw(brush);
    }

    // Round joins, butt caps, dashes in points as the SVG's.
    template <class Draw>
    void Stroke(const Style& style, Draw draw) const {
        const double width = Clamped(style.strokeWidth, 1.0, 0.0, 100.0) * pt_;
        if (!style.stroke || !(width > 0)) return;
        Gdiplus::Pen pen(ToColor(*style.stroke, style.opacity), static_cast<Gdiplus::REAL>(width));
        pen.SetLineJoin(Gdiplus::LineJoinRound);
        if (!style.dash.empty()) {
            // GDI+ counts dashes in pen widths, in pairs.
            std::vector<Gdiplus::REAL> pattern;
            bool drawn = false;
            for (double length : style.dash) {
                const double l = Clamped(length, 0.0, 0.0, 1e4) * pt_;
                drawn = drawn || l > 0;
                pattern.push_back(static_cast<Gdiplus::REAL>(std::max(l / width, 0.01)));
            }
            if (pattern.size() % 2 != 0) {
                const std::vector<Gdiplus::REAL> once = pattern;
                pattern.insert(pattern.end(), once.begin(), once.end());
            }
            if (drawn) pen.SetDashPattern(pattern.data(), static_cast<INT>(pattern.size()));
        }
        draw(pen);
    }

    Gdiplus::Graphics& g_;
    const SiteView& view_;
    Gdiplus::Bitmap* picture_;
    double pt_;
};

std::shared_ptr<Gdiplus::Bitmap> Decoded(const Picture& picture) {
    if (picture.bytes.empty()) return nullptr;
    IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(picture.bytes.data()),
                                        static_cast<UINT>(picture.bytes.size()));
    if (stream == nullptr) return nullptr;
    auto* decoded = Gdiplus::Bitmap::FromStream(stream);
    std::shared_ptr<Gdiplus::Bitmap> bitmap;
    // The bitmap reads its stream lazily: a copy owns its pixels.
    if (decoded != nullptr && decoded->GetLastStatus() == Gdiplus::Ok) {
        bitmap.reset(decoded->Clone(0, 0, static_cast<INT>(decoded->GetWidth()),
                                    static_cast<INT>(decoded->GetHeight()), PixelFormat32bppARGB));
    }
    delete decoded;
    stream->Release();
    if (bitmap && bitmap->GetLastStatus() != Gdiplus::Ok) bitmap.reset();
    return bitmap;
}

}  // namespace

SiteFigureGdiplus::SiteFigureGdiplus(SiteFigure figure) : figure_(std::move(figure)) {
    pictures_.resize(figure_.items.size());
    for (std::size_t i = 0; i < figure_.items.size(); ++i) {
        if (const auto* picture = std::get_if<Picture>(&figure_.items[i].primitive)) {
            pictures_[i] = Decoded(*picture);
        }
    }
}

void SiteFigureGdiplus::Paint(Gdiplus::Graphics& graphics, const SiteView& view,
                              const Gdiplus::RectF& area, double pointPixels) const {
    if (!(view.scale > 0) || !std::isfinite(view.scale)) return;
    const Extent& e = figure_.extent;
    const Gdiplus::PointF topLeft = At(view, {e.minX, e.maxY});
    const Gdiplus::PointF bottomRight = At(view, {e.maxX, e.minY});
    Gdiplus::RectF extent(topLeft.X, topLeft.Y, bottomRight.X - topLeft.X,
                          bottomRight.Y - topLeft.Y);
    Gdiplus::RectF::Intersect(extent, extent, area);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    for (std::size_t i = 0; i < figure_.items.size(); ++i) {
        const FigureItem& item = figure_.items[i];
        graphics.SetClip(project::IsClippedToExtent(item.part) ? extent : area);
        std::visit(ItemPainter(graphics, view, pictures_[i].get(), pointPixels), item.primitive);
    }
    graphics.ResetClip();
}

}  // namespace quorvel
