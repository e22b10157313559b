#pragma once
// The screening field of several area sources together: at a ground-level
// point, the largest over the stability classes and every wind direction of
// the sum of the sources' concentrations, each by the screening model's own
// equations with its rectangle placed and turned as on the site.

#include <cstddef>
#include <vector>

#include "calc/project/field/field_source.h"
#include "calc/project/field/worst_profile.h"
#include "calc/project/project.h"
#include "model/area_concentration.h"
#include "model/dispersion_coefficients.h"

namespace quorvel::project {

// The combined concentration at a point and the weather that gives it.
struct FieldPoint {
    double c = 0.0;  // ug/m^3
    Stability stability = Stability::D;
    double windSpeed = 1.0;  // 10-m wind speed, m/s
    double windFrom = 0.0;   // where the wind comes from, degrees clockwise from north (site y)
    std::vector<double> contributions;  // ug/m^3 of each source under that wind; they add up to c
};

// The wind directions (degrees from the x axis, toward which the wind blows)
// that can bring a source's plume to a point: within `half` of `middle`;
// scanned in steps of `step`.
struct WindSector {
    double middle = 0.0;
    double half = 180.0;
    double step = 6.0;
};

// How much each source emits of one pollutant: the rate per area, g/(s m^2),
// of each source in order (0 where the source does not emit it).
using FieldWeights = std::vector<double>;

class ScreeningField {
  public:
    // `sources` in any site coordinates; `land_use` of the whole site.
    ScreeningField(std::vector<FieldSource> sources, LandUse land_use);

    std::size_t SourceCount() const { return sources_.size(); }

    // The combined concentration at `point` for each of `pollutants` (each
    // weights.size() == SourceCount()), within 0.5 % of the largest over the
    // classes and every wind direction. Points inside a source's area are
    // fine. The work for the sources is shared between the pollutants.
    std::vector<FieldPoint> At(const SitePoint& point,
                               const std::vector<FieldWeights>& pollutants) const;
    FieldPoint At(const SitePoint& point, const FieldWeights& weights) const;

    // No wind gives more than this (ug/m^3) at `point`: cheap, close to the
    // field away from the sources, infinite within a source's reach.
    double Bound(const SitePoint& point, const FieldWeights& weights) const;

    // The integrals' relative tolerance: well inside the field's 0.5 %.
    static constexpr double kTolerance = 2e-3;

  private:
    struct ClassModels {
        Stability stability = Stability::D;
        double windSpeed = 1.0;               // m/s
        DispersionCoefficients spread;        // for the width of a plume's sector
        std::vector<AreaConcentration> unit;  // per source, 1 g/(s m^2)
        std::vector<WorstProfile> profiles;   // per source
    };
    struct Geometry;
    using SectorOf = std::vector<WindSector>;

    Geometry Locate(const SitePoint& point) const;
    SectorOf Sectors(const ClassModels& cls, const Geometry& g) const;
    double ClassBound(const ClassModels& cls, const Geometry& g, const SectorOf& sectors,
                      const FieldWeights& weights) const;
    // Source `source` at 1 g/(s m^2) with the wind toward toward_deg; to
    // `absolute` ug/m^3 where that is looser than kTolerance.
    double Unit(const ClassModels& cls, std::size_t source, const SitePoint& point,
                double toward_deg, double absolute) const;
    // The quick estimate of the same.
    double Estimated(const ClassModels& cls, std::size_t source, const SitePoint& point,
                     double toward_deg) const;

    std::vector<FieldSource> sources_;
    std::vector<double> reach_;  // each source's half diagonal, m
    std::vector<ClassModels> classes_;
};

}  // namespace quorvel::project
