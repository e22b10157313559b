#pragma once
// The current rule applied to the combined fields of a project's pollutants:
// the exceedance regions outside the plant, each pollutant's distance from
// the boundary, the protection distance and area, the contours, the largest
// concentration outside the plant with its cut, and the receptors.

#include <string>
#include <vector>

#include "calc/project/field/field_function.h"
#include "calc/project/project.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

// One field of `FieldFunction` as the rule takes it.
struct RuleField {
    std::string pollutant;
    double standard = 0.0;  // S, ug/m^3, above 0
};

struct RuleSettings {
    // The grid is no coarser than this (m) and has about targetCells cells
    // along the frame's longer side.
    double largestStep = 50.0;
    int targetCells = 30;
    // The contour at S lies within this (m) of where the field crosses S.
    double contourTolerance = 1.0;
    // The frame grows until the fields stay below half their standard on its
    // edge, but no farther than this from the plant and the sources (m).
    double farthest = 20000.0;
};

// The rule for `fields` (field i of `function` is fields[i]) around
// `boundary` (none when empty) with the `receptors`. `cover` holds points the
// frame must hold (the sources' corners). Each pollutant's result carries its
// name, S, contours, exceedance, distance, maximum outside and cut; `final`
// is false when its exceedance reaches the frame. The protection distance,
// its pollutant, the sides and the area need a boundary.
FieldResult ApplyCurrentRule(const FieldFunction& function, const std::vector<RuleField>& fields,
                             const std::vector<SitePoint>& boundary,
                             const std::vector<Receptor>& receptors,
                             const std::vector<SitePoint>& cover,
                             const RuleSettings& settings = {});

}  // namespace quorvel::project
