#include "ui/core/result_drawing_export.h"

#include "calc/project/dxf/result_drawing.h"
#include "ui/core/suggested_file_name.h"

namespace quorvel {

std::u16string SuggestedDrawingName(const project::Project& project,
                                    const std::filesystem::path& projectFile) {
    return SuggestedFileName(project.name, projectFile, u"结果.dxf");
}

bool CanExportDrawing(const ProjectWindowBehaviour& behaviour) {
    return behaviour.RawResults() != nullptr && behaviour.ResultsProject() != nullptr;
}

std::u16string SuggestedDrawingName(const ProjectWindowBehaviour& behaviour) {
    const project::Project* project = behaviour.ResultsProject();
    return SuggestedDrawingName(project ? *project : project::Project{}, behaviour.File());
}

Status ExportResultDrawing(const ProjectWindowBehaviour& behaviour,
                           const std::filesystem::path& file) {
    if (!CanExportDrawing(behaviour)) return Fail(u"还没有计算结果，请先计算。");
    // The field shown joins the run's results when it is of the same project.
    project::ProjectResults results = *behaviour.RawResults();
    if (behaviour.Field() != nullptr && behaviour.FieldProject() != nullptr &&
        *behaviour.FieldProject() == *behaviour.ResultsProject()) {
        results.field = *behaviour.Field();
    }
    const Status written =
        project::dxf::WriteResultDrawing(file, *behaviour.ResultsProject(), results);
    if (!written) return Fail(u"结果图形（DXF）未写出：" + written.error());
    return written;
}

}  // namespace quorvel
