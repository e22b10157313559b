#pragma once
// Turning the layers of a site plan drawing into the project's boundary,
// sources and receptors, and tying the project to the drawing.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "calc/project/dxf/dxf_drawing.h"
#include "calc/project/project.h"
#include "calc/result.h"

namespace quorvel::project::dxf {

enum class LayerRole {
    None,
    Boundary,   // the largest closed outline is the plant boundary
    Sources,    // each closed outline is a source
    Receptors,  // each point, insert, circle or closed outline is a receptor
};

struct LayerChoice {
    std::string layer;  // as the drawing names it (not case-sensitive)
    LayerRole role = LayerRole::None;
};

struct ImportRequest {
    std::string file;  // the drawing as the tie names it (UTF-8)
    std::vector<LayerChoice> layers;
    // Missing: the tie's, else the drawing's $INSUNITS; given, it must agree with the tie.
    std::optional<DrawingUnit> unit;
    // Drawing units. Missing: the tie's, else the lower left corner of the
    // boundary (or of all that is imported) rounded down to whole metres;
    // given, it must agree with the tie.
    std::optional<SitePoint> origin;
    // Degrees from the drawing's +Y axis to north, counter-clockwise.
    // Missing: the tie's, else 0; given, it must agree with the tie.
    std::optional<double> northDeg;
    std::optional<double> sourceHeight;  // m, > 0; needed when a layer holds sources
    // The layers drawn under the site figure. Missing: the tie's, else every
    // layer that is neither frozen nor off and holds lines or texts.
    std::optional<std::vector<std::string>> drawnLayers;
};

struct ImportResult {
    Project project;                    // the project with what the drawing adds, and the tie
    std::vector<std::u16string> notes;  // what the user should know, in Chinese
    std::size_t sourcesAdded = 0;
    std::size_t receptorsAdded = 0;
    bool boundarySet = false;
};

// The drawing as a tie names it (UTF-8, forward slashes): relative to
// `projectFolder` (the project file's folder) when it can be, else absolute;
// absolute when `projectFolder` is empty (a project not saved yet).
std::string TieFileName(const std::filesystem::path& drawing,
                        const std::filesystem::path& projectFolder);

// `project` extended by what the chosen layers of `drawing` hold: the
// boundary (replacing one the project has), sources after the highest id
// "S<n>" it has, receptors after its receptors. Fails, leaving nothing
// changed, for a layer the drawing lacks, a boundary layer without a closed
// outline or whose outline crosses itself, a unit neither given nor in the
// drawing, a unit, origin or north that disagrees with the project's tie,
// a project with coordinates but no tie and no origin given, a missing
// height for sources, coordinates beyond any site.
Result<ImportResult> ImportDrawing(const Project& project, const Drawing& drawing,
                                   const ImportRequest& request);

}  // namespace quorvel::project::dxf
