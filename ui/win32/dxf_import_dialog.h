#pragma once
// The 导入DXF… dialog on Win32: a modal window with the drawing's layers
// (the selected one's choice in a list below them), the unit, the sources'
// height, the north angle, the plan as it will be and the notes, wired to
// the toolkit-free DxfImportBehaviour.

#include <windows.h>

#include <optional>

#include "calc/project/project.h"
#include "ui/core/dxf_import_behaviour.h"

namespace quorvel {

// Shows the dialog over `owner`, which is disabled meanwhile. The project
// with the import on 确定; nullopt on 取消 or when closed.
std::optional<project::Project> AskDxfImport(HINSTANCE instance, HWND owner,
                                             DxfImportBehaviour behaviour);

}  // namespace quorvel
