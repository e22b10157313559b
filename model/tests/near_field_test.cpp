// The model class by class against the public method's single-class results
// for 24 sources, many with receptors inside or just beside the area. Beyond
// the area the public figures are the measure; inside and near it their own
// integral is not converged, so there a fine integration of the same
// equations is.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "model/area_concentration.h"
#include "model/dispersion_coefficients.h"
#include "model/tests/reference_data.h"
#include "model/vertical_term.h"

namespace quorvel {
namespace {

using testing::Json;

const Json& Reference() {
    static const Json data = testing::LoadReference("near-field.json");
    return data;
}

// Receptors at least this far (m) beyond the area's most downwind point are
// compared with the public figures.
constexpr double kBeyondArea = 50.0;
constexpr double kPublicTolerance = 0.01;
constexpr double kFineTolerance = 0.005;

// The crosswind extent of the rectangle on the line at along-wind position s
// (downwind positive, from the centre), found where the line crosses the
// rectangle's edges.
struct Chord {
    double low = 0.0;
    double high = 0.0;
    bool empty = true;
};

Chord ChordFromEdges(const std::array<std::array<double, 2>, 4>& corners, double s) {
    Chord chord;
    for (std::size_t k = 0; k < 4; ++k) {
        const auto& p = corners[k];
        const auto& q = corners[(k + 1) % 4];
        if (p[0] == q[0] || s < std::min(p[0], q[0]) || s > std::max(p[0], q[0])) continue;
        const double y = p[1] + (q[1] - p[1]) * (s - p[0]) / (q[0] - p[0]);
        if (chord.empty) {
            chord = {y, y, false};
        } else {
            chord.low = std::min(chord.low, y);
            chord.high = std::max(chord.high, y);
        }
    }
    return chord;
}

// The same equations integrated independently: a fixed fine step in ln x, in pieces between the
// distances where a corner or a join of the spread curves bends the integrand; each strip's chord
// from the edges.
double FineIntegral(const AreaSource& s, const MetCondition& met, double distance,
                    double angle_deg) {
    const DispersionCoefficients spread(met.stability, s.land_use);
    const VerticalTerm vertical(s.release_height, s.receptor_height, met.has_lid,
                                met.mixing_height);
    const double angle = angle_deg * std::numbers::pi / 180.0;
    const double c = std::cos(angle);
    const double n = std::sin(angle);
    std::array<std::array<double, 2>, 4> corners{};
    const double a = 0.5 * s.larger_side;
    const double b = 0.5 * s.smaller_side;
    const std::array<std::array<double, 2>, 4> sides = {{{a, b}, {a, -b}, {-a, -b}, {-a, b}}};
    std::vector<double> breaks;
    for (std::size_t k = 0; k < 4; ++k) {
        const double u = sides[k][0];
        const double v = sides[k][1];
        corners[k] = {u * c + v * n, -u * n + v * c};
        breaks.push_back(distance - corners[k][0]);
    }
    const double x_low = std::max(1.0, *std::min_element(breaks.begin(), breaks.end()));
    const double x_high = *std::max_element(breaks.begin(), breaks.end());
    if (!(x_high > x_low)) return 0.0;
    for (double join : spread.Joins()) breaks.push_back(join);
    breaks.push_back(x_low);
    std::erase_if(breaks, [&](double x) { return x < x_low || x > x_high; });
    std::sort(breaks.begin(), breaks.end());

    auto integrand = [&](double t) {
        const double x = std::exp(t);
        const Chord chord = ChordFromEdges(corners, distance - x);
        if (chord.empty) return 0.0;
        const Sigmas sg = spread.At(x);
        const double w = std::numbers::sqrt2 * sg.y;
        return x * vertical.At(sg.z) / sg.z * 0.5 *
               (std::erf(chord.high / w) - std::erf(chord.low / w));
    };
    // Two-point Gauss rule on panels of a fixed width: no node sits on a piece's
    // end, where the chord may just be missed through rounding.
    constexpr double kStep = 0.01;
    const double node = 0.5 / std::numbers::sqrt3;
    double sum = 0.0;
    for (std::size_t i = 0; i + 1 < breaks.size(); ++i) {
        const double t0 = std::log(breaks[i]);
        const double t1 = std::log(breaks[i + 1]);
        if (!(t1 > t0)) continue;
        const int panels = static_cast<int>(std::ceil((t1 - t0) / kStep));
        const double h = (t1 - t0) / panels;
        for (int k = 0; k < panels; ++k) {
            const double mid = t0 + (k + 0.5) * h;
            sum += 0.5 * h * (integrand(mid - node * h) + integrand(mid + node * h));
        }
    }
    return 1e6 * s.emission_rate / (std::sqrt(2.0 * std::numbers::pi) * met.us) * sum;
}

// How far one set of figures lies from another: the extremes of
// value / measure - 1 and how often it exceeds 1 %.
struct Spread {
    double low = 0.0;
    double high = 0.0;
    int count = 0;
    int off = 0;
    void Add(double value, double measure) {
        const double r = value / measure - 1.0;
        low = std::min(low, r);
        high = std::max(high, r);
        ++count;
        if (std::abs(r) > 0.01) ++off;
    }
};

struct Receptor {
    std::size_t case_index;
    AreaSource source;
    int stability;
    double angle;
    double distance;
    double reference;
    double series_largest;  // the largest public figure of the case, class and angle
    bool beyond;            // at least kBeyondArea past the area's most downwind point
};

// Every receptor of the reference data, with its public figure.
std::vector<Receptor> Receptors() {
    std::vector<Receptor> all;
    const Json& cases = Reference()["cases"];
    for (std::size_t ci = 0; ci < cases.size(); ++ci) {
        const Json& c = cases[ci];
        const AreaSource source = testing::SourceOf(c["case"]);
        for (const auto& [key, values] : c["conc"].items()) {
            const int stability = std::stoi(key.substr(0, key.find('/')));
            const double angle = std::stod(key.substr(key.find('/') + 1));
            const double radians = angle * std::numbers::pi / 180.0;
            const double downwind_end = 0.5 * source.larger_side * std::cos(radians) +
                                        0.5 * source.smaller_side * std::sin(radians);
            double largest = 0.0;
            for (const Json& v : values) largest = std::max(largest, v.get<double>());
            for (std::size_t i = 0; i < values.size(); ++i) {
                const double d = c["dist"][i].get<double>();
                all.push_back({ci, source, stability, angle, d, values[i].get<double>(), largest,
                               d >= downwind_end + kBeyondArea});
            }
        }
    }
    return all;
}

MetCondition SlowWind(const Receptor& r) {
    return MakeMetCondition(static_cast<Stability>(r.stability), 1.0, r.source.release_height,
                            r.source.land_use);
}

std::string Where(const Receptor& r) {
    return "case " + std::to_string(r.case_index) + " class " + std::to_string(r.stability) +
           " at " + std::to_string(r.angle) + " deg, " + std::to_string(r.distance) + " m";
}

TEST(NearField, BeyondTheAreaEveryClassAndAngleMatchesThePublicModel) {
    std::array<Spread, 6> ours_from_public{};
    int checked = 0;
    for (const Receptor& r : Receptors()) {
        if (!r.beyond) continue;
        const double ours = AreaConcentration(r.source, SlowWind(r)).At(r.distance, r.angle);
        if (r.reference == 0.0) {
            EXPECT_LT(ours, 1e-20) << Where(r);
            continue;
        }
        ++checked;
        EXPECT_NEAR(ours / r.reference, 1.0, kPublicTolerance)
            << Where(r) << ": " << ours << " vs " << r.reference;
        ours_from_public[static_cast<std::size_t>(r.stability - 1)].Add(ours, r.reference);
    }
    EXPECT_GT(checked, 60000);
    std::printf("Beyond the area (%d receptors), ours / public - 1 in %%:\n", checked);
    for (std::size_t k = 0; k < 6; ++k) {
        std::printf("  %c   %+6.3f .. %+6.3f\n", static_cast<char>('A' + k),
                    100 * ours_from_public[k].low, 100 * ours_from_public[k].high);
    }
}

TEST(NearField, InsideAndBesideTheAreaMatchesAFineIntegration) {
    std::array<Spread, 6> public_from_ours{};
    std::array<Spread, 6> public_from_fine{};
    std::array<Spread, 6> ours_from_fine{};
    int checked = 0;
    for (const Receptor& r : Receptors()) {
        if (r.beyond) continue;
        const MetCondition met = SlowWind(r);
        const double ours = AreaConcentration(r.source, met).At(r.distance, r.angle);
        const double fine = FineIntegral(r.source, met, r.distance, r.angle);
        if (fine < 1e-20) {
            EXPECT_LT(ours, 1e-20) << Where(r);
            continue;
        }
        ++checked;
        EXPECT_NEAR(ours / fine, 1.0, kFineTolerance) << Where(r) << ": " << ours << " vs " << fine;
        const auto k = static_cast<std::size_t>(r.stability - 1);
        ours_from_fine[k].Add(ours, fine);
        // The public figures' deviations are summed up where they matter: at
        // least 1/1000 of the largest of their series.
        if (r.reference >= r.series_largest / 1000.0) {
            public_from_ours[k].Add(r.reference, ours);
            public_from_fine[k].Add(r.reference, fine);
        }
    }
    EXPECT_GT(checked, 10000);
    std::printf(
        "Inside and beside the area (%d receptors), value / measure - 1 in %%,\n"
        "the public figures where at least 1/1000 of their series' largest:\n",
        checked);
    std::printf("class   ours vs fine         public vs ours       public vs fine  (> 1 %% off)\n");
    for (std::size_t k = 0; k < 6; ++k) {
        std::printf("  %c   %+6.3f .. %+6.3f   %+6.2f .. %+6.2f   %+6.2f .. %+6.2f  (%d of %d)\n",
                    static_cast<char>('A' + k), 100 * ours_from_fine[k].low,
                    100 * ours_from_fine[k].high, 100 * public_from_ours[k].low,
                    100 * public_from_ours[k].high, 100 * public_from_fine[k].low,
                    100 * public_from_fine[k].high, public_from_fine[k].off,
                    public_from_fine[k].count);
    }
}

}  // namespace
}  // namespace quorvel
