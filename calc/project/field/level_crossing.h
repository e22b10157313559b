#pragma once
// Where a function along a line crosses a level.

#include <algorithm>
#include <cmath>
#include <utility>

namespace quorvel::project {

// The t in [lo, hi] where f(t) - level changes sign, to within `width`: the
// Illinois variant of regula falsi from the known values f_lo and f_hi (one
// at or above the level, the other below). f is called at most 40 times.
template <typename F>
double CrossingOnLine(const F& f, double level, double lo, double f_lo, double hi, double f_hi,
                      double width) {
    double a = lo;
    double b = hi;
    double fa = f_lo - level;
    double fb = f_hi - level;
    int side = 0;
    for (int i = 0; i < 40 && std::abs(b - a) > width; ++i) {
        double t = fa == fb ? 0.5 * (a + b) : (a * fb - b * fa) / (fb - fa);
        // Keep well inside the bracket, so that it shrinks from both ends.
        const double margin = 0.1 * std::abs(b - a);
        if (!(t > std::min(a, b) + margin && t < std::max(a, b) - margin)) t = 0.5 * (a + b);
        const double ft = f(t) - level;
        if ((ft >= 0.0) == (fb >= 0.0)) {
            b = t;
            fb = ft;
            if (side == -1) fa *= 0.5;
            side = -1;
        } else {
            a = t;
            fa = ft;
            if (side == 1) fb *= 0.5;
            side = 1;
        }
    }
    return fa == fb ? 0.5 * (a + b)
                    : std::clamp((a * fb - b * fa) / (fb - fa), std::min(a, b), std::max(a, b));
}

}  // namespace quorvel::project
