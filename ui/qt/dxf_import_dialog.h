#pragma once
// The 导入DXF… dialog on Qt: the drawing's layers with a choice each, the
// unit, the sources' height, the north angle, the plan as it will be and the
// notes, wired to the toolkit-free DxfImportBehaviour.

#include <QtWidgets/QDialog>

#include "ui/core/dxf_import_behaviour.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace quorvel {

class SitePlanView;

class DxfImportDialog : public QDialog {
    Q_OBJECT
  public:
    DxfImportDialog(DxfImportBehaviour behaviour, QWidget* parent = nullptr);

    const DxfImportBehaviour& behaviour() const { return behaviour_; }
    QTableWidget* layers() const { return layers_; }
    // The choice of the layer in `row`.
    QComboBox* roleBox(int row) const;
    QComboBox* unit() const { return unit_; }
    QLineEdit* height() const { return height_; }
    QLineEdit* north() const { return north_; }
    SitePlanView* preview() const { return preview_; }
    QPlainTextEdit* notes() const { return notes_; }
    QPushButton* okButton() const { return ok_; }

  private:
    void ShowState();

    DxfImportBehaviour behaviour_;
    QTableWidget* layers_ = nullptr;
    QComboBox* unit_ = nullptr;
    QLineEdit* height_ = nullptr;
    QLineEdit* north_ = nullptr;
    SitePlanView* preview_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace quorvel
