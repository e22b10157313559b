#include "calc/project/field/field_export.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "calc/project/field/parallel_for.h"

namespace quorvel::project {
namespace {

constexpr double kMargin = 50.0;           // m around what the frame holds
constexpr double kLargestStep = 50.0;      // m, as the rule's grid
constexpr double kCellsAlongFrame = 30.0;  // as the rule's first grid
constexpr std::array<double, 7> kRoundSteps{50, 25, 20, 10, 5, 2, 1};

}  // namespace

FileGrid ExportFrame(const ProjectFields& fields, const Project& project,
                     const FieldResult& result) {
    double minX = std::numeric_limits<double>::max();
    double minY = minX;
    double maxX = std::numeric_limits<double>::lowest();
    double maxY = maxX;
    auto take = [&](const SitePoint& p) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    };
    for (const SitePoint& p : fields.cover) take(p);
    for (const SitePoint& p : project.boundary) take(p);
    for (const PollutantFieldResult& p : result.pollutants) {
        for (const FieldContour& contour : p.contours) {
            for (const auto& line : contour.lines) {
                for (const SitePoint& q : line) take(q);
            }
        }
        for (const ZonePolygon& z : p.exceedance) {
            for (const SitePoint& q : z.outer) take(q);
        }
    }
    if (minX > maxX) minX = minY = maxX = maxY = 0.0;
    minX -= kMargin;
    minY -= kMargin;
    maxX += kMargin;
    maxY += kMargin;
    const double wanted =
        std::min(kLargestStep, std::max(maxX - minX, maxY - minY) / kCellsAlongFrame);
    double step = kRoundSteps.back();
    for (double s : kRoundSteps) {
        if (s <= wanted) {
            step = s;
            break;
        }
    }
    FileGrid grid;
    grid.minX = std::floor(minX / step) * step;
    grid.minY = std::floor(minY / step) * step;
    grid.stepX = grid.stepY = step;
    grid.columns = static_cast<int>(std::ceil((maxX - grid.minX) / step)) + 1;
    grid.rows = static_cast<int>(std::ceil((maxY - grid.minY) / step)) + 1;
    return grid;
}

std::vector<PollutantGrid> SampleFields(const ProjectFields& fields, const Project& project,
                                        const FieldResult& result) {
    const FileGrid frame = ExportFrame(fields, project, result);
    const std::size_t count = fields.fields.size();
    const std::size_t points =
        static_cast<std::size_t>(frame.columns) * static_cast<std::size_t>(frame.rows);
    std::vector<PollutantGrid> grids(count);
    for (std::size_t k = 0; k < count; ++k) {
        grids[k].pollutant = fields.fields[k].pollutant;
        grids[k].grid = frame;
        grids[k].grid.values.assign(points, 0.0);
    }
    std::vector<std::size_t> all(count);
    for (std::size_t k = 0; k < count; ++k) all[k] = k;
    if (count == 0) return grids;
    ParallelFor(points, [&](std::size_t i) {
        const auto c = static_cast<int>(i % static_cast<std::size_t>(frame.columns));
        const auto r = static_cast<int>(i / static_cast<std::size_t>(frame.columns));
        const SitePoint at{frame.minX + c * frame.stepX, frame.minY + r * frame.stepY};
        const std::vector<FieldValue> values = fields.function->At(at, all);
        for (std::size_t k = 0; k < count; ++k) {
            grids[k].grid.values[i] = fields.function->Covers(at, k) ? values[k].c : std::nan("");
        }
    });
    return grids;
}

}  // namespace quorvel::project
