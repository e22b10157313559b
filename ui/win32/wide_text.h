#pragma once
// UTF-16 texts of the core as the Windows API's wide strings: on Windows
// wchar_t is a UTF-16 code unit, so the conversion copies unit for unit.

#include <string>
#include <string_view>

namespace quorvel {

inline std::wstring Wide(std::u16string_view text) { return {text.begin(), text.end()}; }
inline std::u16string Utf16(std::wstring_view text) { return {text.begin(), text.end()}; }

}  // namespace quorvel
