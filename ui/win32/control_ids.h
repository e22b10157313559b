#pragma once
// How the Win32 window's controls are identified, for the window and for the
// tools and tests that find them: the window's class name, and control
// identifiers kFirstControlId plus the control's place in Form1Design().

#include "ui/core/form1_design.h"

namespace quorvel {

inline constexpr wchar_t kForm1ClassName[] = L"QuorvelForm1";
inline constexpr int kFirstControlId = 1000;

inline int ControlId(const ControlDesign& control) {
    return kFirstControlId + static_cast<int>(&control - Form1Design().data());
}

}  // namespace quorvel
