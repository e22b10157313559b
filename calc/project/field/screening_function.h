#pragma once
// The screening field of a project's pollutants as a FieldFunction.

#include <string>
#include <vector>

#include "calc/project/field/field_function.h"
#include "calc/project/field/field_setup.h"
#include "calc/project/field/screening_field.h"

namespace quorvel::project {

class ScreeningFunction final : public FieldFunction {
  public:
    // The computed pollutants of `setup` (those without an error), in its order.
    explicit ScreeningFunction(const FieldSetup& setup);

    // Which of setup.pollutants each field is.
    const std::vector<std::size_t>& Pollutants() const { return pollutants_; }

    std::size_t Count() const override { return pollutants_.size(); }
    std::vector<FieldValue> At(const SitePoint& point,
                               const std::vector<std::size_t>& which) const override;
    double Bound(const SitePoint& point, std::size_t which) const override;

  private:
    ScreeningField field_;
    std::vector<std::string> sourceIds_;
    std::vector<std::size_t> pollutants_;
    std::vector<FieldWeights> weights_;
};

}  // namespace quorvel::project
