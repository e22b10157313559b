#pragma once
// What each layer of a drawing holds, so that the user can say which layer
// is the boundary, which the sources and which the receptors.

#include <string>
#include <utility>
#include <vector>

#include "calc/project/dxf/dxf_drawing.h"
#include "calc/result.h"

namespace quorvel::project::dxf {

struct LayerSummary {
    std::string name;
    bool frozen = false;
    bool off = false;
    // Entities by their DXF type, in the order the types first appear; the
    // entities of blocks count on the layer they are drawn on, once per INSERT.
    std::vector<std::pair<std::string, std::size_t>> counts;
};

// The layers of the layer table in its order, then layers that entities
// name without a table entry; or why the blocks cannot be expanded.
Result<std::vector<LayerSummary>> LayerOverview(const Drawing& drawing);

// One line: "LWPOLYLINE 3，TEXT 2"; "（空）" for a layer without entities.
std::u16string CountsText(const LayerSummary& layer);

}  // namespace quorvel::project::dxf
