#pragma once

#include <filesystem>
#include <string>

#include "calc/calculation_inputs.h"
#include "calc/result.h"

namespace quorvel {

// The answer file for the screening model: 124 lines of ASCII, each ending in
// CR LF, describing one area source and the 108 fixed receptor distances.
std::string BuildAnswerFile(const CalculationInputs& inputs);

// Creates or overwrites `file` with BuildAnswerFile(inputs); a symbolic link
// at `file` is replaced by the file, never written through. An error text
// when the file cannot be created or written.
Status WriteAnswerFile(const std::filesystem::path& file, const CalculationInputs& inputs);

}  // namespace quorvel
