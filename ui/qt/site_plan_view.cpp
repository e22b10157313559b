#include "ui/qt/site_plan_view.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QWheelEvent>

#include <cmath>
#include <utility>

namespace quorvel {
namespace {

// How far the pointer may move between press and release for a click.
constexpr double kClickSlack = 3.0;  // px
// One notch of the wheel (120 eighths of a degree) zooms by 1.25.
constexpr double kZoomPerNotch = 1.25;

project::PixelPoint Pixel(QPointF point) { return {point.x(), point.y()}; }

}  // namespace

SitePlanView::SitePlanView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::WheelFocus);
    setMinimumSize(120, 100);
}

void SitePlanView::setFigure(project::SiteFigure figure) {
    painter_ = SiteFigurePainter(std::move(figure));
    if (!hasFigure_ || fitted_) fitToWindow();
    hasFigure_ = true;
    update();
}

void SitePlanView::fitToWindow() {
    fitted_ = true;
    view_ = project::FitView(painter_.figure(), width(), height());
    update();
}

void SitePlanView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF area = rect();
    painter.fillRect(area, Qt::white);
    painter_.paint(painter, view_, area);
    const QFontMetrics metrics(font());
    // A text on white in a corner: the note at the top left, the
    // coordinates at the bottom left.
    const auto boxed = [&](const QString& text, int top) {
        if (text.isEmpty()) return;
        const QRect box(4, top, metrics.horizontalAdvance(text) + 8, metrics.height() + 4);
        painter.setOpacity(0.85);
        painter.fillRect(box, Qt::white);
        painter.setOpacity(1.0);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, text);
    };
    boxed(note_, 4);
    boxed(pointerText_, height() - metrics.height() - 8);
}

void SitePlanView::setNote(const QString& note) {
    if (note == note_) return;
    note_ = note;
    update();
}

void SitePlanView::resizeEvent(QResizeEvent*) {
    if (fitted_) fitToWindow();
}

void SitePlanView::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y();
    if (steps == 0) return event->ignore();
    const double factor = std::pow(kZoomPerNotch, steps / 120.0);
    view_ = project::ZoomedAbout(view_, factor, Pixel(event->position()));
    fitted_ = false;
    showPointer(event->position());
    update();
    event->accept();
}

void SitePlanView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    pressed_ = true;
    dragged_ = false;
    pressedAt_ = event->position();
    lastDragAt_ = event->position();
    event->accept();
}

void SitePlanView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (pressed_ && (event->buttons() & Qt::LeftButton)) {
        const QPointF moved = at - pressedAt_;
        if (!dragged_ && std::hypot(moved.x(), moved.y()) > kClickSlack) {
            dragged_ = true;
            setCursor(Qt::ClosedHandCursor);
        }
        if (dragged_) {
            const QPointF step = at - lastDragAt_;
            view_ = project::Panned(view_, step.x(), step.y());
            lastDragAt_ = at;
            fitted_ = false;
            update();
        }
    }
    showPointer(at);
}

void SitePlanView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) {
        return QWidget::mouseReleaseEvent(event);
    }
    pressed_ = false;
    unsetCursor();
    if (!dragged_) {
        const project::SitePoint site = project::ToSite(view_, Pixel(event->position()));
        emit clicked(QPointF(site.x, site.y), event->position());
    }
    dragged_ = false;
    event->accept();
}

void SitePlanView::leaveEvent(QEvent*) {
    pointerText_.clear();
    update();
    emit pointerLeft();
}

void SitePlanView::showPointer(QPointF widgetPoint) {
    const project::SitePoint site = project::ToSite(view_, Pixel(widgetPoint));
    pointerText_ = QString::fromStdString(project::PointerText(site));
    emit pointerMoved(QPointF(site.x, site.y));
    update();
}

}  // namespace quorvel
