#include "ui/qt/project_results_panel.h"

#include <QtWidgets/QLabel>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QSplitter>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QVBoxLayout>

#include "ui/qt/cell_table.h"

namespace quorvel {
namespace {

template <std::size_t N>
QStringList Headers(const std::array<std::u16string_view, N>& headers) {
    QStringList list;
    for (std::u16string_view header : headers)
        list << QString::fromUtf16(header.data(), static_cast<qsizetype>(header.size()));
    return list;
}

// The block without its header row, for the table's cells.
CellBlock Body(CellBlock block) {
    if (!block.empty()) block.erase(block.begin());
    return block;
}

}  // namespace

ProjectResultsPanel::ProjectResultsPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("resultsSummary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    notFinal_ = new QLabel(this);
    notFinal_->setObjectName(QStringLiteral("resultsNotFinal"));
    notFinal_->setStyleSheet(QStringLiteral("color: #b00000;"));
    notFinal_->setWordWrap(true);
    notFinal_->hide();
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("resultsTabs"));
    layout->addWidget(summary_);
    layout->addWidget(notFinal_);
    layout->addWidget(tabs_, 1);

    const std::array<std::pair<const char*, QStringList>, 4> designs = {{
        {"emissionResults", Headers(kEmissionResultHeaders)},
        {"sourceResults", Headers(kSourceResultHeaders)},
        {"receptorResults", Headers(kReceptorResultHeaders)},
        {"limitResults", Headers(kLimitResultHeaders)},
    }};
    const std::array<QString, 4> titles = {QStringLiteral("各污染物"), QStringLiteral("各排放源"),
                                           QStringLiteral("敏感目标"), QStringLiteral("排放限值")};
    for (std::size_t i = 0; i < tables_.size(); ++i) {
        tables_[i] = NewTable(tabs_, designs[i].first, designs[i].second);
        tabs_->addTab(tables_[i], titles[i]);
    }
    BuildFieldTab();
    conclusion_ = new QPlainTextEdit(tabs_);
    conclusion_->setObjectName(QStringLiteral("conclusion"));
    conclusion_->setReadOnly(true);
    tabs_->addTab(conclusion_, QStringLiteral("结论"));
    showResults(nullptr);
    showField(nullptr);
}

CellTable* ProjectResultsPanel::NewTable(QWidget* parent, const char* name,
                                         const QStringList& headers) {
    auto* table = new CellTable(parent);
    table->setObjectName(QLatin1String(name));
    table->setHeaders(headers, true);
    connect(table, &CellTable::copyRequested, this, [this, table] { emit copyRequested(table); });
    return table;
}

void ProjectResultsPanel::BuildFieldTab() {
    auto* page = new QWidget(tabs_);
    page->setObjectName(QStringLiteral("fieldPage"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    fieldSummary_ = new QLabel(page);
    fieldSummary_->setObjectName(QStringLiteral("fieldSummary"));
    fieldSummary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fieldSummary_->setWordWrap(true);
    layout->addWidget(fieldSummary_);
    auto* split = new QSplitter(Qt::Vertical, page);
    const std::array<std::pair<const char*, QStringList>, 2> designs = {{
        {"fieldPollutants", Headers(kFieldPollutantHeaders)},
        {"fieldReceptors", Headers(kFieldReceptorHeaders)},
    }};
    for (std::size_t i = 0; i < fieldTables_.size(); ++i) {
        fieldTables_[i] = NewTable(split, designs[i].first, designs[i].second);
        split->addWidget(fieldTables_[i]);
    }
    layout->addWidget(split, 1);
    tabs_->addTab(page, QStringLiteral("现行导则"));
}

void ProjectResultsPanel::showField(const FieldResultsView* field) {
    if (field == nullptr) {
        for (CellTable* table : fieldTables_) table->showBlock({});
        fieldSummary_->setText(QStringLiteral("浓度场尚未算出。"));
        fieldConclusion_.clear();
        ShowConclusion();
        return;
    }
    fieldConclusion_ = QString::fromStdU16String(field->conclusion);
    ShowConclusion();
    fieldTables_[0]->showBlock(Body(FieldPollutantsBlock(*field)));
    fieldTables_[1]->showBlock(Body(FieldReceptorsBlock(*field)));
    for (std::size_t row = 0; row < field->pollutants.size(); ++row) {
        const FieldPollutantRow& p = field->pollutants[row];
        if (p.note.empty()) continue;
        for (int column = 0; column < fieldTables_[0]->columnCount(); ++column)
            fieldTables_[0]->markCell(static_cast<int>(row), column,
                                      QString::fromStdU16String(p.note));
    }
    for (CellTable* table : fieldTables_) table->resizeColumnsToContents();
    fieldSummary_->setText(
        QStringLiteral("防护距离：%1　　决定污染物：%2　　防护区域面积：%3　　超标厂界边：%4")
            .arg(QString::fromStdU16String(field->distance),
                 QString::fromStdU16String(field->decidingPollutant),
                 QString::fromStdU16String(field->area),
                 QString::fromStdU16String(field->exceedingSides)));
}

void ProjectResultsPanel::ShowConclusion() {
    QString text = runConclusion_;
    if (!fieldConclusion_.isEmpty()) {
        if (!text.isEmpty()) text += QStringLiteral("\n\n");
        text += QStringLiteral("现行导则（全厂叠加）：") + fieldConclusion_;
    }
    conclusion_->setPlainText(text);
}

QString ProjectResultsPanel::fieldSummaryText() const { return fieldSummary_->text(); }

void ProjectResultsPanel::showResults(const ResultsView* results) {
    if (results == nullptr) {
        for (CellTable* table : tables_) table->showBlock({});
        summary_->setText(QStringLiteral("尚未计算。"));
        notFinal_->hide();
        runConclusion_.clear();
        ShowConclusion();
        return;
    }
    tables_[0]->showBlock(Body(EmissionResultsBlock(*results)));
    tables_[1]->showBlock(Body(SourceResultsBlock(*results)));
    tables_[2]->showBlock(Body(ReceptorResultsBlock(*results)));
    tables_[3]->showBlock(Body(LimitResultsBlock(*results)));
    for (std::size_t row = 0; row < results->emissions.size(); ++row)
        if (results->emissions[row].error)
            for (int column = 0; column < tables_[0]->columnCount(); ++column)
                tables_[0]->markCell(static_cast<int>(row), column,
                                     QString::fromStdU16String(results->emissions[row].result));
    for (CellTable* table : tables_) table->resizeColumnsToContents();
    tables_[0]->resizeRowsToContents();
    summary_->setText(QStringLiteral("防护区域面积：%1　　超出厂界最远：%2")
                          .arg(QString::fromStdU16String(results->zoneArea),
                               QString::fromStdU16String(results->zoneReach)));
    notFinal_->setText(QString::fromStdU16String(results->notFinal));
    notFinal_->setVisible(!results->notFinal.empty());
    runConclusion_ = QString::fromStdU16String(results->conclusion);
    ShowConclusion();
}

QString ProjectResultsPanel::summaryText() const { return summary_->text(); }
QString ProjectResultsPanel::conclusionText() const { return conclusion_->toPlainText(); }

}  // namespace quorvel
