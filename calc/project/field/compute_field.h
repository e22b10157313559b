#pragma once
// The combined screening field of a project and the current rule applied to it.

#include <filesystem>
#include <optional>

#include "calc/project/field/current_rule.h"
#include "calc/project/field/project_fields.h"
#include "calc/project/project.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

// Every pollutant's combined field by the screening model's equations and
// worst-case weather, each source placed and turned as the project gives it,
// and the current rule around the project's boundary. A pollutant that the
// project's `fields` names takes its field from that file instead (read
// relative to `projectFolder`, nullopt for a project not saved yet; its class, wind and shares
// empty; not final where its exceedance reaches the edge of the file's grids; receptors outside the
// grids left out for it, with a note). Pollutants come in the order of their first emission row,
// then those of `fields` that no emission names (with their error). One whose rows disagree on the
// standard, that has no row without a fault, or whose field file cannot be
// used, carries its error and nothing else; the others are computed.
FieldResult ComputeField(const Project& project,
                         const std::optional<std::filesystem::path>& projectFolder,
                         const RuleSettings& settings = {});

// The same for fields already prepared (PrepareFields of this project).
FieldResult ComputeField(const Project& project, const ProjectFields& prepared,
                         const RuleSettings& settings = {});

// The same with field files relative to the working folder.
FieldResult ComputeField(const Project& project, const RuleSettings& settings = {});

}  // namespace quorvel::project
