#pragma once

#include <functional>
#include <vector>

namespace quorvel {

// The automated receptor distances from minimum to maximum (m): the minimum
// (0 taken as 1 m), every 100 m up to 3000 m, then every 500 m, and the
// maximum itself.
std::vector<double> AutomatedDistances(double minimum, double maximum);

struct PeakDistance {
    double distance = 0.0;
    double value = 0.0;
};

// The whole metre between low and high (inclusive) where value_at is largest,
// assuming one peak there; value_at is called for whole metres only. The
// distances low and high themselves are given with their values.
PeakDistance RefinePeakToMetre(const std::function<double(double)>& value_at, PeakDistance low,
                               PeakDistance high);

}  // namespace quorvel
