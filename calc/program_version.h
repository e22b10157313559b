#pragma once

#include <string>

namespace quorvel {

// The program's name for documents it writes, and its version ("1.2.21").
inline constexpr char16_t kProgramName[] = u"Quorvel标准计算程序";
std::string ProgramVersion();

}  // namespace quorvel
