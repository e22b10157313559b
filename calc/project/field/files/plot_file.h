#pragma once
// The regulatory model's plot file (PLOTFILE): header lines beginning with
// "*", then one line per receptor: X, Y, the concentration, further numeric
// columns (elevations, flagpole height), the averaging period, the source
// group, the rank and the receptor network's id (blank for discrete and
// fence-line receptors); a date may follow.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "calc/result.h"

namespace quorvel::project {

struct PlotRecord {
    double x = 0.0;       // m, in the file's coordinates
    double y = 0.0;       // m
    double c = 0.0;       // ug/m^3
    std::string average;  // "1-HR", "24-HR", ... as the file writes it
    std::string group;    // the source group, e.g. "ALL"
    std::string rank;     // "1ST", "2ND", ...
    std::string network;  // the receptor network's id; empty for other receptors
    std::size_t line = 0;
};

// The records of a plot file's bytes, or a Chinese message naming the line
// (from 1) and the reason. A file without records is refused.
Result<std::vector<PlotRecord>> ReadPlotFile(std::string_view bytes);

}  // namespace quorvel::project
