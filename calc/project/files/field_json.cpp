#include "calc/project/files/field_json.h"

#include <cmath>

#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

using Json = OrderedJson;

double Decimals(double value, int places) {
    const double scale = std::pow(10.0, places);
    const double rounded = std::round(value * scale) / scale;
    return std::isfinite(rounded) ? rounded : value;
}

double Significant(double value, int digits) {
    if (value == 0.0 || !std::isfinite(value)) return value;
    const int magnitude = static_cast<int>(std::floor(std::log10(std::abs(value))));
    return Decimals(value, digits - 1 - magnitude);
}

Json Optional(const std::optional<double>& value, int places) {
    return value ? Json(Decimals(*value, places)) : Json(nullptr);
}

Json Point(const SitePoint& p, int places) {
    return Json::array({Decimals(p.x, places), Decimals(p.y, places)});
}

Json Line(const std::vector<SitePoint>& points) {
    Json line = Json::array();
    for (const SitePoint& p : points) line.push_back(Point(p, 2));
    return line;
}

Json Polygons(const std::vector<ZonePolygon>& polygons) {
    Json all = Json::array();
    for (const ZonePolygon& polygon : polygons) {
        Json rings = Json::array();
        rings.push_back(Line(polygon.outer));
        for (const auto& hole : polygon.holes) rings.push_back(Line(hole));
        all.push_back(std::move(rings));
    }
    return all;
}

Json Shares(const std::vector<FieldShare>& shares) {
    Json all = Json::array();
    for (const FieldShare& share : shares) {
        Json object = Json::object();
        object["source"] = share.source;
        object["c"] = Significant(share.c, 6);
        all.push_back(std::move(object));
    }
    return all;
}

Json MaxOutside(const std::optional<FieldValue>& value) {
    if (!value) return nullptr;
    Json object = Json::object();
    object["c"] = Significant(value->c, 6);
    object["ratio"] = Significant(value->ratio, 4);
    object["x"] = Decimals(value->at.x, 1);
    object["y"] = Decimals(value->at.y, 1);
    object["class"] = value->stabilityClass.empty() ? Json(nullptr) : Json(value->stabilityClass);
    object["wind_mps"] = Optional(value->windSpeed, 1);
    object["wind_from_deg"] = Optional(value->windFrom, 1);
    object["shares"] = Shares(value->shares);
    return object;
}

Json Pollutant(const PollutantFieldResult& p) {
    Json object = Json::object();
    object["pollutant"] = p.pollutant;
    object["source"] = p.source;
    object["S"] = p.standard ? Json(*p.standard) : Json(nullptr);
    object["max_outside"] = MaxOutside(p.maxOutside);
    object["cut"] = p.cut ? Json(Significant(*p.cut, 4)) : Json(nullptr);
    object["distance_m"] = Optional(p.distance, 1);
    object["at"] = p.distanceAt ? Point(*p.distanceAt, 1) : Json(nullptr);
    object["exceedance_m2"] = p.error.empty() ? Json(Decimals(p.exceedanceArea, 1)) : Json(nullptr);
    object["exceedance"] = Polygons(p.exceedance);
    Json contours = Json::array();
    for (const FieldContour& contour : p.contours) {
        Json c = Json::object();
        c["ratio"] = contour.ratio;
        Json lines = Json::array();
        for (const auto& line : contour.lines) lines.push_back(Line(line));
        c["lines"] = std::move(lines);
        contours.push_back(std::move(c));
    }
    object["contours"] = std::move(contours);
    object["final"] = p.final;
    object["note"] = p.note.empty() ? Json(nullptr) : Json(ToUtf8(p.note));
    object["error"] = p.error.empty() ? Json(nullptr) : Json(ToUtf8(p.error));
    return object;
}

Json ReceptorJson(const ReceptorFieldResult& receptor) {
    Json object = Json::object();
    object["name"] = receptor.name;
    object["in_area"] = receptor.inArea;
    Json pollutants = Json::array();
    for (const ReceptorPollutant& p : receptor.pollutants) {
        Json entry = Json::object();
        entry["pollutant"] = p.pollutant;
        entry["c"] = Significant(p.value.c, 6);
        entry["ratio"] = Significant(p.value.ratio, 4);
        entry["class"] =
            p.value.stabilityClass.empty() ? Json(nullptr) : Json(p.value.stabilityClass);
        entry["wind_mps"] = Optional(p.value.windSpeed, 1);
        entry["wind_from_deg"] = Optional(p.value.windFrom, 1);
        entry["exceeds"] = p.exceeds;
        entry["cut"] = Significant(p.cut, 4);
        entry["shares"] = Shares(p.value.shares);
        pollutants.push_back(std::move(entry));
    }
    object["pollutants"] = std::move(pollutants);
    return object;
}

}  // namespace

OrderedJson FieldJson(const FieldResult& field) {
    Json object = Json::object();
    object["method"] = field.method;
    object["distance_m"] = Optional(field.distance, 1);
    object["deciding_pollutant"] =
        field.decidingPollutant.empty() ? Json(nullptr) : Json(field.decidingPollutant);
    object["area_m2"] = Optional(field.area, 1);
    object["area"] = Polygons(field.areaPolygons);
    object["exceeding_sides"] = field.exceedingSides;
    Json pollutants = Json::array();
    for (const PollutantFieldResult& p : field.pollutants) pollutants.push_back(Pollutant(p));
    object["pollutants"] = std::move(pollutants);
    Json receptors = Json::array();
    for (const ReceptorFieldResult& r : field.receptors) receptors.push_back(ReceptorJson(r));
    object["receptors"] = std::move(receptors);
    return object;
}

}  // namespace quorvel::project
