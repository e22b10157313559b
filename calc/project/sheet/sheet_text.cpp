#include "calc/project/sheet/sheet_text.h"

#include <algorithm>
#include <cstdio>

#include "calc/sheet/markup.h"
#include "calc/unicode_text.h"

namespace quorvel::project {

std::string Html(std::string_view utf8) { return Escaped(FromUtf8(utf8)); }

std::string LinesHtml(std::u16string_view text) {
    std::string html;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(u"\r\n", start);
        html += Escaped(text.substr(
            start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start));
        if (end == std::u16string_view::npos) break;
        html += "<br/>";
        start = end + 2;
    }
    return html;
}

std::string SourceTitle(const Project& project, const std::string& id) {
    const auto source = std::find_if(project.sources.begin(), project.sources.end(),
                                     [&](const Source& s) { return s.id == id; });
    if (source == project.sources.end() || source->name.empty()) return id;
    return id + "（" + source->name + "）";
}

std::string RateUnitText(RateUnit unit) {
    switch (unit) {
        case RateUnit::KilogramsPerHour:
            return "kg/hr";
        case RateUnit::TonnesPerYear:
            return "t/a";
        case RateUnit::GramsPerSecond:
            break;
    }
    return "g/s";
}

std::string DateTimeText(const LocalTime& t) {
    if (t.year == 0) return "（未知）";
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

const Emission* EmissionOf(const Project& project, std::size_t index,
                           const EmissionResult& result) {
    const auto same = [&](const Emission& e) {
        return e.source == result.source && e.pollutant == result.pollutant;
    };
    if (index < project.emissions.size() && same(project.emissions[index])) {
        return &project.emissions[index];
    }
    const auto found = std::find_if(project.emissions.begin(), project.emissions.end(), same);
    return found == project.emissions.end() ? nullptr : &*found;
}

std::string Metres(std::optional<double> distance) {
    return distance ? NumberText(*distance) + " m" : std::string("—");
}

std::string Joined(const std::vector<std::string>& parts, const std::string& separator) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) text += (i ? separator : "") + parts[i];
    return text;
}

std::string Cell(const std::string& html, const char* cssClass) {
    return std::string(cssClass ? "<td class=\"" + std::string(cssClass) + "\">" : "<td>") + html +
           "</td>";
}

std::string Pair(const std::string& heading, const std::string& html) {
    return "<tr><th>" + heading + "</th><td>" + html + "</td></tr>\n";
}

std::string Head(std::initializer_list<const char*> headings) {
    std::string html = "<thead><tr>";
    for (const char* heading : headings) html += std::string("<th>") + heading + "</th>";
    return html + "</tr></thead>\n";
}

}  // namespace quorvel::project
