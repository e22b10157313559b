#include "ui/core/dxf_import_behaviour.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "calc/project/dxf/tests/test_drawings.h"
#include "calc/unicode_text.h"

namespace quorvel {
namespace {

namespace dxf = project::dxf;
using dxf::test_support::TestDrawing;

std::size_t Count(const project::SiteFigure& figure, project::FigurePart part) {
    return static_cast<std::size_t>(
        std::count_if(figure.items.begin(), figure.items.end(),
                      [part](const project::FigureItem& item) { return item.part == part; }));
}

std::size_t RowOf(const DxfImportBehaviour& dialog, std::u16string_view name) {
    for (std::size_t i = 0; i < dialog.Layers().size(); ++i) {
        if (dialog.Layers()[i].name == name) return i;
    }
    ADD_FAILURE() << ToUtf8(name);
    return 0;
}

bool Mentions(const std::vector<std::u16string>& notes, std::u16string_view text) {
    return std::any_of(notes.begin(), notes.end(), [text](const std::u16string& note) {
        return note.find(text) != std::u16string::npos;
    });
}

TEST(DxfImportBehaviour, TheUsualLayersAreChosenAndThePreviewShowsWhatComes) {
    QUORVEL_NEED_TEST_DRAWINGS();
    Result<DxfImportBehaviour> opened =
        DxfImportBehaviour::Open(TestDrawing("r2000_gbk_mm.dxf"), {}, {});
    ASSERT_TRUE(opened) << ToUtf8(opened.error());
    DxfImportBehaviour& dialog = opened.value();
    EXPECT_EQ(dialog.Layers()[RowOf(dialog, u"厂界")].role, dxf::LayerRole::Boundary);
    EXPECT_EQ(dialog.Layers()[RowOf(dialog, u"排放源")].counts, u"LWPOLYLINE 5，INSERT 3");
    EXPECT_EQ(dialog.Layers()[RowOf(dialog, u"敏感目标")].role, dxf::LayerRole::Receptors);
    EXPECT_EQ(dialog.Layers()[RowOf(dialog, u"旧图（冻结）")].role, dxf::LayerRole::None);
    EXPECT_EQ(dialog.Unit(), project::DrawingUnit::Millimetre);
    ASSERT_TRUE(dialog.CanAccept()) << ToUtf8(dialog.Notes().front());
    EXPECT_EQ(dialog.Imported().sources.size(), 5u);
    EXPECT_EQ(dialog.Imported().sources[0].height, 10.0);
    EXPECT_EQ(Count(dialog.Preview(), project::FigurePart::Source), 5u);
    EXPECT_GT(Count(dialog.Preview(), project::FigurePart::Drawing), 5u);
    EXPECT_TRUE(Mentions(dialog.Notes(), u"按最小外接矩形导入"));

    dialog.SetHeight(u"高");
    EXPECT_FALSE(dialog.CanAccept());
    EXPECT_TRUE(Mentions(dialog.Notes(), u"需要给出排放高度"));
    EXPECT_EQ(Count(dialog.Preview(), project::FigurePart::Source), 0u);
    dialog.SetRole(RowOf(dialog, u"排放源"), dxf::LayerRole::None);
    ASSERT_TRUE(dialog.CanAccept());
    EXPECT_TRUE(dialog.Imported().sources.empty());
    dialog.SetNorth(u"北");
    EXPECT_FALSE(dialog.CanAccept());
    dialog.SetNorth(u"15");
    ASSERT_TRUE(dialog.CanAccept());
    EXPECT_EQ(dialog.Imported().cad->northDeg, 15.0);
}

TEST(DxfImportBehaviour, AUnitTheDrawingDoesNotSayMustBeChosenAndATieFixesIt) {
    QUORVEL_NEED_TEST_DRAWINGS();
    Result<DxfImportBehaviour> opened =
        DxfImportBehaviour::Open(TestDrawing("r12_metres.dxf"), {}, {});
    ASSERT_TRUE(opened);
    DxfImportBehaviour& dialog = opened.value();
    dialog.SetRole(RowOf(dialog, u"BOUNDARY"), dxf::LayerRole::Boundary);
    EXPECT_FALSE(dialog.Unit().has_value());
    EXPECT_FALSE(dialog.CanAccept());
    EXPECT_TRUE(Mentions(dialog.Notes(), u"请选择图形的单位"));
    dialog.SetUnit(project::DrawingUnit::Metre);
    ASSERT_TRUE(dialog.CanAccept());
    // Unsaved: the tie names the drawing by its absolute path.
    EXPECT_TRUE(std::filesystem::path(dialog.Imported().cad->file).is_absolute());

    const project::Project tied = dialog.Imported();
    Result<DxfImportBehaviour> again =
        DxfImportBehaviour::Open(TestDrawing("r12_metres.dxf"), tied, {});
    ASSERT_TRUE(again);
    EXPECT_TRUE(again.value().UnitFixed());
    again.value().SetUnit(project::DrawingUnit::Millimetre);
    EXPECT_EQ(again.value().Unit(), project::DrawingUnit::Metre);

    const Result<DxfImportBehaviour> dwg =
        DxfImportBehaviour::Open(TestDrawing("plan.dwg"), {}, {});
    ASSERT_FALSE(dwg);
    EXPECT_NE(dwg.error().find(u"另存为 DXF"), std::u16string::npos);
}

}  // namespace
}  // namespace quorvel
