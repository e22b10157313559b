#pragma once
// A DXF drawing as read from its file, before any block is expanded: the
// header values the import needs, the layer table, the blocks and the
// entities of model space. Coordinates are in drawing units and, where the
// format says so, in the entity's object coordinate system (OCS); texts are
// UTF-8 with the file's escapes and formatting codes resolved.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::project::dxf {

struct DrawingPoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const DrawingPoint&, const DrawingPoint&) = default;
};

struct Direction {
    double x = 0.0;
    double y = 0.0;
    double z = 1.0;
};

// A vertex of a polyline; `bulge` = tan(a / 4) of the arc of angle a from
// this vertex to the next, positive counter-clockwise; 0 for a straight side.
struct PolylineVertex {
    DrawingPoint at;
    double bulge = 0.0;
};

enum class EntityKind {
    Line,
    Arc,
    Circle,
    Point,
    LwPolyline,
    Polyline,  // the 2D polyline of the older format, with its vertices
    Insert,    // also MINSERT, with `columns` x `rows`
    Text,
    MText,
    Attrib,
    Other,  // kept only for the layer overview
};

struct Entity {
    EntityKind kind = EntityKind::Other;
    std::string type;    // the DXF entity name, e.g. "LWPOLYLINE"
    std::string layer;   // as the file spells it; "0" when it names none
    int line = 0;        // the line of the entity's first group code, from 1
    std::string handle;  // may be empty (R12 files without handles)
    Direction extrusion;

    // Line: the two ends (WCS). Polylines: the vertices (OCS). Point (WCS),
    // Insert, Text, Attrib (OCS), MText (WCS): the one point where it sits.
    std::vector<PolylineVertex> vertices;
    bool closed = false;     // polylines
    double elevation = 0.0;  // polylines, arcs and circles: the OCS z of their plane

    // Arc and Circle (OCS); angles in degrees counter-clockwise from the OCS x axis.
    DrawingPoint centre;
    double radius = 0.0;
    double startAngle = 0.0;
    double endAngle = 360.0;

    // Insert: the block, its scale, rotation (degrees) and the MINSERT grid.
    std::string block;
    double scaleX = 1.0;
    double scaleY = 1.0;
    double rotation = 0.0;
    int columns = 1;
    int rows = 1;
    double columnSpacing = 0.0;
    double rowSpacing = 0.0;
    std::vector<Entity> attributes;  // the ATTRIBs that follow an INSERT

    // Text, MText, Attrib: one line of text (MTEXT paragraphs joined by a blank).
    std::string text;
    double textHeight = 0.0;  // drawing units
    std::string tag;          // Attrib
};

struct Layer {
    std::string name;
    bool frozen = false;
    bool off = false;  // a negative colour number
};

struct Block {
    std::string name;
    DrawingPoint base;
    std::vector<Entity> entities;
};

struct Drawing {
    std::string version;                // $ACADVER, e.g. "AC1009"; empty when the header has none
    std::optional<int> insertionUnits;  // $INSUNITS
    std::vector<Layer> layers;          // in the order of the layer table
    // By the name in capitals (block names are not case-sensitive).
    std::map<std::string, Block> blocks;
    std::vector<Entity> entities;  // model space, in file order
};

// The name in ASCII capitals: how layer and block names are compared.
std::string NameKey(std::string_view name);

// The entity for messages: "第 12 行的 LWPOLYLINE（句柄 2F）".
std::u16string EntityPlace(const Entity& entity);

}  // namespace quorvel::project::dxf
