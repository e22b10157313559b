// The 导入DXF… dialog on Qt, and the project window taking what it adds.

#include <QtCore/QTemporaryDir>
#include <QtGui/QAction>
#include <QtTest/QTest>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableWidget>

#include <algorithm>
#include <utility>

#include "calc/project/dxf/tests/test_drawings.h"
#include "ui/qt/cell_table.h"
#include "ui/qt/dxf_import_dialog.h"
#include "ui/qt/project_window.h"
#include "ui/qt/site_plan_view.h"

using namespace quorvel;
using project::dxf::test_support::HaveTestDrawings;
using project::dxf::test_support::TestDrawing;

namespace {

int RowOf(const DxfImportDialog& dialog, const QString& name) {
    for (int row = 0; row < dialog.layers()->rowCount(); ++row) {
        if (dialog.layers()->item(row, 0)->text() == name) return row;
    }
    return -1;
}

std::size_t Count(const project::SiteFigure& figure, project::FigurePart part) {
    return static_cast<std::size_t>(
        std::count_if(figure.items.begin(), figure.items.end(),
                      [part](const project::FigureItem& item) { return item.part == part; }));
}

}  // namespace

class DxfImportDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        if (!HaveTestDrawings()) QSKIP("the test drawings were not made (no python3-ezdxf)");
    }
    void layersChoicesAndThePreviewFollowEachOther();
    void theWindowTakesTheImportIntoItsTablesAndPlan();
};

void DxfImportDialogTest::layersChoicesAndThePreviewFollowEachOther() {
    Result<DxfImportBehaviour> opened =
        DxfImportBehaviour::Open(TestDrawing("r2000_gbk_mm.dxf"), {}, {});
    QVERIFY(opened.ok());
    DxfImportDialog dialog(std::move(opened).value());
    dialog.show();
    const int sources = RowOf(dialog, QStringLiteral("排放源"));
    QVERIFY(sources >= 0);
    QCOMPARE(dialog.roleBox(sources)->currentText(), QStringLiteral("排放源"));
    QCOMPARE(dialog.layers()->item(sources, 1)->text(), QStringLiteral("LWPOLYLINE 5，INSERT 3"));
    QVERIFY(RowOf(dialog, QStringLiteral("旧图（冻结）")) >= 0);
    QCOMPARE(dialog.unit()->currentText(), QStringLiteral("mm"));
    QVERIFY(dialog.okButton()->isEnabled());
    QCOMPARE(Count(dialog.preview()->figure(), project::FigurePart::Source), std::size_t{5});
    QVERIFY(Count(dialog.preview()->figure(), project::FigurePart::Drawing) > 0);
    QVERIFY(dialog.notes()->toPlainText().contains(QStringLiteral("最小外接矩形")));

    // A height that is no number: nothing can be added.
    dialog.height()->setFocus();
    dialog.height()->selectAll();
    QTest::keyClicks(dialog.height(), QStringLiteral("x"));
    QVERIFY(!dialog.okButton()->isEnabled());
    QVERIFY(dialog.notes()->toPlainText().contains(QStringLiteral("排放高度")));
    QCOMPARE(Count(dialog.preview()->figure(), project::FigurePart::Source), std::size_t{0});
    // Sources not wanted: the rest can be.
    dialog.roleBox(sources)->setCurrentIndex(0);
    emit dialog.roleBox(sources)->activated(0);
    QVERIFY(dialog.okButton()->isEnabled());
}

void DxfImportDialogTest::theWindowTakesTheImportIntoItsTablesAndPlan() {
    ProjectWindowServices services;
    QTemporaryDir documents;
    services.documentsDir = documents.path().toStdU16String();
    services.workers = 1;
    QStringList messages;
    services.showMessage = [&messages](QWidget*, const QString& text) { messages << text; };
    services.askSave = [](QWidget*, const QString&) { return SaveAnswer::Cancel; };
    services.askPath = [](QWidget*, ProjectWindowServices::FileKind kind, const QString&) {
        return kind == ProjectWindowServices::FileKind::Drawing
                   ? std::optional(TestDrawing("r2000_gbk_mm.dxf"))
                   : std::nullopt;
    };
    services.runDialog = [](QDialog& dialog) {
        auto& import = static_cast<DxfImportDialog&>(dialog);
        return import.okButton()->isEnabled();
    };
    ProjectWindow window(std::move(services));
    window.show();
    auto* import = window.findChild<QAction*>(QStringLiteral("importDrawing"));
    QVERIFY(import != nullptr);
    QCOMPARE(import->text(), QStringLiteral("导入DXF…"));
    import->trigger();
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join(QLatin1Char('\n'))));
    QCOMPARE(window.table(TableId::Sources)->rowCount() >= 5, true);
    QCOMPARE(window.table(TableId::Receptors)->item(0, 0)->text(), QStringLiteral("王家村"));
    QVERIFY(window.behaviour().IsDirty());
    QVERIFY(Count(window.plan()->figure(), project::FigurePart::Drawing) > 0);
    QCOMPARE(Count(window.plan()->figure(), project::FigurePart::Source), std::size_t{5});
}

QTEST_MAIN(DxfImportDialogTest)
#include "dxf_import_dialog_test.moc"
