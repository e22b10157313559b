#include "calc/project/dxf/layer_overview.h"

#include <map>

#include "calc/project/dxf/drawing_shapes.h"
#include "calc/unicode_text.h"

namespace quorvel::project::dxf {

Result<std::vector<LayerSummary>> LayerOverview(const Drawing& drawing) {
    std::vector<LayerSummary> layers;
    std::map<std::string, std::size_t> byName;
    const auto layerOf = [&](const std::string& name) -> LayerSummary& {
        const auto [found, added] = byName.emplace(NameKey(name), layers.size());
        if (added) layers.push_back(LayerSummary{name, false, false, {}});
        return layers[found->second];
    };
    for (const Layer& layer : drawing.layers) {
        LayerSummary& summary = layerOf(layer.name);
        summary.frozen = layer.frozen;
        summary.off = layer.off;
    }
    const auto count = [&](const std::string& layer, const std::string& type) {
        auto& counts = layerOf(layer).counts;
        for (auto& [known, number] : counts) {
            if (known == type) {
                ++number;
                return;
            }
        }
        counts.emplace_back(type, 1);
    };
    const Status visited = VisitEntities(drawing, [&](const PlacedEntity& placed) {
        count(placed.layer, placed.entity.type);
        for (const Entity& attribute : placed.entity.attributes) {
            count(attribute.layer == "0" && !placed.insertLayers.empty() ? placed.layer
                                                                         : attribute.layer,
                  attribute.type);
        }
    });
    if (!visited) return Fail(visited.error());
    return layers;
}

std::u16string CountsText(const LayerSummary& layer) {
    if (layer.counts.empty()) return u"（空）";
    std::u16string text;
    for (const auto& [type, number] : layer.counts) {
        if (!text.empty()) text += u"，";
        text += FromUtf8(type) + u" " + FromUtf8(std::to_string(number));
    }
    return text;
}

}  // namespace quorvel::project::dxf
