#pragma once
// A regular grid of concentrations read from a field file.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "calc/project/project.h"
#include "calc/result.h"

namespace quorvel::project {

// Columns run east from minX, rows north from minY. A value is ug/m^3, NaN
// where the file has no data.
struct FileGrid {
    double minX = 0.0;           // m
    double minY = 0.0;           // m
    double stepX = 0.0;          // m, above 0
    double stepY = 0.0;          // m, above 0
    int columns = 0;             // at least 2
    int rows = 0;                // at least 2
    std::vector<double> values;  // row by row from the south, columns * rows of them

    double MaxX() const { return minX + stepX * (columns - 1); }
    double MaxY() const { return minY + stepY * (rows - 1); }
    double Value(int column, int row) const {
        return values[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                      static_cast<std::size_t>(column)];
    }
};

// One concentration of a field file at a point, and the file's line (from 1).
struct FieldSample {
    double x = 0.0;  // m, in the file's coordinates
    double y = 0.0;  // m
    double c = 0.0;  // ug/m^3
    std::size_t line = 0;
};

// Points closer than this (m) are on the same lattice line.
inline constexpr double kLatticeTolerance = 0.01;
// No field file holds more grid points than this; a larger one is refused.
inline constexpr std::size_t kMostGridPoints = 4'000'000;

// Concentrations (ug/m^3) at or above this are no model's result (Surfer
// takes them for blanks).
inline constexpr double kLargestConcentration = 1e38;

// File coordinates beyond this (m) belong to no projected coordinate system.
inline constexpr double kLargestFileCoordinate = 1e9;

// The grid the samples form: every point of a lattice (equal steps in x and
// in y, within kLatticeTolerance m) exactly once. Otherwise a Chinese
// message with the line of a point off the lattice or repeated, or the
// place of a missing one.
Result<FileGrid> GridOfSamples(const std::vector<FieldSample>& samples);

// The value at `point` (m): bilinear within its cell; empty outside the grid
// or when a corner of the cell has no data.
std::optional<double> GridValue(const FileGrid& grid, const SitePoint& point);

}  // namespace quorvel::project
