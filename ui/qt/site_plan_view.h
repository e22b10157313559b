#pragma once
// The site plan in a widget: the site figure fitted to the widget, zoomed
// with the mouse wheel about the pointer, panned by dragging with the left
// button, with the site coordinates under the pointer in its corner.

#include <QtCore/QPointF>
#include <QtCore/QString>
#include <QtWidgets/QWidget>

#include "calc/project/sheet/site_figure.h"
#include "calc/project/sheet/site_view.h"
#include "ui/qt/site_figure_painter.h"

namespace quorvel {

class SitePlanView : public QWidget {
    Q_OBJECT
  public:
    explicit SitePlanView(QWidget* parent = nullptr);

    // Shows `figure`. The first figure, and any figure while the view is
    // fitted (it has not been zoomed or panned since), is fitted to the
    // widget; otherwise the view stays where the user put it.
    void setFigure(project::SiteFigure figure);
    const project::SiteFigure& figure() const { return painter_.figure(); }

    // Fits the figure's extent to the widget, and keeps it fitted as the
    // widget is resized, until the next zoom or pan.
    void fitToWindow();

    const project::SiteView& view() const { return view_; }
    // The site coordinates under the pointer, "x = 12.3 m, y = 45.6 m";
    // empty while the pointer is outside the widget.
    QString pointerText() const { return pointerText_; }

    // A note in the top-left corner over the figure, such as that the field
    // is being computed again; empty for none.
    void setNote(const QString& note);
    QString note() const { return note_; }

    QSize sizeHint() const override { return {480, 400}; }

  signals:
    // The site point (m) under the pointer as it moves.
    void pointerMoved(QPointF site);
    // The pointer left the widget.
    void pointerLeft();
    // A left click without a drag: the site point (m) and the widget point.
    void clicked(QPointF site, QPointF widgetPoint);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void showPointer(QPointF widgetPoint);

    SiteFigurePainter painter_;
    project::SiteView view_;
    bool fitted_ = true;
    bool hasFigure_ = false;
    bool pressed_ = false;
    bool dragged_ = false;
    QPointF pressedAt_;
    QPointF lastDragAt_;
    QString pointerText_;
    QString note_;
};

}  // namespace quorvel
