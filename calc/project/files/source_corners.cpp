#include "calc/project/files/source_corners.h"

#include <cmath>
#include <numbers>

namespace quorvel::project {

std::vector<SitePoint> SourceCorners(const Source& source) {
    if (!std::isfinite(source.centre.x) || !std::isfinite(source.centre.y) ||
        !std::isfinite(source.angle) || !std::isfinite(source.width) ||
        !std::isfinite(source.length)) {
        return {};
    }
    const double radians = source.angle * std::numbers::pi / 180.0;
    const SitePoint along{std::cos(radians) * source.length / 2,
                          std::sin(radians) * source.length / 2};
    const SitePoint across{-std::sin(radians) * source.width / 2,
                           std::cos(radians) * source.width / 2};
    const SitePoint c = source.centre;
    return {{c.x - along.x - across.x, c.y - along.y - across.y},
            {c.x + along.x - across.x, c.y + along.y - across.y},
            {c.x + along.x + across.x, c.y + along.y + across.y},
            {c.x - along.x + across.x, c.y - along.y + across.y}};
}

}  // namespace quorvel::project
