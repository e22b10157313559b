#pragma once

#include <algorithm>
#include <array>
#include <cmath>

namespace quorvel {

// Globally adaptive 3/7-point Gauss-Kronrod quadrature over a set of pieces:
// the piece with the largest error estimate is halved until the estimates add
// up to less than relative_tolerance of the total. Pieces wider than max_width
// are cut into equal parts first, so that no feature narrower than a piece
// slips between the nodes of the first rule unseen.
class GaussKronrod {
  public:
    static constexpr int kMaxIntervals = 128;

    // breaks: break_count (2 to kMaxIntervals / 4) ascending ends of the pieces.
    // The estimates may also add up to absolute_tolerance (0 or more), where
    // that is looser.
    template <typename F>
    static double Integrate(const F& f, const double* breaks, int break_count,
                            double relative_tolerance, double max_width,
                            double absolute_tolerance = 0.0) {
        std::array<Interval, kMaxIntervals> intervals;
        int count = 0;
        double total = 0.0;
        double error = 0.0;
        // Half the intervals at most go to the first cut, the rest to halving.
        const double span = breaks[break_count - 1] - breaks[0];
        const double widest = std::max(max_width, span / (kMaxIntervals / 2 - break_count));
        for (int i = 0; i + 1 < break_count; ++i) {
            const double width = breaks[i + 1] - breaks[i];
            if (!(width > 0.0)) continue;
            const double cut = std::ceil(width / widest);
            const int parts = cut > 1.0 && cut <= kMaxIntervals ? static_cast<int>(cut) : 1;
            for (int k = 0; k < parts && count < kMaxIntervals; ++k) {
                const double a = breaks[i] + width * k / parts;
                const double b =
                    k + 1 == parts ? breaks[i + 1] : breaks[i] + width * (k + 1) / parts;
                intervals[static_cast<std::size_t>(count)] = Rule(f, a, b);
                total += intervals[static_cast<std::size_t>(count)].value;
                error += intervals[static_cast<std::size_t>(count)].error;
                ++count;
            }
        }
        while (count > 0 && count < kMaxIntervals &&
               error > std::max(relative_tolerance * std::abs(total), absolute_tolerance)) {
            auto worst = std::max_element(
                intervals.begin(), intervals.begin() + count,
                [](const Interval& l, const Interval& r) { return l.error < r.error; });
            const Interval old = *worst;
            const double mid = 0.5 * (old.a + old.b);
            if (!(mid > old.a && mid < old.b)) break;
            *worst = Rule(f, old.a, mid);
            Interval& added = intervals[static_cast<std::size_t>(count++)];
            added = Rule(f, mid, old.b);
            total += worst->value + added.value - old.value;
            error += worst->error + added.error - old.error;
        }
        return total;
    }

  private:
    struct Interval {
        double a = 0.0;
        double b = 0.0;
        double value = 0.0;
        double error = 0.0;
    };

    template <typename F>
    static Interval Rule(const F& f, double a, double b) {
        static constexpr double kNodes[4] = {0.960491268708020283423507092629080,
                                             0.774596669241483377035853079956480,
                                             0.434243749346802558002071502844628, 0.0};
        static constexpr double kKronrod[4] = {
            0.104656226026467265193823857192073, 0.268488089868333440728569280666710,
            0.401397414775962222905051818618432, 0.450916538658474142345110087045571};
        static constexpr double kGauss[2] = {5.0 / 9.0, 8.0 / 9.0};
        const double centre = 0.5 * (a + b);
        const double half = 0.5 * (b - a);
        const double fc = f(centre);
        double kronrod = kKronrod[3] * fc;
        double gauss = kGauss[1] * fc;
        for (int j = 0; j < 3; ++j) {
            const double dx = half * kNodes[j];
            const double sum = f(centre - dx) + f(centre + dx);
            kronrod += kKronrod[j] * sum;
            if (j == 1) gauss += kGauss[0] * sum;
        }
        return {a, b, kronrod * half, std::abs(kronrod - gauss) * half};
    }
};

}  // namespace quorvel
