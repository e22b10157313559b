#pragma once

#include <optional>
#include <vector>

#include "model/model_answers.h"
#include "model/worst_case_search.h"

namespace quorvel {

struct ResultRow {
    double distance = 0.0;  // m from the centre of the area
    WorstCase worst;
};

struct ModelResults {
    std::vector<ResultRow> automated;            // empty without automated distances
    std::optional<ResultRow> automated_maximum;  // the automated peak refined to the metre
    std::vector<ResultRow> discrete;             // in the order of the answers
    ResultRow overall_maximum;
};

// Computes every table the answers ask for.
ModelResults RunModel(const ModelAnswers& answers);

}  // namespace quorvel
