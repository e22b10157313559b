#include "ui/qt/plan_reference_dialog.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>

namespace quorvel {
namespace {

constexpr int kMaxShownWidth = 720;
constexpr int kMaxShownHeight = 480;

std::optional<double> Number(const QLineEdit* edit) {
    bool ok = false;
    const double value = edit->text().trimmed().toDouble(&ok);
    if (!ok) return std::nullopt;
    return value;
}

}  // namespace

PlanReferenceDialog::PlanReferenceDialog(const QImage& image, int index,
                                         const project::PlanPoint& point, QWidget* parent)
    : QDialog(parent), image_(image), pixel_(point.pixel) {
    setWindowTitle(QStringLiteral("底图参考点 %1").arg(index + 1));
    if (!image_.isNull())
        scale_ = std::min({1.0, double(kMaxShownWidth) / image_.width(),
                           double(kMaxShownHeight) / image_.height()});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("在底图上单击参考点，再输入它的厂区坐标。"), this));
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("planPicture"));
    picture_->setCursor(Qt::CrossCursor);
    picture_->installEventFilter(this);
    layout->addWidget(picture_, 0, Qt::AlignCenter);
    auto* form = new QFormLayout;
    pixelText_ = new QLabel(this);
    x_ = new QLineEdit(QString::number(point.site.x), this);
    x_->setObjectName(QStringLiteral("siteX"));
    y_ = new QLineEdit(QString::number(point.site.y), this);
    y_->setObjectName(QStringLiteral("siteY"));
    form->addRow(QStringLiteral("底图像素:"), pixelText_);
    form->addRow(QStringLiteral("x (m):"), x_);
    form->addRow(QStringLiteral("y (m):"), y_);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const auto check = [this, buttons] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(site().has_value());
    };
    connect(x_, &QLineEdit::textChanged, this, check);
    connect(y_, &QLineEdit::textChanged, this, check);
    layout->addWidget(buttons);
    showPicture();
}

std::optional<project::SitePoint> PlanReferenceDialog::site() const {
    const auto x = Number(x_);
    const auto y = Number(y_);
    if (!x || !y) return std::nullopt;
    return project::SitePoint{*x, *y};
}

void PlanReferenceDialog::pickPixel(QPointF pixel) {
    pixel_ = {pixel.x(), pixel.y()};
    showPicture();
}

void PlanReferenceDialog::showPicture() {
    pixelText_->setText(
        QStringLiteral("(%1, %2)").arg(pixel_.x, 0, 'f', 1).arg(pixel_.y, 0, 'f', 1));
    if (image_.isNull()) {
        picture_->setText(QStringLiteral("底图无法读取。"));
        return;
    }
    QImage shown =
        image_.scaled(image_.size() * scale_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    QPainter painter(&shown);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::red, 2));
    const QPointF at(pixel_.x * scale_, pixel_.y * scale_);
    painter.drawLine(at - QPointF(8, 0), at + QPointF(8, 0));
    painter.drawLine(at - QPointF(0, 8), at + QPointF(0, 8));
    painter.drawEllipse(at, 5, 5);
    painter.end();
    picture_->setPixmap(QPixmap::fromImage(shown));
}

bool PlanReferenceDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_ && event->type() == QEvent::MouseButtonPress && !image_.isNull()) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            // The pixmap sits centred in the label.
            const QSize shown = picture_->pixmap().size();
            const QPointF offset((picture_->width() - shown.width()) / 2.0,
                                 (picture_->height() - shown.height()) / 2.0);
            const QPointF point = (mouse->position() - offset) / scale_;
            pickPixel({std::clamp(point.x(), 0.0, double(image_.width())),
                       std::clamp(point.y(), 0.0, double(image_.height()))});
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quorvel
