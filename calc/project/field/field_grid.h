#pragma once
// A field sampled on a regular grid of site points.

#include <cstddef>
#include <vector>

#include "calc/project/project.h"

namespace quorvel::project {

class FieldGrid {
  public:
    // columns x rows points (each at least 2), `step` m apart, the first at `origin`.
    FieldGrid(SitePoint origin, double step, int columns, int rows);

    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    double Step() const { return step_; }
    SitePoint Point(int column, int row) const {
        return {origin_.x + column * step_, origin_.y + row * step_};
    }
    double& Value(int column, int row) { return values_[Index(column, row)]; }
    double Value(int column, int row) const { return values_[Index(column, row)]; }

  private:
    std::size_t Index(int column, int row) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
               static_cast<std::size_t>(column);
    }
    SitePoint origin_;
    double step_;
    int columns_;
    int rows_;
    std::vector<double> values_;
};

}  // namespace quorvel::project
