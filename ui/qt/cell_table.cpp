#include "ui/qt/cell_table.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QStyledItemDelegate>

#include <algorithm>

namespace quorvel {
namespace {

// The unit column's editor: the unit list; a text not in the list (pasted or
// read from a file) is kept as an entry of its own, so that nothing is lost.
class UnitDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* box = new QComboBox(parent);
        for (std::u16string_view unit : kRateUnitTexts)
            box->addItem(QString::fromUtf16(unit.data(), static_cast<qsizetype>(unit.size())));
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* box = static_cast<QComboBox*>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        int found = box->findText(text);
        if (found < 0 && !text.isEmpty()) {
            box->addItem(text);
            found = box->count() - 1;
        }
        box->setCurrentIndex(std::max(found, 0));
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
    }
};

}  // namespace

QColor ProblemColour() { return {255, 214, 214}; }

CellTable::CellTable(QWidget* parent) : QTableWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!showing_) emit cellEdited(item->row(), item->column(), item->text());
    });
}

void CellTable::setHeaders(const QStringList& headers, bool readOnly) {
    setColumnCount(static_cast<int>(headers.size()));
    setHorizontalHeaderLabels(headers);
    if (readOnly) setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void CellTable::showBlock(const CellBlock& block) {
    showing_ = true;
    setRowCount(static_cast<int>(block.size()));
    for (int row = 0; row < rowCount(); ++row) {
        const auto& cells = block[static_cast<std::size_t>(row)];
        for (int column = 0; column < columnCount(); ++column) {
            const QString text =
                static_cast<std::size_t>(column) < cells.size()
                    ? QString::fromStdU16String(cells[static_cast<std::size_t>(column)])
                    : QString();
            QTableWidgetItem* cell = item(row, column);
            if (cell == nullptr) {
                cell = new QTableWidgetItem(text);
                if (editTriggers() == QAbstractItemView::NoEditTriggers)
                    cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
                setItem(row, column, cell);
            } else if (cell->text() != text) {
                cell->setText(text);
            }
            cell->setData(Qt::BackgroundRole, QVariant());
            cell->setToolTip(QString());
        }
    }
    showing_ = false;
}

void CellTable::markCell(int row, int column, const QString& problem) {
    QTableWidgetItem* cell = item(row, column);
    if (cell == nullptr) return;
    showing_ = true;
    if (problem.isEmpty()) {
        cell->setData(Qt::BackgroundRole, QVariant());
    } else {
        cell->setBackground(ProblemColour());
    }
    cell->setToolTip(problem);
    showing_ = false;
}

std::optional<CellRange> CellTable::selectedRange() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty()) {
        const QModelIndex current = currentIndex();
        if (!current.isValid()) return std::nullopt;
        return CellRange{static_cast<std::size_t>(current.row()), 1,
                         static_cast<std::size_t>(current.column()), 1};
    }
    int top = ranges.front().topRow(), bottom = ranges.front().bottomRow();
    int left = ranges.front().leftColumn(), right = ranges.front().rightColumn();
    for (const auto& range : ranges) {
        top = std::min(top, range.topRow());
        bottom = std::max(bottom, range.bottomRow());
        left = std::min(left, range.leftColumn());
        right = std::max(right, range.rightColumn());
    }
    return CellRange{static_cast<std::size_t>(top), static_cast<std::size_t>(bottom - top + 1),
                     static_cast<std::size_t>(left), static_cast<std::size_t>(right - left + 1)};
}

void CellTable::commitEditing() {
    if (state() != QAbstractItemView::EditingState) return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void CellTable::setUnitColumn(int column) {
    setItemDelegateForColumn(column, new UnitDelegate(this));
}

bool CellTable::event(QEvent* event) {
    // The window's copy and paste win over the view's own one-cell copy.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste)) {
            event->accept();
            return true;
        }
    }
    return QTableWidget::event(event);
}

void CellTable::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        emit copyRequested();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        emit pasteRequested();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

}  // namespace quorvel
