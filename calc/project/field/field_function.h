#pragma once
// The combined fields of a project's pollutants as the current rule asks
// them: exact values where they matter, a cheap bound elsewhere.

#include <cstddef>
#include <limits>
#include <vector>

#include "calc/project/project.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

class FieldFunction {
  public:
    virtual ~FieldFunction() = default;

    // How many pollutants' fields this holds.
    virtual std::size_t Count() const = 0;

    // The fields `which` (indices below Count()) at `point`: the concentration
    // (ug/m^3), the weather that gives it and each emission's share; `ratio`
    // is left 0 for the caller. Safe to call from several threads at once.
    virtual std::vector<FieldValue> At(const SitePoint& point,
                                       const std::vector<std::size_t>& which) const = 0;

    // No more than this (ug/m^3) of field `which` at `point`; infinity when
    // nothing cheaper than At is known.
    virtual double Bound(const SitePoint& point, std::size_t which) const {
        (void)point;
        (void)which;
        return std::numeric_limits<double>::infinity();
    }

    // Where field `which` is known: a point outside gives no value (a field
    // read from a file covers its grids only). The default covers everything.
    virtual bool Covers(const SitePoint& point, std::size_t which) const {
        (void)point;
        (void)which;
        return true;
    }
};

}  // namespace quorvel::project
