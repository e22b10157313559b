#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calc/project/dxf/dxf_reader.h"
#include "calc/project/dxf/layer_overview.h"
#include "calc/project/dxf/plan_drawing.h"
#include "calc/project/dxf/site_import.h"
#include "fuzz/fuzz_targets.h"

namespace quorvel::fuzz {

int DxfReader(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Result<project::dxf::Drawing> read = project::dxf::ReadDrawing(bytes);
    if (!read.ok()) {
        Require(!read.error().empty(), "a refused drawing says why");
        return 0;
    }
    const project::dxf::Drawing& drawing = read.value();
    const Result<std::vector<project::dxf::LayerSummary>> layers =
        project::dxf::LayerOverview(drawing);
    if (!layers.ok()) {
        Require(!layers.error().empty(), "a drawing whose blocks cannot be followed says why");
        return 0;
    }

    // The first layers as boundary, sources and receptors; the rest drawn.
    project::dxf::ImportRequest request;
    request.file = "fuzz.dxf";
    request.unit = project::DrawingUnit::Metre;
    request.sourceHeight = 5.0;
    project::CadTie tie;
    const project::dxf::LayerRole roles[] = {project::dxf::LayerRole::Boundary,
                                             project::dxf::LayerRole::Sources,
                                             project::dxf::LayerRole::Receptors};
    for (std::size_t i = 0; i < layers.value().size(); ++i) {
        const std::string& name = layers.value()[i].name;
        if (i < 3) request.layers.push_back({name, roles[i]});
        tie.layers.push_back(name);
    }
    const Result<project::dxf::ImportResult> imported =
        project::dxf::ImportDrawing(project::Project{}, drawing, request);
    if (imported.ok()) {
        Require(imported.value().project.cad.has_value(), "an import ties the project");
    } else {
        Require(!imported.error().empty(), "a refused import says why");
    }
    const Result<project::dxf::PlanDrawing> plan = project::dxf::DrawingUnderFigure(drawing, tie);
    Require(plan.ok() || !plan.error().empty(), "a drawing not drawn says why");
    return 0;
}

}  // namespace quorvel::fuzz
