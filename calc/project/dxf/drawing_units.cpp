#include "calc/project/dxf/drawing_units.h"

#include <cmath>
#include <numbers>

namespace quorvel::project::dxf {

double MetresPerUnit(DrawingUnit unit) {
    switch (unit) {
        case DrawingUnit::Millimetre:
            return 0.001;
        case DrawingUnit::Centimetre:
            return 0.01;
        case DrawingUnit::Metre:
            return 1.0;
    }
    return 1.0;
}

std::string_view UnitName(DrawingUnit unit) {
    switch (unit) {
        case DrawingUnit::Millimetre:
            return "mm";
        case DrawingUnit::Centimetre:
            return "cm";
        case DrawingUnit::Metre:
            return "m";
    }
    return "m";
}

std::optional<DrawingUnit> UnitFromName(std::string_view name) {
    for (const DrawingUnit unit :
         {DrawingUnit::Millimetre, DrawingUnit::Centimetre, DrawingUnit::Metre}) {
        if (UnitName(unit) == name) return unit;
    }
    return std::nullopt;
}

std::optional<DrawingUnit> ProposedUnit(const Drawing& drawing) {
    if (!drawing.insertionUnits) return std::nullopt;
    switch (*drawing.insertionUnits) {
        case 4:
            return DrawingUnit::Millimetre;
        case 5:
            return DrawingUnit::Centimetre;
        case 6:
            return DrawingUnit::Metre;
        default:
            return std::nullopt;
    }
}

SitePoint DrawingToSite(const CadTie& tie, DrawingPoint point) {
    const double scale = MetresPerUnit(tie.unit);
    const double x = (point.x - tie.origin.x) * scale;
    const double y = (point.y - tie.origin.y) * scale;
    if (tie.northDeg == 0.0) return {x, y};
    const double turn = -tie.northDeg * std::numbers::pi / 180.0;
    const double c = std::cos(turn);
    const double s = std::sin(turn);
    return {c * x - s * y, s * x + c * y};
}

DrawingPoint SiteToDrawing(const CadTie& tie, SitePoint site) {
    const double units = 1.0 / MetresPerUnit(tie.unit);
    double x = site.x;
    double y = site.y;
    if (tie.northDeg != 0.0) {
        const double turn = tie.northDeg * std::numbers::pi / 180.0;
        const double c = std::cos(turn);
        const double s = std::sin(turn);
        x = c * site.x - s * site.y;
        y = s * site.x + c * site.y;
    }
    return {tie.origin.x + x * units, tie.origin.y + y * units};
}

double SiteAngle(const CadTie& tie, double drawingDeg) { return drawingDeg - tie.northDeg; }

}  // namespace quorvel::project::dxf
