#include "model/dispersion_coefficients.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace quorvel {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMaxSigmaZ = 5000.0;
const double kLnKm = std::log(1000.0);

struct CrosswindConstants {
    double c;
    double d;
};
constexpr CrosswindConstants kCrosswind[6] = {{24.1670, 2.5334}, {18.3330, 1.8096},
                                              {12.5000, 1.0857}, {8.3330, 0.72382},
                                              {6.2500, 0.54287}, {4.1667, 0.36191}};

using Segment = SigmaZSegment;
// Beyond 3.11 km class A is spread over the whole cap: a constant of 5000 m.
constexpr Segment kRuralA[] = {
    {0.10, 122.800, 0.94470}, {0.15, 158.080, 1.05420}, {0.20, 170.220, 1.09320},
    {0.25, 179.520, 1.12620}, {0.30, 217.410, 1.26440}, {0.40, 258.890, 1.40940},
    {0.50, 346.750, 1.72830}, {3.11, 453.850, 2.11660}, {kInf, kMaxSigmaZ, 0.0}};
constexpr Segment kRuralB[] = {
    {0.20, 90.673, 0.93198}, {0.40, 98.483, 0.98332}, {kInf, 109.300, 1.09710}};
constexpr Segment kRuralC[] = {{kInf, 61.141, 0.91465}};
constexpr Segment kRuralD[] = {{0.30, 34.459, 0.86974},  {1.00, 32.093, 0.81066},
                               {3.00, 32.093, 0.64403},  {10.00, 33.504, 0.60486},
                               {30.00, 36.650, 0.56589}, {kInf, 44.053, 0.51179}};
constexpr Segment kRuralE[] = {
    {0.10, 24.260, 0.83660},  {0.30, 23.331, 0.81956},  {1.00, 21.628, 0.75660},
    {2.00, 21.628, 0.63077},  {4.00, 22.534, 0.57154},  {10.00, 24.703, 0.50527},
    {20.00, 26.970, 0.46713}, {40.00, 35.420, 0.37615}, {kInf, 47.618, 0.29592}};
constexpr Segment kRuralF[] = {{0.20, 15.209, 0.81558},  {0.70, 14.457, 0.78407},
                               {1.00, 13.953, 0.68465},  {2.00, 13.953, 0.63227},
                               {3.00, 14.823, 0.54503},  {7.00, 16.187, 0.46490},
                               {15.00, 17.836, 0.41507}, {30.00, 22.651, 0.32681},
                               {60.00, 27.074, 0.27436}, {kInf, 34.219, 0.21716}};

struct SegmentTable {
    const Segment* first;
    int count;
};
template <std::size_t N>
constexpr SegmentTable Table(const Segment (&segments)[N]) {
    return {segments, static_cast<int>(N)};
}
constexpr SegmentTable kRuralTables[6] = {Table(kRuralA), Table(kRuralB), Table(kRuralC),
                                          Table(kRuralD), Table(kRuralE), Table(kRuralF)};

int Index(Stability stability) { return static_cast<int>(stability) - 1; }

}  // namespace

DispersionCoefficients::DispersionCoefficients(Stability stability, LandUse land_use)
    : stability_(stability), land_use_(land_use) {
    if (land_use_ != LandUse::Rural) {
        if (stability_ == Stability::B) stability_ = Stability::A;
        if (stability_ == Stability::F) stability_ = Stability::E;
        return;
    }
    const auto i = static_cast<std::size_t>(Index(stability));
    c_ = kCrosswind[i].c;
    d_ = kCrosswind[i].d;
    segments_ = kRuralTables[i].first;
    segment_count_ = kRuralTables[i].count;
    for (int s = 0; s + 1 < segment_count_; ++s) {
        joins_.push_back(kRuralTables[i].first[s].upper_km * 1000.0);
    }
}

Sigmas DispersionCoefficients::At(double x) const { return At(x, std::log(x)); }

Sigmas DispersionCoefficients::At(double x, double ln_x) const {
    Sigmas s;
    if (land_use_ == LandUse::Rural) {
        const double x_km = x / 1000.0;
        const double ln_km = ln_x - kLnKm;
        s.y = 465.11628 * x_km * std::tan(0.017453293 * (c_ - d_ * ln_km));
        int k = 0;
        while (k + 1 < segment_count_ && x_km > segments_[k].upper_km) ++k;
        const Segment& seg = segments_[k];
        s.z = std::min(seg.a * std::exp(seg.b * ln_km), kMaxSigmaZ);
        return s;
    }
    switch (stability_) {
        case Stability::A:
        case Stability::B:
            s.y = 0.32 * x / std::sqrt(1.0 + 0.0004 * x);
            s.z = 0.24 * x * std::sqrt(1.0 + 0.001 * x);
            break;
        case Stability::C:
            s.y = 0.22 * x / std::sqrt(1.0 + 0.0004 * x);
            s.z = 0.20 * x;
            break;
        case Stability::D:
            s.y = 0.16 * x / std::sqrt(1.0 + 0.0004 * x);
            s.z = 0.14 * x / std::sqrt(1.0 + 0.0003 * x);
            break;
        case Stability::E:
        case Stability::F:
            s.y = 0.11 * x / std::sqrt(1.0 + 0.0004 * x);
            s.z = 0.08 * x / std::sqrt(1.0 + 0.0015 * x);
            break;
    }
    return s;
}

}  // namespace quorvel
