#include "calc/project/zone/local_plane.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvel::project::zone_geometry {
namespace {

bool Finite(const SitePoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

bool Usable(const Disc& disc) {
    return Finite(disc.centre) && std::isfinite(disc.radius) && disc.radius > 0;
}

}  // namespace

LocalPlane LocalPlane::Around(const std::vector<Disc>& discs,
                              const std::vector<SitePoint>& boundary) {
    constexpr double kNone = std::numeric_limits<double>::infinity();
    SitePoint low{kNone, kNone};
    SitePoint high{-kNone, -kNone};
    const auto take = [&](const SitePoint& p) {
        if (!Finite(p)) return;
        low = {std::min(low.x, p.x), std::min(low.y, p.y)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y)};
    };
    for (const Disc& disc : discs) {
        if (Usable(disc)) take(disc.centre);
    }
    for (const SitePoint& vertex : boundary) take(vertex);
    if (!(low.x <= high.x)) return LocalPlane(SitePoint{});
    return LocalPlane(
        SitePoint{std::round(low.x / 2 + high.x / 2), std::round(low.y / 2 + high.y / 2)});
}

Point LocalPlane::ToLocal(const SitePoint& site) const {
    return Point(site.x - origin_.x, site.y - origin_.y);
}

SitePoint LocalPlane::ToSite(const Point& local) const {
    return SitePoint{local.x() + origin_.x, local.y() + origin_.y};
}

std::vector<LocalDisc> LocalDiscs(const std::vector<Disc>& discs, const LocalPlane& plane) {
    std::vector<LocalDisc> local;
    for (const Disc& disc : discs) {
        if (Usable(disc)) local.push_back(LocalDisc{plane.ToLocal(disc.centre), disc.radius});
    }
    return local;
}

}  // namespace quorvel::project::zone_geometry
