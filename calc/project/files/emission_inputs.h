#pragma once
// One emission row of a project as one calculation of the main window: the
// row's own faults, then the window's ten inputs and the window's own check.

#include <cstddef>
#include <string>

#include "calc/calculation_inputs.h"
#include "calc/project/project.h"
#include "calc/result.h"

namespace quorvel::project {

// The row for messages: "排放源“S1”（罐区）的污染物“非甲烷总烃”" (without the
// name in brackets when the source has none or is not in the project).
std::u16string RowLabel(const Project& project, std::size_t emissionIndex);

// The source the row names: the first with its id, or nullptr.
const Source* EmissionSource(const Project& project, std::size_t emissionIndex);

// The main window's ten inputs for emission `emissionIndex` (< emissions.size())
// with its source: height, width and length in their shortest exact decimal
// form followed by " m", the rate in its shortest exact form, the unit's
// index, the location (rural 0, urban 1), and each standard that is given
// checked and holding its value (one not given: unchecked and empty).
//
// A wrong row gives its message instead, in Chinese, starting with RowLabel:
// a source that is not in the project, a pollutant the source already has in
// an earlier row, a source whose height, width or length is 0 or less or
// whose sides are more than 10 times apart (every emission of that source is
// wrong), an empty pollutant name, a rate or a given standard of 0 or less,
// no standard given; then whatever the window's own check (DecideCheckInputs)
// refuses.
Result<CalculationInputs> EmissionInputs(const Project& project, std::size_t emissionIndex);

}  // namespace quorvel::project
