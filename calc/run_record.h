#pragma once

#include <string>
#include <vector>

#include "calc/calculation_inputs.h"
#include "calc/local_time.h"
#include "calc/verdict.h"

namespace quorvel {

// Everything one successful calculation knew, kept for its calculation sheet.
struct RunRecord {
    // The inputs as the run read them: the source, its rate and the location
    // from before the model started, the standard from after it ended.
    CalculationInputs inputs;
    float comparisonStandard = 0.0f;          // S, ug/m^3
    std::vector<std::u16string> rows;         // the report's discrete-distance rows
    std::vector<std::u16string> summaryRows;  // the report's summary rows
    std::u16string modelTitle;                // the model's title line; may be empty
    Verdict verdict;                          // as the result box shows it
    LocalTime finished;                       // when the verdict was formed
};

}  // namespace quorvel
