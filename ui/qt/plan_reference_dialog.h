#pragma once
// Sets one reference point of the plan picture: the user clicks the point on
// the picture (which gives its pixel) and types its site coordinates.

#include <QtCore/QPointF>
#include <QtGui/QImage>
#include <QtWidgets/QDialog>

#include "calc/project/project.h"

class QLabel;
class QLineEdit;

namespace quorvel {

class PlanReferenceDialog : public QDialog {
    Q_OBJECT
  public:
    // `point` is the reference point as it stands (its pixel is marked).
    PlanReferenceDialog(const QImage& image, int index, const project::PlanPoint& point,
                        QWidget* parent = nullptr);

    project::SitePoint pixel() const { return pixel_; }
    // The typed site coordinates; nullopt while one is not a number.
    std::optional<project::SitePoint> site() const;
    // Picks `pixel` of the picture, as a click there does.
    void pickPixel(QPointF pixel);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showPicture();

    QImage image_;
    double scale_ = 1.0;  // shown pixels per picture pixel
    project::SitePoint pixel_;
    QLabel* picture_ = nullptr;
    QLabel* pixelText_ = nullptr;
    QLineEdit* x_ = nullptr;
    QLineEdit* y_ = nullptr;
};

}  // namespace quorvel
