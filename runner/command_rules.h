#pragma once
// How the runner reads a command line, on every platform: the command
// interpreter prefix of the keep-open mode, where the program's name ends and
// how the rest splits into arguments. The Linux plugin applies these rules
// itself; on Windows CreateProcessA applies the same ones to the line.

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// What runs the command line when the window is to stay open afterwards:
// the command interpreter, told to carry out the line and then wait.
inline constexpr std::u16string_view kKeepOpenPrefix = u"cmd /k ";

// The line to start: `cmdline` unchanged with `autoClose`, else
// kKeepOpenPrefix followed by `cmdline`.
std::u16string EffectiveCommandLine(std::u16string_view cmdline, bool autoClose);

// Splits argument text at blanks and tabs. Double quotes group and are
// removed; backslashes are literal except before a double quote, where 2n
// backslashes give n and the quote groups, and 2n+1 give n and a literal quote.
std::vector<std::u16string> SplitArgumentText(std::u16string_view text);

// One reading of where the program's name ends in a command line.
struct ProgramCandidate {
    std::u16string program;  // the name or path, quotes removed
    std::u16string rest;     // the unsplit text after it
};

// The readings to try in order, the first that names an existing program
// wins: a quoted first token as the only one; otherwise every prefix that
// ends before a blank or tab (or at the end of the line), shortest first, so
// that an unquoted directory with blanks is found. None for a blank line.
std::vector<ProgramCandidate> ProgramCandidates(std::u16string_view line);

}  // namespace quorvel
