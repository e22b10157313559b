#include "ui/core/twips.h"

#include <cmath>

namespace quorvel {

int TwipsToPixels(int twips, int dpi) {
    return static_cast<int>(std::lround(twips * static_cast<double>(dpi) / 1440.0));
}

PixelRect ToPixels(const TwipsRect& twips, int dpi) {
    const int x = TwipsToPixels(twips.left, dpi);
    const int y = TwipsToPixels(twips.top, dpi);
    return {x, y, TwipsToPixels(twips.left + twips.width, dpi) - x,
            TwipsToPixels(twips.top + twips.height, dpi) - y};
}

TwipsRect WindowTwips(const ControlDesign& control) {
    TwipsRect rect = control.twips;
    if (control.container != "Form1") {
        const TwipsRect frame = Design(control.container).twips;
        rect.left += frame.left;
        rect.top += frame.top;
    }
    return rect;
}

}  // namespace quorvel
