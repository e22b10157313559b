#include "calc/project/batch/emission_outcome.h"

#include <charconv>
#include <optional>
#include <utility>

#include "calc/sheet/sheet_data.h"
#include "calc/verdict.h"

namespace quorvel::project {
namespace {

// The report's figures are single precision: the double nearest to the
// shortest decimal that gives the same float, so 76.15 stays 76.15 and does
// not become 76.1500015258789 in the results.
std::optional<double> AsPrinted(std::optional<double> value) {
    if (!value) return value;
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, static_cast<float>(*value));
    double printed = 0.0;
    if (written.ec != std::errc() ||
        std::from_chars(digits, written.ptr, printed).ec != std::errc()) {
        return value;
    }
    return printed;
}

}  // namespace

EmissionOutcome OutcomeOfVerdict(const Verdict& verdict) {
    if (verdict.bufferDistance) return EmissionOutcome::Distance;
    if (IsBeyondRange(verdict)) return EmissionOutcome::Beyond;
    if (IsNoExceedance(verdict)) return EmissionOutcome::None;
    return EmissionOutcome::Error;
}

EmissionResult ComputedEmission(const Emission& emission, RunRecord record) {
    EmissionResult result;
    result.source = emission.source;
    result.pollutant = emission.pollutant;
    result.outcome = OutcomeOfVerdict(record.verdict);
    if (result.outcome == EmissionOutcome::Distance) {
        result.distance = static_cast<double>(*record.verdict.bufferDistance);
    }
    result.verdict = record.verdict.text;
    if (result.outcome == EmissionOutcome::Error) result.error = record.verdict.text;
    result.standard = AsPrinted(static_cast<double>(record.comparisonStandard));
    const SheetFigures figures = ReadSheetFigures(record);
    result.cmax = AsPrinted(figures.cmax);
    result.cmaxDistance = AsPrinted(figures.cmaxDistance);
    if (result.cmax && *result.standard > 0.0)
        result.pmax = AsPrinted(*result.cmax / *result.standard);
    result.record = std::move(record);
    return result;
}

EmissionResult FailedEmission(const Emission& emission, std::u16string message) {
    EmissionResult result;
    result.source = emission.source;
    result.pollutant = emission.pollutant;
    result.outcome = EmissionOutcome::Error;
    result.error = std::move(message);
    return result;
}

}  // namespace quorvel::project
