#pragma once
// What computing a project gives: every emission's outcome, every source's
// distance, the protection zone and the receptors checked against it.

#include <optional>
#include <string>
#include <vector>

#include "calc/local_time.h"
#include "calc/project/project.h"
#include "calc/run_record.h"

namespace quorvel::project {

enum class EmissionOutcome {
    Distance,  // the verdict names a buffer distance
    Beyond,    // the standard is still reached at 5000 m
    None,      // the standard is reached nowhere ("无超标点")
    Error,     // the row's fault or the run's error text
};

// The largest rate of an emission that keeps its distance within one target.
struct RateLimit {
    double target = 0.0;   // D, m
    double rateMax = 0.0;  // in the emission's own unit
    double cut = 0.0;      // 1 - rateMax / rate when that is positive, else 0
    bool settled = true;   // false when real runs could not confirm it to 0.1 %
};

// An emission's limits for the targets of its source; empty where a target
// does not apply (no boundary around the centre, no receptor outside the
// plant, no target distance).
struct EmissionLimits {
    std::optional<RateLimit> boundary;   // the disc stays in the plant: d <= D
    std::optional<RateLimit> receptors;  // the disc does not reach a receptor: d < D
    std::optional<RateLimit> distance;   // the project's target distance: d <= D
};

struct EmissionResult {
    std::string source;  // Source::id
    std::string pollutant;
    EmissionOutcome outcome = EmissionOutcome::Error;
    std::optional<double> distance;        // m, for Distance only
    std::u16string verdict;                // the main window's result text exactly (CR LF inside)
    std::optional<double> standard;        // S, ug/m^3; empty for a row fault
    std::optional<double> cmax;            // largest summary maximum, ug/m^3
    std::optional<double> cmaxDistance;    // its distance, m
    std::optional<double> pmax;            // cmax / S
    std::u16string error;                  // Error only: the message
    std::optional<RunRecord> record;       // the run's record, for the sheet's appendix
    std::optional<EmissionLimits> limits;  // when limits were computed; never for Error
};

enum class SourceOutcome {
    Distance,    // every emission computed, the largest distance is `distance`
    Beyond,      // an emission is Beyond
    None,        // every emission is None (or the source has none)
    Incomplete,  // an emission is Error and none is Beyond
};

struct SourceResult {
    std::string id;
    SourceOutcome outcome = SourceOutcome::None;
    std::optional<double> distance;  // m, for Distance only
    std::string decidingPollutant;   // for Distance only: the emission that gives `distance`
};

// A polygon of the zone: its outer ring and its holes, each ring without a
// closing vertex.
struct ZonePolygon {
    std::vector<SitePoint> outer;
    std::vector<std::vector<SitePoint>> holes;
};

struct ZoneResult {
    bool bounded = true;  // false when a source is Beyond or Incomplete: the zone is not final
    double area = 0.0;    // m^2
    std::optional<double> maxBeyondBoundary;  // m; empty without a boundary
    std::vector<ZonePolygon> polygons;        // for drawing
    // Why the zone's shape could not be worked out (area and polygons are then
    // empty and `bounded` is false); empty when it was.
    std::u16string error;
};

struct ReceptorResult {
    std::string name;
    bool inside = false;   // in the zone or on its edge
    bool inPlant = false;  // inside the boundary
    std::optional<double>
        margin;  // m: smallest |p - centre| - d over the discs; empty without a disc
};

// What one source gives of a combined concentration.
struct FieldShare {
    std::string source;  // Source::id
    double c = 0.0;      // ug/m^3
};

// The combined concentration at one point and the weather that gives it.
struct FieldValue {
    double c = 0.0;      // ug/m^3
    double ratio = 0.0;  // c / S
    SitePoint at;        // m
    // The stability class ("A" to "F"), the 10-m wind speed (m/s) and where
    // the wind comes from (degrees clockwise from north); empty for a field
    // read from a file.
    std::string stabilityClass;
    std::optional<double> windSpeed;
    std::optional<double> windFrom;
    std::vector<FieldShare> shares;  // per emission of the pollutant; they add up to c
};

// A contour line: closed when its last point repeats its first.
struct FieldContour {
    double ratio = 1.0;  // the level, as a share of S
    std::vector<std::vector<SitePoint>> lines;
};

// One regular grid of a field read from a file, in site coordinates.
struct FieldGridSummary {
    double minX = 0.0;   // m, the westmost column
    double minY = 0.0;   // m, the southmost row
    double stepX = 0.0;  // m, between columns
    double stepY = 0.0;  // m, between rows
    int columns = 0;
    int rows = 0;
};

// Where a pollutant's field came from when it was read from a file.
struct FieldOrigin {
    std::string file;                     // as the project gives it
    std::string format;                   // "aermod-plot", "surfer" or "csv"
    std::string average;                  // the averaging period: "1-HR", "24-HR", ...
    std::vector<FieldGridSummary> grids;  // finest first
};

struct PollutantFieldResult {
    std::string pollutant;
    std::string source = "screening";      // or the field file's name as the project gives it
    std::optional<FieldOrigin> origin;     // for a field read from a file
    std::optional<double> standard;        // S, ug/m^3; empty when it could not be chosen
    std::optional<FieldValue> maxOutside;  // the largest concentration outside the plant
    std::optional<double> cut;             // share of the pollutant's rates to cut; 0 when none
    std::optional<double> distance;        // D_k, m beyond the boundary; empty without one
    std::optional<SitePoint> distanceAt;   // where D_k is reached
    double exceedanceArea = 0.0;           // m^2
    std::vector<ZonePolygon> exceedance;   // outside the plant, C >= S
    std::vector<FieldContour> contours;    // at 1 and 0.5 of S
    bool final = true;
    std::u16string note;   // why it is not final, or what was left aside; empty when nothing
    std::u16string error;  // why it was not computed at all (then nothing above but the name)
};

struct ReceptorPollutant {
    std::string pollutant;
    FieldValue value;
    bool exceeds = false;  // c >= S, wherever the receptor lies
    double cut = 0.0;      // for a receptor outside the plant; 0 when it does not exceed
};

struct ReceptorFieldResult {
    std::string name;
    bool inArea = false;  // inside the protection area or on its edge; never inside the plant
    std::vector<ReceptorPollutant> pollutants;  // the computed pollutants, in field order
};

// The current rule: the combined field of all sources and the protection area
// from the plant boundary.
struct FieldResult {
    std::string method = "screening";  // "screening", "file" or "mixed"
    std::optional<double> distance;    // D, m; empty without a boundary
    std::string decidingPollutant;     // empty when D is 0 or there is no boundary
    std::optional<double> area;        // m^2 of the protection area; empty without a boundary
    std::vector<ZonePolygon> areaPolygons;
    std::vector<int> exceedingSides;  // numbered from 1 in the boundary's vertex order
    std::vector<PollutantFieldResult> pollutants;
    std::vector<ReceptorFieldResult> receptors;
};

struct ProjectResults {
    std::string project;   // the project's name
    std::string program;   // "Quorvel 1.2.21"
    std::u16string model;  // the model's title line (of the first computed emission)
    LocalTime finished;
    std::vector<EmissionResult> emissions;  // in file order
    std::vector<SourceResult> sources;      // in file order
    ZoneResult zone;
    std::vector<ReceptorResult> receptors;  // in file order
    std::optional<FieldResult> field;       // when the combined field was computed
};

}  // namespace quorvel::project
