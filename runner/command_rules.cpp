#include "runner/command_rules.h"

namespace quorvel {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

std::u16string EffectiveCommandLine(std::u16string_view cmdline, bool autoClose) {
    std::u16string line;
    if (!autoClose) line = kKeepOpenPrefix;
    line += cmdline;
    return line;
}

std::vector<std::u16string> SplitArgumentText(std::u16string_view text) {
    std::vector<std::u16string> arguments;
    std::u16string current;
    bool inQuotes = false;
    bool haveArgument = false;
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size; ++i) {
        const char16_t c = text[i];
        if (c == u'\\') {
            std::size_t count = 0;
            while (i < size && text[i] == u'\\') {
                ++count;
                ++i;
            }
            if (i < size && text[i] == u'"') {
                current.append(count / 2, u'\\');
                if (count % 2 == 1) {
                    current += u'"';
                } else {
                    inQuotes = !inQuotes;
                }
            } else {
                current.append(count, u'\\');
                --i;
            }
            haveArgument = true;
        } else if (c == u'"') {
            inQuotes = !inQuotes;
            haveArgument = true;
        } else if (IsBlank(c) && !inQuotes) {
            if (haveArgument) {
                arguments.push_back(std::move(current));
                current.clear();
                haveArgument = false;
            }
        } else {
            current += c;
            haveArgument = true;
        }
    }
    if (haveArgument) arguments.push_back(std::move(current));
    return arguments;
}

std::vector<ProgramCandidate> ProgramCandidates(std::u16string_view line) {
    std::size_t start = 0;
    while (start < line.size() && IsBlank(line[start])) ++start;
    if (start == line.size()) return {};

    if (line[start] == u'"') {
        const std::size_t close = line.find(u'"', start + 1);
        const std::size_t end = close == std::u16string_view::npos ? line.size() : close;
        const std::u16string_view rest =
            close == std::u16string_view::npos ? std::u16string_view() : line.substr(close + 1);
        return {{std::u16string(line.substr(start + 1, end - start - 1)), std::u16string(rest)}};
    }

    std::vector<ProgramCandidate> candidates;
    for (std::size_t end = start + 1; end <= line.size(); ++end) {
        const bool atBoundary = end == line.size() || IsBlank(line[end]);
        if (!atBoundary || IsBlank(line[end - 1])) continue;
        candidates.push_back(
            {std::u16string(line.substr(start, end - start)), std::u16string(line.substr(end))});
    }
    return candidates;
}

}  // namespace quorvel
