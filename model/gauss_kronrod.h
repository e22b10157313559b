#pragma once

#include <algorithm>
#include <array>
#include <cmath>

namespace quorvel {

// Globally adaptive 7/15-point Gauss-Kronrod quadrature over a set of pieces:
// the piece with the largest error estimate is halved until the estimates add
// up to less than relative_tolerance of the total.
class GaussKronrod {
  public:
    static constexpr int kMaxIntervals = 96;

    template <typename F>
    static double Integrate(const F& f, const double* breaks, int break_count,
                            double relative_tolerance) {
        std::array<Interval, kMaxIntervals> intervals;
        int count = 0;
        double total = 0.0;
        double error = 0.0;
        for (int i = 0; i + 1 < break_count && count < kMaxIntervals; ++i) {
            if (!(breaks[i + 1] > breaks[i])) continue;
            intervals[static_cast<std::size_t>(count)] = Rule(f, breaks[i], breaks[i + 1]);
            total += intervals[static_cast<std::size_t>(count)].value;
            error += intervals[static_cast<std::size_t>(count)].error;
            ++count;
        }
        while (count > 0 && count < kMaxIntervals && error > relative_tolerance * std::abs(total)) {
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
        static constexpr double kNodes[8] = {
            0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
            0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
            0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
            0.207784955007898467600689403773245, 0.0};
        static constexpr double kKronrod[8] = {
            0.022935322010529224963732008058970, 0.063092092629978553290700663189204,
            0.104790010322250183839876322541518, 0.140653259715525918745189590510238,
            0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
            0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
        static constexpr double kGauss[4] = {
            0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
            0.381830050505118944950369775488975, 0.417959183673469387755102040816327};
        const double centre = 0.5 * (a + b);
        const double half = 0.5 * (b - a);
        const double fc = f(centre);
        double kronrod = kKronrod[7] * fc;
        double gauss = kGauss[3] * fc;
        for (int j = 0; j < 7; ++j) {
            const double dx = half * kNodes[j];
            const double sum = f(centre - dx) + f(centre + dx);
            kronrod += kKronrod[j] * sum;
            if (j % 2 == 1) gauss += kGauss[j / 2] * sum;
        }
        return {a, b, kronrod * half, std::abs(kronrod - gauss) * half};
    }
};

}  // namespace quorvel
