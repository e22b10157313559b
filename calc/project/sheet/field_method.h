#pragma once
// How the current rule's field of each pollutant was made, in plain Chinese
// for the sheet.

#include <string>

#include "calc/project/project_results.h"

namespace quorvel::project {

// The method of the screening field (plain UTF-8, not escaped): the sources
// placed and turned as given, the screening model's area-source equations,
// the worst weather over every class, speed and direction (a conservative
// estimate), fugitive area sources only; and how the protection distance and
// area follow from it.
std::string ScreeningMethodText();

// Where a pollutant's field read from a file came from (plain UTF-8, not
// escaped): the file, its format, its averaging period and the standard it
// is compared with, and its grids. Empty for a screening field.
std::string FileMethodText(const PollutantFieldResult& pollutant);

}  // namespace quorvel::project
