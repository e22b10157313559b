#include "ui/qt/drawing_export.h"

#include "ui/core/result_drawing_export.h"

namespace quorvel {

void ExportDrawing(QWidget* parent, const ProjectWindowBehaviour& behaviour,
                   const ProjectWindowServices& services) {
    if (!CanExportDrawing(behaviour) || !services.askPath) return;
    const std::optional<std::filesystem::path> file =
        services.askPath(parent, ProjectWindowServices::FileKind::ResultDrawing,
                         QString::fromStdU16String(SuggestedDrawingName(behaviour)));
    if (!file) return;
    const Status written = ExportResultDrawing(behaviour, *file);
    if (!written && services.showMessage)
        services.showMessage(parent, QString::fromStdU16String(written.error()));
}

}  // namespace quorvel
