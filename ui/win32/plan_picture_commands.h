#pragma once
// 复制图 and 导出图片… of the project window's plan on Win32.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "ui/win32/plan_view.h"

namespace quorvel {

// 复制图: the plan as `plan` shows it (its zoom and pan, its size) onto the
// clipboard as an enhanced metafile (CF_ENHMETAFILE), a bitmap at twice the
// screen's points (CF_DIB) and the same bitmap as "PNG". False, with nothing
// changed, when the clipboard cannot be opened or no picture can be made.
bool CopyPlanPicture(HWND owner, const PlanView& plan);

// 导出图片…: asks for a file (PNG, SVG or EMF, offering `suggestedName`) and
// writes the whole figure at the size of an A4 page's text width into it,
// atomically. Why it was not written goes to `showMessage`, naming the file.
void ExportPlanPicture(HWND owner, const PlanView& plan, const std::u16string& suggestedName,
                       const std::function<void(std::u16string_view)>& showMessage);

}  // namespace quorvel
