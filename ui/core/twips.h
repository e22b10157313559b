#pragma once
// Twips (1/1440 inch) to pixels at a screen resolution.

#include "ui/core/form1_design.h"

namespace quorvel {

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// twips: any value; dpi: dots per inch, above 0. Rounded to the nearest pixel.
int TwipsToPixels(int twips, int dpi);

// The rectangle with each edge rounded on its own, so that controls that
// touch in twips touch in pixels.
PixelRect ToPixels(const TwipsRect& twips, int dpi);

// The control's rectangle relative to the window's client area rather than
// to its container.
TwipsRect WindowTwips(const ControlDesign& control);

}  // namespace quorvel
