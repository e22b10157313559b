#pragma once
// 导出DXF… in the Qt project window.

#include <QtWidgets/QWidget>

#include "ui/qt/project_window.h"

namespace quorvel {

// Asks where (offering the project's name), writes the shown results as a
// drawing over the site plan and says so when it cannot be written. Does
// nothing before a run's results are shown or when the dialog is cancelled.
void ExportDrawing(QWidget* parent, const ProjectWindowBehaviour& behaviour,
                   const ProjectWindowServices& services);

}  // namespace quorvel
