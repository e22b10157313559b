#include "calc/project/dxf/dxf_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <utility>

#include "calc/project/files/shortest_number.h"

namespace quorvel::project::dxf {
namespace {

// Group codes and values, one per line, as AutoCAD writes them: the code
// right-aligned in three places.
class Groups {
  public:
    Groups& Text(int code, std::string_view value) {
        char codeText[16];
        std::snprintf(codeText, sizeof codeText, "%3d\r\n", code);
        out_ += codeText;
        out_ += value;
        out_ += "\r\n";
        return *this;
    }
    Groups& Number(int code, double value) {
        return Text(code, ShortestNumber(std::isfinite(value) ? value : 0.0));
    }
    Groups& Integer(int code, long long value) { return Text(code, std::to_string(value)); }
    Groups& Handle(int code, unsigned handle) {
        char text[16];
        std::snprintf(text, sizeof text, "%X", handle);
        return Text(code, text);
    }
    Groups& Point(int xCode, DrawingPoint point) {
        return Number(xCode, point.x).Number(xCode + 10, point.y).Number(xCode + 20, 0.0);
    }
    Groups& Append(std::string_view groups) {
        out_ += groups;
        return *this;
    }
    std::string Take() { return std::move(out_); }

  private:
    std::string out_;
};

// A text value on one line: line breaks and other control characters would
// end the value early and shift every group after it.
std::string OneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        line += byte < 0x20 || byte == 0x7f ? ' ' : c;
    }
    // "%%" starts a control code in TEXT ("%%d" is a degree sign); "%%%" is a
    // plain percent sign.
    if (line.find("%%") == std::string::npos) return line;
    std::string escaped;
    for (const char c : line) {
        if (c == '%')
            escaped += "%%%";
        else
            escaped += c;
    }
    return escaped;
}

// The handles of a file, given out in order.
class Handles {
  public:
    unsigned Next() { return next_++; }
    unsigned Seed() const { return next_; }

  private:
    unsigned next_ = 0x10;
};

// A symbol table's opening; `subclass` is the DIMSTYLE table's extra marker.
void OpenTable(Groups& out, std::string_view name, unsigned handle, std::size_t count,
               std::string_view subclass = {}) {
    out.Text(0, "TABLE").Text(2, name).Handle(5, handle).Text(330, "0");
    out.Text(100, "AcDbSymbolTable").Integer(70, static_cast<long long>(count));
    if (!subclass.empty()) out.Text(100, subclass);
}

void OpenEntry(Groups& out, std::string_view type, unsigned handle, unsigned owner,
               std::string_view subclass, std::string_view name, int handleCode = 5) {
    out.Text(0, type).Handle(handleCode, handle).Handle(330, owner);
    out.Text(100, "AcDbSymbolTableRecord").Text(100, subclass).Text(2, name).Integer(70, 0);
}

void LineTypeEntry(Groups& out, Handles& handles, unsigned table, const LineType& type) {
    OpenEntry(out, "LTYPE", handles.Next(), table, "AcDbLinetypeTableRecord", type.name);
    double total = 0.0;
    for (const double element : type.pattern) total += std::abs(element);
    out.Text(3, type.description).Integer(72, 65);
    out.Integer(73, static_cast<long long>(type.pattern.size())).Number(40, total);
    for (const double element : type.pattern) out.Number(49, element).Integer(74, 0);
}

void HatchPath(Groups& out, const std::vector<DrawingPoint>& ring, bool outer) {
    // 2: a polyline path; 1: an external one.
    out.Integer(92, outer ? 3 : 2).Integer(72, 0).Integer(73, 1);
    out.Integer(93, static_cast<long long>(ring.size()));
    for (const DrawingPoint& point : ring) out.Number(10, point.x).Number(20, point.y);
    out.Integer(97, 0);
}

}  // namespace

std::string ValidLayerName(std::string_view name) {
    constexpr std::string_view kForbidden = "<>/\\\":;?*|=',`";
    std::string valid;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool bad =
            byte < 0x20 || byte == 0x7f || kForbidden.find(c) != std::string_view::npos;
        valid += bad ? '_' : c;
    }
    return valid.empty() ? "_" : valid;
}

DxfDocument::DxfDocument(int insertionUnits) : insertionUnits_(insertionUnits) {}

void DxfDocument::AddLineType(LineType lineType) { lineTypes_.push_back(std::move(lineType)); }

void DxfDocument::AddLayer(LayerStyle layer) { layers_.push_back(std::move(layer)); }

void DxfDocument::SetTextStyle(std::string name, std::string fontFile) {
    styleName_ = std::move(name);
    fontFile_ = std::move(fontFile);
}

void DxfDocument::Extend(DrawingPoint point) {
    if (!haveExtent_) {
        low_ = high_ = point;
        haveExtent_ = true;
        return;
    }
    low_ = {std::min(low_.x, point.x), std::min(low_.y, point.y)};
    high_ = {std::max(high_.x, point.x), std::max(high_.y, point.y)};
}

void DxfDocument::AddPolyline(const std::string& layer, const std::vector<DrawingPoint>& points,
                              bool closed, const std::optional<std::string>& lineType) {
    if (points.size() < 2) return;
    Groups out;
    out.Text(100, "AcDbEntity").Text(8, layer);
    if (lineType) out.Text(6, *lineType);
    out.Text(100, "AcDbPolyline").Integer(90, static_cast<long long>(points.size()));
    out.Integer(70, closed ? 1 : 0);
    for (const DrawingPoint& point : points) {
        out.Number(10, point.x).Number(20, point.y);
        Extend(point);
    }
    entities_.push_back({"LWPOLYLINE", out.Take()});
}

void DxfDocument::AddCircle(const std::string& layer, DrawingPoint centre, double radius,
                            std::optional<int> colour) {
    Groups out;
    out.Text(100, "AcDbEntity").Text(8, layer);
    if (colour) out.Integer(62, *colour);
    out.Text(100, "AcDbCircle").Point(10, centre).Number(40, radius);
    Extend({centre.x - radius, centre.y - radius});
    Extend({centre.x + radius, centre.y + radius});
    entities_.push_back({"CIRCLE", out.Take()});
}

void DxfDocument::AddText(const std::string& layer, DrawingPoint at, double height,
                          std::string_view text, std::optional<int> colour) {
    Groups out;
    out.Text(100, "AcDbEntity").Text(8, layer);
    if (colour) out.Integer(62, *colour);
    // Centred on `at` (72 = 1 centre, 73 = 2 middle): the alignment point
    // (11) decides, the insertion point (10) is only a hint.
    out.Text(100, "AcDbText").Point(10, at).Number(40, height).Text(1, OneLine(text));
    out.Text(7, styleName_).Integer(72, 1).Point(11, at);
    out.Text(100, "AcDbText").Integer(73, 2);
    Extend(at);
    entities_.push_back({"TEXT", out.Take()});
}

void DxfDocument::AddHatch(const std::string& layer, const HatchRings& rings, const HatchFill& fill,
                           std::optional<int> colour) {
    std::vector<const HatchRing*> usable;
    for (const HatchRing& ring : rings) {
        if (ring.points.size() >= 3) usable.push_back(&ring);
    }
    if (usable.empty()) return;
    Groups out;
    out.Text(100, "AcDbEntity").Text(8, layer);
    if (colour) out.Integer(62, *colour);
    out.Text(100, "AcDbHatch").Point(10, {0.0, 0.0});
    out.Number(210, 0.0).Number(220, 0.0).Number(230, 1.0);
    out.Text(2, fill.solid ? "SOLID" : "_USER").Integer(70, fill.solid ? 1 : 0).Integer(71, 0);
    out.Integer(91, static_cast<long long>(usable.size()));
    for (const HatchRing* ring : usable) {
        HatchPath(out, ring->points, ring->outer);
        for (const DrawingPoint& point : ring->points) Extend(point);
    }
    // 75 = 0: odd parity, so holes stay empty.
    out.Integer(75, 0).Integer(76, fill.solid ? 1 : 0);
    if (!fill.solid) {
        out.Number(52, fill.angle).Number(41, fill.spacing).Integer(77, fill.crossed ? 1 : 0);
        out.Integer(78, fill.crossed ? 2 : 1);
        for (int set = 0; set < (fill.crossed ? 2 : 1); ++set) {
            const double angle = fill.angle + 90.0 * set;
            const double radians = angle * std::numbers::pi / 180.0;
            // Lines through a corner of the area: a base point at the
            // drawing's origin, far from a plan in national grid millimetres,
            // costs renderers their precision.
            const DrawingPoint base = usable.front()->points.front();
            out.Number(53, angle).Number(43, base.x).Number(44, base.y);
            out.Number(45, -fill.spacing * std::sin(radians));
            out.Number(46, fill.spacing * std::cos(radians)).Integer(79, 0);
        }
    }
    out.Integer(98, 0);
    entities_.push_back({"HATCH", out.Take()});
}

std::string DxfDocument::Bytes() const {
    Handles handles;
    Groups tables;
    const unsigned blockTable = handles.Next();
    const unsigned modelRecord = handles.Next();
    const unsigned paperRecord = handles.Next();

    // The viewport the drawing opens in: all of it.
    const DrawingPoint low = haveExtent_ ? low_ : DrawingPoint{0.0, 0.0};
    const DrawingPoint high = haveExtent_ ? high_ : DrawingPoint{1.0, 1.0};
    const double viewHeight = std::max({(high.y - low.y) * 1.1, (high.x - low.x) * 0.75, 1.0});
    const DrawingPoint middle{(low.x + high.x) / 2.0, (low.y + high.y) / 2.0};

    tables.Text(0, "SECTION").Text(2, "TABLES");
    {
        const unsigned table = handles.Next();
        OpenTable(tables, "VPORT", table, 1);
        OpenEntry(tables, "VPORT", handles.Next(), table, "AcDbViewportTableRecord", "*Active");
        tables.Number(10, 0.0).Number(20, 0.0).Number(11, 1.0).Number(21, 1.0);
        tables.Number(12, middle.x).Number(22, middle.y).Number(13, 0.0).Number(23, 0.0);
        tables.Number(14, 1.0).Number(24, 1.0).Number(15, 1.0).Number(25, 1.0);
        tables.Number(16, 0.0).Number(26, 0.0).Number(36, 1.0);
        tables.Number(17, 0.0).Number(27, 0.0).Number(37, 0.0);
        tables.Number(40, viewHeight).Number(41, 1.5).Number(42, 50.0);
        tables.Text(0, "ENDTAB");
    }
    {
        const unsigned table = handles.Next();
        OpenTable(tables, "LTYPE", table, 3 + lineTypes_.size());
        for (const char* name : {"ByBlock", "ByLayer", "Continuous"}) {
            LineTypeEntry(tables, handles, table,
                          {name, name == std::string_view("Continuous") ? "Solid line" : "", {}});
        }
        for (const LineType& type : lineTypes_) LineTypeEntry(tables, handles, table, type);
        tables.Text(0, "ENDTAB");
    }
    {
        const unsigned table = handles.Next();
        OpenTable(tables, "LAYER", table, 1 + layers_.size());
        std::vector<LayerStyle> all{{"0", 7, "Continuous", -3}};
        all.insert(all.end(), layers_.begin(), layers_.end());
        for (const LayerStyle& layer : all) {
            OpenEntry(tables, "LAYER", handles.Next(), table, "AcDbLayerTableRecord", layer.name);
            tables.Integer(62, layer.colour).Text(6, layer.lineType).Integer(370, layer.lineWeight);
        }
        tables.Text(0, "ENDTAB");
    }
    {
        const unsigned table = handles.Next();
        const bool ownStyle = styleName_ != "Standard";
        OpenTable(tables, "STYLE", table, ownStyle ? 2 : 1);
        std::vector<std::pair<std::string, std::string>> styles{{"Standard", "txt"}};
        if (ownStyle) styles.emplace_back(styleName_, fontFile_);
        for (const auto& [name, font] : styles) {
            OpenEntry(tables, "STYLE", handles.Next(), table, "AcDbTextStyleTableRecord", name);
            tables.Number(40, 0.0).Number(41, 1.0).Number(50, 0.0).Integer(71, 0);
            tables.Number(42, 2.5).Text(3, font).Text(4, "");
        }
        tables.Text(0, "ENDTAB");
    }
    for (const char* empty : {"VIEW", "UCS"}) {
        OpenTable(tables, empty, handles.Next(), 0);
        tables.Text(0, "ENDTAB");
    }
    {
        const unsigned table = handles.Next();
        OpenTable(tables, "APPID", table, 1);
        OpenEntry(tables, "APPID", handles.Next(), table, "AcDbRegAppTableRecord", "ACAD");
        tables.Text(0, "ENDTAB");
    }
    {
        const unsigned table = handles.Next();
        OpenTable(tables, "DIMSTYLE", table, 1, "AcDbDimStyleTable");
        OpenEntry(tables, "DIMSTYLE", handles.Next(), table, "AcDbDimStyleTableRecord", "Standard",
                  105);
        tables.Text(0, "ENDTAB");
    }
    OpenTable(tables, "BLOCK_RECORD", blockTable, 2);
    OpenEntry(tables, "BLOCK_RECORD", modelRecord, blockTable, "AcDbBlockTableRecord",
              "*Model_Space");
    OpenEntry(tables, "BLOCK_RECORD", paperRecord, blockTable, "AcDbBlockTableRecord",
              "*Paper_Space");
    tables.Text(0, "ENDTAB").Text(0, "ENDSEC");

    Groups blocks;
    blocks.Text(0, "SECTION").Text(2, "BLOCKS");
    for (const auto& [record, name] :
         {std::pair{modelRecord, "*Model_Space"}, std::pair{paperRecord, "*Paper_Space"}}) {
        blocks.Text(0, "BLOCK").Handle(5, handles.Next()).Handle(330, record);
        blocks.Text(100, "AcDbEntity");
        if (record == paperRecord) blocks.Integer(67, 1);
        blocks.Text(8, "0").Text(100, "AcDbBlockBegin").Text(2, name).Integer(70, 0);
        blocks.Point(10, {0.0, 0.0}).Text(3, name).Text(1, "");
        blocks.Text(0, "ENDBLK").Handle(5, handles.Next()).Handle(330, record);
        blocks.Text(100, "AcDbEntity");
        if (record == paperRecord) blocks.Integer(67, 1);
        blocks.Text(8, "0").Text(100, "AcDbBlockEnd");
    }
    blocks.Text(0, "ENDSEC");

    Groups entities;
    entities.Text(0, "SECTION").Text(2, "ENTITIES");
    for (const Body& body : entities_) {
        entities.Text(0, body.type).Handle(5, handles.Next()).Handle(330, modelRecord);
        entities.Append(body.groups);
    }
    entities.Text(0, "ENDSEC");

    Groups objects;
    const unsigned root = handles.Next();
    const unsigned groups = handles.Next();
    objects.Text(0, "SECTION").Text(2, "OBJECTS");
    objects.Text(0, "DICTIONARY").Handle(5, root).Text(330, "0").Text(100, "AcDbDictionary");
    objects.Integer(281, 1).Text(3, "ACAD_GROUP").Handle(350, groups);
    objects.Text(0, "DICTIONARY").Handle(5, groups).Handle(330, root);
    objects.Text(100, "AcDbDictionary").Integer(281, 1);
    objects.Text(0, "ENDSEC");

    Groups header;
    header.Text(0, "SECTION").Text(2, "HEADER");
    header.Text(9, "$ACADVER").Text(1, "AC1024");
    header.Text(9, "$DWGCODEPAGE").Text(3, "ANSI_936");
    header.Text(9, "$INSBASE").Point(10, {0.0, 0.0});
    header.Text(9, "$EXTMIN").Point(10, low);
    header.Text(9, "$EXTMAX").Point(10, high);
    header.Text(9, "$LTSCALE").Number(40, 1.0);
    header.Text(9, "$TEXTSTYLE").Text(7, styleName_);
    header.Text(9, "$MEASUREMENT").Integer(70, 1);
    header.Text(9, "$INSUNITS").Integer(70, insertionUnits_);
    header.Text(9, "$HANDSEED").Handle(5, handles.Seed());
    header.Text(0, "ENDSEC");
    header.Text(0, "SECTION").Text(2, "CLASSES").Text(0, "ENDSEC");

    Groups end;
    end.Text(0, "EOF");
    return header.Take() + tables.Take() + blocks.Take() + entities.Take() + objects.Take() +
           end.Take();
}

}  // namespace quorvel::project::dxf
