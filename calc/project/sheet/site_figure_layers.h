#pragma once
// The layers every site figure shares: the site plan under it, the boundary,
// the sources, the receptors, their labels, and the frame with its ticks,
// north arrow and scale bar. The site figure and the current rule's figures
// put their own layers between these.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calc/project/dxf/plan_drawing.h"
#include "calc/project/project.h"
#include "calc/project/sheet/plan_picture.h"
#include "calc/project/sheet/site_figure.h"

namespace quorvel::project::figure_layers {

inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kDarkGrey{80, 80, 80};
inline constexpr Colour kGrey{150, 150, 150};
inline constexpr Colour kLightGrey{205, 205, 205};

bool Finite(SitePoint p);

// The box around the drawn things, m; points that are not finite are left out.
class Bounds {
  public:
    void Add(SitePoint p);
    void Add(const std::vector<SitePoint>& points);
    void AddCircle(SitePoint centre, double radius);
    bool empty() const { return empty_; }
    SitePoint low() const { return low_; }
    SitePoint high() const { return high_; }

  private:
    bool empty_ = true;
    SitePoint low_;
    SitePoint high_;
};

// The boundary, the sources' rectangles and the receptors.
void AddSite(Bounds& bounds, const Project& project);

// The drawn things' box with a margin on every side, widened or heightened
// about its centre to a height between 0.6 and 1.25 times its width.
Extent ExtentAround(const Bounds& bounds);

// The margin (m) that ExtentAround kept around the drawn things, at least.
double MarginOf(const Extent& extent);

class FigureWriter {
  public:
    explicit FigureWriter(SiteFigure& figure) : figure_(figure) {}
    SiteFigure& figure() { return figure_; }

    void Add(FigurePart part, std::string subject, Primitive primitive);
    // A solid black line `width` pt wide.
    void Line(FigurePart part, std::vector<SitePoint> points, double width = 0.8);
    void Label(FigurePart part, std::string subject, TextLabel label);

  private:
    SiteFigure& figure_;
};

// A black text of `size` pt at `anchor`, without offset or halo.
TextLabel Text(std::string text, SitePoint anchor, double size, HorizontalAlign horizontal,
               VerticalAlign vertical);

// The corners of the source's rectangle, counter-clockwise; empty when a
// number of it is not finite.
std::vector<SitePoint> SourceRectangle(const Source& source);

// The site plan drawing when given, else the project's plan picture (or
// the figure's planProblem saying why it is not drawn).
void AddUnderlay(FigureWriter& writer, const Project& project,
                 const std::optional<PlanPicture>& picture, const dxf::PlanDrawing* drawing);

// The boundary as a dash-dot outline, when it has 3 vertices or more.
void AddBoundary(FigureWriter& writer, const Project& project);

// Each source's rectangle, grey.
void AddSources(FigureWriter& writer, const Project& project);

// Whether the receptor at `index` of the project is drawn heavier.
using Highlighted = std::function<bool(std::size_t index, const Receptor& receptor)>;

// Each receptor as a triangle, filled and heavier when highlighted.
void AddReceptors(FigureWriter& writer, const Project& project, const Highlighted& highlighted);

// The sources' ids and names and the receptors' names (bold when
// highlighted), above every shape.
void AddLabels(FigureWriter& writer, const Project& project, const Highlighted& highlighted);

// The frame around the extent with round site-coordinate ticks, the north
// arrow and the scale bar; sets the figure's label room.
void AddFurniture(FigureWriter& writer);

}  // namespace quorvel::project::figure_layers
