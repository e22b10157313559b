#pragma once
// Lists, tabs, status bars and keys of a window of another process: a ListView's rows and
// cells read through that process's memory, and keys as a person types them.

#include <windows.h>

#include <initializer_list>
#include <string>

namespace quorvel::test_support {

// A ListView cell of another process, read through memory of that process.
std::wstring CellText(HANDLE process, HWND list, int row, int column);
// A tab control's tab `index`, in the control's client pixels; empty when
// it has none such.
RECT TabRect(HANDLE process, HWND tabs, int index);
// A status bar's part `part`, in the bar's client pixels; empty when it has
// none such.
RECT StatusPartRect(HANDLE process, HWND bar, int part);
// The ListView's rows.
int RowCount(HWND list);
// Keys through the system's input, each pressed and let go, then a pause
// for the window to take them.
void PressKeys(std::initializer_list<WORD> keys);

}  // namespace quorvel::test_support
