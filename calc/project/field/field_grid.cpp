#include "calc/project/field/field_grid.h"

namespace quorvel::project {

FieldGrid::FieldGrid(SitePoint origin, double step, int columns, int rows)
    : origin_(origin),
      step_(step),
      columns_(columns),
      rows_(rows),
      values_(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0.0) {}

}  // namespace quorvel::project
