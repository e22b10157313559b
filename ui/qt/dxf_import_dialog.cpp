#include "ui/qt/dxf_import_dialog.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QVBoxLayout>

#include <utility>

#include "ui/qt/site_plan_view.h"
#include "ui/qt/window_fit.h"

namespace quorvel {
namespace {

QString Text(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

DxfImportDialog::DxfImportDialog(DxfImportBehaviour behaviour, QWidget* parent)
    : QDialog(parent), behaviour_(std::move(behaviour)) {
    setWindowTitle(Text(kDxfImportTitle));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    layout->addLayout(left, 2);

    const std::vector<DxfLayerRow>& rows = behaviour_.Layers();
    layers_ = new QTableWidget(static_cast<int>(rows.size()), 3, this);
    layers_->setObjectName(QStringLiteral("layers"));
    layers_->setHorizontalHeaderLabels(
        {Text(kLayerColumnTitles[0]), Text(kLayerColumnTitles[1]), Text(kLayerColumnTitles[2])});
    layers_->verticalHeader()->hide();
    layers_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layers_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const DxfLayerRow& layer = rows[static_cast<std::size_t>(row)];
        layers_->setItem(row, 0, new QTableWidgetItem(Text(layer.name)));
        layers_->setItem(row, 1, new QTableWidgetItem(Text(layer.counts)));
        auto* role = new QComboBox(layers_);
        for (std::u16string_view text : kLayerRoleTexts) role->addItem(Text(text));
        role->setCurrentIndex(static_cast<int>(layer.role));
        connect(role, &QComboBox::activated, this, [this, row](int index) {
            behaviour_.SetRole(static_cast<std::size_t>(row),
                               static_cast<project::dxf::LayerRole>(index));
            ShowState();
        });
        layers_->setCellWidget(row, 2, role);
    }
    layers_->resizeColumnsToContents();
    left->addWidget(layers_, 1);

    auto* form = new QFormLayout;
    unit_ = new QComboBox(this);
    unit_->setObjectName(QStringLiteral("unit"));
    for (std::u16string_view text : kDrawingUnitTexts) unit_->addItem(Text(text));
    unit_->setCurrentIndex(behaviour_.Unit() ? static_cast<int>(*behaviour_.Unit()) : -1);
    unit_->setEnabled(!behaviour_.UnitFixed());
    connect(unit_, &QComboBox::activated, this, [this](int index) {
        behaviour_.SetUnit(static_cast<project::DrawingUnit>(index));
        ShowState();
    });
    height_ = new QLineEdit(Text(behaviour_.HeightText()), this);
    height_->setObjectName(QStringLiteral("height"));
    connect(height_, &QLineEdit::textEdited, this, [this](const QString& text) {
        behaviour_.SetHeight(text.toStdU16String());
        ShowState();
    });
    north_ = new QLineEdit(Text(behaviour_.NorthText()), this);
    north_->setObjectName(QStringLiteral("north"));
    north_->setEnabled(!behaviour_.UnitFixed());  // the tie fixes it with the unit
    connect(north_, &QLineEdit::textEdited, this, [this](const QString& text) {
        behaviour_.SetNorth(text.toStdU16String());
        ShowState();
    });
    form->addRow(Text(kUnitLabel), unit_);
    form->addRow(Text(kHeightLabel), height_);
    form->addRow(Text(kNorthLabel), north_);
    left->addLayout(form);

    auto* right = new QVBoxLayout;
    layout->addLayout(right, 3);
    preview_ = new SitePlanView(this);
    preview_->setObjectName(QStringLiteral("preview"));
    right->addWidget(preview_, 3);
    notes_ = new QPlainTextEdit(this);
    notes_->setObjectName(QStringLiteral("notes"));
    notes_->setReadOnly(true);
    notes_->setMaximumHeight(110);
    right->addWidget(notes_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    right->addWidget(buttons);
    ResizeWithinScreen(*this, QSize(1000, 620));
    ShowState();
}

QComboBox* DxfImportDialog::roleBox(int row) const {
    return qobject_cast<QComboBox*>(layers_->cellWidget(row, 2));
}

void DxfImportDialog::ShowState() {
    preview_->setFigure(behaviour_.Preview());
    QStringList lines;
    for (const std::u16string& note : behaviour_.Notes()) lines << Text(note);
    notes_->setPlainText(lines.join(QLatin1Char('\n')));
    ok_->setEnabled(behaviour_.CanAccept());
}

}  // namespace quorvel
