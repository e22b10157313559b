// The plan view: fitted to the widget, zoomed with the wheel about the
// pointer, panned by dragging, the site coordinates under the pointer, and
// clicks that give the site point.

#include <QtGui/QMouseEvent>
#include <QtGui/QWheelEvent>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>

#include "calc/project/sheet/site_view.h"
#include "ui/qt/site_plan_view.h"

using namespace quorvel;
using namespace quorvel::project;

namespace {

SiteFigure SiteOf(Extent extent) {
    SiteFigure figure;
    figure.extent = extent;
    figure.room = {30, 10, 10, 20};
    return figure;
}

QPointF SiteUnder(const SitePlanView& view, QPointF widgetPoint) {
    const SitePoint site = ToSite(view.view(), {widgetPoint.x(), widgetPoint.y()});
    return {site.x, site.y};
}

void Mouse(QWidget& widget, QEvent::Type type, QPointF at, Qt::MouseButton button,
           Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void Wheel(QWidget& widget, QPointF at, int delta) {
    QWheelEvent event(at, widget.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &event);
}

bool Near(QPointF a, QPointF b) { return QLineF(a, b).length() < 1e-6; }

}  // namespace

class SitePlanViewTest : public QObject {
    Q_OBJECT
  private slots:
    void fitsTheExtentAndFollowsResizes();
    void wheelZoomsAboutThePointer();
    void dragPansAndAClickGivesTheSitePoint();
    void pointerCoordinates();
    void newFiguresKeepTheUsersViewUntilRefitted();
};

void SitePlanViewTest::fitsTheExtentAndFollowsResizes() {
    SitePlanView view;
    view.resize(400, 300);
    view.setFigure(SiteOf({-50, 0, 150, 100}));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    // 200 m x 100 m into 360 x 270 px less the room: 1.8 px per m.
    QCOMPARE(view.view().scale, 1.8);
    QVERIFY(Near(SiteUnder(view, {30, 55}), {-50, 100}));  // centred below the room
    view.resize(800, 300);
    QTRY_COMPARE(view.view().scale, 2.7);  // now the height decides
    // The whole figure's painting stays inside the widget.
    const QImage shot = view.grab().toImage();
    QCOMPARE(shot.size(), QSize(800, 300));
}

void SitePlanViewTest::wheelZoomsAboutThePointer() {
    SitePlanView view;
    view.resize(400, 300);
    view.setFigure(SiteOf({0, 0, 200, 100}));
    const double fitted = view.view().scale;
    const QPointF pointer(123, 77);
    const QPointF before = SiteUnder(view, pointer);

    Wheel(view, pointer, 120);
    QCOMPARE(view.view().scale, fitted * 1.25);
    QVERIFY(Near(SiteUnder(view, pointer), before));
    Wheel(view, pointer, -240);
    QVERIFY(qFuzzyCompare(view.view().scale, fitted / 1.25));
    QVERIFY(Near(SiteUnder(view, pointer), before));
}

void SitePlanViewTest::dragPansAndAClickGivesTheSitePoint() {
    SitePlanView view;
    view.resize(400, 300);
    view.setFigure(SiteOf({0, 0, 200, 100}));
    QSignalSpy clicks(&view, &SitePlanView::clicked);

    const QPointF grabbed = SiteUnder(view, {100, 100});
    Mouse(view, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
    Mouse(view, QEvent::MouseMove, {120, 110}, Qt::NoButton, Qt::LeftButton);
    Mouse(view, QEvent::MouseMove, {160, 130}, Qt::NoButton, Qt::LeftButton);
    Mouse(view, QEvent::MouseButtonRelease, {160, 130}, Qt::LeftButton, Qt::NoButton);
    // What was under the press is under the release: the site moved along.
    QVERIFY(Near(SiteUnder(view, {160, 130}), grabbed));
    QCOMPARE(clicks.count(), 0);

    // A press and release a pixel apart is a click, not a drag.
    const double left = view.view().left;
    Mouse(view, QEvent::MouseButtonPress, {50, 40}, Qt::LeftButton, Qt::LeftButton);
    Mouse(view, QEvent::MouseMove, {51, 40}, Qt::NoButton, Qt::LeftButton);
    Mouse(view, QEvent::MouseButtonRelease, {51, 40}, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(view.view().left, left);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.front().at(1).toPointF(), QPointF(51, 40));
    QVERIFY(Near(clicks.front().at(0).toPointF(), SiteUnder(view, {51, 40})));

    // The right button neither drags nor clicks.
    Mouse(view, QEvent::MouseButtonPress, {50, 40}, Qt::RightButton, Qt::RightButton);
    Mouse(view, QEvent::MouseMove, {90, 90}, Qt::NoButton, Qt::RightButton);
    Mouse(view, QEvent::MouseButtonRelease, {90, 90}, Qt::RightButton, Qt::NoButton);
    QCOMPARE(view.view().left, left);
    QCOMPARE(clicks.count(), 1);
}

void SitePlanViewTest::pointerCoordinates() {
    SitePlanView view;
    view.resize(400, 300);
    view.setFigure(SiteOf({0, 0, 200, 100}));
    QSignalSpy moves(&view, &SitePlanView::pointerMoved);
    const QPointF at(200, 150);
    Mouse(view, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    QCOMPARE(moves.count(), 1);
    const QPointF site = moves.front().at(0).toPointF();
    QVERIFY(Near(site, SiteUnder(view, at)));
    QCOMPARE(view.pointerText(), QString::fromStdString(PointerText({site.x(), site.y()})));
    QVERIFY(view.pointerText().startsWith(QStringLiteral("x = ")));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&view, &leave);
    QVERIFY(view.pointerText().isEmpty());
}

void SitePlanViewTest::newFiguresKeepTheUsersViewUntilRefitted() {
    SitePlanView view;
    view.resize(400, 300);
    view.setFigure(SiteOf({0, 0, 200, 100}));
    // While fitted, an edit that grows the extent is fitted again.
    view.setFigure(SiteOf({0, 0, 400, 200}));
    QCOMPARE(view.view().scale, FitView(SiteOf({0, 0, 400, 200}), 400, 300).scale);

    Wheel(view, {100, 100}, 120);
    const SiteView zoomed = view.view();
    view.setFigure(SiteOf({0, 0, 100, 50}));
    view.resize(500, 300);
    QCOMPARE(view.view().scale, zoomed.scale);
    QCOMPARE(view.view().left, zoomed.left);

    view.fitToWindow();
    QCOMPARE(view.view().scale, FitView(SiteOf({0, 0, 100, 50}), 500, 300).scale);
}

QTEST_MAIN(SitePlanViewTest)
#include "site_plan_view_test.moc"
