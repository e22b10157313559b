#include "calc/project/field/screening_field.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "model/brent_maximum.h"

namespace quorvel::project {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
// A plume reaches this many crosswind spreads beyond its source's rectangle;
// what lies farther adds less than a thousandth of the source's share.
constexpr double kPlumeReach = 3.5;
// A sector is scanned in about this many steps each side of its middle, and
// never in steps wider than kWidestStep (degrees).
constexpr double kStepsEachSide = 3.0;
constexpr double kWidestStep = 6.0;
// Scan peaks below this share of the highest are not refined: between two
// scan points a peak does not rise by more than that, nor is an estimate
// that much off.
constexpr double kRefineShare = 0.7;
// An estimated peak below this share of a known value is not refined: the
// estimates are within 15 % (so the peak is below 0.9 of that value).
constexpr double kEstimateShare = 0.75;
// Sources farther than this many half diagonals are scanned by estimate.
constexpr double kEstimateBeyond = 3.0;
// Refinement stops once the wind direction is known to this width (degrees).
constexpr double kDirectionTolerance = 0.05;
// Bounds are widened by this share before they rule a class out.
constexpr double kBoundSlack = 2e-3;

double Normalized(double degrees) {
    double d = std::fmod(degrees, 360.0);
    if (d < 0.0) d += 360.0;
    return d;
}

// The angle (degrees, 0 to 180) between two directions.
double Between(double a, double b) {
    const double d = Normalized(a - b);
    return d > 180.0 ? 360.0 - d : d;
}

// The largest sum of `values` over the sectors that one wind direction lies in.
double LargestOverlap(const std::vector<WindSector>& sectors, const std::vector<double>& values) {
    double always = 0.0;
    std::vector<std::pair<double, double>> events;  // direction, change of the sum
    for (std::size_t e = 0; e < sectors.size(); ++e) {
        if (values[e] == 0.0) continue;
        if (sectors[e].half >= 180.0 || std::isinf(values[e])) {
            always += values[e];
            continue;
        }
        const double start = Normalized(sectors[e].middle - sectors[e].half);
        const double end = start + 2.0 * sectors[e].half;
        events.push_back({start, values[e]});
        events.push_back({end, -values[e]});
        if (end > 360.0) {  // the arc runs on past north-east: it also covers 0 to end - 360
            events.push_back({0.0, values[e]});
            events.push_back({end - 360.0, -values[e]});
        }
    }
    // Openings before closings at the same direction: sectors are closed.
    std::sort(events.begin(), events.end(), [](const auto& l, const auto& r) {
        return l.first < r.first || (l.first == r.first && l.second > r.second);
    });
    double sum = 0.0;
    double largest = 0.0;
    for (const auto& [direction, change] : events) {
        sum += change;
        largest = std::max(largest, sum);
    }
    return always + largest;
}

}  // namespace

struct ScreeningField::Geometry {
    std::vector<double> distance;  // m, from each source's centre
    std::vector<double> bearing;   // degrees, the wind direction that puts the point downwind of it
};

ScreeningField::Geometry ScreeningField::Locate(const SitePoint& point) const {
    Geometry g;
    for (const FieldSource& s : sources_) {
        const double dx = point.x - s.centre.x;
        const double dy = point.y - s.centre.y;
        g.distance.push_back(std::hypot(dx, dy));
        g.bearing.push_back(g.distance.back() > 0.0 ? Normalized(std::atan2(dy, dx) / kDegree)
                                                    : 0.0);
    }
    return g;
}

ScreeningField::SectorOf ScreeningField::Sectors(const ClassModels& cls, const Geometry& g) const {
    SectorOf sectors(sources_.size());
    for (std::size_t e = 0; e < sources_.size(); ++e) {
        WindSector& sector = sectors[e];
        sector.middle = g.bearing[e];
        sector.half = 180.0;
        if (g.distance[e] > reach_[e]) {
            const double spread = cls.spread.At(g.distance[e] + reach_[e]).y;
            const double sine = (reach_[e] + kPlumeReach * spread) / g.distance[e];
            if (sine < 1.0) sector.half = std::asin(sine) / kDegree;
        }
        sector.step = std::min(kWidestStep, sector.half / kStepsEachSide);
    }
    return sectors;
}

double ScreeningField::ClassBound(const ClassModels& cls, const Geometry& g,
                                  const SectorOf& sectors, const FieldWeights& weights) const {
    std::vector<double> values(sources_.size(), 0.0);
    for (std::size_t e = 0; e < sources_.size(); ++e) {
        if (weights[e] != 0.0) values[e] = weights[e] * cls.profiles[e].Bound(g.distance[e]);
    }
    return LargestOverlap(sectors, values);
}

ScreeningField::ScreeningField(std::vector<FieldSource> sources, LandUse land_use)
    : sources_(std::move(sources)) {
    for (const FieldSource& s : sources_) {
        reach_.push_back(0.5 * std::hypot(s.area.larger_side, s.area.smaller_side));
    }
    for (Stability stability : FieldClasses(sources_, land_use)) {
        ClassModels cls{stability,
                        FullSetWindSpeeds(stability).front(),
                        DispersionCoefficients(stability, land_use),
                        {},
                        {}};
        for (const FieldSource& s : sources_) {
            const MetCondition met = LowestWind(stability, s.area.release_height, land_use);
            cls.unit.emplace_back(s.area, met);
            cls.profiles.emplace_back(s.area, met);
        }
        classes_.push_back(std::move(cls));
    }
}

double ScreeningField::Unit(const ClassModels& cls, std::size_t source, const SitePoint& point,
                            double toward_deg, double absolute) const {
    const FieldSource& s = sources_[source];
    const double toward = toward_deg * kDegree;
    const double dx = point.x - s.centre.x;
    const double dy = point.y - s.centre.y;
    const double downwind = dx * std::cos(toward) + dy * std::sin(toward);
    const double crosswind = -dx * std::sin(toward) + dy * std::cos(toward);
    return cls.unit[source].AtReceptor(downwind, crosswind, s.larger_angle - toward_deg, kTolerance,
                                       absolute);
}

double ScreeningField::Estimated(const ClassModels& cls, std::size_t source, const SitePoint& point,
                                 double toward_deg) const {
    const FieldSource& s = sources_[source];
    const double toward = toward_deg * kDegree;
    const double dx = point.x - s.centre.x;
    const double dy = point.y - s.centre.y;
    return cls.unit[source].Estimate(dx * std::cos(toward) + dy * std::sin(toward),
                                     -dx * std::sin(toward) + dy * std::cos(toward),
                                     s.larger_angle - toward_deg);
}

double ScreeningField::Bound(const SitePoint& point, const FieldWeights& weights) const {
    const Geometry g = Locate(point);
    double largest = 0.0;
    for (const ClassModels& cls : classes_) {
        largest = std::max(largest, ClassBound(cls, g, Sectors(cls, g), weights));
    }
    return largest;
}

FieldPoint ScreeningField::At(const SitePoint& point, const FieldWeights& weights) const {
    return At(point, std::vector<FieldWeights>{weights}).front();
}

std::vector<FieldPoint> ScreeningField::At(const SitePoint& point,
                                           const std::vector<FieldWeights>& pollutants) const {
    const std::size_t n = sources_.size();
    const std::size_t k_count = pollutants.size();
    std::vector<FieldPoint> best(k_count);
    for (FieldPoint& b : best) b.contributions.assign(n, 0.0);

    const Geometry g = Locate(point);

    // Each class's bound for each pollutant; the most promising class first.
    std::vector<SectorOf> sectorsOf;
    std::vector<std::vector<double>> bound(classes_.size(), std::vector<double>(k_count, 0.0));
    std::vector<std::size_t> order(classes_.size());
    std::vector<double> promise(classes_.size(), 0.0);
    for (std::size_t c = 0; c < classes_.size(); ++c) {
        order[c] = c;
        sectorsOf.push_back(Sectors(classes_[c], g));
        for (std::size_t k = 0; k < k_count; ++k) {
            bound[c][k] = ClassBound(classes_[c], g, sectorsOf[c], pollutants[k]);
            promise[c] = std::max(promise[c], bound[c][k]);
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t l, std::size_t r) { return promise[l] > promise[r]; });

    std::vector<double> unit(n);
    for (std::size_t c : order) {
        const ClassModels& cls = classes_[c];
        const SectorOf& sectors = sectorsOf[c];
        // What a source gives in one direction needs no more care than its
        // share of the most it can give here in any.
        std::vector<double> floor(n, 0.0);
        for (std::size_t e = 0; e < n; ++e) {
            const double most = cls.profiles[e].Bound(g.distance[e]);
            if (std::isfinite(most)) floor[e] = kTolerance * most;
        }
        std::vector<std::size_t> needed;
        for (std::size_t k = 0; k < k_count; ++k) {
            if (bound[c][k] > 0.0 && bound[c][k] * (1.0 + kBoundSlack) >= best[k].c)
                needed.push_back(k);
        }
        if (needed.empty()) continue;

        std::vector<bool> relevant(n, false);
        std::vector<double> scan;
        for (std::size_t e = 0; e < n; ++e) {
            for (std::size_t k : needed) relevant[e] = relevant[e] || pollutants[k][e] != 0.0;
            if (!relevant[e]) continue;
            const WindSector& sector = sectors[e];
            const int steps = static_cast<int>(std::ceil(sector.half / sector.step - 1e-9));
            for (int i = -steps; i <= steps; ++i) {
                if (sector.half >= 180.0 && i == steps) break;  // the full turn closes on itself
                scan.push_back(Normalized(sector.middle + i * sector.step));
            }
        }
        auto in_sector = [&](std::size_t e, double toward) {
            return relevant[e] && Between(toward, sectors[e].middle) <= sectors[e].half;
        };
        auto step_at = [&](double toward) {
            double step = kWidestStep;
            for (std::size_t e = 0; e < n; ++e) {
                if (in_sector(e, toward)) step = std::min(step, sectors[e].step);
            }
            return step;
        };
        // Where sectors overlap, their scans merge: no two directions closer
        // than half the finest step there.
        std::sort(scan.begin(), scan.end());
        std::vector<double> merged;
        for (double toward : scan) {
            if (merged.empty() || toward - merged.back() >= 0.5 * step_at(toward))
                merged.push_back(toward);
        }
        scan = std::move(merged);
        if (scan.empty()) continue;

        // The exact unit concentrations, and quick estimates of them for
        // sources far from the point, which choose the directions to refine.
        auto fill = [&](double toward, std::vector<double>& row) {
            for (std::size_t e = 0; e < n; ++e) {
                row[e] = in_sector(e, toward) ? Unit(cls, e, point, toward, floor[e]) : 0.0;
            }
        };
        auto estimate = [&](double toward, std::vector<double>& row) {
            for (std::size_t e = 0; e < n; ++e) {
                if (!in_sector(e, toward))
                    row[e] = 0.0;
                else if (g.distance[e] > kEstimateBeyond * reach_[e])
                    row[e] = Estimated(cls, e, point, toward);
                else
                    row[e] = Unit(cls, e, point, toward, floor[e]);
            }
        };
        std::vector<std::vector<double>> table(scan.size(), std::vector<double>(n, 0.0));
        for (std::size_t i = 0; i < scan.size(); ++i) estimate(scan[i], table[i]);

        for (std::size_t k : needed) {
            const FieldWeights& w = pollutants[k];
            auto total = [&](const std::vector<double>& row) {
                double sum = 0.0;
                for (std::size_t e = 0; e < n; ++e) sum += w[e] * row[e];
                return sum;
            };
            std::vector<double> f(scan.size());
            for (std::size_t i = 0; i < scan.size(); ++i) f[i] = total(table[i]);
            const double top = *std::max_element(f.begin(), f.end());
            if (!(top > 0.0)) continue;
            // Local maxima of the scan, the highest first; each refined
            // unless an estimate that low cannot beat what is already known.
            const std::size_t m = scan.size();
            std::vector<std::size_t> peaks;
            for (std::size_t i = 0; i < m; ++i) {
                const double before = f[(i + m - 1) % m];
                const double after = f[(i + 1) % m];
                if (f[i] >= before && f[i] >= after && f[i] >= kRefineShare * top)
                    peaks.push_back(i);
            }
            std::stable_sort(peaks.begin(), peaks.end(),
                             [&](std::size_t l, std::size_t r) { return f[l] > f[r]; });
            PointValue found{0.0, -1.0};
            for (std::size_t i : peaks) {
                if (f[i] < kEstimateShare * std::max(found.value, best[k].c)) break;
                const double step = step_at(scan[i]);
                auto exact = [&](double toward) {
                    fill(Normalized(toward), unit);
                    return total(unit);
                };
                const PointValue peak =
                    BrentMaximum(exact, scan[i] - step, scan[i] + step,
                                 PointValue{scan[i], exact(scan[i])}, kDirectionTolerance);
                if (peak.value > found.value) found = {Normalized(peak.at), peak.value};
            }
            if (found.value > best[k].c) {
                FieldPoint& b = best[k];
                fill(found.at, unit);
                b.c = 0.0;
                for (std::size_t e = 0; e < n; ++e) {
                    b.contributions[e] = w[e] * unit[e];
                    b.c += b.contributions[e];
                }
                b.stability = cls.stability;
                b.windSpeed = cls.windSpeed;
                b.windFrom = Normalized(270.0 - found.at);
            }
        }
    }
    return best;
}

}  // namespace quorvel::project
