#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "calc/answer_file.h"
#include "calc/calculation_inputs.h"
#include "calc/check_inputs.h"
#include "calc/derived_quantities.h"
#include "calc/lenient_number.h"
#include "calc/unicode_text.h"
#include "fuzz/fuzz_targets.h"
#include "model/answer_files.h"
#include "model/answer_reader.h"
#include "model/model_answers.h"

namespace quorvel::fuzz {
namespace {

// The input split at line feeds into ten fields; missing ones are empty.
std::vector<std::u16string> TenFields(std::string_view bytes) {
    std::vector<std::u16string> fields;
    while (fields.size() < 9) {
        const std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos) break;
        fields.push_back(FromUtf8(bytes.substr(0, end)));
        bytes.remove_prefix(end + 1);
    }
    fields.push_back(FromUtf8(bytes));
    fields.resize(10);
    return fields;
}

// The lenient number rule written independently: the leading number of the
// text without its blanks, tabs and line feeds, read by strtod in the C locale.
double ReferenceNumber(const std::u16string& text) {
    std::string compact;
    for (const char16_t c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n') continue;
        compact.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    std::size_t end = 0;
    if (end < compact.size() && (compact[end] == '+' || compact[end] == '-')) ++end;
    bool digit = false;
    bool point = false;
    for (; end < compact.size(); ++end) {
        const char c = compact[end];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digit) return 0.0;
    std::string number = compact.substr(0, end);
    if (end < compact.size() && compact[end] != '\0' &&
        std::strchr("EeDd", compact[end]) != nullptr) {
        std::size_t exponent = end + 1;
        if (exponent < compact.size() && (compact[exponent] == '+' || compact[exponent] == '-')) {
            ++exponent;
        }
        const std::size_t digits = exponent;
        while (exponent < compact.size() &&
               std::isdigit(static_cast<unsigned char>(compact[exponent]))) {
            ++exponent;
        }
        if (exponent > digits) number += "e" + compact.substr(end + 1, exponent - end - 1);
    }
    return std::strtod(number.c_str(), nullptr);
}

std::int16_t SmallIndex(const std::u16string& text, int modulus) {
    const double number = ReadLenientNumber(text);
    if (!std::isfinite(number)) return 0;
    return static_cast<std::int16_t>(std::fmod(std::fabs(number), modulus));
}

}  // namespace

int InputCheck(const std::uint8_t* data, std::size_t size) {
    const auto fields = TenFields(std::string_view(reinterpret_cast<const char*>(data), size));
    CalculationInputs inputs;
    inputs.HeightText = fields[0];
    inputs.WidthText = fields[1];
    inputs.LengthText = fields[2];
    inputs.RateText = fields[3];
    inputs.RateUnit = SmallIndex(fields[4], 3);
    inputs.HourlyChecked = !fields[5].empty() && fields[5][0] != u'0';
    inputs.HourlyStandardText = fields[6];
    inputs.DailyChecked = !fields[7].empty() && fields[7][0] != u'0';
    inputs.DailyStandardText = fields[8];
    inputs.LocationIndex = SmallIndex(fields[9], 2);

    for (const auto& field : fields) {
        const double number = ReadLenientNumber(field);
        const double reference = ReferenceNumber(field);
        if (!(number == reference && std::signbit(number) == std::signbit(reference))) {
            std::fprintf(stderr, "lenient number %.17g, reference %.17g\n", number, reference);
        }
        Require(number == reference && std::signbit(number) == std::signbit(reference),
                "the lenient number rule reads the leading number exactly");
    }
    // The derived quantities must be plain values or infinities, never traps.
    const float height = ReleaseHeight(inputs);
    const float width = SourceWidth(inputs);
    const float length = SourceLength(inputs);
    (void)EmissionRate(inputs);
    (void)EmissionRateGramsPerSecond(inputs);
    const float areaRate = AreaEmissionRate(inputs);
    const float standard = ComparisonStandard(inputs);
    (void)SideRatio(inputs);

    const CheckDecision decision = DecideCheckInputs(inputs);
    if (!decision.pass) {
        Require(!decision.message.empty(), "a refusal says why");
        Require(decision.focus != CheckFocus::None, "a refusal moves the focus");
        return 0;
    }
    Require(std::isfinite(height) && std::isfinite(width) && std::isfinite(length),
            "passed sides and height are finite");
    Require(std::isfinite(areaRate) && areaRate > 0.0f, "a passed area rate is usable");
    Require(height > 0.0f && width > 0.0f && length > 0.0f && standard > 0.0f,
            "passed values are above 0");
    Require(std::isfinite(standard), "a passed standard is finite");

    // Passed inputs within the model's own limits must give an answer file
    // that the model accepts whole.
    const float larger = std::max(width, length);
    const bool modelCanTakeThem =
        height <= kMaxHeight && larger <= kMaxSide && areaRate <= kMaxEmissionRate;
    if (!modelCanTakeThem) return 0;
    const std::vector<std::string> lines = SplitLines(BuildAnswerFile(inputs));
    std::size_t next = 0;
    const AnswerReading reading = ReadAnswers([&](std::string_view) -> std::optional<std::string> {
        if (next >= lines.size()) return std::nullopt;
        return lines[next++];
    });
    if (!reading.answers) std::fprintf(stderr, "model refused: %s\n", reading.error.c_str());
    Require(reading.answers.has_value(), "the model accepts the answer file of passed inputs");
    Require(next + 1 >= lines.size(), "the model reads every answer line before the last");
    return 0;
}

}  // namespace quorvel::fuzz
