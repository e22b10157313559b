#pragma once

#include <string>

#include "calc/run_record.h"

namespace quorvel {

// The calculation sheet of one successful run: a self-contained HTML document
// in Chinese, UTF-8, without scripts or outside files, laid out for A4 paper
// in black and white. It holds the run's time, the program and model, the
// inputs as the run read them, the method, the verdict as the result box
// shows it, the key figures (Cmax and its distance, Pmax, the farthest
// distance reaching S, D10%), a figure of concentration against distance and
// the table of every discrete distance. The markup is also well-formed XML.
std::string CalculationSheetHtml(const RunRecord& record);

}  // namespace quorvel
