// GCC 12 reports variables of Boost.Geometry's overlay (the envelope of its
// sections) as maybe used uninitialized once inlined here; they are set on
// every path that reads them.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include "calc/project/field/current_rule.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>

#include <boost/geometry/algorithms/area.hpp>
#include <boost/geometry/algorithms/correct.hpp>
#include <boost/geometry/algorithms/covered_by.hpp>
#include <boost/geometry/algorithms/difference.hpp>
#include <boost/geometry/algorithms/distance.hpp>
#include <boost/geometry/strategies/strategies.hpp>

#include "calc/project/field/boundary_reach.h"
#include "calc/project/field/field_grid.h"
#include "calc/project/field/level_crossing.h"
#include "calc/project/field/level_polygons.h"
#include "calc/project/field/marching_squares.h"
#include "calc/project/field/parallel_for.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

using namespace field_geometry;

constexpr double kHalf = 0.5;
constexpr double kOne = 1.0;
// The frame starts this far (m) around the plant and the sources.
constexpr double kFrameMargin = 50.0;
// Crossings of the standard are found to this width (m).
constexpr double kCrossingWidth = 0.1;
// A grid that steps over an exceedance is halved at most this many times,
// for a maximum outside the plant at least this share of the standard.
constexpr double kClearlyAbove = 1.01;
constexpr int kMostHalvings = 3;
// A contour's segments are split at most this many times over.
constexpr int kMostSplits = 8;
// A point within this distance (m) of the outline is on it.
constexpr double kOnOutline = 1e-6;

struct Frame {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
    double Step(const RuleSettings& s) const {
        return std::min(s.largestStep,
                        std::max(maxX - minX, maxY - minY) / std::max(1, s.targetCells));
    }
};

SitePoint Along(const SitePoint& a, const SitePoint& b, double t) {
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

class Rule {
  public:
    Rule(const FieldFunction& function, const std::vector<RuleField>& fields,
         const std::vector<SitePoint>& boundary, const RuleSettings& settings, SitePoint origin)
        : function_(function),
          fields_(fields),
          settings_(settings),
          plane_(Plane::At(origin)),
          plant_(PlantInside(boundary, plane_)),
          hasBoundary_(!plant_.empty()) {
        if (hasBoundary_) outline_.emplace(boundary, plane_);
    }

    FieldResult Apply(const std::vector<Receptor>& receptors, const std::vector<SitePoint>& cover,
                      const std::vector<SitePoint>& boundary);

  private:
    double Ratio(const SitePoint& p, std::size_t k) const {
        return function_.At(p, {k}).front().c / fields_[k].standard;
    }
    bool InPlant(const SitePoint& p) const {
        if (!hasBoundary_) return false;
        const Point local = plane_.ToLocal(p);
        return bg::covered_by(local, plant_) && outline_->Distance(local) > kOnOutline;
    }
    Frame ChooseFrame(const std::vector<SitePoint>& cover, const std::vector<SitePoint>& boundary,
                      bool& limited) const;
    // Samples fields `which` on a grid like `prototype`.
    void Sample(const FieldGrid& prototype, const std::vector<std::size_t>& which);
    PollutantFieldResult Pollutant(std::size_t k, bool limited, std::vector<int>& sides) const;
    std::vector<LevelRing> Refined(std::vector<LevelRing> rings, std::size_t k) const;
    std::vector<SitePoint> Split(const SitePoint& p, const SitePoint& q, std::size_t k,
                                 double tolerance, int depth) const;
    void Sharpen(std::vector<LevelRing>& rings, std::size_t k) const;
    std::optional<FieldValue> MaxOutside(std::size_t k) const;

    const FieldFunction& function_;
    const std::vector<RuleField>& fields_;
    RuleSettings settings_;
    Plane plane_;
    MultiPolygon plant_;
    bool hasBoundary_;
    std::optional<BoundaryOutline> outline_;
    std::vector<FieldGrid> grids_;          // per field: c / S
    std::vector<std::vector<bool>> exact_;  // per field and grid point
};

Frame Rule::ChooseFrame(const std::vector<SitePoint>& cover, const std::vector<SitePoint>& boundary,
                        bool& limited) const {
    Frame f{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
            std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()};
    auto take = [&](const SitePoint& p) {
        f.minX = std::min(f.minX, p.x);
        f.minY = std::min(f.minY, p.y);
        f.maxX = std::max(f.maxX, p.x);
        f.maxY = std::max(f.maxY, p.y);
    };
    for (const SitePoint& p : cover) take(p);
    for (const SitePoint& p : boundary) take(p);
    if (f.minX > f.maxX) f = {0.0, 0.0, 0.0, 0.0};
    const Frame inner = f;
    f.minX -= kFrameMargin;
    f.minY -= kFrameMargin;
    f.maxX += kFrameMargin;
    f.maxY += kFrameMargin;

    // Grow each side whose edge still sees half a standard somewhere.
    limited = false;
    for (int round = 0; round < 40; ++round) {
        const double step = f.Step(settings_);
        std::array<bool, 4> grow{};  // left, bottom, right, top
        auto check = [&](const SitePoint& a, const SitePoint& b, std::size_t side) {
            const int n =
                std::max(1, static_cast<int>(std::ceil(std::hypot(b.x - a.x, b.y - a.y) / step)));
            for (int i = 0; i <= n && !grow[side]; ++i) {
                const SitePoint p = Along(a, b, static_cast<double>(i) / n);
                for (std::size_t k = 0; k < fields_.size() && !grow[side]; ++k) {
                    double bound = function_.Bound(p, k);
                    if (std::isinf(bound)) bound = function_.At(p, {k}).front().c;
                    grow[side] = bound >= kHalf * fields_[k].standard;
                }
            }
        };
        check({f.minX, f.minY}, {f.minX, f.maxY}, 0);
        check({f.minX, f.minY}, {f.maxX, f.minY}, 1);
        check({f.maxX, f.minY}, {f.maxX, f.maxY}, 2);
        check({f.minX, f.maxY}, {f.maxX, f.maxY}, 3);
        if (!grow[0] && !grow[1] && !grow[2] && !grow[3]) return f;
        const double by = std::max(kFrameMargin, 0.5 * std::max(f.maxX - f.minX, f.maxY - f.minY));
        const double far = settings_.farthest;
        bool moved = false;
        auto move = [&](double& edge, double target, double limit, bool outwards_up) {
            const double next = outwards_up ? std::min(target, limit) : std::max(target, limit);
            if (next != edge) moved = true;
            edge = next;
        };
        if (grow[0]) move(f.minX, f.minX - by, inner.minX - far, false);
        if (grow[1]) move(f.minY, f.minY - by, inner.minY - far, false);
        if (grow[2]) move(f.maxX, f.maxX + by, inner.maxX + far, true);
        if (grow[3]) move(f.maxY, f.maxY + by, inner.maxY + far, true);
        if (!moved) {
            limited = true;
            return f;
        }
    }
    limited = true;
    return f;
}

void Rule::Sample(const FieldGrid& prototype, const std::vector<std::size_t>& which) {
    const std::size_t fields = fields_.size();
    const int columns = prototype.Columns();
    const std::size_t points =
        static_cast<std::size_t>(columns) * static_cast<std::size_t>(prototype.Rows());
    grids_.resize(fields, prototype);
    exact_.resize(fields);
    std::vector<std::vector<char>> exact(fields);
    for (std::size_t k : which) {
        grids_[k] = prototype;
        exact_[k].assign(points, false);
        exact[k].assign(points, 0);
    }
    auto at = [&](std::size_t i) {
        return prototype.Point(static_cast<int>(i % static_cast<std::size_t>(columns)),
                               static_cast<int>(i / static_cast<std::size_t>(columns)));
    };
    auto evaluate = [&](std::size_t i, const std::vector<std::size_t>& fields_here) {
        if (fields_here.empty()) return;
        const std::vector<FieldValue> values = function_.At(at(i), fields_here);
        const int c = static_cast<int>(i % static_cast<std::size_t>(columns));
        const int r = static_cast<int>(i / static_cast<std::size_t>(columns));
        for (std::size_t j = 0; j < fields_here.size(); ++j) {
            grids_[fields_here[j]].Value(c, r) = values[j].c / fields_[fields_here[j]].standard;
            exact[fields_here[j]][i] = 1;
        }
    };
    // Exactly where a field may reach half its standard; its bound elsewhere.
    ParallelFor(points, [&](std::size_t i) {
        std::vector<std::size_t> near;
        const int c = static_cast<int>(i % static_cast<std::size_t>(columns));
        const int r = static_cast<int>(i / static_cast<std::size_t>(columns));
        for (std::size_t k : which) {
            const double bound = function_.Bound(at(i), k) / fields_[k].standard;
            if (bound >= kHalf)
                near.push_back(k);
            else
                grids_[k].Value(c, r) = bound;
        }
        evaluate(i, near);
    });
    // Beside a point at or above half the standard, a bound would misplace
    // the contour between them: those points are computed too.
    std::vector<std::vector<std::size_t>> more(points);
    for (std::size_t k : which) {
        for (std::size_t i = 0; i < points; ++i) {
            if (exact[k][i]) continue;
            const int c = static_cast<int>(i % static_cast<std::size_t>(columns));
            const int r = static_cast<int>(i / static_cast<std::size_t>(columns));
            bool beside = false;
            for (const auto& [dc, dr] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const int cc = c + dc;
                const int rr = r + dr;
                if (cc < 0 || rr < 0 || cc >= columns || rr >= prototype.Rows()) continue;
                const std::size_t j =
                    static_cast<std::size_t>(rr) * static_cast<std::size_t>(columns) +
                    static_cast<std::size_t>(cc);
                beside = beside || (exact[k][j] && grids_[k].Value(cc, rr) >= kHalf);
            }
            if (beside) more[i].push_back(k);
        }
    }
    ParallelFor(points, [&](std::size_t i) { evaluate(i, more[i]); });
    for (std::size_t k : which) {
        for (std::size_t i = 0; i < points; ++i) exact_[k][i] = exact[k][i] != 0;
    }
}

// The points to add between p and q, which lie on the contour of field k,
// so that no point of the segments between them lies farther than
// `tolerance` m from where the field crosses the standard.
std::vector<SitePoint> Rule::Split(const SitePoint& p, const SitePoint& q, std::size_t k,
                                   double tolerance, int depth) const {
    const double length = std::hypot(q.x - p.x, q.y - p.y);
    if (depth >= kMostSplits || length < 2.0 * tolerance) return {};
    const SitePoint m{0.5 * (p.x + q.x), 0.5 * (p.y + q.y)};
    // The region lies to the left of p -> q: look across the segment for
    // where the field really crosses the standard.
    const SitePoint left{-(q.y - p.y) / length, (q.x - p.x) / length};
    const double fm = Ratio(m, k);
    const double sign = fm >= kOne ? -1.0 : 1.0;
    auto along = [&](double t) {
        return SitePoint{m.x + sign * t * left.x, m.y + sign * t * left.y};
    };
    // Mostly the field crosses within the tolerance: one look tells.
    const double near = Ratio(along(tolerance), k);
    if ((near >= kOne) != (fm >= kOne)) return {};
    double reach = 0.5 * length;
    double fr = Ratio(along(reach), k);
    if ((fr >= kOne) == (fm >= kOne)) {
        reach = length;
        fr = Ratio(along(reach), k);
        if ((fr >= kOne) == (fm >= kOne)) return {};
    }
    const double t = CrossingOnLine([&](double s) { return Ratio(along(s), k); }, kOne, tolerance,
                                    near, reach, fr, std::min(kCrossingWidth, 0.2 * tolerance));
    if (t <= tolerance) return {};
    const SitePoint x = along(t);
    std::vector<SitePoint> points = Split(p, x, k, tolerance, depth + 1);
    points.push_back(x);
    const std::vector<SitePoint> after = Split(x, q, k, tolerance, depth + 1);
    points.insert(points.end(), after.begin(), after.end());
    return points;
}

std::vector<LevelRing> Rule::Refined(std::vector<LevelRing> rings, std::size_t k) const {
    const double step = grids_[k].Step();
    struct Segment {
        std::size_t ring = 0;
        std::size_t index = 0;
        std::vector<SitePoint> added;
    };
    std::vector<Segment> segments;
    for (std::size_t r = 0; r < rings.size(); ++r) {
        const LevelRing& ring = rings[r];
        for (std::size_t i = 0; i < ring.points.size(); ++i) {
            const std::size_t j = (i + 1) % ring.points.size();
            if (ring.onFrame[i] && ring.onFrame[j]) continue;
            // Deep inside the plant the line is only drawn.
            if (hasBoundary_ && InPlant(ring.points[i]) && InPlant(ring.points[j]) &&
                outline_->Distance(plane_.ToLocal(ring.points[i])) > 2.0 * step &&
                outline_->Distance(plane_.ToLocal(ring.points[j])) > 2.0 * step)
                continue;
            segments.push_back({r, i, {}});
        }
    }
    ParallelFor(segments.size(), [&](std::size_t s) {
        const LevelRing& ring = rings[segments[s].ring];
        const std::size_t i = segments[s].index;
        segments[s].added = Split(ring.points[i], ring.points[(i + 1) % ring.points.size()], k,
                                  0.5 * settings_.contourTolerance, 0);
    });
    std::vector<LevelRing> refined(rings.size());
    std::size_t s = 0;
    for (std::size_t r = 0; r < rings.size(); ++r) {
        for (std::size_t i = 0; i < rings[r].points.size(); ++i) {
            refined[r].points.push_back(rings[r].points[i]);
            refined[r].onFrame.push_back(rings[r].onFrame[i]);
            if (s < segments.size() && segments[s].ring == r && segments[s].index == i) {
                for (const SitePoint& p : segments[s].added) {
                    refined[r].points.push_back(p);
                    refined[r].onFrame.push_back(false);
                }
                ++s;
            }
        }
    }
    return refined;
}

// The contour about its point farthest from the boundary, followed closely
// enough that the distance is known to a few centimetres.
void Rule::Sharpen(std::vector<LevelRing>& rings, std::size_t k) const {
    if (!hasBoundary_) return;
    LevelRing* best = nullptr;
    std::size_t at = 0;
    double farthest = -1.0;
    for (LevelRing& ring : rings) {
        for (std::size_t i = 0; i < ring.points.size(); ++i) {
            if (ring.onFrame[i] || InPlant(ring.points[i])) continue;
            const double d = outline_->Distance(plane_.ToLocal(ring.points[i]));
            if (d > farthest) {
                farthest = d;
                best = &ring;
                at = i;
            }
        }
    }
    if (best == nullptr) return;
    const std::size_t n = best->points.size();
    const SitePoint before = best->points[(at + n - 1) % n];
    const SitePoint here = best->points[at];
    const SitePoint after = best->points[(at + 1) % n];
    std::array<std::vector<SitePoint>, 2> added;
    ParallelFor(2, [&](std::size_t side) {
        added[side] = side == 0 ? Split(before, here, k, kCrossingWidth, 0)
                                : Split(here, after, k, kCrossingWidth, 0);
    });
    // Insert after `here` first, so that `at` still names it.
    best->points.insert(best->points.begin() + static_cast<std::ptrdiff_t>(at) + 1,
                        added[1].begin(), added[1].end());
    best->onFrame.insert(best->onFrame.begin() + static_cast<std::ptrdiff_t>(at) + 1,
                         added[1].size(), false);
    best->points.insert(best->points.begin() + static_cast<std::ptrdiff_t>(at), added[0].begin(),
                        added[0].end());
    best->onFrame.insert(best->onFrame.begin() + static_cast<std::ptrdiff_t>(at), added[0].size(),
                         false);
}

std::optional<FieldValue> Rule::MaxOutside(std::size_t k) const {
    if (!hasBoundary_) return std::nullopt;
    const FieldGrid& grid = grids_[k];
    const double step = grid.Step();
    // Candidates: the computed grid points outside the plant and points along
    // the outline, most promising first; then a search around the best.
    struct Candidate {
        SitePoint at;
        double promise = 0.0;  // ratio, exact or a bound
    };
    std::vector<Candidate> candidates;
    for (int r = 0; r < grid.Rows(); ++r) {
        for (int c = 0; c < grid.Columns(); ++c) {
            const std::size_t i =
                static_cast<std::size_t>(r) * static_cast<std::size_t>(grid.Columns()) +
                static_cast<std::size_t>(c);
            if (exact_[k][i] && !InPlant(grid.Point(c, r)))
                candidates.push_back({grid.Point(c, r), grid.Value(c, r)});
        }
    }
    std::vector<std::pair<SitePoint, SitePoint>> sides;
    const auto& outer = plant_.front().outer();
    for (std::size_t i = 0; i + 1 < outer.size(); ++i) {
        const SitePoint a = plane_.ToSite(outer[i]);
        const SitePoint b = plane_.ToSite(outer[i + 1]);
        const int n = std::max(
            1, static_cast<int>(std::ceil(std::hypot(b.x - a.x, b.y - a.y) / (0.5 * step))));
        for (int j = 0; j < n; ++j) {
            const SitePoint p = Along(a, b, static_cast<double>(j) / n);
            candidates.push_back({p, function_.Bound(p, k) / fields_[k].standard});
        }
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate& l, const Candidate& r) { return l.promise > r.promise; });
    double best = -1.0;
    SitePoint bestAt{};
    // Evaluate in rounds of a few, until no candidate left can beat the best.
    std::size_t next = 0;
    while (next < candidates.size() && candidates[next].promise > best) {
        const std::size_t end = std::min(candidates.size(), next + 8);
        std::vector<double> values(end - next);
        ParallelFor(end - next,
                    [&](std::size_t j) { values[j] = Ratio(candidates[next + j].at, k); });
        for (std::size_t j = 0; j < values.size(); ++j) {
            if (values[j] > best) {
                best = values[j];
                bestAt = candidates[next + j].at;
            }
        }
        next = end;
    }
    if (best < 0.0) return std::nullopt;
    // A compass search outside the plant: a point that falls inside is moved
    // to its nearest outline point.
    auto outside = [&](SitePoint p) {
        if (!InPlant(p)) return p;
        const Point local = plane_.ToLocal(p);
        Point nearest = local;
        double shortest = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i + 1 < outer.size(); ++i) {
            const Point& a = outer[i];
            const Point& b = outer[i + 1];
            const double dx = b.x() - a.x();
            const double dy = b.y() - a.y();
            const double len2 = dx * dx + dy * dy;
            const double t =
                len2 > 0 ? std::clamp(((local.x() - a.x()) * dx + (local.y() - a.y()) * dy) / len2,
                                      0.0, 1.0)
                         : 0.0;
            const Point foot(a.x() + t * dx, a.y() + t * dy);
            const double d = std::hypot(local.x() - foot.x(), local.y() - foot.y());
            if (d < shortest) {
                shortest = d;
                nearest = foot;
            }
        }
        return plane_.ToSite(nearest);
    };
    for (double move = 0.5 * step; move > 0.05;) {
        std::array<SitePoint, 4> trial{};
        const std::array<std::pair<double, double>, 4> directions{
            {{1, 0}, {-1, 0}, {0, 1}, {0, -1}}};
        for (std::size_t d = 0; d < 4; ++d) {
            trial[d] = outside(
                {bestAt.x + move * directions[d].first, bestAt.y + move * directions[d].second});
        }
        std::array<double, 4> values{};
        ParallelFor(4, [&](std::size_t d) { values[d] = Ratio(trial[d], k); });
        const auto top = std::max_element(values.begin(), values.end());
        if (*top > best) {
            best = *top;
            bestAt = trial[static_cast<std::size_t>(top - values.begin())];
        } else {
            move *= 0.5;
        }
    }
    FieldValue value = function_.At(bestAt, {k}).front();
    value.ratio = value.c / fields_[k].standard;
    return value;
}

PollutantFieldResult Rule::Pollutant(std::size_t k, bool limited, std::vector<int>& sides) const {
    PollutantFieldResult p;
    p.pollutant = fields_[k].pollutant;
    p.standard = fields_[k].standard;
    const FieldGrid& grid = grids_[k];

    // The standard's crossings of the grid's edges, found in parallel.
    std::vector<std::pair<SitePoint, SitePoint>> edges;
    for (int r = 0; r < grid.Rows(); ++r) {
        for (int c = 0; c < grid.Columns(); ++c) {
            const bool above = grid.Value(c, r) >= kOne;
            if (c + 1 < grid.Columns() && (grid.Value(c + 1, r) >= kOne) != above)
                edges.push_back({grid.Point(c, r), grid.Point(c + 1, r)});
            if (r + 1 < grid.Rows() && (grid.Value(c, r + 1) >= kOne) != above)
                edges.push_back({grid.Point(c, r), grid.Point(c, r + 1)});
        }
    }
    std::vector<SitePoint> found(edges.size());
    ParallelFor(edges.size(), [&](std::size_t e) {
        const SitePoint a = edges[e].first;
        const SitePoint b = edges[e].second;
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const double t =
            CrossingOnLine([&](double s) { return Ratio(Along(a, b, s), k); }, kOne, 0.0,
                           Ratio(a, k), 1.0, Ratio(b, k), kCrossingWidth / length);
        found[e] = Along(a, b, t);
    });
    std::map<std::array<double, 4>, SitePoint> crossings;
    for (std::size_t e = 0; e < edges.size(); ++e) {
        crossings[{edges[e].first.x, edges[e].first.y, edges[e].second.x, edges[e].second.y}] =
            found[e];
    }
    std::vector<LevelRing> exceeding =
        Refined(TraceLevel(grid, kOne,
                           [&](const SitePoint& a, const SitePoint& b, double, double) {
                               return crossings.at({a.x, a.y, b.x, b.y});
                           }),
                k);
    Sharpen(exceeding, k);
    const std::vector<LevelRing> half =
        TraceLevel(grid, kHalf, [](const SitePoint& a, const SitePoint& b, double va, double vb) {
            return LinearCrossing(a, b, va, vb, kHalf);
        });
    p.contours.push_back({kOne, ContourLines(exceeding)});
    p.contours.push_back({kHalf, ContourLines(half)});
    if (std::any_of(exceeding.begin(), exceeding.end(),
                    [](const LevelRing& r) { return r.TouchesFrame(); })) {
        p.final = false;
        p.note = limited
                     ? u"超标区域超出计算范围（厂界与排放源外 " +
                           FromUtf8(std::to_string(static_cast<int>(settings_.farthest / 1000))) +
                           u" km），结果不完整"
                     : u"超标区域达到计算范围边缘，结果不完整";
    }

    MultiPolygon region = RegionOf(exceeding, plane_);
    if (hasBoundary_) {
        MultiPolygon outside;
        bg::difference(region, plant_, outside);
        region = std::move(outside);
    }
    p.exceedanceArea = bg::area(region);
    p.exceedance = ToZonePolygons(region, plane_);
    if (hasBoundary_) {
        std::vector<Point> inner;
        for (int r = 0; r < grid.Rows(); ++r) {
            for (int c = 0; c < grid.Columns(); ++c) {
                const SitePoint at = grid.Point(c, r);
                if (grid.Value(c, r) >= kOne && !InPlant(at)) inner.push_back(plane_.ToLocal(at));
            }
        }
        const Reach reach = RegionReach(region, inner, *outline_);
        p.distance = reach.distance;
        if (reach.at) p.distanceAt = plane_.ToSite(*reach.at);
        sides = reach.sides;
        p.maxOutside = MaxOutside(k);
        if (p.maxOutside) {
            p.cut = p.maxOutside->c > fields_[k].standard
                        ? 1.0 - fields_[k].standard / p.maxOutside->c
                        : 0.0;
        }
    }
    return p;
}

FieldResult Rule::Apply(const std::vector<Receptor>& receptors, const std::vector<SitePoint>& cover,
                        const std::vector<SitePoint>& boundary) {
    FieldResult result;
    bool limited = false;
    const Frame frame = ChooseFrame(cover, boundary, limited);
    const double step = std::max(frame.Step(settings_), 1e-3);
    const int columns = static_cast<int>(std::ceil((frame.maxX - frame.minX) / step)) + 1;
    const int rows = static_cast<int>(std::ceil((frame.maxY - frame.minY) / step)) + 1;

    std::vector<std::size_t> all(fields_.size());
    for (std::size_t k = 0; k < all.size(); ++k) all[k] = k;
    FieldGrid prototype({frame.minX, frame.minY}, step, std::max(2, columns), std::max(2, rows));
    Sample(prototype, all);

    std::vector<std::vector<int>> sides(fields_.size());
    for (std::size_t k = 0; k < fields_.size(); ++k) {
        PollutantFieldResult p = Pollutant(k, limited, sides[k]);
        // The largest concentration outside the plant at or above the
        // standard, but outside the exceedance found: a region between grid
        // points. The grid is halved until it is seen.
        for (int finer = 0;
             finer < kMostHalvings && p.maxOutside && p.maxOutside->ratio >= kClearlyAbove;
             ++finer) {
            MultiPolygon region;
            for (const ZonePolygon& z : p.exceedance) region.push_back(ToPolygon(z, plane_));
            if (!region.empty() &&
                bg::distance(plane_.ToLocal(p.maxOutside->at), region) <= kCrossingWidth)
                break;
            const FieldGrid& coarse = grids_[k];
            Sample(FieldGrid(coarse.Point(0, 0), 0.5 * coarse.Step(), 2 * coarse.Columns() - 1,
                             2 * coarse.Rows() - 1),
                   {k});
            p = Pollutant(k, limited, sides[k]);
        }
        result.pollutants.push_back(std::move(p));
    }

    if (hasBoundary_) {
        double distance = 0.0;
        std::vector<int> exceeding;
        for (std::size_t k = 0; k < fields_.size(); ++k) {
            const PollutantFieldResult& p = result.pollutants[k];
            if (p.distance && *p.distance > distance) {
                distance = *p.distance;
                result.decidingPollutant = p.pollutant;
            }
            for (int side : sides[k]) {
                if (std::find(exceeding.begin(), exceeding.end(), side) == exceeding.end())
                    exceeding.push_back(side);
            }
        }
        std::sort(exceeding.begin(), exceeding.end());
        result.distance = distance;
        result.exceedingSides = exceeding;
        MultiPolygon area;
        if (distance > 0.0) bg::difference(outline_->Band(exceeding, distance), plant_, area);
        result.area = bg::area(area);
        result.areaPolygons = ToZonePolygons(area, plane_);
    }

    result.receptors.resize(receptors.size());
    ParallelFor(receptors.size(), [&](std::size_t i) {
        ReceptorFieldResult& r = result.receptors[i];
        r.name = receptors[i].name;
        const SitePoint at = receptors[i].position;
        const bool inPlant = InPlant(at);
        const std::vector<FieldValue> values =
            all.empty() ? std::vector<FieldValue>{} : function_.At(at, all);
        for (std::size_t k = 0; k < values.size(); ++k) {
            ReceptorPollutant rp;
            rp.pollutant = fields_[k].pollutant;
            rp.value = values[k];
            rp.value.ratio = values[k].c / fields_[k].standard;
            rp.exceeds = values[k].c >= fields_[k].standard;
            rp.cut = rp.exceeds && !inPlant ? 1.0 - fields_[k].standard / values[k].c : 0.0;
            r.pollutants.push_back(std::move(rp));
        }
    });
    if (hasBoundary_ && result.area && *result.area > 0.0) {
        MultiPolygon area;
        for (const ZonePolygon& z : result.areaPolygons) area.push_back(ToPolygon(z, plane_));
        for (std::size_t i = 0; i < receptors.size(); ++i) {
            const Point at = plane_.ToLocal(receptors[i].position);
            result.receptors[i].inArea =
                !InPlant(receptors[i].position) && bg::distance(at, area) <= 1e-6;
        }
    }
    return result;
}

}  // namespace

FieldResult ApplyCurrentRule(const FieldFunction& function, const std::vector<RuleField>& fields,
                             const std::vector<SitePoint>& boundary,
                             const std::vector<Receptor>& receptors,
                             const std::vector<SitePoint>& cover, const RuleSettings& settings) {
    SitePoint origin{};
    if (!boundary.empty()) {
        origin = {std::round(boundary.front().x), std::round(boundary.front().y)};
    } else if (!cover.empty()) {
        origin = {std::round(cover.front().x), std::round(cover.front().y)};
    }
    Rule rule(function, fields, boundary, settings, origin);
    return rule.Apply(receptors, cover, boundary);
}

}  // namespace quorvel::project
