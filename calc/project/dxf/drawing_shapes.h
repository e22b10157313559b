#pragma once
// The drawing's model space as flat shapes in world coordinates (drawing
// units): blocks expanded through their INSERTs (nested, mirrored, an entity
// on layer 0 taking its INSERT's layer), arcs and bulges turned into short
// straight segments, each shape on the layer it is drawn on.

#include <functional>
#include <string>
#include <vector>

#include "calc/project/dxf/dxf_drawing.h"
#include "calc/project/dxf/placement.h"
#include "calc/result.h"

namespace quorvel::project::dxf {

enum class ShapeKind {
    Outline,  // a closed polyline: `points` without a closing vertex
    Path,     // an open line or arc: `points` in order
    Circle,   // `centre`, `radius`, and `points` around it
    Point,    // a POINT at `points[0]`
    Insert,   // an INSERT's insertion point `points[0]`, `text` its first attribute's value
    Text,     // TEXT, MTEXT or ATTRIB at `points[0]`
};

struct Shape {
    ShapeKind kind = ShapeKind::Path;
    std::string layer;
    std::vector<DrawingPoint> points;
    DrawingPoint centre;      // Circle
    double radius = 0.0;      // Circle: the mean radius after the block's scale
    std::string text;         // Text; Insert: the first attribute that is not empty
    double textHeight = 0.0;  // Text, drawing units
    // Outline: its vertices are the entity's own, no arc was flattened into it.
    bool cornersExact = false;
    // The entity for messages: "第 12 行的 LWPOLYLINE（句柄 2F）", and the
    // INSERT that placed it when it lies in a block.
    std::u16string place;
    // The layers of the INSERTs it lies in, outermost first.
    std::vector<std::string> insertLayers;
};

struct ShapeSettings {
    // The largest distance (drawing units, > 0) of a flattened arc's
    // segments from the arc.
    double arcTolerance = 100.0;
    // Polyline ends closer than this (drawing units) close the polyline.
    double closeTolerance = 1.0;
};

// An entity of model space or of a block, where it lies and on which layer.
struct PlacedEntity {
    const Entity& entity;
    const Placement& blockPlacement;  // from the entity's coordinates (before its OCS) to the WCS
    const std::string& layer;         // the layer it is drawn on
    const std::vector<std::string>& insertLayers;
    const std::u16string& insertPlace;  // empty in model space
};

// Calls `visit` for each entity of model space and, after each INSERT, for
// the entities of its block; fails for a block that inserts itself, nesting
// deeper than 16 blocks or a drawing that expands into too many entities.
Status VisitEntities(const Drawing& drawing, const std::function<void(const PlacedEntity&)>& visit);

// The shapes of the drawing, in the order of its entities.
Result<std::vector<Shape>> DrawingShapes(const Drawing& drawing, const ShapeSettings& settings);

// The points of an arc around `centre` of `radius` from `startDeg` turning
// by `sweepDeg` (counter-clockwise when positive), both ends included, no
// point further than `tolerance` from the arc.
std::vector<DrawingPoint> ArcPoints(DrawingPoint centre, double radius, double startDeg,
                                    double sweepDeg, double tolerance);

}  // namespace quorvel::project::dxf
