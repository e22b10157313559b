#pragma once
// Pollutant fields read from files as a FieldFunction: the value of the
// finest grid that covers a point, bilinear within its cell.

#include <vector>

#include "calc/project/field/field_function.h"
#include "calc/project/field/files/field_file.h"

namespace quorvel::project {

class FileFunction final : public FieldFunction {
  public:
    explicit FileFunction(std::vector<FileField> fields) : fields_(std::move(fields)) {}

    std::size_t Count() const override { return fields_.size(); }
    // The concentration (ug/m^3) where a grid covers `point`, 0 elsewhere; no
    // weather and no shares.
    std::vector<FieldValue> At(const SitePoint& point,
                               const std::vector<std::size_t>& which) const override;
    // Where a grid of field `which` has a value.
    bool Covers(const SitePoint& point, std::size_t which) const override;

    const FileField& Field(std::size_t which) const { return fields_[which]; }

  private:
    std::vector<FileField> fields_;
};

// The value (ug/m^3) of `field` at `point` (m): from its finest grid that
// covers the point; empty where none does.
std::optional<double> FileFieldValue(const FileField& field, const SitePoint& point);

}  // namespace quorvel::project
