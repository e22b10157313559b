#include "calc/project/field/marching_squares.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

namespace quorvel::project {
namespace {

// The grid with a ring of points beyond its edge whose value is below every
// level; columns and rows count from -1.
class PaddedGrid {
  public:
    PaddedGrid(const FieldGrid& grid, double level) : grid_(grid), level_(level) {}

    bool Real(int c, int r) const {
        return c >= 0 && r >= 0 && c < grid_.Columns() && r < grid_.Rows();
    }
    bool Above(int c, int r) const { return Real(c, r) && grid_.Value(c, r) >= level_; }
    // An edge from point (c, r) to the right (horizontal) or upwards.
    std::int64_t EdgeId(int c, int r, bool horizontal) const {
        const std::int64_t width = grid_.Columns() + 2;
        return ((static_cast<std::int64_t>(r) + 1) * width + c + 1) * 2 + (horizontal ? 0 : 1);
    }

  private:
    const FieldGrid& grid_;
    double level_;
};

struct Crossing {
    SitePoint at;
    bool onFrame = false;
};

}  // namespace

bool LevelRing::TouchesFrame() const {
    return std::find(onFrame.begin(), onFrame.end(), true) != onFrame.end();
}

SitePoint LinearCrossing(const SitePoint& a, const SitePoint& b, double va, double vb,
                         double level) {
    const double t = va == vb ? 0.5 : std::clamp((level - va) / (vb - va), 0.0, 1.0);
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

std::vector<LevelRing> TraceLevel(const FieldGrid& grid, double level,
                                  const CrossingFinder& crossing) {
    const PaddedGrid padded(grid, level);
    std::unordered_map<std::int64_t, Crossing> crossings;
    std::unordered_map<std::int64_t, std::int64_t> next;

    // The crossing on the edge from (c0, r0) to its neighbour (c1, r1).
    auto cross = [&](int c0, int r0, int c1, int r1) -> std::int64_t {
        const bool horizontal = r0 == r1;
        const int c = std::min(c0, c1);
        const int r = std::min(r0, r1);
        const std::int64_t id = padded.EdgeId(c, r, horizontal);
        if (crossings.count(id) > 0) return id;
        const int c2 = horizontal ? c + 1 : c;
        const int r2 = horizontal ? r : r + 1;
        Crossing found;
        if (padded.Real(c, r) && padded.Real(c2, r2)) {
            found.at = crossing(grid.Point(c, r), grid.Point(c2, r2), grid.Value(c, r),
                                grid.Value(c2, r2));
        } else {
            // The region reaches the edge of the grid: the ring follows it.
            const bool first = padded.Real(c, r);
            found.at = first ? grid.Point(c, r) : grid.Point(c2, r2);
            found.onFrame = true;
        }
        crossings.emplace(id, found);
        return id;
    };

    for (int r = -1; r < grid.Rows(); ++r) {
        for (int c = -1; c < grid.Columns(); ++c) {
            // Corners counter-clockwise from the lower left; edge k runs from
            // corner k to corner k + 1.
            const std::array<std::array<int, 2>, 4> corner{
                {{c, r}, {c + 1, r}, {c + 1, r + 1}, {c, r + 1}}};
            std::array<bool, 4> above{};
            int count = 0;
            for (std::size_t k = 0; k < 4; ++k) {
                above[k] = padded.Above(corner[k][0], corner[k][1]);
                count += above[k] ? 1 : 0;
            }
            if (count == 0 || count == 4) continue;
            double mean = 0.0;
            if (count == 2 && above[0] == above[2]) {
                for (const auto& p : corner) mean += 0.25 * grid.Value(p[0], p[1]);
            }
            const bool joined = mean >= level;
            for (std::size_t k = 0; k < 4; ++k) {
                if (!above[k] || above[(k + 1) % 4]) continue;  // not leaving the region
                // The edge where the line comes back into the region: the
                // next one on from k, or for a saddle whose middle is below,
                // the one before it.
                std::size_t partner = k;
                for (std::size_t step = 1; step < 4; ++step) {
                    const std::size_t m = joined || count != 2 || above[0] != above[2]
                                              ? (k + step) % 4
                                              : (k + 4 - step) % 4;
                    if (!above[m] && above[(m + 1) % 4]) {
                        partner = m;
                        break;
                    }
                }
                const auto& a0 = corner[k];
                const auto& a1 = corner[(k + 1) % 4];
                const auto& b0 = corner[partner];
                const auto& b1 = corner[(partner + 1) % 4];
                const std::int64_t from = cross(a0[0], a0[1], a1[0], a1[1]);
                const std::int64_t to = cross(b0[0], b0[1], b1[0], b1[1]);
                next[from] = to;
            }
        }
    }

    std::vector<LevelRing> rings;
    std::unordered_map<std::int64_t, bool> done;
    // Start from the smallest edge id, so that the rings come in a fixed order.
    std::vector<std::int64_t> starts;
    for (const auto& [from, to] : next) starts.push_back(from);
    std::sort(starts.begin(), starts.end());
    for (std::int64_t start : starts) {
        if (done[start]) continue;
        LevelRing ring;
        std::int64_t id = start;
        while (!done[id]) {
            done[id] = true;
            const Crossing& here = crossings.at(id);
            if (ring.points.empty() || here.at != ring.points.back()) {
                ring.points.push_back(here.at);
                ring.onFrame.push_back(here.onFrame);
            } else if (here.onFrame) {
                ring.onFrame.back() = true;
            }
            const auto found = next.find(id);
            if (found == next.end()) break;
            id = found->second;
        }
        while (ring.points.size() > 1 && ring.points.back() == ring.points.front()) {
            ring.points.pop_back();
            ring.onFrame.pop_back();
        }
        if (ring.points.size() >= 3) rings.push_back(std::move(ring));
    }
    return rings;
}

std::vector<std::vector<SitePoint>> ContourLines(const std::vector<LevelRing>& rings) {
    std::vector<std::vector<SitePoint>> lines;
    for (const LevelRing& ring : rings) {
        const std::size_t n = ring.points.size();
        if (!ring.TouchesFrame()) {
            std::vector<SitePoint> line = ring.points;
            line.push_back(line.front());
            lines.push_back(std::move(line));
            continue;
        }
        // Start at a frame point; each run of inner points, with the frame
        // points at its ends, is a line.
        std::size_t first = 0;
        while (!ring.onFrame[first]) ++first;
        std::vector<SitePoint> line{ring.points[first]};
        for (std::size_t step = 1; step <= n; ++step) {
            const std::size_t i = (first + step) % n;
            line.push_back(ring.points[i]);
            if (ring.onFrame[i]) {
                if (line.size() > 2) lines.push_back(line);
                line = {ring.points[i]};
            }
        }
    }
    return lines;
}

}  // namespace quorvel::project
