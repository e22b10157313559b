#pragma once
// A project's emissions as the combined field takes them: grouped by
// pollutant, each with its standard and each source's rate per area.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "calc/project/field/field_source.h"
#include "calc/project/field/screening_field.h"
#include "calc/project/project.h"

namespace quorvel::project {

struct PollutantSetup {
    std::string pollutant;           // the name exactly as the rows give it
    std::optional<double> standard;  // S, ug/m^3; empty when the rows disagree
    std::vector<std::size_t> rows;   // the emissions counted, indices into the project's
    FieldWeights weights;            // per field source, g/(s m^2)
    std::u16string error;            // why the field is not computed; empty when it is
    std::u16string note;             // rows left out for their faults; empty when none
};

struct FieldSetup {
    std::vector<FieldSource> sources;    // the sources that emit a counted row
    std::vector<std::string> sourceIds;  // their ids, in the same order
    LandUse landUse = LandUse::Urban;
    std::vector<PollutantSetup> pollutants;  // in the order of their first row
};

// Every emission row is taken through the same inputs as its own
// calculation (EmissionInputs), so that a source's size, height and rate per
// area are the very numbers its calculation uses. A row with a fault is left
// out and its pollutant's field noted as not final; a pollutant whose rows
// give different standards S is not computed, its error naming the rows.
FieldSetup SetUpField(const Project& project);

}  // namespace quorvel::project
