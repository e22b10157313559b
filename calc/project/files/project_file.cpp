#include "calc/project/files/project_file.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <map>
#include <new>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "calc/error_reason.h"
#include "calc/project/files/atomic_file.h"
#include "calc/project/files/boundary_shape.h"
#include "calc/project/files/json_layout.h"
#include "calc/project/files/shortest_number.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

using Json = OrderedJson;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Deeper nesting than any project needs; it keeps unknown members from
// exhausting the stack of the recursive writers.
constexpr std::size_t kDeepestNesting = 200;

// Why the file cannot be used, thrown while reading and caught by ReadProject.
struct FileFault {
    std::u16string text;
};

[[noreturn]] void Refuse(std::u16string text) { throw FileFault{std::move(text)}; }

std::u16string Text(std::string_view utf8) { return FromUtf8(utf8); }

std::u16string Quoted(std::string_view utf8) { return u"“" + FromUtf8(utf8) + u"”"; }

std::string Indexed(const std::string& path, std::size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

std::string Dotted(const std::string& path, std::string_view key) {
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}

// ---- Parsing: duplicate names, nesting and the place of a number too large.

// Follows the parser through the document so that a fault found while parsing
// can say where it lies.
class ParseWatch {
  public:
    bool Event(nlohmann::detail::parse_event_t event, const Json& parsed) {
        using Event = nlohmann::detail::parse_event_t;
        switch (event) {
            case Event::object_start:
            case Event::array_start:
                if (frames_.size() >= kDeepestNesting) {
                    Refuse(Text(Place()) + u" 处嵌套层次过深（超过 " +
                           Text(std::to_string(kDeepestNesting)) + u" 层）");
                }
                frames_.push_back(Frame{event == Event::array_start, 0, {}, {}});
                break;
            case Event::key: {
                Frame& object = frames_.back();
                object.key = parsed.get<std::string>();
                if (!object.keys.insert(object.key).second) {
                    const std::string where = ContainerPlace();
                    Refuse((where.empty() ? std::u16string(u"文件中的成员 ")
                                          : Text(where) + u" 中的成员 ") +
                           Quoted(object.key) + u" 出现了不止一次");
                }
                break;
            }
            case Event::value:
                ElementDone();
                break;
            case Event::object_end:
            case Event::array_end:
                frames_.pop_back();
                ElementDone();
                break;
        }
        return true;
    }

    // The member or element being read, e.g. "sources[2].height".
    std::string Place() const { return PlaceOf(frames_.size()); }

  private:
    struct Frame {
        bool array = false;
        std::size_t index = 0;  // array: the element being read
        std::string key;        // object: the member being read
        std::set<std::string> keys;
    };

    std::string ContainerPlace() const { return PlaceOf(frames_.size() - 1); }

    std::string PlaceOf(std::size_t frames) const {
        std::string path;
        for (std::size_t i = 0; i < frames; ++i) {
            path =
                frames_[i].array ? Indexed(path, frames_[i].index) : Dotted(path, frames_[i].key);
        }
        return path;
    }

    void ElementDone() {
        if (!frames_.empty() && frames_.back().array) ++frames_.back().index;
    }

    std::vector<Frame> frames_;
};

// Line and column (from 1; the column counts characters) of a byte offset.
std::pair<std::size_t, std::size_t> LineAndColumn(std::string_view bytes, std::size_t offset) {
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset && i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\n') {
            ++line;
            column = 1;
        } else if ((byte & 0xC0) != 0x80) {
            ++column;  // the first byte of a character
        }
    }
    return {line, column};
}

bool IsLiteralCharacter(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' ||
           c == '+' || c == '-';
}

// The start of the token whose last character is at `last`: a text's opening
// quote, a number's or a literal's first character, or `last` itself.
std::size_t TokenStart(std::string_view bytes, std::size_t last) {
    if (bytes[last] == '"') {
        for (std::size_t i = last; i-- > 0;) {
            if (bytes[i] != '"') continue;
            std::size_t backslashes = 0;
            while (backslashes < i && bytes[i - 1 - backslashes] == '\\') ++backslashes;
            if (backslashes % 2 == 0) return i;
        }
        return last;
    }
    std::size_t start = last;
    while (start > 0 && IsLiteralCharacter(bytes[last]) && IsLiteralCharacter(bytes[start - 1]))
        --start;
    return start;
}

Json Parse(std::string_view bytes) {
    ParseWatch watch;
    const Json::parser_callback_t callback = [&watch](int, nlohmann::detail::parse_event_t event,
                                                      Json& parsed) {
        return watch.Event(event, parsed);
    };
    try {
        return Json::parse(bytes.begin(), bytes.end(), callback, /*allow_exceptions=*/true,
                           /*ignore_comments=*/false);
    } catch (const Json::parse_error& error) {
        std::size_t offset = error.byte > 0 ? error.byte - 1 : 0;
        // A token the grammar does not allow there: its start is the place to
        // show. A token that is not one at all is shown where it went wrong.
        const bool badToken =
            std::string_view(error.what()).find("; last read: ") != std::string_view::npos;
        if (!badToken && offset < bytes.size()) offset = TokenStart(bytes, offset);
        const auto [line, column] = LineAndColumn(bytes, offset);
        const std::u16string where =
            u"第 " + Text(std::to_string(line)) + u" 行第 " + Text(std::to_string(column)) + u" 列";
        if (offset >= bytes.size()) {
            Refuse(u"不是完整的 JSON：内容在" + where + u"意外结束");
        }
        Refuse(u"不是有效的 JSON：" + where + u"有语法错误");
    } catch (const Json::out_of_range&) {
        // A number beyond the range of double.
        const std::string place = watch.Place();
        Refuse((place.empty() ? std::u16string(u"文件中") : Text(place)) + u" 的数值超出范围");
    }
}

// ---- Members of the document.

[[noreturn]] void WrongType(const std::string& path, const char16_t* expected) {
    Refuse(Text(path) + u" 应为" + expected);
}

const Json& AsObject(const Json& value, const std::string& path) {
    if (!value.is_object()) WrongType(path, u"对象 {…}");
    return value;
}

const Json& AsArray(const Json& value, const std::string& path) {
    if (!value.is_array()) WrongType(path, u"数组 […]");
    return value;
}

// A member, or nullptr when it is missing.
const Json* Find(const Json& object, std::string_view key) {
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

// A member that may be missing: nullptr also for null.
const Json* FindOptional(const Json& object, std::string_view key) {
    const Json* member = Find(object, key);
    return member != nullptr && member->is_null() ? nullptr : member;
}

const Json& Require(const Json& object, std::string_view key, const std::string& objectPath) {
    const Json* member = Find(object, key);
    if (member == nullptr) Refuse(u"缺少成员 " + Text(Dotted(objectPath, key)));
    return *member;
}

double Number(const Json& value, const std::string& path) {
    if (!value.is_number()) WrongType(path, u"数字");
    const double number = value.get<double>();
    if (!std::isfinite(number)) Refuse(Text(path) + u" 的数值超出范围");
    return number;
}

double Coordinate(const Json& value, const std::string& path) {
    const double number = Number(value, path);
    if (std::fabs(number) > kLargestCoordinate) {
        Refuse(Text(path) + u" 的坐标超出范围（绝对值不能超过 100000000）");
    }
    return number;
}

std::string String(const Json& value, const std::string& path) {
    if (!value.is_string()) WrongType(path, u"文本");
    return value.get<std::string>();
}

double RequiredNumber(const Json& object, std::string_view key, const std::string& objectPath) {
    return Number(Require(object, key, objectPath), Dotted(objectPath, key));
}

std::string RequiredString(const Json& object, std::string_view key,
                           const std::string& objectPath) {
    return String(Require(object, key, objectPath), Dotted(objectPath, key));
}

std::string OptionalString(const Json& object, std::string_view key,
                           const std::string& objectPath) {
    const Json* member = FindOptional(object, key);
    return member == nullptr ? std::string() : String(*member, Dotted(objectPath, key));
}

std::optional<double> OptionalNumber(const Json& object, std::string_view key,
                                     const std::string& objectPath) {
    const Json* member = FindOptional(object, key);
    if (member == nullptr) return std::nullopt;
    const std::string path = Dotted(objectPath, key);
    if (!member->is_number()) WrongType(path, u"数字或 null");
    return Number(*member, path);
}

// [x, y]
SitePoint Pair(const Json& value, const std::string& path) {
    if (!value.is_array() || value.size() != 2) WrongType(path, u"两个数字组成的数组 [x, y]");
    return SitePoint{Coordinate(value[0], Indexed(path, 0)),
                     Coordinate(value[1], Indexed(path, 1))};
}

// The members of `object` other than `known`, as a JSON object's text in
// file order; empty when there are none.
UnknownMembers Unknown(const Json& object, std::span<const std::string_view> known) {
    Json unknown = Json::object();
    for (const auto& [key, value] : object.items()) {
        bool isKnown = false;
        for (const std::string_view name : known) isKnown = isKnown || key == name;
        if (!isKnown) unknown[key] = value;
    }
    return unknown.empty() ? UnknownMembers() : CompactJson(unknown);
}

constexpr std::string_view kProjectMembers[] = {
    "format",    "version",           "name", "location", "sources", "emissions", "boundary",
    "receptors", "target_distance_m", "plan", "cad",      "fields"};
constexpr std::string_view kSourceMembers[] = {"id",    "name",   "x",     "y",
                                               "angle", "height", "width", "length"};
constexpr std::string_view kEmissionMembers[] = {"source", "pollutant", "rate",
                                                 "unit",   "hourly",    "daily"};
constexpr std::string_view kReceptorMembers[] = {"name", "x", "y"};
constexpr std::string_view kPlanMembers[] = {"image", "points"};
constexpr std::string_view kPlanPointMembers[] = {"pixel", "site"};
constexpr std::string_view kFieldMembers[] = {"pollutant", "file", "format", "offset",
                                              "average",   "rank", "group"};
constexpr std::string_view kCadMembers[] = {"file", "unit", "origin", "north_deg", "layers"};

constexpr std::pair<DrawingUnit, std::string_view> kDrawingUnitNames[] = {
    {DrawingUnit::Millimetre, "mm"},
    {DrawingUnit::Centimetre, "cm"},
    {DrawingUnit::Metre, "m"},
};
// Drawing coordinates beyond this (drawing units) are taken for a damaged file.
constexpr double kLargestDrawingCoordinate = 1e15;

constexpr std::pair<RateUnit, std::string_view> kUnitNames[] = {
    {RateUnit::GramsPerSecond, "g/s"},
    {RateUnit::KilogramsPerHour, "kg/hr"},
    {RateUnit::TonnesPerYear, "t/a"},
};

std::string_view UnitName(RateUnit unit) {
    for (const auto& [known, name] : kUnitNames) {
        if (known == unit) return name;
    }
    return kUnitNames[0].second;
}

std::string_view LocationName(Location location) {
    return location == Location::Rural ? "rural" : "urban";
}

// The document's own kind and version, checked before anything else: a newer
// file may hold anything.
void CheckFormatAndVersion(const Json& root) {
    const Json* format = Find(root, "format");
    if (format == nullptr || !format->is_string() || format->get<std::string>() != kProjectFormat) {
        Refuse(u"不是 Quorvel 项目文件（format 应为 “quorvel-project”）");
    }
    const Json* version = Find(root, "version");
    if (version == nullptr) Refuse(u"缺少成员 version");
    if (!version->is_number()) WrongType("version", u"数字");
    const double number = version->get<double>();
    const std::u16string shown = Text(ShortestNumber(number));
    if (number > kProjectVersion) {
        Refuse(u"这个项目文件由更新版本的 Quorvel 写成（文件版本 " + shown +
               u"，本程序只能读版本 1），请用新版本的 Quorvel 打开");
    }
    if (number != kProjectVersion) Refuse(u"不支持的项目文件版本 " + shown + u"（应为 1）");
}

Source ReadSource(const Json& value, const std::string& path) {
    const Json& object = AsObject(value, path);
    Source source;
    source.id = RequiredString(object, "id", path);
    if (source.id.empty()) Refuse(Text(Dotted(path, "id")) + u" 为空：每个排放源都要有编号");
    source.name = OptionalString(object, "name", path);
    source.centre = SitePoint{Coordinate(Require(object, "x", path), Dotted(path, "x")),
                              Coordinate(Require(object, "y", path), Dotted(path, "y"))};
    source.angle = OptionalNumber(object, "angle", path).value_or(0.0);
    source.height = RequiredNumber(object, "height", path);
    source.width = RequiredNumber(object, "width", path);
    source.length = RequiredNumber(object, "length", path);
    source.unknown = Unknown(object, kSourceMembers);
    return source;
}

Emission ReadEmission(const Json& value, const std::string& path) {
    const Json& object = AsObject(value, path);
    Emission emission;
    emission.source = RequiredString(object, "source", path);
    emission.pollutant = RequiredString(object, "pollutant", path);
    emission.rate = RequiredNumber(object, "rate", path);
    const std::string unit = RequiredString(object, "unit", path);
    bool known = false;
    for (const auto& [candidate, name] : kUnitNames) {
        if (unit == name) {
            emission.unit = candidate;
            known = true;
        }
    }
    if (!known) {
        Refuse(Text(Dotted(path, "unit")) + u" 应为 “g/s”、“kg/hr” 或 “t/a”，而不是 " +
               Quoted(unit));
    }
    emission.hourly = OptionalNumber(object, "hourly", path);
    emission.daily = OptionalNumber(object, "daily", path);
    emission.unknown = Unknown(object, kEmissionMembers);
    return emission;
}

Receptor ReadReceptor(const Json& value, const std::string& path) {
    const Json& object = AsObject(value, path);
    Receptor receptor;
    receptor.name = OptionalString(object, "name", path);
    receptor.position = SitePoint{Coordinate(Require(object, "x", path), Dotted(path, "x")),
                                  Coordinate(Require(object, "y", path), Dotted(path, "y"))};
    receptor.unknown = Unknown(object, kReceptorMembers);
    return receptor;
}

std::vector<SitePoint> ReadBoundary(const Json& root) {
    const Json* member = FindOptional(root, "boundary");
    if (member == nullptr) return {};
    const Json& array = AsArray(*member, "boundary");
    std::vector<SitePoint> boundary;
    for (std::size_t i = 0; i < array.size(); ++i)
        boundary.push_back(Pair(array[i], Indexed("boundary", i)));
    if (const std::u16string fault = BoundaryShapeFault(boundary); !fault.empty()) {
        Refuse(u"厂界 boundary 不能使用：" + fault);
    }
    // The model keeps the outline without a closing vertex.
    if (boundary.size() >= 2 && boundary.back() == boundary.front()) boundary.pop_back();
    return boundary;
}

std::optional<Plan> ReadPlan(const Json& root) {
    const Json* member = FindOptional(root, "plan");
    if (member == nullptr) return std::nullopt;
    const Json& object = AsObject(*member, "plan");
    Plan plan;
    plan.image = RequiredString(object, "image", "plan");
    const Json& points = AsArray(Require(object, "points", "plan"), "plan.points");
    if (points.size() != 2) {
        Refuse(u"plan.points 应有两个点，现有 " + Text(std::to_string(points.size())) + u" 个");
    }
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string path = Indexed("plan.points", i);
        const Json& point = AsObject(points[i], path);
        plan.points[i].pixel = Pair(Require(point, "pixel", path), Dotted(path, "pixel"));
        plan.points[i].site = Pair(Require(point, "site", path), Dotted(path, "site"));
        plan.points[i].unknown = Unknown(point, kPlanPointMembers);
    }
    if (plan.points[0].pixel == plan.points[1].pixel) {
        Refuse(u"plan.points 的两个点是图上同一个像素，定不出比例");
    }
    if (plan.points[0].site == plan.points[1].site) {
        Refuse(u"plan.points 的两个点是同一个场地坐标，定不出比例");
    }
    plan.unknown = Unknown(object, kPlanMembers);
    return plan;
}

std::optional<CadTie> ReadCad(const Json& root) {
    const Json* member = FindOptional(root, "cad");
    if (member == nullptr) return std::nullopt;
    const Json& object = AsObject(*member, "cad");
    CadTie cad;
    cad.file = RequiredString(object, "file", "cad");
    const std::string unit = RequiredString(object, "unit", "cad");
    bool known = false;
    for (const auto& [candidate, name] : kDrawingUnitNames) {
        if (unit == name) {
            cad.unit = candidate;
            known = true;
        }
    }
    if (!known) Refuse(u"cad.unit 应为 “mm”、“cm” 或 “m”，而不是 " + Quoted(unit));
    const Json& origin = Require(object, "origin", "cad");
    if (!origin.is_array() || origin.size() != 2)
        WrongType("cad.origin", u"两个数字组成的数组 [x, y]");
    cad.origin = SitePoint{Number(origin[0], "cad.origin[0]"), Number(origin[1], "cad.origin[1]")};
    if (std::fabs(cad.origin.x) > kLargestDrawingCoordinate ||
        std::fabs(cad.origin.y) > kLargestDrawingCoordinate) {
        Refuse(u"cad.origin 的坐标超出范围");
    }
    cad.northDeg = OptionalNumber(object, "north_deg", "cad").value_or(0.0);
    if (std::fabs(cad.northDeg) > 360.0) Refuse(u"cad.north_deg 应在 -360 到 360 度之间");
    if (const Json* layers = FindOptional(object, "layers")) {
        AsArray(*layers, "cad.layers");
        for (std::size_t i = 0; i < layers->size(); ++i) {
            cad.layers.push_back(String((*layers)[i], Indexed("cad.layers", i)));
        }
    }
    cad.unknown = Unknown(object, kCadMembers);
    return cad;
}

FieldFile ReadFieldFile(const Json& value, const std::string& path) {
    const Json& object = AsObject(value, path);
    FieldFile field;
    field.pollutant = RequiredString(object, "pollutant", path);
    if (field.pollutant.empty()) Refuse(Text(Dotted(path, "pollutant")) + u" 为空：应写污染物名称");
    field.file = RequiredString(object, "file", path);
    if (field.file.empty()) Refuse(Text(Dotted(path, "file")) + u" 为空：应写浓度场文件名");
    field.format = OptionalString(object, "format", path);
    if (!field.format.empty() && std::find(kFieldFormats.begin(), kFieldFormats.end(),
                                           field.format) == kFieldFormats.end()) {
        Refuse(Text(Dotted(path, "format")) + u" 应为 “aermod-plot”、“surfer” 或 “csv”，而不是 " +
               Quoted(field.format));
    }
    if (const Json* offset = FindOptional(object, "offset")) {
        field.offset = Pair(*offset, Dotted(path, "offset"));
    }
    field.average = OptionalString(object, "average", path);
    field.rank = OptionalString(object, "rank", path);
    field.group = OptionalString(object, "group", path);
    field.unknown = Unknown(object, kFieldMembers);
    return field;
}

std::vector<FieldFile> ReadFieldFiles(const Json& root) {
    const Json* member = FindOptional(root, "fields");
    if (member == nullptr) return {};
    AsArray(*member, "fields");
    std::vector<FieldFile> fields;
    for (std::size_t i = 0; i < member->size(); ++i) {
        FieldFile field = ReadFieldFile((*member)[i], Indexed("fields", i));
        for (std::size_t j = 0; j < fields.size(); ++j) {
            if (fields[j].pollutant == field.pollutant) {
                Refuse(u"污染物 " + Quoted(field.pollutant) + u" 的浓度场文件给了不止一个（" +
                       Text(Indexed("fields", j)) + u" 和 " + Text(Indexed("fields", i)) + u"）");
            }
        }
        fields.push_back(std::move(field));
    }
    return fields;
}

Project ReadDocument(const Json& root) {
    if (!root.is_object()) Refuse(u"不是 Quorvel 项目文件（内容应为 JSON 对象 {…}）");
    CheckFormatAndVersion(root);

    Project project;
    project.name = OptionalString(root, "name", "");
    if (const Json* location = FindOptional(root, "location")) {
        const std::string text = String(*location, "location");
        if (text == "rural") {
            project.location = Location::Rural;
        } else if (text != "urban") {
            Refuse(u"location 应为 “urban” 或 “rural”，而不是 " + Quoted(text));
        }
    }

    if (const Json* sources = FindOptional(root, "sources")) {
        AsArray(*sources, "sources");
        std::map<std::string, std::size_t> seen;
        for (std::size_t i = 0; i < sources->size(); ++i) {
            Source source = ReadSource((*sources)[i], Indexed("sources", i));
            const auto [earlier, inserted] = seen.emplace(source.id, i);
            if (!inserted) {
                Refuse(u"排放源编号 " + Quoted(source.id) + u" 重复（" +
                       Text(Indexed("sources", earlier->second)) + u" 和 " +
                       Text(Indexed("sources", i)) + u"）");
            }
            project.sources.push_back(std::move(source));
        }
    }
    if (const Json* emissions = FindOptional(root, "emissions")) {
        AsArray(*emissions, "emissions");
        for (std::size_t i = 0; i < emissions->size(); ++i) {
            project.emissions.push_back(ReadEmission((*emissions)[i], Indexed("emissions", i)));
        }
    }
    project.boundary = ReadBoundary(root);
    if (const Json* receptors = FindOptional(root, "receptors")) {
        AsArray(*receptors, "receptors");
        for (std::size_t i = 0; i < receptors->size(); ++i) {
            project.receptors.push_back(ReadReceptor((*receptors)[i], Indexed("receptors", i)));
        }
    }
    project.targetDistance = OptionalNumber(root, "target_distance_m", "");
    if (project.targetDistance && !(*project.targetDistance > 0.0)) {
        Refuse(u"target_distance_m 应为大于 0 的距离（m）");
    }
    project.plan = ReadPlan(root);
    project.cad = ReadCad(root);
    project.fields = ReadFieldFiles(root);
    project.unknown = Unknown(root, kProjectMembers);
    return project;
}

// The detail of why the bytes are not a usable project.
Result<Project> ReadProjectBytes(std::string_view bytes) {
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    try {
        return ReadDocument(Parse(bytes));
    } catch (const FileFault& fault) {
        return Fail(fault.text);
    } catch (const nlohmann::json::exception&) {
        return Fail(u"不是有效的 JSON");
    }
}

// ---- Writing.

Json Point(const SitePoint& point) { return Json::array({point.x, point.y}); }

// Adds the unknown members after the known ones; a text that is not a JSON
// object, and members that would repeat known ones, are left out.
void AddUnknown(Json& object, const UnknownMembers& unknown) {
    if (unknown.empty()) return;
    const Json members = Json::parse(unknown, nullptr, /*allow_exceptions=*/false);
    if (!members.is_object()) return;
    for (const auto& [key, value] : members.items()) {
        if (object.find(key) == object.end()) object[key] = value;
    }
}

Json Optional(const std::optional<double>& value) { return value ? Json(*value) : Json(nullptr); }

Json Document(const Project& project) {
    Json root = Json::object();
    root["format"] = kProjectFormat;
    root["version"] = kProjectVersion;
    root["name"] = project.name;
    root["location"] = LocationName(project.location);
    Json sources = Json::array();
    for (const Source& source : project.sources) {
        Json object = Json::object();
        object["id"] = source.id;
        object["name"] = source.name;
        object["x"] = source.centre.x;
        object["y"] = source.centre.y;
        object["angle"] = source.angle;
        object["height"] = source.height;
        object["width"] = source.width;
        object["length"] = source.length;
        AddUnknown(object, source.unknown);
        sources.push_back(std::move(object));
    }
    root["sources"] = std::move(sources);
    Json emissions = Json::array();
    for (const Emission& emission : project.emissions) {
        Json object = Json::object();
        object["source"] = emission.source;
        object["pollutant"] = emission.pollutant;
        object["rate"] = emission.rate;
        object["unit"] = UnitName(emission.unit);
        object["hourly"] = Optional(emission.hourly);
        object["daily"] = Optional(emission.daily);
        AddUnknown(object, emission.unknown);
        emissions.push_back(std::move(object));
    }
    root["emissions"] = std::move(emissions);
    Json boundary = Json::array();
    for (const SitePoint& vertex : project.boundary) boundary.push_back(Point(vertex));
    root["boundary"] = std::move(boundary);
    Json receptors = Json::array();
    for (const Receptor& receptor : project.receptors) {
        Json object = Json::object();
        object["name"] = receptor.name;
        object["x"] = receptor.position.x;
        object["y"] = receptor.position.y;
        AddUnknown(object, receptor.unknown);
        receptors.push_back(std::move(object));
    }
    root["receptors"] = std::move(receptors);
    if (project.targetDistance) root["target_distance_m"] = *project.targetDistance;
    if (project.plan) {
        Json plan = Json::object();
        plan["image"] = project.plan->image;
        Json points = Json::array();
        for (const PlanPoint& point : project.plan->points) {
            Json object = Json::object();
            object["pixel"] = Point(point.pixel);
            object["site"] = Point(point.site);
            AddUnknown(object, point.unknown);
            points.push_back(std::move(object));
        }
        plan["points"] = std::move(points);
        AddUnknown(plan, project.plan->unknown);
        root["plan"] = std::move(plan);
    }
    if (project.cad) {
        Json cad = Json::object();
        cad["file"] = project.cad->file;
        for (const auto& [unit, name] : kDrawingUnitNames) {
            if (unit == project.cad->unit) cad["unit"] = name;
        }
        cad["origin"] = Point(project.cad->origin);
        cad["north_deg"] = project.cad->northDeg;
        cad["layers"] = project.cad->layers;
        AddUnknown(cad, project.cad->unknown);
        root["cad"] = std::move(cad);
    }
    if (!project.fields.empty()) {
        Json fields = Json::array();
        for (const FieldFile& field : project.fields) {
            Json object = Json::object();
            object["pollutant"] = field.pollutant;
            object["file"] = field.file;
            if (!field.format.empty()) object["format"] = field.format;
            object["offset"] = Point(field.offset);
            if (!field.average.empty()) object["average"] = field.average;
            if (!field.rank.empty()) object["rank"] = field.rank;
            if (!field.group.empty()) object["group"] = field.group;
            AddUnknown(object, field.unknown);
            fields.push_back(std::move(object));
        }
        root["fields"] = std::move(fields);
    }
    AddUnknown(root, project.unknown);
    return root;
}

}  // namespace

Result<Project> ReadProject(std::string_view fileBytes) {
    try {
        Result<Project> project = ReadProjectBytes(fileBytes);
        if (!project) return Fail(u"项目文件不能使用：" + project.error());
        return project;
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法读取项目文件!");
    }
}

Result<Project> OpenProject(const std::filesystem::path& file) {
    try {
        std::error_code error;
        if (std::filesystem::is_directory(file, error)) {
            return Fail(u"无法打开项目文件: " + PathText(file) + u"（这是文件夹，不是文件）");
        }
        errno = 0;
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            const int cause = errno != 0 ? errno : ENOENT;
            return Fail(u"无法打开项目文件: " + PathText(file) + u"（" +
                        ErrorReason({cause, std::generic_category()}) + u"）");
        }
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (in.bad()) return Fail(u"无法读取项目文件: " + PathText(file));
        Result<Project> project = ReadProjectBytes(bytes);
        if (!project) return Fail(u"项目文件 " + PathText(file) + u" 不能使用：" + project.error());
        return project;
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法读取项目文件: " + PathText(file));
    }
}

std::string ProjectJson(const Project& project) { return LayoutJson(Document(project)); }

Status SaveProject(const std::filesystem::path& file, const Project& project) {
    std::string bytes;
    try {
        bytes = ProjectJson(project);
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法保存项目文件: " + PathText(file));
    }
    return WriteFileAtomically(file, bytes);
}

}  // namespace quorvel::project
