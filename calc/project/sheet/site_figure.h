#pragma once
// The site figure: the plant boundary, the sources, their control ranges, the
// protection zone and the receptors, described once as a list of drawing
// primitives that any painter (the sheet's SVG, the project window) paints
// in the same way.
//
// Two kinds of length:
// - geometry is in site metres (x east, y north), so it grows and shrinks
//   as a painter zooms;
// - stroke widths, dashes, text sizes, mark sizes and label offsets are in
//   points (1/72 inch on paper, about one pixel on a screen at 100 %), kept
//   the same whatever the zoom.
// A painter maps the figure's extent into its area keeping the aspect ratio
// with north up, clips to the extent, and paints the primitives in their
// order, the first one undermost.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "calc/project/dxf/plan_drawing.h"
#include "calc/project/project.h"
#include "calc/project/project_results.h"
#include "calc/project/sheet/plan_picture.h"

namespace quorvel::project {

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

// How a primitive's outline and inside are painted. The figure uses black,
// white and greys only, so that it prints in black and white.
struct Style {
    std::optional<Colour> stroke;  // none: no outline
    std::optional<Colour> fill;    // none: not filled
    double strokeWidth = 1.0;      // pt
    std::vector<double> dash;      // pt, lengths of dash, gap, dash, gap ...; empty: solid
    double opacity = 1.0;          // 0 (invisible) to 1 (opaque), for outline and fill alike
};

// What a primitive shows, so that a painter or a test can find it.
enum class FigurePart {
    Plan,            // the plan picture
    Drawing,         // a line or text of the site plan drawing
    Zone,            // a polygon of the protection zone
    Boundary,        // the plant boundary
    Disc,            // a source's control range
    Source,          // a source's rectangle
    SourceLabel,     // a source's id and name
    Receptor,        // a receptor outside the zone, or any receptor before a run
    ReceptorInside,  // a receptor inside the zone
    ReceptorLabel,   // a receptor's name
    Frame,           // the frame around the extent
    Tick,            // a tick of the site coordinates on the frame, or its label
    NorthArrow,      // the north arrow and its letter
    ScaleBar,        // the scale bar and its labels
    // The current rule's figures (field_figure.h):
    Contour,             // a contour line of the combined field at a share of S
    ContourLabel,        // a contour's level, "1.0 S"
    Exceedance,          // a polygon where the combined field reaches S outside the plant
    ProtectionArea,      // a polygon of the protection area
    ProtectionDistance,  // the protection distance's line and its text
    ExceedingSide,       // a side of the boundary that the exceedance lies off
    Legend,              // the legend's box, samples and texts
    NotFinal,            // the text that the result shown is not final, or why it is missing
};

// Polygons with holes: each ring is closed implicitly (no closing vertex)
// and the inside is filled by the even-odd rule, so a ring inside another is
// a hole.
struct PolygonShape {
    std::vector<std::vector<SitePoint>> rings;  // m
    Style style;
};

struct CircleShape {
    SitePoint centre;     // m
    double radius = 0.0;  // m, above 0
    Style style;
};

// An open line through the points in order; never filled.
struct PolylineShape {
    std::vector<SitePoint> points;  // m
    Style style;
};

enum class HorizontalAlign { Left, Centre, Right };  // where the anchor is on the text's line
enum class VerticalAlign { Bottom, Middle, Top };    // where the anchor is on the text's height

// A line of text at a site point, moved by an offset that does not zoom.
struct TextLabel {
    std::string text;      // UTF-8, one line
    SitePoint anchor;      // m
    double offsetX = 0.0;  // pt, to the right
    double offsetY = 0.0;  // pt, upwards
    double size = 8.0;     // pt, the font's em height
    HorizontalAlign horizontal = HorizontalAlign::Left;
    VerticalAlign vertical = VerticalAlign::Bottom;
    bool bold = false;
    Colour colour;
    // A white edge of this width (pt) around the letters, so that lines under
    // the text do not hide it; 0 for none.
    double halo = 0.0;
    // Above 0: the em height in site metres, so that the text zooms with the
    // figure as a drawing's texts do; `size` is then not used.
    double siteSize = 0.0;
};

// The em height (pt) at which a painter draws `label` when a site metre is
// `ptPerMetre` pt long (> 0): `size`, or `siteSize` zoomed; 0 for a text of a
// site size too small to read (below 1 pt), which is not drawn.
double LabelSize(const TextLabel& label, double ptPerMetre);

enum class MarkShape { Circle, Square, Triangle };  // the triangle points up

// A symbol of a fixed size centred on a site point.
struct Mark {
    SitePoint at;  // m
    MarkShape shape = MarkShape::Triangle;
    double size = 7.0;  // pt, the width and height of the symbol
    Style style;
};

// The plan picture, placed by the map from its pixels to site coordinates.
// The pixel (0, 0) is the top-left corner of the picture's top-left pixel.
struct Picture {
    std::string file;   // the project's `plan.image`, UTF-8, as the project gives it
    std::string bytes;  // the picture's file; empty when it was not read
    PictureFormat format = PictureFormat::Png;
    int pixelWidth = 0;   // pixels
    int pixelHeight = 0;  // pixels
    PixelToSite placement;
    double opacity = 1.0;  // 0 to 1
};

using Primitive = std::variant<Picture, PolygonShape, CircleShape, PolylineShape, TextLabel, Mark>;

struct FigureItem {
    FigurePart part = FigurePart::Frame;
    std::string subject;  // the source's id or the receptor's name; empty otherwise
    Primitive primitive;
};

// A rectangle in site coordinates, m; minX < maxX and minY < maxY.
struct Extent {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 1.0;
    double maxY = 1.0;
};

// The room (pt) a painter keeps outside the extent on each side for the
// tick labels, which are placed outside the frame.
struct LabelRoom {
    double left = 0.0;
    double right = 0.0;
    double top = 0.0;
    double bottom = 0.0;
};

struct SiteFigure {
    // What the painter fits into its area: everything drawn but the picture,
    // with a margin; its height is between 0.6 and 1.25 times its width.
    Extent extent;
    LabelRoom room;
    std::vector<FigureItem> items;  // in painting order
    // Why a plan the project names is not drawn, in Chinese; empty when it is
    // drawn or the project has no plan.
    std::u16string planProblem;
};

// True for the parts a painter clips to the extent (the picture, the zone,
// the boundary, the discs and the sources); labels, marks, the frame and
// its furniture may reach into the label room.
bool IsClippedToExtent(FigurePart part);

// The site figure of `project`: the site plan drawing's lines and texts, thin
// and grey, when `drawing` is given (it does not widen the extent), else the
// plan picture when `picture` holds the plan's file; the zone, shaded; the
// boundary; each `distance` source's disc; each source's rectangle (width x
// length, the length along `angle`) labelled with its id and name; each receptor as a triangle with
// its name, filled and heavier when it is inside the zone; the frame with round site-coordinate
// ticks, a north arrow and a scale bar of a round length. `results` is null before a run: then
// there are no discs, no zone and every receptor is plain. Non-finite coordinates are left out.
SiteFigure BuildSiteFigure(const Project& project, const ProjectResults* results,
                           const std::optional<PlanPicture>& picture = std::nullopt,
                           const dxf::PlanDrawing* drawing = nullptr);

}  // namespace quorvel::project
