#pragma once

#include <cmath>

namespace quorvel {

// A point of a function and its value there.
struct PointValue {
    double at = 0.0;
    double value = 0.0;
};

// Brent's method: the largest value of f on [lo, hi], assuming a single peak
// there. Parabolas through the three best points so far propose the next
// point; a golden-section step is taken where a parabola does not shrink the
// bracket fast enough. Starts from `start` (inside the bracket, its value
// known) and stops once the bracket around the best point is at most `width`
// wide. Returns the best point evaluated.
template <typename F>
PointValue BrentMaximum(const F& f, double lo, double hi, PointValue start, double width) {
    const double golden = 0.5 * (3.0 - std::sqrt(5.0));
    const double tol1 = 0.25 * width;
    const double tol2 = 2.0 * tol1;
    double a = lo;
    double b = hi;
    double x = start.at;
    double w = x;
    double v = x;
    double fx = start.value;
    double fw = fx;
    double fv = fx;
    double d = 0.0;  // the last step
    double e = 0.0;  // the step before it
    for (;;) {
        const double middle = 0.5 * (a + b);
        if (std::abs(x - middle) <= tol2 - 0.5 * (b - a)) break;
        bool parabolic = false;
        if (std::abs(e) > tol1) {
            const double r = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * r;
            q = 2.0 * (q - r);
            if (q > 0.0) p = -p;
            q = std::abs(q);
            const double before = e;
            e = d;
            // Accept the parabola's vertex if it lies inside the bracket and
            // the step is less than half the step before last.
            if (std::abs(p) < std::abs(0.5 * q * before) && p > q * (a - x) && p < q * (b - x)) {
                d = p / q;
                const double u = x + d;
                if (u - a < tol2 || b - u < tol2) d = std::copysign(tol1, middle - x);
                parabolic = true;
            }
        }
        if (!parabolic) {
            e = x >= middle ? a - x : b - x;
            d = golden * e;
        }
        const double u = std::abs(d) >= tol1 ? x + d : x + std::copysign(tol1, d);
        const double fu = f(u);
        if (fu >= fx) {
            if (u >= x) {
                a = x;
            } else {
                b = x;
            }
            v = w;
            fv = fw;
            w = x;
            fw = fx;
            x = u;
            fx = fu;
        } else {
            if (u < x) {
                a = u;
            } else {
                b = u;
            }
            if (fu >= fw || w == x) {
                v = w;
                fv = fw;
                w = u;
                fw = fu;
            } else if (fu >= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    return {x, fx};
}

}  // namespace quorvel
