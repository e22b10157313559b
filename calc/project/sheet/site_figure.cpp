#include "calc/project/sheet/site_figure.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "calc/project/sheet/site_figure_layers.h"

namespace quorvel::project {
namespace {

using namespace figure_layers;

struct Disc {
    std::string source;
    SitePoint centre;
    double radius = 0.0;
};

std::vector<Disc> DiscsOf(const Project& project, const ProjectResults* results) {
    std::vector<Disc> discs;
    if (!results) return discs;
    for (const SourceResult& result : results->sources) {
        if (result.outcome != SourceOutcome::Distance || !result.distance ||
            !(*result.distance > 0.0) || !std::isfinite(*result.distance)) {
            continue;
        }
        const auto source = std::find_if(project.sources.begin(), project.sources.end(),
                                         [&](const Source& s) { return s.id == result.id; });
        if (source == project.sources.end() || !Finite(source->centre)) continue;
        discs.push_back({source->id, source->centre, *result.distance});
    }
    return discs;
}

// The result of the receptor at `index` of the project: the one at the same
// place when it has the same name, else the first of that name.
const ReceptorResult* ResultOf(const ProjectResults* results, std::size_t index,
                               const std::string& name) {
    if (!results) return nullptr;
    const std::vector<ReceptorResult>& all = results->receptors;
    if (index < all.size() && all[index].name == name) return &all[index];
    const auto found = std::find_if(all.begin(), all.end(),
                                    [&](const ReceptorResult& r) { return r.name == name; });
    return found == all.end() ? nullptr : &*found;
}

}  // namespace

SiteFigure BuildSiteFigure(const Project& project, const ProjectResults* results,
                           const std::optional<PlanPicture>& picture,
                           const dxf::PlanDrawing* drawing) {
    SiteFigure figure;
    FigureWriter writer(figure);
    const std::vector<Disc> discs = DiscsOf(project, results);

    Bounds bounds;
    AddSite(bounds, project);
    for (const Disc& disc : discs) bounds.AddCircle(disc.centre, disc.radius);
    if (results) {
        for (const ZonePolygon& polygon : results->zone.polygons) bounds.Add(polygon.outer);
    }
    figure.extent = ExtentAround(bounds);

    AddUnderlay(writer, project, picture, drawing);
    if (results) {
        for (const ZonePolygon& polygon : results->zone.polygons) {
            std::vector<std::vector<SitePoint>> rings{polygon.outer};
            rings.insert(rings.end(), polygon.holes.begin(), polygon.holes.end());
            writer.Add(FigurePart::Zone, {},
                       PolygonShape{std::move(rings), Style{kDarkGrey, kLightGrey, 0.8, {}, 0.7}});
        }
    }
    AddBoundary(writer, project);
    for (const Disc& disc : discs) {
        writer.Add(
            FigurePart::Disc, disc.source,
            CircleShape{disc.centre, disc.radius, Style{kBlack, std::nullopt, 0.9, {5, 3}, 1.0}});
    }
    AddSources(writer, project);
    const Highlighted inside = [results](std::size_t index, const Receptor& receptor) {
        const ReceptorResult* result = ResultOf(results, index, receptor.name);
        return result && result->inside;
    };
    AddReceptors(writer, project, inside);
    // Labels above every shape, so that no shape hides one.
    AddLabels(writer, project, inside);
    AddFurniture(writer);
    return figure;
}

bool IsClippedToExtent(FigurePart part) {
    switch (part) {
        case FigurePart::Plan:
        case FigurePart::Drawing:
        case FigurePart::Zone:
        case FigurePart::Boundary:
        case FigurePart::Disc:
        case FigurePart::Source:
        case FigurePart::Contour:
        case FigurePart::Exceedance:
        case FigurePart::ProtectionArea:
        case FigurePart::ExceedingSide:
            return true;
        default:
            return false;
    }
}

double LabelSize(const TextLabel& label, double ptPerMetre) {
    if (!(label.siteSize > 0.0)) return std::isfinite(label.size) ? label.size : 8.0;
    const double size = label.siteSize * ptPerMetre;
    return size >= 1.0 && std::isfinite(size) ? size : 0.0;
}

}  // namespace quorvel::project
