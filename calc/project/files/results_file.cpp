#include "calc/project/files/results_file.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "calc/program_version.h"
#include "calc/project/files/field_json.h"
#include "calc/project/files/json_layout.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

using Json = OrderedJson;

// Whole distances as integers ("150"), others as JSON writes a double.
Json Distance(const std::optional<double>& metres) {
    if (!metres) return nullptr;
    const double value = *metres;
    if (std::isfinite(value) && std::trunc(value) == value && std::fabs(value) < 9.0e15) {
        return static_cast<std::int64_t>(value);
    }
    return value;
}

Json Number(const std::optional<double>& value) { return value ? Json(*value) : Json(nullptr); }

std::string_view EmissionOutcomeName(EmissionOutcome outcome) {
    switch (outcome) {
        case EmissionOutcome::Distance:
            return "distance";
        case EmissionOutcome::Beyond:
            return "beyond";
        case EmissionOutcome::None:
            return "none";
        case EmissionOutcome::Error:
            break;
    }
    return "error";
}

std::string_view SourceOutcomeName(SourceOutcome outcome) {
    switch (outcome) {
        case SourceOutcome::Distance:
            return "distance";
        case SourceOutcome::Beyond:
            return "beyond";
        case SourceOutcome::None:
            return "none";
        case SourceOutcome::Incomplete:
            break;
    }
    return "incomplete";
}

// 2026-12-08T14:03:21+08:00
Json Finished(const LocalTime& time) {
    if (time.year == 0) return nullptr;
    const int offset = std::abs(time.utcOffsetMinutes);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", time.year,
                  time.month, time.day, time.hour, time.minute, time.second,
                  time.utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return std::string(text);
}

Json Limit(const std::optional<RateLimit>& limit) {
    if (!limit) return nullptr;
    Json object = Json::object();
    object["target_m"] = limit->target;
    object["rate_max"] = limit->rateMax;
    object["cut"] = limit->cut;
    // Written only for the rare limit that real runs could not confirm.
    if (!limit->settled) object["settled"] = false;
    return object;
}

Json Limits(const EmissionLimits& limits) {
    Json object = Json::object();
    object["boundary"] = Limit(limits.boundary);
    object["receptors"] = Limit(limits.receptors);
    object["distance"] = Limit(limits.distance);
    return object;
}

}  // namespace

std::string ResultsJson(const ProjectResults& results) {
    Json root = Json::object();
    root["format"] = kResultsFormat;
    root["version"] = kResultsVersion;
    root["project"] = results.project;
    root["program"] = results.program.empty() ? "Quorvel " + ProgramVersion() : results.program;
    root["model"] = ToUtf8(results.model);
    root["finished"] = Finished(results.finished);

    Json emissions = Json::array();
    for (const EmissionResult& emission : results.emissions) {
        const bool isDistance = emission.outcome == EmissionOutcome::Distance;
        Json object = Json::object();
        object["source"] = emission.source;
        object["pollutant"] = emission.pollutant;
        object["outcome"] = EmissionOutcomeName(emission.outcome);
        object["distance_m"] = isDistance ? Distance(emission.distance) : Json(nullptr);
        object["verdict"] = ToUtf8(emission.verdict);
        object["S"] = Number(emission.standard);
        object["cmax"] = Number(emission.cmax);
        object["cmax_distance_m"] = Distance(emission.cmaxDistance);
        object["pmax"] = Number(emission.pmax);
        object["error"] = emission.outcome == EmissionOutcome::Error ? Json(ToUtf8(emission.error))
                                                                     : Json(nullptr);
        if (emission.limits && emission.outcome != EmissionOutcome::Error) {
            object["limits"] = Limits(*emission.limits);
        }
        emissions.push_back(std::move(object));
    }
    root["emissions"] = std::move(emissions);

    Json sources = Json::array();
    for (const SourceResult& source : results.sources) {
        const bool isDistance = source.outcome == SourceOutcome::Distance;
        Json object = Json::object();
        object["id"] = source.id;
        object["outcome"] = SourceOutcomeName(source.outcome);
        object["distance_m"] = isDistance ? Distance(source.distance) : Json(nullptr);
        object["deciding_pollutant"] = isDistance ? Json(source.decidingPollutant) : Json(nullptr);
        sources.push_back(std::move(object));
    }
    root["sources"] = std::move(sources);

    Json zone = Json::object();
    zone["bounded"] = results.zone.bounded;
    zone["area_m2"] = results.zone.area;
    zone["max_beyond_boundary_m"] = Distance(results.zone.maxBeyondBoundary);
    root["zone"] = std::move(zone);
    if (results.field) root["field"] = FieldJson(*results.field);

    Json receptors = Json::array();
    for (const ReceptorResult& receptor : results.receptors) {
        Json object = Json::object();
        object["name"] = receptor.name;
        object["inside"] = receptor.inside;
        object["in_plant"] = receptor.inPlant;
        object["margin_m"] = Distance(receptor.margin);
        receptors.push_back(std::move(object));
    }
    root["receptors"] = std::move(receptors);
    return LayoutJson(root);
}

}  // namespace quorvel::project
