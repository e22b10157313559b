#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "calc/project/field/files/field_file.h"
#include "calc/project/field/files/surfer_grid.h"
#include "fuzz/fuzz_targets.h"

namespace quorvel::fuzz {
namespace {

void CheckGrid(const project::FileGrid& g) {
    Require(g.columns >= 2 && g.rows >= 2, "a grid has two columns and two rows");
    Require(
        g.values.size() == static_cast<std::size_t>(g.columns) * static_cast<std::size_t>(g.rows),
        "a grid has a value for each point");
    Require(g.stepX > 0 && g.stepY > 0, "a grid's steps are above 0");
    for (const double v : g.values)
        Require(std::isnan(v) || v >= 0.0, "no concentration is negative");
    // Values within the grid are the corners' blend; none beyond it.
    const double x = g.minX + 0.5 * g.stepX;
    const double y = g.minY + 0.5 * g.stepY;
    if (const std::optional<double> v = project::GridValue(g, {x, y}))
        Require(std::isfinite(*v), "a value is a finite number");
    Require(!project::GridValue(g, {g.minX - std::max(g.stepX, 1.0), g.minY}),
            "nothing left of the grid");
}

}  // namespace

int FieldFiles(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const char* format : {"", "aermod-plot", "surfer", "csv"}) {
        project::FieldFile entry;
        entry.pollutant = "p";
        entry.file = "f";
        entry.format = format;
        const Result<project::FileField> read = project::ReadFieldFile(bytes, entry);
        if (!read.ok()) {
            Require(!read.error().empty(), "a refused field file says why");
            continue;
        }
        Require(!read.value().grids.empty(), "a field has a grid");
        Require(read.value().average == "1-HR" || read.value().average == "24-HR",
                "a field's period chooses a standard");
        for (const project::FileGrid& g : read.value().grids) CheckGrid(g);
    }
    // A Surfer grid written again reads as the same grid.
    const Result<project::FileGrid> grid = project::ReadSurferGrid(bytes);
    if (grid.ok()) {
        const Result<project::FileGrid> again =
            project::ReadSurferGrid(project::SurferGridText(grid.value()));
        Require(again.ok(), "a written grid reads again");
        Require(again.value().columns == grid.value().columns &&
                    again.value().rows == grid.value().rows,
                "a written grid keeps its size");
    }
    return 0;
}

}  // namespace quorvel::fuzz
