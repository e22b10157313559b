#pragma once
// The project window's results: the zone's area and reach, why it is not
// final, the tables of emissions, sources, receptors and limits, and the
// conclusion text.

#include <QtWidgets/QWidget>

#include <array>

#include "ui/core/field_results_view.h"
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

    // Shows the combined field under the current rule in the 现行导则 tab;
    // null clears it.
    void showField(const FieldResultsView* field);
    // Its pollutants and its receptors.
    const std::array<CellTable*, 2>& fieldTables() const { return fieldTables_; }
    QString fieldSummaryText() const;

  signals:
    // Ctrl+C in one of the results tables.
    void copyRequested(CellTable* table);

  private:
    void BuildFieldTab();
    // The run's conclusion, then the current rule's.
    void ShowConclusion();
    // A read-only results table named `name` whose Ctrl+C asks copyRequested.
    CellTable* NewTable(QWidget* parent, const char* name, const QStringList& headers);

    QLabel* summary_ = nullptr;
    QLabel* notFinal_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    std::array<CellTable*, 4> tables_{};
    QPlainTextEdit* conclusion_ = nullptr;
    QLabel* fieldSummary_ = nullptr;
    std::array<CellTable*, 2> fieldTables_{};
    QString runConclusion_;
    QString fieldConclusion_;
};

}  // namespace quorvel
