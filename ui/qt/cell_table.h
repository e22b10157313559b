#pragma once
// A table of cells for the project window: the project's tables (edited in
// place, the unit column picked from a drop-down) and the results tables
// (read only). Ctrl+C and Ctrl+V are handed to the window, which copies and
// pastes in the spreadsheet clipboard format.

#include <QtWidgets/QTableWidget>

#include <cstddef>
#include <optional>

#include "ui/core/project_tables.h"
#include "ui/core/table_clipboard.h"

namespace quorvel {

// The selected cells' bounding rectangle.
struct CellRange {
    std::size_t firstRow = 0;
    std::size_t rowCount = 0;
    std::size_t firstColumn = 0;
    std::size_t columnCount = 0;
};

class CellTable : public QTableWidget {
    Q_OBJECT
  public:
    explicit CellTable(QWidget* parent = nullptr);

    // Sets the column headers; the cells become read only when `readOnly`.
    void setHeaders(const QStringList& headers, bool readOnly);
    // Shows `block` (rows of cells) without emitting cellEdited.
    void showBlock(const CellBlock& block);
    // Marks the cell as unusable with `problem` as its tooltip; an empty
    // problem clears the mark.
    void markCell(int row, int column, const QString& problem);
    // The selection's bounding rectangle; nullopt without a selection.
    std::optional<CellRange> selectedRange() const;
    // Ends an edit going on, so that its text reaches cellEdited.
    void commitEditing();
    // Makes `column` a drop-down of the rate units.
    void setUnitColumn(int column);

  signals:
    // The user left a cell after changing it: its text as typed.
    void cellEdited(int row, int column, const QString& text);
    void copyRequested();
    void pasteRequested();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

  private:
    bool showing_ = false;
};

// The problem mark's background.
QColor ProblemColour();

}  // namespace quorvel
