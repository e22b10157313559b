#include "calc/project/zone/farthest_reach.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <queue>

#include <boost/geometry/algorithms/distance.hpp>

namespace quorvel::project::zone_geometry {
namespace {

// Points tried on each circle before the search, to start with a good best.
constexpr int kCircleSamples = 256;
// Squares split at most; far more than any plant needs (a few thousand). If
// it is ever reached, the bound on what is left is given, so the figure errs
// on the far side.
constexpr long kMaxSplits = 2'000'000;

double Tolerance(double best) { return 0.05 + 1e-4 * best; }

struct Square {
    Point middle;
    double half = 0;   // half the side, m
    double upper = 0;  // no point of the zone in the square is farther from the outline
    friend bool operator<(const Square& a, const Square& b) { return a.upper < b.upper; }
};

class Search {
  public:
    Search(const std::vector<LocalDisc>& discs, const PlantOutline& plant)
        : discs_(discs), plant_(plant) {}

    double Run() {
        if (discs_.empty()) return 0.0;
        constexpr double kNone = std::numeric_limits<double>::infinity();
        double lowX = kNone, lowY = kNone, highX = -kNone, highY = -kNone;
        for (const LocalDisc& disc : discs_) {
            lowX = std::min(lowX, disc.centre.x() - disc.radius);
            lowY = std::min(lowY, disc.centre.y() - disc.radius);
            highX = std::max(highX, disc.centre.x() + disc.radius);
            highY = std::max(highY, disc.centre.y() + disc.radius);
            SampleCircle(disc);
        }
        Consider(Point(lowX / 2 + highX / 2, lowY / 2 + highY / 2),
                 std::max(highX - lowX, highY - lowY) / 2);

        long splits = 0;
        while (!squares_.empty()) {
            const Square top = squares_.top();
            if (top.upper <= best_ + Tolerance(best_)) break;
            if (++splits > kMaxSplits) return top.upper;
            squares_.pop();
            const double quarter = top.half / 2;
            for (const double dx : {-quarter, quarter}) {
                for (const double dy : {-quarter, quarter}) {
                    Consider(Point(top.middle.x() + dx, top.middle.y() + dy), quarter);
                }
            }
        }
        return best_;
    }

  private:
    // `p` is in some disc.
    void Offer(const Point& p) {
        const double distance = plant_.Distance(p);
        if (distance > best_ && !plant_.StrictlyInside(p, distance)) best_ = distance;
    }

    void SampleCircle(const LocalDisc& disc) {
        for (int i = 0; i < kCircleSamples; ++i) {
            const double angle = 2 * std::numbers::pi * i / kCircleSamples;
            Offer(Point(disc.centre.x() + disc.radius * std::cos(angle),
                        disc.centre.y() + disc.radius * std::sin(angle)));
        }
    }

    // Tries the square's points known to be in the zone and keeps the square
    // if it may hold a point farther than the best.
    void Consider(const Point& middle, double half) {
        const double reach = half * std::numbers::sqrt2;  // middle to corner
        bool touchesDisc = false;
        bool middleInDisc = false;
        for (const LocalDisc& disc : discs_) {
            const double apart = bg::distance(middle, disc.centre);
            if (apart > disc.radius + reach) continue;
            touchesDisc = true;
            if (apart <= disc.radius) middleInDisc = true;
            // The nearest point of a circle that crosses the square.
            if (apart > 0 && std::abs(apart - disc.radius) <= reach) {
                const double scale = disc.radius / apart;
                Offer(Point(disc.centre.x() + (middle.x() - disc.centre.x()) * scale,
                            disc.centre.y() + (middle.y() - disc.centre.y()) * scale));
            }
        }
        if (!touchesDisc) return;
        const double distance = plant_.Distance(middle);
        const bool middleInPlant = plant_.StrictlyInside(middle, distance);
        if (middleInPlant && distance > reach) return;  // the whole square is in the plant
        if (middleInDisc && !middleInPlant) best_ = std::max(best_, distance);
        const double upper = distance + reach;
        if (upper > best_ + Tolerance(best_)) squares_.push(Square{middle, half, upper});
    }

    const std::vector<LocalDisc>& discs_;
    const PlantOutline& plant_;
    double best_ = 0.0;
    std::priority_queue<Square> squares_;
};

}  // namespace

double FarthestReach(const std::vector<LocalDisc>& discs, const PlantOutline& plant) {
    if (!plant.Present()) return 0.0;
    return Search(discs, plant).Run();
}

}  // namespace quorvel::project::zone_geometry
