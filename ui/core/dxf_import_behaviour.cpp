#include "ui/core/dxf_import_behaviour.h"

#include <cmath>
#include <utility>

#include "calc/project/dxf/drawing_units.h"
#include "calc/project/dxf/dxf_reader.h"
#include "calc/project/dxf/layer_overview.h"
#include "calc/unicode_text.h"
#include "ui/core/cell_number.h"

namespace quorvel {
namespace {

namespace dxf = project::dxf;
namespace fs = std::filesystem;

// What a layer of a usual site plan holds, by words in its name.
dxf::LayerRole GuessedRole(std::u16string_view name) {
    const auto has = [name](std::u16string_view word) {
        return name.find(word) != std::u16string_view::npos;
    };
    if (has(u"厂界") || has(u"用地红线")) return dxf::LayerRole::Boundary;
    if (has(u"排放源") || has(u"污染源") || has(u"面源")) return dxf::LayerRole::Sources;
    if (has(u"敏感")) return dxf::LayerRole::Receptors;
    return dxf::LayerRole::None;
}

}  // namespace

Result<DxfImportBehaviour> DxfImportBehaviour::Open(const fs::path& drawing,
                                                    const project::Project& current,
                                                    const fs::path& projectFolder) {
    Result<dxf::Drawing> read = dxf::OpenDrawing(drawing);
    if (!read) return Fail(read.error());
    const Result<std::vector<dxf::LayerSummary>> layers = dxf::LayerOverview(read.value());
    if (!layers) {
        return Fail(u"图形文件 " + PathText(drawing) + u" 不能使用：" + layers.error());
    }
    DxfImportBehaviour behaviour;
    behaviour.drawing_ = std::move(read).value();
    behaviour.current_ = current;
    behaviour.tieFile_ = dxf::TieFileName(drawing, projectFolder);
    for (const dxf::LayerSummary& layer : layers.value()) {
        DxfLayerRow row;
        row.name = FromUtf8(layer.name);
        row.counts = dxf::CountsText(layer);
        // A hidden or empty layer is offered but not chosen.
        if (!layer.frozen && !layer.off && !layer.counts.empty()) row.role = GuessedRole(row.name);
        if (layer.frozen) row.name += u"（冻结）";
        if (layer.off) row.name += u"（关闭）";
        behaviour.rows_.push_back(std::move(row));
        behaviour.layerNames_.push_back(layer.name);
    }
    behaviour.unit_ =
        current.cad ? std::optional(current.cad->unit) : dxf::ProposedUnit(behaviour.drawing_);
    if (current.cad) behaviour.north_ = CellNumberText(current.cad->northDeg);
    behaviour.Update();
    return behaviour;
}

void DxfImportBehaviour::SetRole(std::size_t row, dxf::LayerRole role) {
    if (row >= rows_.size() || rows_[row].role == role) return;
    rows_[row].role = role;
    Update();
}

void DxfImportBehaviour::SetUnit(project::DrawingUnit unit) {
    if (UnitFixed() || unit_ == unit) return;
    unit_ = unit;
    Update();
}

void DxfImportBehaviour::SetHeight(std::u16string text) {
    height_ = std::move(text);
    Update();
}

void DxfImportBehaviour::SetNorth(std::u16string text) {
    north_ = std::move(text);
    Update();
}

void DxfImportBehaviour::Update() {
    imported_.reset();
    notes_.clear();
    dxf::ImportRequest request;
    request.file = tieFile_;
    request.unit = unit_;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].role != dxf::LayerRole::None)
            request.layers.push_back({layerNames_[i], rows_[i].role});
    }
    const std::optional<double> height = ReadCellNumber(height_);
    if (height && *height > 0.0) request.sourceHeight = *height;
    const std::optional<double> north = ReadCellNumber(north_);
    std::u16string fault;
    if (!north) fault = u"北向角应为数字（度）";
    if (!current_.cad) request.northDeg = north;

    Result<dxf::ImportResult> result = fault.empty()
                                           ? dxf::ImportDrawing(current_, drawing_, request)
                                           : Result<dxf::ImportResult>(Fail(fault));
    const project::Project* shown = &current_;
    if (result) {
        notes_ = result.value().notes;
        imported_ = std::move(result.value().project);
        shown = &*imported_;
    } else {
        notes_.push_back(result.error());
    }
    std::optional<dxf::PlanDrawing> underlay;
    if (shown->cad) {
        if (Result<dxf::PlanDrawing> plan = dxf::DrawingUnderFigure(drawing_, *shown->cad))
            underlay = std::move(plan).value();
    }
    preview_ =
        project::BuildSiteFigure(*shown, nullptr, std::nullopt, underlay ? &*underlay : nullptr);
}

}  // namespace quorvel
