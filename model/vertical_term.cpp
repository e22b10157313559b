#include "model/vertical_term.h"

#include <cmath>
#include <numbers>

namespace quorvel {
namespace {

// Beyond this many standard deviations a Gaussian term adds less than 1e-14.
constexpr double kNegligibleSpread = 8.0;
// A plume deeper than this multiple of the lid height is mixed evenly below it.
constexpr double kEvenlyMixed = 1.6;
constexpr int kMaxImages = 100;

double Gauss(double offset, double sigma) {
    const double r = offset / sigma;
    return std::exp(-0.5 * r * r);
}

}  // namespace

VerticalTerm::VerticalTerm(double release_height, double receptor_height, bool has_lid,
                           double mixing_height)
    : h_(release_height), z_(receptor_height), has_lid_(has_lid), zi_(mixing_height) {}

double VerticalTerm::At(double sigma_z) const {
    if (has_lid_ && sigma_z > kEvenlyMixed * zi_) {
        return std::sqrt(2.0 * std::numbers::pi) * sigma_z / zi_;
    }
    if (z_ == 0.0) {
        // At ground level the images pair up: each offset appears with both signs.
        double v = 2.0 * Gauss(h_, sigma_z);
        if (!has_lid_) return v;
        for (int n = 1; n <= kMaxImages; ++n) {
            const double lid = 2.0 * n * zi_;
            if (lid - h_ > kNegligibleSpread * sigma_z) break;
            v += 2.0 * (Gauss(lid - h_, sigma_z) + Gauss(lid + h_, sigma_z));
        }
        return v;
    }
    double v = Gauss(z_ - h_, sigma_z) + Gauss(z_ + h_, sigma_z);
    if (!has_lid_) return v;
    for (int n = 1; n <= kMaxImages; ++n) {
        const double lid = 2.0 * n * zi_;
        if (lid - z_ - h_ > kNegligibleSpread * sigma_z) break;
        v += Gauss(z_ - h_ - lid, sigma_z) + Gauss(z_ + h_ - lid, sigma_z) +
             Gauss(z_ - h_ + lid, sigma_z) + Gauss(z_ + h_ + lid, sigma_z);
    }
    return v;
}

}  // namespace quorvel
