#pragma once
// A project: the sources of one plant, the pollutants each emits, the plant
// boundary and the sensitive receptors around it, as a project file holds
// them. Texts are UTF-8; coordinates are site coordinates in m, x to the
// east and y to the north.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::project {

// A point in site coordinates, m.
struct SitePoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const SitePoint&, const SitePoint&) = default;
};

// Site coordinates and picture pixels beyond this (m or pixels) belong to no
// plant; the geometry of numbers so large loses its precision. The project
// file refuses them.
inline constexpr double kLargestCoordinate = 1e8;

enum class Location : std::int16_t { Rural = 0, Urban = 1 };
// The emission rate's unit, numbered as the main window's unit list.
enum class RateUnit : std::int16_t { GramsPerSecond = 0, KilogramsPerHour = 1, TonnesPerYear = 2 };

// Members a program does not know, kept so that saving writes them back: a
// JSON object's text holding them in file order; empty when there are none.
using UnknownMembers = std::string;

// One rectangular area source.
struct Source {
    std::string id;    // unique, non-empty; emissions refer to it
    std::string name;  // shown in tables; may be empty
    SitePoint centre;  // m
    double angle =
        0.0;  // degrees counter-clockwise from the x axis to the length side; drawing only
    double height = 0.0;  // effective release height, m
    double width = 0.0;   // m
    double length = 0.0;  // m
    UnknownMembers unknown;
    friend bool operator==(const Source&, const Source&) = default;
};

// One pollutant of one source.
struct Emission {
    std::string source;     // a Source::id
    std::string pollutant;  // unique within its source
    double rate = 0.0;      // in `unit`
    RateUnit unit = RateUnit::GramsPerSecond;
    std::optional<double> hourly;  // hourly standard, mg/m^3
    std::optional<double> daily;   // daily standard, mg/m^3
    UnknownMembers unknown;
    friend bool operator==(const Emission&, const Emission&) = default;
};

struct Receptor {
    std::string name;
    SitePoint position;  // m
    UnknownMembers unknown;
    friend bool operator==(const Receptor&, const Receptor&) = default;
};

// Ties a pixel of the plan picture (x right, y down) to a site coordinate.
struct PlanPoint {
    SitePoint pixel;
    SitePoint site;
    UnknownMembers unknown;
    friend bool operator==(const PlanPoint&, const PlanPoint&) = default;
};

// A picture of the site plan drawn under the site figure.
struct Plan {
    std::string image;  // PNG or JPEG; relative to the project file's folder, or absolute
    std::array<PlanPoint, 2> points;
    UnknownMembers unknown;
    friend bool operator==(const Plan&, const Plan&) = default;
};

// The length unit of a site plan drawing.
enum class DrawingUnit : std::int16_t { Millimetre = 0, Centimetre = 1, Metre = 2 };

// The tie between the project and the site plan drawing (DXF) it was read
// from: site (m) = R(-northDeg) * (drawing - origin) * metres per unit.
struct CadTie {
    std::string file;  // the drawing; relative to the project file's folder, or absolute
    DrawingUnit unit = DrawingUnit::Metre;
    SitePoint origin;  // in drawing units (not site metres); may exceed kLargestCoordinate
    // Degrees counter-clockwise from the drawing's +Y axis to true north.
    double northDeg = 0.0;
    std::vector<std::string> layers;  // drawn thin and grey under the site figure
    UnknownMembers unknown;
    friend bool operator==(const CadTie&, const CadTie&) = default;
};

// The formats a field file may name; none: told by the file's content.
inline constexpr std::array<std::string_view, 3> kFieldFormats = {"aermod-plot", "surfer", "csv"};

// A pollutant's field computed by a further prediction model, read from a
// file instead of the screening field.
struct FieldFile {
    std::string pollutant;  // the emissions' pollutant name exactly
    std::string file;       // relative to the project file's folder, or absolute
    // "aermod-plot", "surfer" or "csv"; empty: told by the file's content.
    std::string format;
    SitePoint offset;     // m: the file's coordinates minus the site coordinates
    std::string average;  // the averaging period ("1-HR", "24-HR"); empty: the file's own or "1-HR"
    std::string rank;     // a plot file's rank to use ("1ST", ...); empty: the only one it holds
    std::string group;    // a plot file's source group to use; empty: the only one it holds
    UnknownMembers unknown;
    friend bool operator==(const FieldFile&, const FieldFile&) = default;
};

struct Project {
    std::string name;  // may be empty
    Location location = Location::Urban;
    std::vector<Source> sources;
    std::vector<Emission> emissions;
    // The plant boundary, a simple polygon in either turning sense without a
    // closing vertex; empty when the project has none.
    std::vector<SitePoint> boundary;
    std::vector<Receptor> receptors;
    std::optional<double> targetDistance;  // m, > 0
    std::optional<Plan> plan;
    std::optional<CadTie> cad;      // set when the project was read from a drawing
    std::vector<FieldFile> fields;  // pollutant fields read from files; at most one per pollutant
    UnknownMembers unknown;
    friend bool operator==(const Project&, const Project&) = default;
};

}  // namespace quorvel::project
