#include "calc/project/dxf/dxf_reader.h"

#include <cerrno>
#include <cmath>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "calc/error_reason.h"
#include "calc/project/dxf/dxf_groups.h"
#include "calc/project/dxf/dxf_text.h"
#include "calc/unicode_text.h"

namespace quorvel::project::dxf {
namespace {

// Why the drawing cannot be used, thrown while reading and caught by ReadDrawing.
struct DrawingFault {
    std::u16string text;
};

[[noreturn]] void Refuse(std::u16string text) { throw DrawingFault{std::move(text)}; }

std::u16string Number(long long number) { return FromUtf8(std::to_string(number)); }

constexpr std::pair<std::string_view, EntityKind> kKinds[] = {
    {"LINE", EntityKind::Line},
    {"ARC", EntityKind::Arc},
    {"CIRCLE", EntityKind::Circle},
    {"POINT", EntityKind::Point},
    {"LWPOLYLINE", EntityKind::LwPolyline},
    {"POLYLINE", EntityKind::Polyline},
    {"INSERT", EntityKind::Insert},
    {"MINSERT", EntityKind::Insert},
    {"TEXT", EntityKind::Text},
    {"MTEXT", EntityKind::MText},
    {"ATTRIB", EntityKind::Attrib},
};

EntityKind KindOf(std::string_view type) {
    for (const auto& [name, kind] : kKinds) {
        if (name == type) return kind;
    }
    return EntityKind::Other;
}

class Reader {
  public:
    explicit Reader(const std::vector<Group>& groups) : groups_(groups) {}

    Drawing Read() {
        while (at_ < groups_.size()) {
            const Group& group = groups_[at_];
            if (group.code == 0 && group.value == "EOF") break;
            if (group.code == 999) {
                ++at_;
                continue;
            }
            if (group.code != 0 || group.value != "SECTION") {
                Refuse(Line(group) + u"应为段的开始（0 SECTION），却是组码 " + Number(group.code) +
                       u" " + Shown(group.value));
            }
            ++at_;
            if (at_ >= groups_.size() || groups_[at_].code != 2) {
                Refuse(Line(group) + u"：段没有名字（组码 2）");
            }
            const std::string_view name = groups_[at_++].value;
            if (name == "HEADER") {
                ReadHeader();
            } else if (name == "TABLES") {
                ReadTables();
            } else if (name == "BLOCKS") {
                ReadBlocks();
            } else if (name == "ENTITIES") {
                ReadEntities(drawing_.entities, "ENDSEC");
                SkipTo("ENDSEC");
            } else {
                SkipTo("ENDSEC");
            }
            if (at_ < groups_.size()) ++at_;  // ENDSEC
        }
        return std::move(drawing_);
    }

  private:
    static std::u16string Line(const Group& group) { return u"第 " + Number(group.line) + u" 行"; }

    static std::u16string Shown(std::string_view value) {
        return u"“" + FromUtf8(value.substr(0, 40)) + u"”";
    }

    bool AtCode0(std::string_view value) const {
        return at_ < groups_.size() && groups_[at_].code == 0 && groups_[at_].value == value;
    }

    // Moves to the next group 0 with `value` (or EOF), staying on it.
    void SkipTo(std::string_view value) {
        while (at_ < groups_.size() && !AtCode0(value) && !AtCode0("EOF")) ++at_;
        if (!AtCode0(value)) {
            Refuse(u"文件在第 " + Number(groups_.back().line) + u" 行之前缺少 " +
                   FromUtf8(std::string(value)) + u"，文件不完整");
        }
    }

    std::string Text(std::string_view bytes) const { return DecodeValue(bytes, encoding_); }

    void ReadHeader() {
        std::string codePage;
        std::string variable;
        for (; at_ < groups_.size() && groups_[at_].code != 0; ++at_) {
            const Group& group = groups_[at_];
            if (group.code == 9) {
                variable = std::string(group.value);
            } else if (variable == "$ACADVER" && group.code == 1) {
                drawing_.version = std::string(group.value);
            } else if (variable == "$DWGCODEPAGE" && group.code == 3) {
                codePage = std::string(group.value);
            } else if (variable == "$INSUNITS" && group.code == 70) {
                const Result<int> units = GroupInteger(group);
                if (!units) Refuse(units.error());
                drawing_.insertionUnits = units.value();
            }
        }
        encoding_ = EncodingOf(drawing_.version, codePage);
        SkipTo("ENDSEC");
    }

    void ReadTables() {
        while (at_ < groups_.size() && !AtCode0("ENDSEC") && !AtCode0("EOF")) {
            if (!AtCode0("LAYER")) {
                ++at_;
                continue;
            }
            const Group& start = groups_[at_++];
            Layer layer;
            bool named = false;
            for (; at_ < groups_.size() && groups_[at_].code != 0; ++at_) {
                const Group& group = groups_[at_];
                if (group.code == 2) {
                    layer.name = Text(group.value);
                    named = true;
                } else if (group.code == 70) {
                    const Result<int> flags = GroupInteger(group);
                    if (!flags) Refuse(flags.error());
                    layer.frozen = (flags.value() & 1) != 0;
                } else if (group.code == 62) {
                    const Result<int> colour = GroupInteger(group);
                    if (!colour) Refuse(colour.error());
                    layer.off = colour.value() < 0;
                }
            }
            if (!named) Refuse(Line(start) + u"的图层没有名字（组码 2）");
            drawing_.layers.push_back(std::move(layer));
        }
        SkipTo("ENDSEC");
    }

    void ReadBlocks() {
        while (at_ < groups_.size() && !AtCode0("ENDSEC") && !AtCode0("EOF")) {
            if (!AtCode0("BLOCK")) {
                ++at_;
                continue;
            }
            const Group& start = groups_[at_++];
            Block block;
            bool named = false;
            for (; at_ < groups_.size() && groups_[at_].code != 0; ++at_) {
                const Group& group = groups_[at_];
                if (group.code == 2) {
                    block.name = Text(group.value);
                    named = true;
                } else if (group.code == 10) {
                    block.base.x = NumberOf(group, nullptr);
                } else if (group.code == 20) {
                    block.base.y = NumberOf(group, nullptr);
                }
            }
            if (!named) Refuse(Line(start) + u"的块没有名字（组码 2）");
            ReadEntities(block.entities, "ENDBLK");
            SkipTo("ENDBLK");
            ++at_;
            drawing_.blocks.insert_or_assign(NameKey(block.name), std::move(block));
        }
        SkipTo("ENDSEC");
    }

    double NumberOf(const Group& group, const Entity* entity) const {
        const Result<double> number = GroupNumber(group);
        if (!number) {
            Refuse(entity == nullptr ? number.error()
                                     : number.error() + u"（" + EntityPlace(*entity) + u"）");
        }
        return number.value();
    }

    int IntegerOf(const Group& group, const Entity& entity) const {
        const Result<int> number = GroupInteger(group);
        if (!number) Refuse(number.error() + u"（" + EntityPlace(entity) + u"）");
        return number.value();
    }

    // The entities up to the group 0 `end` (not read), in `into`; those of
    // paper space are left out.
    void ReadEntities(std::vector<Entity>& into, std::string_view end) {
        while (at_ < groups_.size() && !AtCode0(end) && !AtCode0("EOF") && !AtCode0("ENDSEC")) {
            if (groups_[at_].code != 0) {
                ++at_;
                continue;
            }
            bool paperSpace = false;
            Entity entity = ReadEntity(paperSpace);
            if (entity.kind == EntityKind::Polyline) {
                while (AtCode0("VERTEX")) {
                    bool ignored = false;
                    Entity vertex = ReadEntity(ignored);
                    if (!vertex.vertices.empty())
                        entity.vertices.push_back(vertex.vertices.front());
                }
                if (AtCode0("SEQEND")) ReadEntity(paperSpace);
            } else if (entity.kind == EntityKind::Insert) {
                while (AtCode0("ATTRIB")) {
                    bool ignored = false;
                    entity.attributes.push_back(ReadEntity(ignored));
                }
                if (AtCode0("SEQEND")) ReadEntity(paperSpace);
            }
            if (!paperSpace && entity.type != "SEQEND" && entity.type != "VERTEX" &&
                entity.type != "ATTDEF") {
                into.push_back(std::move(entity));
            }
        }
    }

    // One entity's groups, from its group 0 to before the next group 0.
    Entity ReadEntity(bool& paperSpace) {
        const Group& start = groups_[at_++];
        Entity entity;
        entity.type = std::string(start.value);
        entity.kind = KindOf(entity.type);
        entity.line = start.line;
        entity.layer = "0";
        const bool isVertex = entity.type == "VERTEX";
        std::string chunks;        // MTEXT's text before its last part
        bool secondPoint = false;  // TEXT and ATTRIB: placed by their alignment point
        DrawingPoint alignment;
        std::size_t spline = 0;  // VERTEX: a frame point of a spline fit, not drawn
        for (; at_ < groups_.size() && groups_[at_].code != 0; ++at_) {
            const Group& group = groups_[at_];
            const int code = group.code;
            if (code == 8) {
                entity.layer = Text(group.value);
            } else if (code == 5) {
                entity.handle = std::string(group.value.substr(0, 16));
            } else if (code == 67) {
                paperSpace = IntegerOf(group, entity) == 1;
            } else if (code == 210) {
                entity.extrusion.x = NumberOf(group, &entity);
            } else if (code == 220) {
                entity.extrusion.y = NumberOf(group, &entity);
            } else if (code == 230) {
                entity.extrusion.z = NumberOf(group, &entity);
            } else {
                ReadMember(entity, group, chunks, secondPoint, alignment, spline);
            }
        }
        if (isVertex && spline != 0) entity.vertices.clear();
        if (entity.kind == EntityKind::MText) entity.text = PlainMText(Text(chunks + entity.text));
        if (entity.kind == EntityKind::Text || entity.kind == EntityKind::Attrib) {
            entity.text = PlainText(Text(entity.text));
            if (secondPoint) {
                if (entity.vertices.empty()) entity.vertices.emplace_back();
                entity.vertices.front().at = alignment;
            }
        }
        const double length =
            std::hypot(entity.extrusion.x, entity.extrusion.y, entity.extrusion.z);
        if (!(length > 1e-12)) Refuse(EntityPlace(entity) + u"的拉伸方向（组码 210/220/230）为零");
        return entity;
    }

    void ReadMember(Entity& entity, const Group& group, std::string& chunks, bool& secondPoint,
                    DrawingPoint& alignment, std::size_t& spline) {
        const int code = group.code;
        std::vector<PolylineVertex>& vertices = entity.vertices;
        const auto point = [&](std::size_t index) -> PolylineVertex& {
            if (vertices.size() <= index) vertices.resize(index + 1);
            return vertices[index];
        };
        switch (entity.kind) {
            case EntityKind::LwPolyline:
                if (code == 10) {
                    vertices.push_back(PolylineVertex{{NumberOf(group, &entity), 0.0}, 0.0});
                } else if (code == 20 && !vertices.empty()) {
                    vertices.back().at.y = NumberOf(group, &entity);
                } else if (code == 42 && !vertices.empty()) {
                    vertices.back().bulge = NumberOf(group, &entity);
                } else if (code == 70) {
                    entity.closed = (IntegerOf(group, entity) & 1) != 0;
                } else if (code == 38) {
                    entity.elevation = NumberOf(group, &entity);
                }
                return;
            case EntityKind::Polyline:
                if (code == 70) {
                    const int flags = IntegerOf(group, entity);
                    entity.closed = (flags & 1) != 0;
                    // 3D polylines, meshes and polyface meshes are not plan outlines.
                    if ((flags & (8 | 16 | 64)) != 0) {
                        entity.kind = EntityKind::Other;
                        entity.type = "POLYLINE(3D)";
                    }
                } else if (code == 30) {
                    entity.elevation = NumberOf(group, &entity);
                }
                return;
            case EntityKind::Line:
                if (code == 10 || code == 11)
                    point(static_cast<std::size_t>(code - 10)).at.x = NumberOf(group, &entity);
                if (code == 20 || code == 21)
                    point(static_cast<std::size_t>(code - 20)).at.y = NumberOf(group, &entity);
                return;
            case EntityKind::Arc:
            case EntityKind::Circle:
                if (code == 10) entity.centre.x = NumberOf(group, &entity);
                if (code == 20) entity.centre.y = NumberOf(group, &entity);
                if (code == 30) entity.elevation = NumberOf(group, &entity);
                if (code == 40) entity.radius = NumberOf(group, &entity);
                if (code == 50) entity.startAngle = NumberOf(group, &entity);
                if (code == 51) entity.endAngle = NumberOf(group, &entity);
                return;
            case EntityKind::Insert:
                if (code == 2) entity.block = Text(group.value);
                if (code == 10) point(0).at.x = NumberOf(group, &entity);
                if (code == 20) point(0).at.y = NumberOf(group, &entity);
                if (code == 30) entity.elevation = NumberOf(group, &entity);
                if (code == 41) entity.scaleX = NumberOf(group, &entity);
                if (code == 42) entity.scaleY = NumberOf(group, &entity);
                if (code == 50) entity.rotation = NumberOf(group, &entity);
                if (code == 70) entity.columns = IntegerOf(group, entity);
                if (code == 71) entity.rows = IntegerOf(group, entity);
                if (code == 44) entity.columnSpacing = NumberOf(group, &entity);
                if (code == 45) entity.rowSpacing = NumberOf(group, &entity);
                return;
            case EntityKind::Text:
            case EntityKind::Attrib:
            case EntityKind::MText:
                if (code == 1) entity.text = std::string(group.value);
                if (code == 3 && entity.kind == EntityKind::MText) chunks += group.value;
                if (code == 2 && entity.kind == EntityKind::Attrib) entity.tag = Text(group.value);
                if (code == 10) point(0).at.x = NumberOf(group, &entity);
                if (code == 20) point(0).at.y = NumberOf(group, &entity);
                if (code == 30) entity.elevation = NumberOf(group, &entity);
                if (code == 40) entity.textHeight = NumberOf(group, &entity);
                if (entity.kind != EntityKind::MText) {
                    if (code == 11) alignment.x = NumberOf(group, &entity);
                    if (code == 21) alignment.y = NumberOf(group, &entity);
                    // Aligned other than left on the base line: group 11 places it.
                    const int vertical = entity.kind == EntityKind::Attrib ? 74 : 73;
                    if ((code == 72 || code == vertical) && IntegerOf(group, entity) != 0) {
                        secondPoint = true;
                    }
                }
                return;
            case EntityKind::Point:
                if (code == 10) point(0).at.x = NumberOf(group, &entity);
                if (code == 20) point(0).at.y = NumberOf(group, &entity);
                return;
            case EntityKind::Other:
                // A VERTEX of a 2D polyline.
                if (entity.type != "VERTEX") return;
                if (code == 10) point(0).at.x = NumberOf(group, &entity);
                if (code == 20) point(0).at.y = NumberOf(group, &entity);
                if (code == 42) point(0).bulge = NumberOf(group, &entity);
                if (code == 70 && (IntegerOf(group, entity) & 16) != 0) spline = 1;
                return;
        }
    }

    const std::vector<Group>& groups_;
    std::size_t at_ = 0;
    TextEncoding encoding_ = TextEncoding::CodePage936;
    Drawing drawing_;
};

}  // namespace

Result<Drawing> ReadDrawing(std::string_view bytes) {
    try {
        const Result<std::vector<Group>> groups = ReadGroups(bytes);
        if (!groups) return Fail(groups.error());
        return Reader(groups.value()).Read();
    } catch (const DrawingFault& fault) {
        return Fail(fault.text);
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法读取图形");
    }
}

Result<Drawing> OpenDrawing(const std::filesystem::path& file) {
    try {
        std::error_code error;
        if (std::filesystem::is_directory(file, error)) {
            return Fail(u"无法打开图形文件: " + PathText(file) + u"（这是文件夹，不是文件）");
        }
        errno = 0;
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            const int cause = errno != 0 ? errno : ENOENT;
            return Fail(u"无法打开图形文件: " + PathText(file) + u"（" +
                        ErrorReason({cause, std::generic_category()}) + u"）");
        }
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (in.bad()) return Fail(u"无法读取图形文件: " + PathText(file));
        Result<Drawing> drawing = ReadDrawing(bytes);
        if (!drawing) return Fail(u"图形文件 " + PathText(file) + u" 不能使用：" + drawing.error());
        return drawing;
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法读取图形文件: " + PathText(file));
    }
}

}  // namespace quorvel::project::dxf
