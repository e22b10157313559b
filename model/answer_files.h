#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// The answer file named by a command-line argument that begins with "<"
// ("<Screen3.INP", or "<" followed by the name as the next argument).
std::optional<std::string> AnswerFileArgument(int argc, const char* const* argv);

// `name` in `directory`, or a file there whose name differs only in letter case.
std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& directory,
                                                          const std::string& name);

// The lines of a text, without their LF or CR LF ends; a last line without an
// end counts, an empty text has no lines.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace quorvel
