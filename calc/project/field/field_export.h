#pragma once
// Each pollutant's combined field sampled on one regular grid, to be written
// as a Surfer grid and a CSV table and plotted elsewhere.

#include <string>
#include <vector>

#include "calc/project/field/files/file_grid.h"
#include "calc/project/field/project_fields.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

struct PollutantGrid {
    std::string pollutant;
    FileGrid grid;  // site coordinates; ug/m^3, NaN where a file's grids give no value
};

// The grid of the export: the frame of the plant, the sources, every
// computed pollutant's contours and exceedance and the files' grids where
// they reach half a standard, with a margin of 50 m; its step the round
// figure (1, 2, 5, 10, 20, 25 or 50 m) nearest below 1/30 of the frame's
// longer side and at most 50 m, as the rule's own first grid; its lines on
// whole multiples of the step. Values left empty.
FileGrid ExportFrame(const ProjectFields& fields, const Project& project,
                     const FieldResult& result);

// Every computed pollutant's field on ExportFrame, in the rule's order.
std::vector<PollutantGrid> SampleFields(const ProjectFields& fields, const Project& project,
                                        const FieldResult& result);

}  // namespace quorvel::project
