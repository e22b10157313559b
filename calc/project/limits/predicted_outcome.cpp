#include "calc/project/limits/predicted_outcome.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "calc/project/batch/emission_outcome.h"
#include "calc/sheet/sheet_data.h"
#include "calc/verdict.h"

namespace quorvel::project {
namespace {

// How far below a threshold factor the limit is put: well inside the 0.1 %
// that a limit is given to, and above the single precision of S.
constexpr double kBelowThreshold = 3e-4;

// The factors at which a concentration of the report reaches S: below each
// the outcome stays as it is, at it a distance more (or the summary's
// maximum) reaches S.
std::vector<double> Thresholds(const RunRecord& record) {
    const SheetFigures figures = ReadSheetFigures(record);
    const double standard = static_cast<double>(record.comparisonStandard);
    std::vector<double> thresholds;
    for (const SheetRow& row : figures.rows) {
        if (row.concentration && *row.concentration > 0) {
            thresholds.push_back(standard / *row.concentration);
        }
    }
    if (figures.cmax && *figures.cmax > 0) thresholds.push_back(standard / *figures.cmax);
    thresholds.erase(std::remove_if(thresholds.begin(), thresholds.end(),
                                    [](double t) { return !std::isfinite(t) || t <= 0; }),
                     thresholds.end());
    std::sort(thresholds.begin(), thresholds.end(), std::greater<>());
    thresholds.erase(std::unique(thresholds.begin(), thresholds.end()), thresholds.end());
    return thresholds;
}

}  // namespace

PredictedOutcome PredictAt(const RunRecord& record, double factor) {
    const double standard = static_cast<double>(record.comparisonStandard) / factor;
    const Result<Verdict> verdict =
        DecideVerdict(record.rows, record.summaryRows, static_cast<float>(standard));
    if (!verdict) return {};
    PredictedOutcome predicted;
    predicted.outcome = OutcomeOfVerdict(verdict.value());
    if (verdict.value().bufferDistance) {
        predicted.distance = static_cast<double>(*verdict.value().bufferDistance);
    }
    return predicted;
}

double PredictedLimitFactor(const RunRecord& record, const Target& target) {
    const std::vector<double> thresholds = Thresholds(record);
    if (thresholds.empty()) return 0.0;
    // The outcome is the same from one threshold up to the next; from the top
    // down, the first stretch that meets the target ends at the limit.
    double upper = thresholds.front() * 2;
    for (const double threshold : thresholds) {
        const double inside = std::sqrt(threshold * upper);
        const PredictedOutcome predicted = PredictAt(record, inside);
        if (MeetsTarget(predicted.outcome, predicted.distance, target)) {
            return upper == thresholds.front() * 2 ? inside : upper * (1 - kBelowThreshold);
        }
        upper = threshold;
    }
    // Below the lowest threshold nothing reaches S: every target is met.
    return upper * (1 - kBelowThreshold);
}

}  // namespace quorvel::project
