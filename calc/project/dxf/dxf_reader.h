#pragma once
// Reading a DXF drawing: ASCII DXF of versions R12 to 2018 as CAD programs
// write it. A DWG or a binary DXF is refused with what to do instead.

#include <filesystem>
#include <string_view>

#include "calc/project/dxf/dxf_drawing.h"
#include "calc/result.h"

namespace quorvel::project::dxf {

// The drawing in `bytes`, or why they are no usable DXF; the message (in
// Chinese) names the line or the entity and the reason, not the file.
Result<Drawing> ReadDrawing(std::string_view bytes);

// The drawing in `file`, or why it cannot be read or used; the message names
// the file.
Result<Drawing> OpenDrawing(const std::filesystem::path& file);

}  // namespace quorvel::project::dxf
