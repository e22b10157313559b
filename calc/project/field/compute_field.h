#pragma once
// The combined screening field of a project and the current rule applied to it.

#include "calc/project/field/current_rule.h"
#include "calc/project/project.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

// Every pollutant's combined field by the screening model's equations and
// worst-case weather, each source placed and turned as the project gives it,
// and the current rule around the project's boundary. Pollutants come in the
// order of their first emission row; one whose rows disagree on the standard,
// or that has no row without a fault, carries its error and nothing else.
FieldResult ComputeField(const Project& project, const RuleSettings& settings = {});

}  // namespace quorvel::project
