// The project window's live field on the offscreen platform: the example's
// field comes without 计算, an edit computes it again after the pause with
// the plan marked meanwhile, and a computation an edit overtook is dropped;
// the 预测浓度场 table with a good and a damaged field file.

#include <QtCore/QElapsedTimer>
#include <QtCore/QFile>
#include <QtCore/QMimeData>
#include <QtCore/QTemporaryDir>
#include <QtGui/QAction>
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QTabWidget>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "calc/project/field/compute_field.h"
#include "calc/unicode_text.h"
#include "ui/qt/cell_table.h"
#include "ui/qt/plan_pictures.h"
#include "ui/qt/project_results_panel.h"
#include "ui/qt/project_window.h"
#include "ui/qt/site_plan_view.h"
#include "ui/qt/window_fit.h"

using namespace quorvel;

namespace {

std::filesystem::path PathOf(const QString& text) { return {text.toStdU16String()}; }

// Counts the field's computations and can hold them until released.
struct FieldProbe {
    std::mutex mutex;
    std::vector<double> heights;  // the first source's height in each computation, as it starts
    std::atomic<bool> hold = false;
    std::atomic<int> finished = 0;

    project::FieldResult Compute(const project::Project& project, const LiveField::Folder& folder) {
        {
            const std::lock_guard lock(mutex);
            heights.push_back(project.sources.empty() ? 0.0 : project.sources[0].height);
        }
        while (hold) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        project::FieldResult field = project::ComputeField(project, folder);
        ++finished;
        return field;
    }
    std::vector<double> Heights() {
        const std::lock_guard lock(mutex);
        return heights;
    }
};

}  // namespace

class ProjectWindowFieldTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FieldProbe> probe_;
    std::unique_ptr<ProjectWindow> window_;
    QStringList messages_;
    std::optional<std::filesystem::path> nextPath_;

    ProjectWindowBehaviour& Behaviour() { return window_->behaviour(); }

    // How many items of `part` the plan paints.
    std::size_t Parts(project::FigurePart part) const {
        std::size_t n = 0;
        for (const project::FigureItem& item : window_->plan()->figure().items)
            n += item.part == part ? 1 : 0;
        return n;
    }

    double FieldHeight() {
        const project::Project* shown = Behaviour().FieldProject();
        return shown && !shown->sources.empty() ? shown->sources[0].height : -1.0;
    }

    // The first source's height as typed into its cell.
    void SetHeight(const QString& text) {
        Behaviour().SetCell(TableId::Sources, 0, 5, text.toStdU16String());
    }

  private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        probe_ = std::make_unique<FieldProbe>();
        ProjectWindowServices services;
        services.showMessage = [this](QWidget*, const QString& text) { messages_ << text; };
        services.askSave = [](QWidget*, const QString&) { return SaveAnswer::DontSave; };
        services.askPath = [this](QWidget*, ProjectWindowServices::FileKind, const QString&) {
            return std::exchange(nextPath_, std::nullopt);
        };
        services.openUrl = [](const QUrl&) {};
        services.computeField = [probe = probe_.get()](const project::Project& p,
                                                       const LiveField::Folder& folder) {
            return probe->Compute(p, folder);
        };
        window_ = std::make_unique<ProjectWindow>(std::move(services));
        window_->show();
        const QString file = dir_->filePath(QStringLiteral("example.qvproj"));
        QVERIFY(QFile::copy(QStringLiteral(QUORVEL_DOCS_DIR "/example.qvproj"), file));
        QVERIFY(window_->openFile(PathOf(file)));
    }
    void cleanup() {
        messages_.clear();
        probe_->hold = false;
        window_.reset();
        probe_.reset();
        dir_.reset();
    }

    void theFieldComesWithoutComputingAndFollowsAnEdit() {
        QCOMPARE(window_->plan()->note(), QString::fromUtf16(kFieldComputingText));
        QTRY_VERIFY_WITH_TIMEOUT(Behaviour().Field() != nullptr, 20000);
        QVERIFY(!Behaviour().FieldState().computing);
        QVERIFY(window_->plan()->note().isEmpty());
        QVERIFY(!Behaviour().Field()->pollutants.empty());
        const double before = FieldHeight();
        QCOMPARE(probe_->Heights().size(), std::size_t{1});

        // Two edits within the pause: one computation, of the second.
        SetHeight(QStringLiteral("7"));
        SetHeight(QStringLiteral("8"));
        QVERIFY(Behaviour().FieldState().computing);
        QCOMPARE(window_->plan()->note(), QString::fromUtf16(kFieldComputingText));
        QCOMPARE(FieldHeight(), before);  // the old field stays shown meanwhile
        QTRY_VERIFY_WITH_TIMEOUT(!Behaviour().FieldState().computing, 20000);
        QCOMPARE(FieldHeight(), 8.0);
        // Under a heavy load the pause may pass between the two edits; the
        // schedule's own tests pin the pause down.
        const std::vector<double> heights = probe_->Heights();
        QCOMPARE(heights.front(), before);
        QCOMPARE(heights.back(), 8.0);
        QVERIFY(heights.size() <= 3);

        // An edit that does not change the field computes nothing.
        Behaviour().SetTargetDistance(u"200");
        QVERIFY(!Behaviour().FieldState().computing);

        // A cell that cannot be used: the field stays, and says why.
        SetHeight(QStringLiteral("高"));
        QVERIFY(!Behaviour().FieldState().computing);
        QVERIFY(window_->plan()->note().startsWith(QString::fromUtf16(kFieldUnusableText)));
        QCOMPARE(FieldHeight(), 8.0);
    }

    void aComputationAnEditOvertookIsDropped() {
        QTRY_VERIFY_WITH_TIMEOUT(Behaviour().Field() != nullptr, 20000);
        probe_->hold = true;
        SetHeight(QStringLiteral("6"));
        QTRY_VERIFY_WITH_TIMEOUT(probe_->Heights().size() == 2, 20000);
        SetHeight(QStringLiteral("9"));  // while the height 6 is computed
        probe_->hold = false;
        QTRY_VERIFY_WITH_TIMEOUT(!Behaviour().FieldState().computing, 20000);
        QCOMPARE(probe_->Heights().back(), 9.0);
        QCOMPARE(FieldHeight(), 9.0);
        // The height 6 was computed to its end, and never shown.
        QCOMPARE(probe_->finished.load(), 3);
    }

    void theSwitchAndTheChooserChangeThePlan() {
        QTRY_VERIFY_WITH_TIMEOUT(Behaviour().Field() != nullptr, 20000);
        QComboBox* shows = window_->planShows();
        QComboBox* pollutant = window_->planPollutant();
        QCOMPARE(shows->currentText(),
                 QString::fromUtf16(kPlanShowsTexts[0].data(),
                                    static_cast<qsizetype>(kPlanShowsTexts[0].size())));
        // Each computed pollutant after "all".
        QCOMPARE(pollutant->count(), static_cast<int>(Behaviour().Field()->pollutants.size() + 1));
        QCOMPARE(pollutant->currentIndex(), 0);
        QVERIFY(Parts(project::FigurePart::Legend) > 0);
        QCOMPARE(Parts(project::FigurePart::Contour), std::size_t{0});

        emit pollutant->activated(1);
        QCOMPARE(Behaviour().PlanChoicesShown().chosen, std::size_t{1});
        QVERIFY(Parts(project::FigurePart::Contour) > 0);
        QVERIFY(Parts(project::FigurePart::ContourLabel) > 0);
        QCOMPARE(Parts(project::FigurePart::ProtectionArea), std::size_t{0});

        emit shows->activated(static_cast<int>(PlanShows::PerSource));
        QVERIFY(!pollutant->isEnabled());
        QCOMPARE(Parts(project::FigurePart::Legend), std::size_t{0});
        QCOMPARE(Parts(project::FigurePart::Contour), std::size_t{0});
        QVERIFY(Parts(project::FigurePart::Source) > 0);

        // The choice stays while the field is computed again.
        emit shows->activated(static_cast<int>(PlanShows::CurrentRule));
        SetHeight(QStringLiteral("6"));
        QTRY_VERIFY_WITH_TIMEOUT(!Behaviour().FieldState().computing, 20000);
        QCOMPARE(pollutant->currentIndex(), 1);
        QVERIFY(Parts(project::FigurePart::Contour) > 0);
    }

    void theResultsTabShowsTheRuleAndTheReceptors() {
        QTRY_VERIFY_WITH_TIMEOUT(Behaviour().Field() != nullptr, 20000);
        const project::FieldResult& field = *Behaviour().Field();
        CellTable* pollutants = window_->results()->fieldTables()[0];
        QCOMPARE(pollutants->rowCount(), static_cast<int>(field.pollutants.size()));
        QCOMPARE(pollutants->item(0, 0)->text(),
                 QString::fromStdString(field.pollutants[0].pollutant));
        QVERIFY(window_->results()->fieldSummaryText().contains(QStringLiteral("防护距离")));
        QVERIFY(window_->results()->conclusionText().startsWith(QStringLiteral("现行导则")));
        // A row per receptor and pollutant, with its ratio and the sources' shares.
        CellTable* receptors = window_->results()->fieldTables()[1];
        QCOMPARE(receptors->rowCount(),
                 static_cast<int>(field.receptors.size() * field.pollutants.size()));
        QCOMPARE(receptors->item(0, 0)->text(), QString::fromStdString(field.receptors[0].name));
        QVERIFY(receptors->item(0, 6)->text().contains(QStringLiteral("S1")));
    }

    void theFieldFileTableTakesAGoodFileAndShowsWhyABadOneIsRefused() {
        QTRY_VERIFY_WITH_TIMEOUT(Behaviour().Field() != nullptr, 20000);
        auto* tabs = window_->findChild<QTabWidget*>(QStringLiteral("tableTabs"));
        QCOMPARE(tabs->tabText(static_cast<int>(TableId::Fields)), QStringLiteral("预测浓度场"));
        // 苯 at 50 µg/m³, under half its standard, over 2 km around the plant.
        const auto write = [this](const QString& name, const QByteArray& bytes) {
            QFile file(dir_->filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        QByteArray grid = "DSAA\n5 5\n-1000 1000\n-1000 1000\n50 50\n";
        for (int row = 0; row < 5; ++row) grid += "50 50 50 50 50\n";
        write(QStringLiteral("苯.grd"), grid);
        write(QStringLiteral("坏.grd"), "DSAA\n5 5\n-1000\n");
        const auto pollutant = [this](const std::string& name) {
            for (const project::PollutantFieldResult& p : Behaviour().Field()->pollutants)
                if (p.pollutant == name) return p;
            return project::PollutantFieldResult{};
        };

        nextPath_ = PathOf(dir_->filePath(QStringLiteral("苯.grd")));
        window_->findChild<QAction*>(QStringLiteral("chooseFieldFile"))->trigger();
        CellTable* fields = window_->table(TableId::Fields);
        QCOMPARE(tabs->currentIndex(), static_cast<int>(TableId::Fields));
        QCOMPARE(fields->rowCount(), 1);
        QCOMPARE(fields->item(0, 1)->text(), QStringLiteral("苯.grd"));
        Behaviour().SetCell(TableId::Fields, 0, 0, u"苯");
        QTRY_VERIFY_WITH_TIMEOUT(
            !Behaviour().FieldState().computing && pollutant("苯").source == "苯.grd", 20000);
        QVERIFY(pollutant("苯").maxOutside);
        QCOMPARE(fields->item(0, 1)->toolTip(), QString());
        // The 现行导则 tab names the file as 苯's field.
        CellTable* results = window_->results()->fieldTables()[0];
        bool named = false;
        for (int row = 0; row < results->rowCount(); ++row) {
            if (results->item(row, 0)->text() != QStringLiteral("苯")) continue;
            for (int column = 1; column < results->columnCount(); ++column)
                named = named || results->item(row, column)->text() == QStringLiteral("苯.grd");
        }
        QVERIFY(named);

        // A damaged file: the row says why, and the other pollutants are computed.
        nextPath_ = PathOf(dir_->filePath(QStringLiteral("坏.grd")));
        window_->findChild<QAction*>(QStringLiteral("chooseFieldFile"))->trigger();
        QCOMPARE(fields->rowCount(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(
            !Behaviour().FieldState().computing && !pollutant("苯").error.empty(), 20000);
        QTRY_COMPARE(fields->item(0, 1)->toolTip(),
                     QString::fromStdU16String(pollutant("苯").error));
        QVERIFY(fields->item(0, 1)->toolTip().contains(QStringLiteral("坏.grd")));
        QVERIFY(pollutant("非甲烷总烃").maxOutside);
    }

    void copyAndExportThePlan() {
        QTRY_VERIFY_WITH_TIMEOUT(Behaviour().Field() != nullptr, 20000);
        window_->findChild<QAction*>(QStringLiteral("copyPlan"))->trigger();
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data != nullptr);
        QVERIFY(data->hasImage());
        QVERIFY(!qvariant_cast<QImage>(data->imageData()).isNull());
        QVERIFY(data->data(QStringLiteral("image/png")).startsWith("\x89PNG"));
        QVERIFY(data->data(QStringLiteral("image/svg+xml")).contains("<svg"));

        for (const QString& name : {QStringLiteral("厂区图.png"), QStringLiteral("厂区图.SVG")}) {
            nextPath_ = PathOf(dir_->filePath(name));
            window_->findChild<QAction*>(QStringLiteral("exportPlan"))->trigger();
            QFile file(dir_->filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            if (name.endsWith(QStringLiteral(".png"))) {
                const QImage image = QImage::fromData(bytes, "PNG");
                QCOMPARE(image.width(), static_cast<int>(kPlanPictureWidth * kPlanPictureScale));
            } else {
                QVERIFY(bytes.startsWith("<?xml"));
            }
        }
        // A folder that cannot be written: a message naming the file.
        nextPath_ = PathOf(dir_->filePath(QStringLiteral("无此目录/厂区图.png")));
        window_->findChild<QAction*>(QStringLiteral("exportPlan"))->trigger();
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].contains(QStringLiteral("厂区图.png")));
    }

    // QUORVEL_WINDOW_PICTURE=file.png: the window at 1366 x 768 with the first
    // pollutant's contours on the plan, for the documentation.
    void picture() {
        const QString file = qEnvironmentVariable("QUORVEL_WINDOW_PICTURE");
        if (file.isEmpty()) QSKIP("QUORVEL_WINDOW_PICTURE not set");
        window_->resize(1366, 768);
        QTRY_VERIFY_WITH_TIMEOUT(Behaviour().Field() != nullptr, 20000);
        emit window_->planPollutant()->activated(
            qEnvironmentVariableIntValue("QUORVEL_WINDOW_PICTURE_POLLUTANT"));
        window_->results()
            ->findChild<QTabWidget*>(QStringLiteral("resultsTabs"))
            ->setCurrentIndex(4);
        window_->plan()->fitToWindow();
        QApplication::processEvents();
        QVERIFY(window_->grab().save(file));
    }

    // A 1366 x 768 screen, and a 1920 x 1080 one at 125 % (1536 x 864
    // logical pixels), hold the window with its frame and the task bar, and
    // nothing in it is cut off.
    void fitsASmallScreen() {
        const QSize room = QSize(1366, 768) - kWindowFrameRoom;
        QVERIFY2(window_->minimumSizeHint().width() <= room.width() &&
                     window_->minimumSizeHint().height() <= room.height(),
                 qPrintable(QStringLiteral("%1 x %2")
                                .arg(window_->minimumSizeHint().width())
                                .arg(window_->minimumSizeHint().height())));
        window_->resize(room);
        QTRY_VERIFY_WITH_TIMEOUT(Behaviour().Field() != nullptr, 20000);
        QApplication::processEvents();
        QVERIFY(window_->plan()->width() >= 300 && window_->plan()->height() >= 200);
        const QRect inside = window_->rect();
        for (const QWidget* child : window_->findChildren<QWidget*>()) {
            if (!child->isVisible() || child->isWindow()) continue;
            const QRect at(child->mapTo(window_.get(), QPoint(0, 0)), child->size());
            QVERIFY2(inside.contains(at), qPrintable(child->objectName() + QStringLiteral(" ") +
                                                     child->metaObject()->className()));
        }
    }

    void typingIsNotHeldUpByAComputation() {
        QTRY_VERIFY_WITH_TIMEOUT(Behaviour().Field() != nullptr, 20000);
        probe_->hold = true;
        SetHeight(QStringLiteral("6"));
        QTRY_VERIFY_WITH_TIMEOUT(probe_->Heights().size() == 2, 20000);
        // The UI thread goes on while the field's thread is held.
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 20; ++i) SetHeight(QString::number(10 + i));
        QApplication::processEvents();
        QVERIFY(timer.elapsed() < 2000);
        QVERIFY(Behaviour().FieldState().computing);
    }
};

QTEST_MAIN(ProjectWindowFieldTest)
#include "project_window_field_test.moc"
