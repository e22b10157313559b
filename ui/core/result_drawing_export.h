#pragma once
// 导出DXF…: the project window's export of its results as a drawing that
// lies over the site plan (calc/project/dxf/result_drawing.h).

#include <filesystem>
#include <string>
#include <string_view>

#include "calc/project/project.h"
#include "calc/result.h"
#include "ui/core/project_window_behaviour.h"

namespace quorvel {

inline constexpr std::u16string_view kDxfExportCommand = u"导出DXF…";
inline constexpr std::u16string_view kDxfExportTitle = u"导出DXF";
inline constexpr std::u16string_view kDxfExportFilter = u"DXF 图形 (*.dxf)";

// The name the save dialog offers: "<project name>-结果.dxf"; the project
// file's stem in place of an empty name; "结果.dxf" for neither. Characters
// file names cannot hold (\ / : * ? " < > | and control characters) become "_".
std::u16string SuggestedDrawingName(const project::Project& project,
                                    const std::filesystem::path& projectFile);

// Whether 导出DXF… may be used: the results of a run are shown.
bool CanExportDrawing(const ProjectWindowBehaviour& behaviour);

// The name to offer for the window's project.
std::u16string SuggestedDrawingName(const ProjectWindowBehaviour& behaviour);

// Writes the shown results, with the project of their run, to `file`
// atomically; the current rule's layers too when the field shown is of that
// same project (not edited since the run). The
// fault's message names the file and the reason; nothing is written then.
Status ExportResultDrawing(const ProjectWindowBehaviour& behaviour,
                           const std::filesystem::path& file);

}  // namespace quorvel
