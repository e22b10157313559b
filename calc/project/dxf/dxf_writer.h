#pragma once
// Writing a DXF drawing: the tables, handles and group codes of an ASCII
// DXF R2010 file (AC1024), with its few kinds of entities in model space.
//
// Why R2010: it is the oldest version whose texts are UTF-8 whatever the
// code page (2007 and later), so Chinese names need no \U+ escapes, and every
// CAD program from 2010 on opens it; a newer version would add nothing that
// these plain lines, circles, hatches and texts use.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/project/dxf/dxf_drawing.h"

namespace quorvel::project::dxf {

// A line type: its elements in drawing units, > 0 a dash, < 0 a gap, 0 a dot.
struct LineType {
    std::string name;
    std::string description;
    std::vector<double> pattern;
};

struct LayerStyle {
    std::string name;      // a valid layer name (see ValidLayerName)
    int colour = 7;        // the AutoCAD colour index, 1 to 255
    std::string lineType;  // "Continuous" or the name of an added line type
    int lineWeight = -3;   // hundredths of a millimetre; -3 the default
};

// A hatch of parallel lines `spacing` (drawing units, > 0) apart at `angle`
// (degrees counter-clockwise from the x axis); `crossed` adds a second set at
// right angles. `solid` fills instead.
struct HatchFill {
    double angle = 45.0;
    double spacing = 1.0;
    bool crossed = false;
    bool solid = false;
};

// A ring of an area to hatch, without a closing vertex: an outer ring or a
// hole (the hatch alternates inside and outside at each ring it crosses).
struct HatchRing {
    std::vector<DrawingPoint> points;
    bool outer = true;
};
using HatchRings = std::vector<HatchRing>;

// A layer name that CAD programs accept: each of < > / \ " : ; ? * | = ' ,
// ` and every control character replaced by "_"; "_" for an empty name.
std::string ValidLayerName(std::string_view name);

// One drawing, built up and then written out whole.
class DxfDocument {
  public:
    // `insertionUnits`: $INSUNITS, 4 mm, 5 cm, 6 m.
    explicit DxfDocument(int insertionUnits);

    void AddLineType(LineType lineType);
    void AddLayer(LayerStyle layer);
    // The text style every text uses: its name and its font file (a TrueType
    // file name such as "simsun.ttc").
    void SetTextStyle(std::string name, std::string fontFile);

    // Entities on `layer` (a layer added before). Coordinates in drawing units.
    // `colour` (1 to 255) and `lineType` override the layer's when given.
    void AddPolyline(const std::string& layer, const std::vector<DrawingPoint>& points, bool closed,
                     const std::optional<std::string>& lineType = std::nullopt);
    void AddCircle(const std::string& layer, DrawingPoint centre, double radius,
                   std::optional<int> colour = std::nullopt);
    // A one-line text centred on `at`, `height` drawing units high. Line
    // breaks and other control characters become spaces.
    void AddText(const std::string& layer, DrawingPoint at, double height, std::string_view text,
                 std::optional<int> colour = std::nullopt);
    // Nothing for no rings.
    void AddHatch(const std::string& layer, const HatchRings& rings, const HatchFill& fill,
                  std::optional<int> colour = std::nullopt);

    // The whole file, UTF-8 with CR LF line ends.
    std::string Bytes() const;

  private:
    struct Body {
        std::string type;
        std::string groups;  // after the handle and the owner
    };

    int insertionUnits_;
    std::vector<LineType> lineTypes_;
    std::vector<LayerStyle> layers_;
    std::string styleName_ = "Standard";
    std::string fontFile_ = "txt";
    std::vector<Body> entities_;
    DrawingPoint low_{0.0, 0.0};
    DrawingPoint high_{0.0, 0.0};
    bool haveExtent_ = false;

    void Extend(DrawingPoint point);
};

}  // namespace quorvel::project::dxf
