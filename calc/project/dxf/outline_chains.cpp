#include "calc/project/dxf/outline_chains.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calc/unicode_text.h"

namespace quorvel::project::dxf {
namespace {

bool Near(DrawingPoint a, DrawingPoint b, double tolerance) {
    return std::hypot(a.x - b.x, a.y - b.y) <= tolerance;
}

}  // namespace

std::vector<Shape> JoinedOutlines(const std::vector<const Shape*>& paths, double tolerance) {
    std::vector<Shape> outlines;
    std::vector<bool> used(paths.size(), false);
    for (std::size_t first = 0; first < paths.size(); ++first) {
        if (used[first] || paths[first]->points.size() < 2) continue;
        std::vector<DrawingPoint> chain = paths[first]->points;
        std::vector<std::size_t> members{first};
        bool straight = paths[first]->points.size() == 2;
        bool turned = false;  // the chain was reversed once to grow at its other end
        while (!(chain.size() >= 4 && Near(chain.front(), chain.back(), tolerance))) {
            bool grown = false;
            for (std::size_t next = 0; next < paths.size() && !grown; ++next) {
                if (used[next] || std::find(members.begin(), members.end(), next) != members.end())
                    continue;
                const std::vector<DrawingPoint>& points = paths[next]->points;
                if (points.size() < 2) continue;
                if (Near(points.front(), chain.back(), tolerance)) {
                    chain.insert(chain.end(), points.begin() + 1, points.end());
                } else if (Near(points.back(), chain.back(), tolerance)) {
                    chain.insert(chain.end(), points.rbegin() + 1, points.rend());
                } else {
                    continue;
                }
                members.push_back(next);
                straight = straight && points.size() == 2;
                grown = true;
            }
            if (grown) continue;
            if (turned) break;
            std::reverse(chain.begin(), chain.end());
            turned = true;
        }
        if (!(chain.size() >= 4 && Near(chain.front(), chain.back(), tolerance))) continue;
        for (const std::size_t member : members) used[member] = true;
        chain.pop_back();
        Shape outline;
        outline.kind = ShapeKind::Outline;
        outline.layer = paths[first]->layer;
        outline.points = std::move(chain);
        outline.cornersExact = straight;
        outline.insertLayers = paths[first]->insertLayers;
        outline.place = u"由 " + FromUtf8(std::to_string(members.size())) +
                        u" 段直线和圆弧连成的闭合轮廓（从" + paths[first]->place + u"起）";
        outlines.push_back(std::move(outline));
    }
    return outlines;
}

}  // namespace quorvel::project::dxf
