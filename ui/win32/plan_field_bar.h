#pragma once
// Above the plan: the switch between the current rule and each source's
// control range (图示) and the current rule's pollutant chooser (污染物).

#include <windows.h>

#include <cstddef>
#include <functional>

#include "ui/core/plan_choice.h"

namespace quorvel {

class PlanFieldBar {
  public:
    struct Events {
        std::function<void(PlanShows)> shows;        // the user switched
        std::function<void(std::size_t)> pollutant;  // the user chose the chooser's item
    };

    explicit PlanFieldBar(Events events) : events_(std::move(events)) {}

    // Creates the labels and the two drop-down lists (identifiers showsId and
    // pollutantId) as children of `parent`.
    void Create(HINSTANCE instance, HWND parent, HFONT font, int showsId, int pollutantId);
    // Places the bar from (x, y) at most `width` pixels wide, `height` pixels
    // high; `scale` maps the design's 96-dpi pixels to the window's.
    void Layout(int x, int y, int width, int height, double scale);
    // Shows the switch and the chooser as `choices` says; the user's events
    // are not raised by it.
    void Show(const PlanChoices& choices);
    // A WM_COMMAND from a child: true when it was one of the bar's.
    bool OnCommand(int id, int code);

  private:
    Events events_;
    int showsId_ = -1, pollutantId_ = -1;
    HWND showsLabel_ = nullptr, shows_ = nullptr;
    HWND pollutantLabel_ = nullptr, pollutant_ = nullptr;
};

}  // namespace quorvel
