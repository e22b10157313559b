#pragma once
// The results' 现行导则 tab on Win32: the protection distance, its deciding
// pollutant, the area and the exceeding sides on a line, the table per
// pollutant (with each one's note) and the receptors' table.

#include <windows.h>

#include <optional>

#include "ui/core/field_results_view.h"

namespace quorvel {

class FieldResultsPane {
  public:
    // Creates the controls as children of `parent` with the identifiers
    // summaryId, pollutantsId and receptorsId, hidden.
    void Create(HINSTANCE instance, HWND parent, HFONT font, int summaryId, int pollutantsId,
                int receptorsId);
    // Places the controls in `area` (parent's client pixels); `gap` pixels
    // between them, `lineHeight` pixels a line of the summary.
    void Layout(const RECT& area, int gap, int lineHeight);
    void SetVisible(bool visible);
    // The field's tables and summary; null: none yet.
    void Show(const FieldResultsView* field);
    // What Ctrl+C copies when `focus` is one of the pane's lists (header and
    // selected rows, or the whole list), from `field`; nullopt otherwise.
    std::optional<CellBlock> CopyOf(HWND focus, const FieldResultsView& field) const;

  private:
    HWND summary_ = nullptr, pollutants_ = nullptr, receptors_ = nullptr;
};

}  // namespace quorvel
