#include "calc/project/dxf/result_drawing.h"

#include <cmath>
#include <numbers>
#include <set>
#include <vector>

#include "calc/project/dxf/drawing_units.h"
#include "calc/project/dxf/dxf_writer.h"
#include "calc/project/files/atomic_file.h"
#include "calc/project/files/shortest_number.h"
#include "calc/project/files/source_corners.h"

namespace quorvel::project::dxf {
namespace {

// Marks and patterns, in m of site: at 1:1000 a millimetre of paper each.
constexpr double kReceptorRadius = 3.0;
constexpr double kZoneHatchSpacing = 8.0;
constexpr double kAreaHatchSpacing = 8.0;
constexpr double kExceedanceHatchSpacing = 6.0;

// Line types that tell the layers apart in black and white.
constexpr const char* kDashed = "QV-DASHED";
constexpr const char* kDashDot = "QV-DASHDOT";
constexpr const char* kCentre = "QV-CENTER";
constexpr const char* kDot = "QV-DOT";
constexpr const char* kDivide = "QV-DIVIDE";

// The colour indexes of the fixed layers: white/black, red, blue, magenta,
// green, cyan; the field's layers take theirs from the other hues.
constexpr int kBoundaryColour = 7;
constexpr int kSourcesColour = 1;
constexpr int kDiscsColour = 5;
constexpr int kZoneColour = 6;
constexpr int kAreaColour = 3;
constexpr int kReceptorsColour = 4;
constexpr int kHighlightColour = 1;

// Site coordinates and lengths in the drawing's units.
class SiteToPlan {
  public:
    explicit SiteToPlan(const CadTie& tie) : tie_(tie), units_(1.0 / MetresPerUnit(tie.unit)) {}

    DrawingPoint At(SitePoint site) const { return SiteToDrawing(tie_, site); }
    double Length(double metres) const { return metres * units_; }
    std::vector<DrawingPoint> Ring(const std::vector<SitePoint>& ring) const {
        std::vector<DrawingPoint> points;
        points.reserve(ring.size());
        for (const SitePoint& p : ring) points.push_back(At(p));
        return points;
    }
    // A point `up` m above `site` in the drawing (texts stand on the drawing's axes).
    DrawingPoint Above(SitePoint site, double up) const {
        const DrawingPoint at = At(site);
        return {at.x, at.y + Length(up)};
    }

  private:
    CadTie tie_;
    double units_;
};

// The layers of one pollutant's field.
struct PollutantLayers {
    std::string exceedance;
    std::string contours;
    int colour = 10;
};

// Distinct layers for every pollutant: CAD programs do not tell layer names
// apart by case, and names that differ only in forbidden characters become equal.
std::vector<PollutantLayers> FieldLayers(const FieldResult& field) {
    std::vector<PollutantLayers> layers;
    std::set<std::string> taken;
    for (std::size_t k = 0; k < field.pollutants.size(); ++k) {
        const std::string base = ValidLayerName(field.pollutants[k].pollutant);
        std::string name = base;
        for (int n = 2; taken.contains(NameKey(name)); ++n) name = base + "-" + std::to_string(n);
        taken.insert(NameKey(name));
        // Hues 10, 30, ..., 230 of the colour index, each twice as a pattern.
        const int colour = 10 + 20 * static_cast<int>(k % 12);
        layers.push_back(
            {std::string(kExceedancePrefix) + name, std::string(kContoursPrefix) + name, colour});
    }
    return layers;
}

int InsertionUnits(DrawingUnit unit) {
    switch (unit) {
        case DrawingUnit::Millimetre:
            return 4;
        case DrawingUnit::Centimetre:
            return 5;
        case DrawingUnit::Metre:
            return 6;
    }
    return 6;
}

void AddLineTypes(DxfDocument& document, const SiteToPlan& plan) {
    const auto metres = [&plan](std::vector<double> pattern) {
        for (double& element : pattern) element = plan.Length(element);
        return pattern;
    };
    document.AddLineType({kDashed, "Dashed __ __ __", metres({6.0, -3.0})});
    document.AddLineType({kDashDot, "Dash dot __ . __ .", metres({8.0, -2.0, 0.0, -2.0})});
    document.AddLineType({kCentre, "Center ____ _ ____", metres({12.0, -2.0, 3.0, -2.0})});
    document.AddLineType({kDot, "Dot . . . .", metres({0.0, -2.0})});
    document.AddLineType(
        {kDivide, "Divide __ . . __ . .", metres({8.0, -2.0, 0.0, -2.0, 0.0, -2.0})});
}

// Each ring of the polygons as a closed outline, and all of them hatched.
void AddAreas(DxfDocument& document, const SiteToPlan& plan, const std::string& layer,
              const std::vector<ZonePolygon>& polygons, const HatchFill& fill) {
    HatchRings rings;
    for (const ZonePolygon& polygon : polygons) {
        rings.push_back({plan.Ring(polygon.outer), true});
        for (const std::vector<SitePoint>& hole : polygon.holes) {
            rings.push_back({plan.Ring(hole), false});
        }
    }
    for (const HatchRing& ring : rings) document.AddPolyline(layer, ring.points, true);
    document.AddHatch(layer, rings, fill);
}

HatchFill Lines(const SiteToPlan& plan, double angle, double spacing, bool crossed = false) {
    return HatchFill{angle, plan.Length(spacing), crossed, false};
}

void AddSources(DxfDocument& document, const SiteToPlan& plan, const Project& project,
                const ProjectResults& results) {
    const std::string sources(kSourcesLayer);
    const std::string discs(kDiscsLayer);
    const double text = plan.Length(kLabelHeight);
    for (const Source& source : project.sources) {
        const std::vector<SitePoint> corners = SourceCorners(source);
        if (corners.empty()) continue;
        document.AddPolyline(sources, plan.Ring(corners), true);
        const std::string label = source.name.empty() ? source.id : source.id + " " + source.name;
        document.AddText(sources, plan.At(source.centre), text, label);
    }
    for (const SourceResult& result : results.sources) {
        if (result.outcome != SourceOutcome::Distance || !result.distance ||
            !(*result.distance > 0.0)) {
            continue;
        }
        for (const Source& source : project.sources) {
            if (source.id != result.id || SourceCorners(source).empty()) continue;
            const double radius = *result.distance;
            document.AddCircle(discs, plan.At(source.centre), plan.Length(radius));
            document.AddText(discs, plan.Above(source.centre, radius + kLabelHeight), text,
                             source.id + " 控制距离 " + ShortestNumber(radius) + " m");
        }
    }
}

void AddField(DxfDocument& document, const SiteToPlan& plan, const FieldResult& field,
              const std::vector<PollutantLayers>& layers) {
    const double text = plan.Length(kLabelHeight);
    for (std::size_t k = 0; k < field.pollutants.size(); ++k) {
        const PollutantFieldResult& pollutant = field.pollutants[k];
        AddAreas(document, plan, layers[k].exceedance, pollutant.exceedance,
                 Lines(plan, 45.0, kExceedanceHatchSpacing, true));
        for (const FieldContour& contour : pollutant.contours) {
            // The contour at the standard in the layer's line, the others dotted.
            const std::optional<std::string> lineType =
                contour.ratio == 1.0 ? std::nullopt : std::optional<std::string>(kDot);
            const std::string label =
                pollutant.pollutant + " " + ShortestNumber(contour.ratio) + "倍标准值";
            for (const std::vector<SitePoint>& line : contour.lines) {
                if (line.size() < 2) continue;
                const bool closed = line.size() > 3 && line.front() == line.back();
                std::vector<DrawingPoint> points = plan.Ring(line);
                if (closed) points.pop_back();
                document.AddPolyline(layers[k].contours, points, closed, lineType);
                document.AddText(layers[k].contours, points[points.size() / 2], text, label);
            }
        }
    }
    if (!field.distance || !(*field.distance > 0.0) || field.areaPolygons.empty()) return;
    const std::string area(kAreaLayer);
    AddAreas(document, plan, area, field.areaPolygons, Lines(plan, 135.0, kAreaHatchSpacing));
    // The distance where it is reached, which lies in the area.
    std::optional<SitePoint> at;
    for (const PollutantFieldResult& pollutant : field.pollutants) {
        if (pollutant.pollutant == field.decidingPollutant) at = pollutant.distanceAt;
    }
    if (!at) at = field.areaPolygons.front().outer.front();
    document.AddText(area, plan.Above(*at, kLabelHeight), text,
                     "大气环境防护距离 " + ShortestNumber(std::ceil(*field.distance)) + " m");
}

void AddReceptors(DxfDocument& document, const SiteToPlan& plan, const Project& project,
                  const ProjectResults& results) {
    const std::string layer(kReceptorsLayer);
    for (std::size_t i = 0; i < project.receptors.size(); ++i) {
        const Receptor& receptor = project.receptors[i];
        if (!std::isfinite(receptor.position.x) || !std::isfinite(receptor.position.y)) continue;
        const bool inZone = i < results.receptors.size() && results.receptors[i].inside;
        const bool inArea = results.field && i < results.field->receptors.size() &&
                            results.field->receptors[i].inArea;
        const DrawingPoint at = plan.At(receptor.position);
        const double radius = plan.Length(kReceptorRadius);
        std::string label = receptor.name;
        std::optional<int> colour;
        if (inZone || inArea) {
            colour = kHighlightColour;
            label += inZone && inArea ? "（位于防护区域和大气环境防护区域内）"
                     : inZone         ? "（位于防护区域内）"
                                      : "（位于大气环境防护区域内）";
            std::vector<DrawingPoint> disc;
            constexpr int kSides = 24;
            for (int side = 0; side < kSides; ++side) {
                const double a = 2.0 * std::numbers::pi * side / kSides;
                disc.push_back({at.x + radius * std::cos(a), at.y + radius * std::sin(a)});
            }
            document.AddHatch(layer, {{disc, true}}, HatchFill{0.0, 1.0, false, true}, colour);
        }
        document.AddCircle(layer, at, radius, colour);
        document.AddText(layer, plan.Above(receptor.position, kReceptorRadius + kLabelHeight),
                         plan.Length(kLabelHeight), label, colour);
    }
}

}  // namespace

std::string ResultDrawingDxf(const Project& project, const ProjectResults& results) {
    const CadTie tie = project.cad ? *project.cad : CadTie{};
    const SiteToPlan plan(tie);
    DxfDocument document(InsertionUnits(tie.unit));
    AddLineTypes(document, plan);
    document.SetTextStyle(std::string(kTextStyle), std::string(kFontFile));

    std::vector<PollutantLayers> fieldLayers;
    if (results.field) fieldLayers = FieldLayers(*results.field);
    document.AddLayer({std::string(kBoundaryLayer), kBoundaryColour, "Continuous", 50});
    document.AddLayer({std::string(kSourcesLayer), kSourcesColour, "Continuous", 25});
    document.AddLayer({std::string(kDiscsLayer), kDiscsColour, kDashed, 18});
    document.AddLayer({std::string(kZoneLayer), kZoneColour, kDashDot, 25});
    for (const PollutantLayers& layers : fieldLayers) {
        document.AddLayer({layers.exceedance, layers.colour, "Continuous", 18});
        document.AddLayer({layers.contours, layers.colour + 4, kCentre, 18});
    }
    if (results.field) document.AddLayer({std::string(kAreaLayer), kAreaColour, kDivide, 35});
    document.AddLayer({std::string(kReceptorsLayer), kReceptorsColour, "Continuous", 25});

    if (project.boundary.size() >= 3) {
        document.AddPolyline(std::string(kBoundaryLayer), plan.Ring(project.boundary), true);
    }
    AddSources(document, plan, project, results);
    AddAreas(document, plan, std::string(kZoneLayer), results.zone.polygons,
             Lines(plan, 45.0, kZoneHatchSpacing));
    if (results.field) AddField(document, plan, *results.field, fieldLayers);
    AddReceptors(document, plan, project, results);
    return document.Bytes();
}

Status WriteResultDrawing(const std::filesystem::path& file, const Project& project,
                          const ProjectResults& results) {
    return WriteFileAtomically(file, ResultDrawingDxf(project, results));
}

}  // namespace quorvel::project::dxf
