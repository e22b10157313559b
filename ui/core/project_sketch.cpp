#include "ui/core/project_sketch.h"

#include <cmath>
#include <optional>

#include "calc/unicode_text.h"
#include "ui/core/cell_number.h"

namespace quorvel {
namespace {

using project::kLargestCoordinate;

std::optional<double> NumberIn(const Table& table, std::size_t row, ColumnKey key) {
    const std::optional<std::size_t> column = ColumnOf(table.id, key);
    const std::vector<std::u16string>& cells = table.rows[row].cells;
    if (!column || *column >= cells.size()) return std::nullopt;
    return ReadCellNumber(cells[*column]);
}

std::u16string TextIn(const Table& table, std::size_t row, ColumnKey key) {
    const std::optional<std::size_t> column = ColumnOf(table.id, key);
    const std::vector<std::u16string>& cells = table.rows[row].cells;
    if (!column || *column >= cells.size()) return {};
    return cells[*column];
}

std::optional<project::SitePoint> PointIn(const Table& table, std::size_t row) {
    const std::optional<double> x = NumberIn(table, row, ColumnKey::X);
    const std::optional<double> y = NumberIn(table, row, ColumnKey::Y);
    if (!x || !y || std::abs(*x) > kLargestCoordinate || std::abs(*y) > kLargestCoordinate) {
        return std::nullopt;
    }
    return project::SitePoint{*x, *y};
}

}  // namespace

project::Project SketchOfTables(const ProjectTables& tables) {
    project::Project sketch;
    sketch.name = tables.name;
    sketch.location = tables.location;
    sketch.plan = tables.plan;
    const Table& sources = tables.sources;
    for (std::size_t row = 0; row < sources.rows.size(); ++row) {
        if (IsBlankRow(sources.rows[row])) continue;
        const std::optional<project::SitePoint> centre = PointIn(sources, row);
        const std::optional<double> width = NumberIn(sources, row, ColumnKey::Width);
        const std::optional<double> length = NumberIn(sources, row, ColumnKey::Length);
        const std::u16string angleText = TextIn(sources, row, ColumnKey::Angle);
        const std::optional<double> angle =
            IsBlankText(angleText) ? std::optional<double>(0.0) : ReadCellNumber(angleText);
        if (!centre || !width || !length || !angle || !(*width > 0) || !(*length > 0) ||
            *width > kLargestCoordinate || *length > kLargestCoordinate) {
            continue;
        }
        project::Source source;
        source.id = ToUtf8(TextIn(sources, row, ColumnKey::Id));
        source.name = ToUtf8(TextIn(sources, row, ColumnKey::Name));
        source.centre = *centre;
        source.angle = *angle;
        source.height = NumberIn(sources, row, ColumnKey::Height).value_or(0.0);
        source.width = *width;
        source.length = *length;
        sketch.sources.push_back(std::move(source));
    }
    const Table& boundary = tables.boundary;
    for (std::size_t row = 0; row < boundary.rows.size(); ++row) {
        if (IsBlankRow(boundary.rows[row])) continue;
        if (const std::optional<project::SitePoint> vertex = PointIn(boundary, row)) {
            sketch.boundary.push_back(*vertex);
        }
    }
    const Table& receptors = tables.receptors;
    for (std::size_t row = 0; row < receptors.rows.size(); ++row) {
        if (IsBlankRow(receptors.rows[row])) continue;
        if (const std::optional<project::SitePoint> position = PointIn(receptors, row)) {
            project::Receptor receptor;
            receptor.name = ToUtf8(TextIn(receptors, row, ColumnKey::Name));
            receptor.position = *position;
            sketch.receptors.push_back(std::move(receptor));
        }
    }
    return sketch;
}

}  // namespace quorvel
