// The site figure painted with QPainter: each primitive where the view puts
// it, lengths in points the same at every zoom, and the plan picture where
// its two reference points say.

#include <QtCore/QBuffer>
#include <QtCore/QByteArray>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtTest/QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "calc/project/files/project_file.h"
#include "calc/project/sheet/field_figure.h"
#include "calc/project/sheet/plan_picture.h"
#include "calc/project/sheet/site_figure.h"
#include "calc/project/sheet/site_view.h"
#include "calc/project/zone/zone.h"
#include "ui/qt/site_figure_painter.h"

using namespace quorvel;
using namespace quorvel::project;

namespace {

const Colour kBlack{0, 0, 0};
const Colour kGrey{128, 128, 128};

Style Outline(Colour colour, double width) {
    Style style;
    style.stroke = colour;
    style.strokeWidth = width;
    return style;
}

Style Filled(Colour colour) {
    Style style;
    style.fill = colour;
    return style;
}

// A 100 m square site with 20 pt of room on each side.
SiteFigure SquareSite() {
    SiteFigure figure;
    figure.extent = {0, 0, 100, 100};
    figure.room = {20, 20, 20, 20};
    return figure;
}

QImage Rendered(const SiteFigure& figure, const SiteView& view, QSize size = {240, 240}) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    SiteFigurePainter(figure).paint(painter, view, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

QColor PixelAt(const QImage& image, const SiteView& view, SitePoint site) {
    const PixelPoint p = ToPixel(view, site);
    const QPoint at(static_cast<int>(std::floor(p.x)), static_cast<int>(std::floor(p.y)));
    // Off the image: a colour no check expects.
    return image.valid(at) ? image.pixelColor(at) : QColor(Qt::magenta);
}

bool IsNear(const QColor& colour, int red, int green, int blue, int slack = 12) {
    return std::abs(colour.red() - red) <= slack && std::abs(colour.green() - green) <= slack &&
           std::abs(colour.blue() - blue) <= slack;
}

// The darkest grey of the pixels about a site point, for thin lines.
int DarkestAround(const QImage& image, const SiteView& view, SitePoint site) {
    const PixelPoint p = ToPixel(view, site);
    int darkest = 255;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint at(static_cast<int>(p.x) + dx, static_cast<int>(p.y) + dy);
            if (image.valid(at)) darkest = std::min(darkest, qGray(image.pixel(at)));
        }
    }
    return darkest;
}

// The box of the pixels darker than mid grey.
QRect DarkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

}  // namespace

class SiteFigurePainterTest : public QObject {
    Q_OBJECT
  private slots:
    void boundaryDiscAndReceptorLandWhereTheViewPutsThem();
    void polygonHolesAndTheExtentClip();
    void textKeepsItsSizeAndOffsetWhateverTheZoom();
    void planPictureLandsWhereItsTwoPointsSay();
    void exampleProjectRendersItsPlan();
    void drawingLinesLieInPlaceAndItsTextsZoom();
    void currentRuleFigurePaintsItsAreaSidesAndContours();
};

void SiteFigurePainterTest::boundaryDiscAndReceptorLandWhereTheViewPutsThem() {
    SiteFigure figure = SquareSite();
    figure.items.push_back(
        {FigurePart::Boundary, "",
         PolygonShape{{{{20, 20}, {80, 20}, {80, 80}, {20, 80}}}, Outline(kBlack, 3)}});
    figure.items.push_back({FigurePart::Disc, "S1", CircleShape{{35, 65}, 8, Filled(kGrey)}});
    figure.items.push_back(
        {FigurePart::ReceptorInside, "村", Mark{{65, 35}, MarkShape::Square, 10, Filled(kBlack)}});

    // Fitted, then zoomed in about a point and panned: the painter follows
    // the view, not the figure's own fit.
    const SiteView fitted = FitView(figure, 240, 240);
    const SiteView moved = Panned(ZoomedAbout(fitted, 1.3, {120, 120}), 15, -10);
    for (const SiteView& view : {fitted, moved}) {
        const QImage image = Rendered(figure, view);
        QVERIFY(IsNear(PixelAt(image, view, {20, 50}), 0, 0, 0, 40));    // the west fence
        QVERIFY(IsNear(PixelAt(image, view, {50, 80}), 0, 0, 0, 40));    // the north fence
        QVERIFY(IsNear(PixelAt(image, view, {50, 50}), 255, 255, 255));  // not filled
        QVERIFY(IsNear(PixelAt(image, view, {35, 65}), 128, 128, 128));  // the disc's centre
        QVERIFY(IsNear(PixelAt(image, view, {35, 65 + 6}), 128, 128, 128));
        QVERIFY(IsNear(PixelAt(image, view, {35, 65 + 10}), 255, 255, 255));  // past its radius
        QVERIFY(IsNear(PixelAt(image, view, {65, 35}), 0, 0, 0));             // the receptor
    }
    // The mark is 10 pt wide at every zoom.
    SiteFigure markOnly = SquareSite();
    markOnly.items.push_back(figure.items.back());
    for (const SiteView& view : {fitted, moved}) {
        QVERIFY(std::abs(DarkBox(Rendered(markOnly, view)).width() - 10) <= 1);
    }
}

void SiteFigurePainterTest::polygonHolesAndTheExtentClip() {
    SiteFigure figure = SquareSite();
    // A zone with a hole: the ring inside is left unfilled (even-odd).
    figure.items.push_back({FigurePart::Zone, "",
                            PolygonShape{{{{10, 10}, {90, 10}, {90, 90}, {10, 90}},
                                          {{40, 40}, {60, 40}, {60, 60}, {40, 60}}},
                                         Filled(kGrey)}});
    // A disc across the extent's corner is cut at the extent; the frame's
    // tick labels outside the extent are not.
    figure.items.push_back({FigurePart::Disc, "S1", CircleShape{{100, 100}, 15, Filled(kBlack)}});
    TextLabel tick;
    tick.text = "I";
    tick.anchor = {0, 50};
    tick.offsetX = -10;
    tick.size = 14;
    tick.horizontal = HorizontalAlign::Right;
    tick.vertical = VerticalAlign::Middle;
    figure.items.push_back({FigurePart::Tick, "", tick});

    const SiteView view = FitView(figure, 240, 240);
    const QImage image = Rendered(figure, view);
    QVERIFY(IsNear(PixelAt(image, view, {25, 25}), 128, 128, 128));
    QVERIFY(IsNear(PixelAt(image, view, {50, 50}), 255, 255, 255));
    QVERIFY(IsNear(PixelAt(image, view, {95, 95}), 0, 0, 0));
    QVERIFY(IsNear(PixelAt(image, view, {105, 95}), 255, 255, 255));  // east of the extent
    QVERIFY(IsNear(PixelAt(image, view, {95, 105}), 255, 255, 255));  // north of it
    const QRect label = DarkBox(image.copy(0, 0, 20, 240));
    QVERIFY2(!label.isEmpty(), "the tick label outside the extent is drawn");
}

void SiteFigurePainterTest::textKeepsItsSizeAndOffsetWhateverTheZoom() {
    SiteFigure figure = SquareSite();
    TextLabel label;
    label.text = "S12";
    label.anchor = {50, 50};
    label.offsetX = 6;
    label.offsetY = 4;
    label.size = 16;
    label.bold = true;
    label.halo = 2;
    figure.items.push_back({FigurePart::SourceLabel, "S12", label});

    const SiteView fitted = FitView(figure, 240, 240);
    const SiteView zoomed = ZoomedAbout(fitted, 3, {110, 130});
    const QRect near = DarkBox(Rendered(figure, fitted));
    const QRect far = DarkBox(Rendered(figure, zoomed));
    QVERIFY(!near.isEmpty());
    QVERIFY(std::abs(far.width() - near.width()) <= 1);
    QVERIFY(std::abs(far.height() - near.height()) <= 1);
    QVERIFY2(near.height() >= 9 && near.height() <= 17, "capitals of a 16 pt font");
    // Left-aligned on its bottom: the letters start the offset right of the
    // anchor and end above it.
    for (const SiteView* view : {&fitted, &zoomed}) {
        const QRect box = DarkBox(Rendered(figure, *view));
        const PixelPoint anchor = ToPixel(*view, label.anchor);
        QVERIFY(std::abs(box.left() - (anchor.x + 6)) <= 2);
        QVERIFY(box.bottom() < anchor.y - 4);
    }
}

void SiteFigurePainterTest::planPictureLandsWhereItsTwoPointsSay() {
    // 20 x 10 pixels: the left half red, the right half blue.
    QImage source(20, 10, QImage::Format_RGB32);
    source.fill(Qt::red);
    for (int y = 0; y < 10; ++y) {
        for (int x = 10; x < 20; ++x) source.setPixelColor(x, y, Qt::blue);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(source.save(&buffer, "PNG"));

    // The picture turned a quarter: its top edge runs north along x = 20 m,
    // 4 m a pixel.
    std::array<PlanPoint, 2> points;
    points[0].pixel = {0, 0};
    points[0].site = {20, 10};
    points[1].pixel = {20, 0};
    points[1].site = {20, 90};
    const auto placement = PlanTransform(points);
    QVERIFY(placement.ok());
    Picture picture;
    picture.bytes.assign(png.constData(), static_cast<std::size_t>(png.size()));
    picture.pixelWidth = 20;
    picture.pixelHeight = 10;
    picture.placement = placement.value();
    SiteFigure figure = SquareSite();
    figure.items.push_back({FigurePart::Plan, "", picture});

    const SiteView view = ZoomedAbout(FitView(figure, 240, 240), 1.3, {120, 120});
    const QImage image = Rendered(figure, view);
    for (const SitePoint pixel :
         {SitePoint{3, 3}, SitePoint{7, 8}, SitePoint{16, 2}, SitePoint{13, 7}}) {
        const SitePoint site = Apply(placement.value(), pixel);
        const bool red = pixel.x < 10;
        QVERIFY2(IsNear(PixelAt(image, view, site), red ? 255 : 0, 0, red ? 0 : 255, 30),
                 qPrintable(QStringLiteral("picture pixel %1,%2").arg(pixel.x).arg(pixel.y)));
    }
    // Outside the picture the page stays white.
    QVERIFY(IsNear(PixelAt(image, view, Apply(placement.value(), {10, -3})), 255, 255, 255));

    // Bytes that are no picture are left out, not a crash.
    picture.bytes = "not a picture";
    figure.items.back().primitive = picture;
    QCOMPARE(DarkBox(Rendered(figure, view)), QRect());
}

void SiteFigurePainterTest::exampleProjectRendersItsPlan() {
    const auto project = OpenProject(std::filesystem::path(QUORVEL_DOCS_DIR) / "example.qvproj");
    QVERIFY(project.ok());
    // A zone from a disc of 90 m about each source, as a run might give.
    ProjectResults results;
    std::vector<Disc> discs;
    for (const Source& source : project.value().sources) {
        discs.push_back({source.centre, 90});
        results.sources.push_back({source.id, SourceOutcome::Distance, 90.0, "H2S"});
    }
    results.zone = ComputeZone(discs, project.value().boundary, true);
    results.receptors =
        CheckReceptors(project.value().receptors, discs, project.value().boundary, results.zone);
    const SiteFigure figure = BuildSiteFigure(project.value(), &results);

    const QSize size(720, 600);
    const SiteView view = FitView(figure, size.width(), size.height());
    const QImage image = Rendered(figure, view, size);
    // The boundary's first vertex is drawn (dark), and so is every source.
    const SitePoint corner = project.value().boundary.front();
    QVERIFY(DarkestAround(image, view, corner) < 160);
    for (const Source& source : project.value().sources) {
        QVERIFY(qGray(PixelAt(image, view, source.centre).rgb()) < 250);
    }
    if (const char* out = std::getenv("QUORVEL_SITE_PLAN_PNG")) QVERIFY(image.save(out));
}

void SiteFigurePainterTest::drawingLinesLieInPlaceAndItsTextsZoom() {
    SiteFigure figure = SquareSite();
    figure.items.push_back(
        {FigurePart::Drawing, "", PolylineShape{{{10, 30}, {90, 30}}, Outline(kBlack, 1)}});
    TextLabel text;
    text.text = "II";
    text.anchor = {40, 60};
    text.siteSize = 12;  // m
    figure.items.push_back({FigurePart::Drawing, "", text});

    const SiteView fitted = FitView(figure, 240, 240);
    const SiteView zoomed = ZoomedAbout(fitted, 2, {120, 120});
    for (const SiteView& view : {fitted, zoomed}) {
        QVERIFY(DarkestAround(Rendered(figure, view), view, {50, 30}) < 128);
    }
    // The text is as high as its site size at every zoom.
    SiteFigure textOnly = SquareSite();
    textOnly.items.push_back(figure.items.back());
    const QRect near = DarkBox(Rendered(textOnly, fitted));
    const QRect far = DarkBox(Rendered(textOnly, zoomed, {480, 480}));
    QVERIFY(!near.isEmpty());
    QVERIFY(std::abs(far.height() - 2 * near.height()) <= 3);
    // Too small to read at this zoom: not drawn.
    textOnly.items.back().primitive = [&] {
        TextLabel tiny = text;
        tiny.siteSize = 0.05;
        return tiny;
    }();
    QVERIFY(DarkBox(Rendered(textOnly, fitted)).isEmpty());
}

void SiteFigurePainterTest::currentRuleFigurePaintsItsAreaSidesAndContours() {
    Project project;
    project.boundary = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    ProjectResults results;
    FieldResult field;
    field.distance = 30.0;
    field.decidingPollutant = "NMHC";
    field.areaPolygons = {{{{100, 0}, {130, 0}, {130, 100}, {100, 100}}, {}}};
    field.exceedingSides = {2};
    PollutantFieldResult p;
    p.pollutant = "NMHC";
    p.standard = 2000.0;
    p.distance = 30.0;
    p.distanceAt = SitePoint{130, 50};
    p.exceedance = {{{{100, 20}, {130, 50}, {100, 80}}, {}}};
    p.contours = {{1.0, {{{100, 20}, {130, 50}, {100, 80}, {60, 50}, {100, 20}}}}};
    p.final = false;
    p.note = u"edge";
    field.pollutants = {p};
    results.field = field;

    const QSize size(600, 600);
    const SiteFigure area = BuildFieldFigure(project, results, {});
    const SiteView areaView = FitView(area, size.width(), size.height());
    const QImage areaImage = Rendered(area, areaView, size);
    // The area lighter than the exceedance in it; the exceeding side black.
    const int areaGrey = qGray(PixelAt(areaImage, areaView, {120, 10}).rgb());
    const int exceedanceGrey = qGray(PixelAt(areaImage, areaView, {110, 50}).rgb());
    QVERIFY(areaGrey < 250);
    QVERIFY(exceedanceGrey < areaGrey);
    QVERIFY(DarkestAround(areaImage, areaView, {100, 10}) < 60);
    QVERIFY(qGray(PixelAt(areaImage, areaView, {50, 50}).rgb()) > 250);  // the plant stays white

    const SiteFigure one = BuildFieldFigure(project, results, {"NMHC"});
    const SiteView oneView = FitView(one, size.width(), size.height());
    const QImage oneImage = Rendered(one, oneView, size);
    QVERIFY(DarkestAround(oneImage, oneView, {80, 35}) < 100);  // the contour inside the plant
    // The notice at the top left of the frame.
    const PixelPoint corner = ToPixel(oneView, {one.extent.minX, one.extent.maxY});
    const QRect notice(static_cast<int>(corner.x) + 6, static_cast<int>(corner.y) + 6, 40, 8);
    QVERIFY(!DarkBox(oneImage.copy(notice)).isEmpty());
}

QTEST_MAIN(SiteFigurePainterTest)
#include "site_figure_painter_test.moc"
