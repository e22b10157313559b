#include "calc/project/limits/emission_limits.h"

#include <cmath>
#include <exception>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calc/project/batch/emission_outcome.h"
#include "calc/project/files/emission_inputs.h"
#include "calc/project/files/shortest_number.h"
#include "calc/project/limits/limit_targets.h"
#include "calc/project/limits/predicted_outcome.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

constexpr int kMostRounds = 4;
constexpr double kCheckStep = 1.001;  // 0.1 % more must no longer meet the target
constexpr int kRateDigits = 5;        // a limit is given to 5 significant digits

// `value` (> 0) cut down to kRateDigits significant digits, so that it reads
// plainly and stays on the side that meets the target.
double RoundedDown(double value) {
    if (!(value > 0) || !std::isfinite(value)) return value;
    const double scale = std::pow(10.0, kRateDigits - 1 - std::floor(std::log10(value)));
    const double rounded = std::floor(value * scale) / scale;
    return rounded > 0 ? rounded : value;
}

// The search for one emission's limit for one target.
struct Search {
    std::size_t row = 0;
    Target target;
    double rate = 0.0;  // the emission's rate, in its unit
    double low = 0.0;   // a factor of the rate known by a real run to meet the target
    double high = std::numeric_limits<double>::infinity();  // known not to
    double candidate = 0.0;                                 // the factor to run next
    bool done = false;
    bool failed = false;  // a run failed: the search ends with what it knows
};

// The next factor after a run at `tried` gave `record`: from that report's
// own thresholds, kept strictly between what is known to meet and to fail.
double NextCandidate(const Search& search, double tried, const RunRecord& record, bool met) {
    double next = tried * PredictedLimitFactor(record, search.target);
    if (met && next <= tried) next = tried * 1.0005;
    if (!met && next >= tried) next = tried * 0.9995;
    if (next <= search.low || next >= search.high) {
        next = search.low > 0 && std::isfinite(search.high) ? std::sqrt(search.low * search.high)
               : met                                        ? tried * 1.0005
                                                            : tried * 0.9995;
    }
    return RoundedDown(next * search.rate) / search.rate;
}

void Learn(Search& search, double tried, const Result<RunRecord>& ran) {
    if (!ran) {
        search.failed = true;
        return;
    }
    const RunRecord& record = ran.value();
    const PredictedOutcome real{OutcomeOfVerdict(record.verdict),
                                record.verdict.bufferDistance
                                    ? std::optional<double>(*record.verdict.bufferDistance)
                                    : std::nullopt};
    const bool met = MeetsTarget(real.outcome, real.distance, search.target);
    if (met) {
        search.low = std::max(search.low, tried);
        const PredictedOutcome more = PredictAt(record, kCheckStep);
        if (!MeetsTarget(more.outcome, more.distance, search.target) ||
            search.high <= tried * kCheckStep) {
            search.done = true;
            return;
        }
    } else {
        search.high = std::min(search.high, tried);
    }
    search.candidate = NextCandidate(search, tried, record, met);
}

RateLimit LimitOf(const Search& search) {
    RateLimit limit;
    limit.target = search.target.distance;
    limit.settled = search.done;
    const double factor = search.low > 0 ? search.low : search.candidate;
    limit.rateMax = RoundedDown(factor * search.rate);
    limit.cut = limit.rateMax < search.rate ? 1 - limit.rateMax / search.rate : 0.0;
    return limit;
}

const Source* SourceNamed(const Project& project, const std::string& id) {
    for (const Source& source : project.sources) {
        if (source.id == id) return &source;
    }
    return nullptr;
}

std::vector<Search> StartSearches(const Project& project, const ProjectResults& results) {
    std::vector<Search> searches;
    for (std::size_t row = 0; row < results.emissions.size() && row < project.emissions.size();
         ++row) {
        const EmissionResult& emission = results.emissions[row];
        const Source* source = SourceNamed(project, emission.source);
        if (emission.outcome == EmissionOutcome::Error || !emission.record || source == nullptr) {
            continue;
        }
        for (const Target& target : TargetsOf(project, *source, results.receptors)) {
            Search search;
            search.row = row;
            search.target = target;
            search.rate = project.emissions[row].rate;
            if (MeetsTarget(emission.outcome, emission.distance, target)) {
                search.low = 1.0;
            } else {
                search.high = 1.0;
            }
            search.candidate =
                RoundedDown(PredictedLimitFactor(*emission.record, target) * search.rate) /
                search.rate;
            if (!(search.candidate > 0)) search.failed = true;
            searches.push_back(search);
        }
    }
    return searches;
}

// A stopped search is left out; one that ran out of rounds or runs gives
// the largest rate known to meet its target, marked as not settled.
void Store(const std::vector<Search>& searches, bool stopped, ProjectResults& results) {
    for (std::size_t row = 0; row < results.emissions.size(); ++row) {
        EmissionResult& emission = results.emissions[row];
        if (emission.outcome == EmissionOutcome::Error || !emission.record) continue;
        emission.limits = EmissionLimits{};
    }
    for (const Search& search : searches) {
        if (!search.done && (stopped || search.low <= 0)) continue;
        EmissionLimits& limits = *results.emissions[search.row].limits;
        std::optional<RateLimit>& slot =
            search.target.kind == TargetKind::Boundary    ? limits.boundary
            : search.target.kind == TargetKind::Receptors ? limits.receptors
                                                          : limits.distance;
        slot = LimitOf(search);
    }
}

}  // namespace

void ComputeLimits(const Project& project, ProjectResults& results, const PoolSettings& settings,
                   const LauncherFactory& makeLauncher, const LimitsProgress& progress,
                   std::stop_token stop) {
    try {
        std::vector<Search> searches = StartSearches(project, results);
        std::size_t done = 0;
        for (int round = 0; round < kMostRounds && !stop.stop_requested(); ++round) {
            // One run for each emission and rate still to try, however many
            // targets wait for it.
            std::vector<CalculationInputs> calculations;
            std::map<std::pair<std::size_t, std::string>, std::size_t> jobOf;
            std::vector<std::pair<std::size_t, std::size_t>> tried;  // search, job
            for (std::size_t s = 0; s < searches.size(); ++s) {
                Search& search = searches[s];
                if (search.done || search.failed) continue;
                const std::string rateText = ShortestNumber(search.candidate * search.rate);
                const auto key = std::make_pair(search.row, rateText);
                auto found = jobOf.find(key);
                if (found == jobOf.end()) {
                    Result<CalculationInputs> inputs = EmissionInputs(project, search.row);
                    if (!inputs) {
                        search.failed = true;
                        continue;
                    }
                    inputs.value().RateText = FromUtf8(rateText);
                    found = jobOf.emplace(key, calculations.size()).first;
                    calculations.push_back(std::move(inputs).value());
                }
                tried.emplace_back(s, found->second);
            }
            if (calculations.empty()) break;
            const auto ran = RunCalculations(calculations, settings, makeLauncher, {}, stop);
            done += calculations.size();
            for (const auto& [s, job] : tried) {
                if (!ran[job]) continue;  // stopped
                Search& search = searches[s];
                Learn(search, search.candidate, *ran[job]);
            }
            if (progress) progress(done);
        }
        Store(searches, stop.stop_requested(), results);
    } catch (const std::exception&) {
        // Only memory can run out: the limits stay as far as they were stored.
    }
}

}  // namespace quorvel::project
