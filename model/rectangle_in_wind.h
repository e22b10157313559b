#pragma once

#include <array>

namespace quorvel {

// A rectangle centred at the origin, its larger side turned by angle_deg
// (0 to 90 degrees) from the wind. Positions are measured along the wind
// (s, downwind positive) and across it (y).
class RectangleInWind {
  public:
    RectangleInWind(double larger_side, double smaller_side, double angle_deg);

    // The angle in 0 to 90 degrees that sees the rectangle the same way as
    // angle_deg: a rectangle looks alike from opposite and mirrored directions.
    static double FoldAngle(double angle_deg);

    struct Span {
        double low = 0.0;
        double high = 0.0;
        bool empty = true;
    };

    // The crosswind extent of the rectangle on the line at along-wind position s.
    Span CrosswindChord(double s) const;

    // Along-wind positions of the four corners.
    std::array<double, 4> CornerPositions() const;

    // Half the length of the wind line through the centre that lies inside.
    double CentrelineHalfLength() const;

    // The along-wind extent of the rectangle on the wind line at crosswind
    // position y (m); empty where that line misses it.
    Span WindLineSpan(double y) const;

    // Upwind and downwind ends of the rectangle along the wind.
    double AlongWindHalfExtent() const;

  private:
    double a_;  // half of the larger side
    double b_;  // half of the smaller side
    double cos_;
    double sin_;
};

}  // namespace quorvel
