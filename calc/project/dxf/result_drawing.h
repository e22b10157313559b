#pragma once
// A project's result as a DXF drawing that lies over its site plan: in the
// plan's own units and coordinates through the project's tie (metres on the
// site's own axes without one), so that inserting it at 0,0 into the plan
// puts every line in place.
//
// Layers:
//   QV-厂界                  the boundary
//   QV-排放源                each source's rectangle, its id and name
//   QV-控制距离              each source's disc, its id and distance
//   QV-防护区域              the per-source zone outside the plant, hatched
//   QV-超标区域-<pollutant>  the pollutant's exceedance region, hatched
//   QV-等值线-<pollutant>    its contours at 1 and 0.5 of the standard, labelled
//   QV-大气环境防护区域      the protection area, hatched, its distance written on it
//   QV-敏感目标              receptors, marked and named; those in the zone or
//                            the area filled and said to be so

#include <filesystem>
#include <string>
#include <string_view>

#include "calc/project/project.h"
#include "calc/project/project_results.h"
#include "calc/result.h"

namespace quorvel::project::dxf {

inline constexpr std::string_view kBoundaryLayer = "QV-厂界";
inline constexpr std::string_view kSourcesLayer = "QV-排放源";
inline constexpr std::string_view kDiscsLayer = "QV-控制距离";
inline constexpr std::string_view kZoneLayer = "QV-防护区域";
inline constexpr std::string_view kExceedancePrefix = "QV-超标区域-";
inline constexpr std::string_view kContoursPrefix = "QV-等值线-";
inline constexpr std::string_view kAreaLayer = "QV-大气环境防护区域";
inline constexpr std::string_view kReceptorsLayer = "QV-敏感目标";

// Texts are 2.5 m of site high: 2.5 mm on a plan printed at 1:1000.
inline constexpr double kLabelHeight = 2.5;

// The drawing's text style: SimSun, the TrueType Chinese font of every
// Chinese Windows, which CAD programs find by this file name (an SHX big font
// such as gbcbig.shx comes with some CAD programs only, and other programs
// show its texts as question marks).
inline constexpr std::string_view kTextStyle = "QV-宋体";
inline constexpr std::string_view kFontFile = "simsun.ttc";

// The whole DXF file (R2010, UTF-8) of `results` for `project`: the layers
// above, those of the combined field when `results.field` is set, one pair
// of field layers per computed pollutant (names made valid and distinct).
std::string ResultDrawingDxf(const Project& project, const ProjectResults& results);

// Writes that drawing to `file` atomically: on a fault the file is as it was
// and the message (in Chinese) names the file and the reason.
Status WriteResultDrawing(const std::filesystem::path& file, const Project& project,
                          const ProjectResults& results);

}  // namespace quorvel::project::dxf
