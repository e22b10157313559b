#pragma once
// The project window's results: the zone's area and reach, why it is not
// final, the tables of emissions, sources, receptors and limits, and the
// conclusion text.

#include <QtWidgets/QWidget>

#include <array>

#include "ui/core/project_results_view.h"

class QLabel;
class QPlainTextEdit;
class QTabWidget;

namespace quorvel {

class CellTable;

class ProjectResultsPanel : public QWidget {
    Q_OBJECT
  public:
    explicit ProjectResultsPanel(QWidget* parent = nullptr);

    // Shows `results`; null clears everything.
    void showResults(const ResultsView* results);
    // Emissions, sources, receptors, limits.
    const std::array<CellTable*, 4>& tables() const { return tables_; }
    QString summaryText() const;
    QString conclusionText() const;

  signals:
    // Ctrl+C in one of the results tables.
    void copyRequested(CellTable* table);

  private:
    QLabel* summary_ = nullptr;
    QLabel* notFinal_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    std::array<CellTable*, 4> tables_{};
    QPlainTextEdit* conclusion_ = nullptr;
};

}  // namespace quorvel
