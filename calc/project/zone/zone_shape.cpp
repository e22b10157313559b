// GCC 12 reports variables of Boost.Geometry's overlay (its rescale policy, the
// envelope of its sections) as maybe used uninitialized once inlined into this
// file's functions; they are set on every path that reads them.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include "calc/project/zone/zone_shape.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <numbers>
#include <utility>

#include <boost/geometry/algorithms/area.hpp>
#include <boost/geometry/algorithms/difference.hpp>
#include <boost/geometry/algorithms/distance.hpp>
#include <boost/geometry/algorithms/perimeter.hpp>
#include <boost/geometry/algorithms/union.hpp>

#include "calc/project/zone/disc_polygon.h"

namespace quorvel::project::zone_geometry {
namespace {

constexpr int kTries = 4;

// The discs that another disc does not already cover; of equal discs, the first.
std::vector<LocalDisc> UncoveredDiscs(const std::vector<LocalDisc>& discs) {
    std::vector<LocalDisc> kept;
    for (std::size_t i = 0; i < discs.size(); ++i) {
        bool covered = false;
        for (std::size_t j = 0; j < discs.size() && !covered; ++j) {
            if (i == j) continue;
            const double apart = bg::distance(discs[i].centre, discs[j].centre);
            const bool inside = apart + discs[i].radius <= discs[j].radius;
            const bool same = apart == 0 && discs[i].radius == discs[j].radius;
            covered = same ? j < i : inside;
        }
        if (!covered) kept.push_back(discs[i]);
    }
    return kept;
}

// The union of `parts`, merged in pairs so that each overlay stays small.
MultiPolygon UnionOf(std::vector<MultiPolygon> parts) {
    while (parts.size() > 1) {
        std::vector<MultiPolygon> merged;
        for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
            MultiPolygon both;
            bg::union_(parts[i], parts[i + 1], both);
            merged.push_back(std::move(both));
        }
        if (parts.size() % 2 == 1) merged.push_back(std::move(parts.back()));
        parts = std::move(merged);
    }
    return parts.empty() ? MultiPolygon{} : std::move(parts.front());
}

// Whether the overlay's areas are possible: the union no smaller than its
// largest disc nor larger than all discs together, the zone no larger than the
// union nor smaller than the union less the whole plant.
bool Plausible(const std::vector<LocalDisc>& discs, double unionArea, double zoneArea,
               double plantArea) {
    double largest = 0;
    double sum = 0;
    for (const LocalDisc& disc : discs) {
        const double area = std::numbers::pi * disc.radius * disc.radius;
        largest = std::max(largest, area);
        sum += area;
    }
    constexpr double kSlack = 1e-6;
    return unionArea >= largest * (1 - kSlack) && unionArea <= sum * (1 + kSlack) &&
           zoneArea >= 0 && zoneArea <= unionArea * (1 + kSlack) &&
           zoneArea >= unionArea - plantArea * (1 + kSlack) - sum * kSlack;
}

// Whether `piece` of the zone is only there because the discs' polygons
// overshoot their circles by up to `overshoot` (m) where a disc touches the
// fence from inside: all its corners that close to the outline, and its area
// no more than such a strip along its outline.
bool Overshoot(const Polygon& piece, const PlantOutline& plant, double overshoot) {
    const double near = 2 * overshoot + kOnEdge;
    for (const Point& corner : piece.outer()) {
        if (plant.Distance(corner) > near) return false;
    }
    return bg::area(piece) <= bg::perimeter(piece) * near;
}

std::optional<MultiPolygon> TryZoneShape(const std::vector<LocalDisc>& discs,
                                         const PlantOutline& plant, int attempt) {
    constexpr double kStep = 2 * std::numbers::pi / kDiscCorners;
    std::vector<MultiPolygon> parts;
    for (std::size_t i = 0; i < discs.size(); ++i) {
        // Corners of neighbouring discs fall at unrelated angles.
        const double turn = std::fmod(0.382 * attempt + 0.618 * static_cast<double>(i), 1.0);
        parts.push_back(MultiPolygon{DiscPolygon(discs[i], turn * kStep)});
    }
    MultiPolygon all = UnionOf(std::move(parts));
    const double unionArea = bg::area(all);
    if (!plant.HasInside()) {
        if (!Plausible(discs, unionArea, unionArea, 0)) return std::nullopt;
        return all;
    }
    MultiPolygon cut;
    bg::difference(all, plant.Inside(), cut);
    double largest = 0;
    for (const LocalDisc& disc : discs) largest = std::max(largest, disc.radius);
    MultiPolygon zone;
    for (Polygon& piece : cut) {
        if (!Overshoot(piece, plant, DiscOvershoot(largest))) zone.push_back(std::move(piece));
    }
    if (!Plausible(discs, unionArea, bg::area(zone), bg::area(plant.Inside()))) {
        return std::nullopt;
    }
    return zone;
}

}  // namespace

std::optional<MultiPolygon> ZoneShape(const std::vector<LocalDisc>& discs,
                                      const PlantOutline& plant) {
    const std::vector<LocalDisc> kept = UncoveredDiscs(discs);
    for (int attempt = 0; attempt < kTries; ++attempt) {
        try {
            if (auto zone = TryZoneShape(kept, plant, attempt)) return zone;
        } catch (const std::exception&) {
            // Boost.Geometry reports an overlay it cannot finish by throwing; the
            // next try's corners avoid the coincidence.
        }
    }
    return std::nullopt;
}

}  // namespace quorvel::project::zone_geometry
