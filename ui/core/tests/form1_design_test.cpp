// The shared design table: names, containers, places and the tab order that
// both windows are built from.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ui/core/form1_design.h"
#include "ui/core/twips.h"

namespace quorvel {
namespace {

TEST(Form1Design, NamesAreUniqueAndContainersComeFirst) {
    std::set<std::string> seen{"Form1"};
    for (const ControlDesign& control : Form1Design()) {
        EXPECT_TRUE(seen.count(std::string(control.container)))
            << ControlName(control) << " comes before its container";
        EXPECT_TRUE(seen.insert(ControlName(control)).second) << ControlName(control);
    }
}

TEST(Form1Design, EveryControlLiesInsideItsContainerAndTheWindow) {
    for (const ControlDesign& control : Form1Design()) {
        const TwipsRect rect = WindowTwips(control);
        EXPECT_GE(rect.left, 0) << ControlName(control);
        EXPECT_LE(rect.left + rect.width, kClientWidthTwips) << ControlName(control);
        EXPECT_LE(rect.top + rect.height, kClientHeightTwips) << ControlName(control);
        if (control.container != "Form1") {
            const TwipsRect frame = Design(control.container).twips;
            EXPECT_LE(control.twips.left + control.twips.width, frame.width)
                << ControlName(control);
            EXPECT_LE(control.twips.top + control.twips.height, frame.height)
                << ControlName(control);
        }
    }
}

TEST(Form1Design, TabOrderSkipsLabelsAndFramesAndStartsAtTheInstructions) {
    std::vector<std::string> order;
    for (const ControlDesign* control : TabOrder()) order.push_back(ControlName(*control));
    const std::vector<std::string> expected = {
        "Command1_1", "Text1_0",    "Text1_1",  "Text1_2", "Text1_3",    "Combo1_0",
        "Check1_0",   "Text1_4",    "Check1_1", "Text1_5", "Command1_0", "Text2",
        "Command2",   "Command1_2", "Combo1_1", "Command3"};
    EXPECT_EQ(order, expected);
}

TEST(Form1Design, StartStatesOfTheStandardsAndTheHiddenLocationRow) {
    EXPECT_TRUE(Design("Check1", 0).checked);
    EXPECT_TRUE(Design("Text1", 4).enabled);
    EXPECT_FALSE(Design("Check1", 1).checked);
    EXPECT_FALSE(Design("Text1", 5).enabled);
    EXPECT_FALSE(Design("Label1", 4).visible);
    EXPECT_FALSE(Design("Combo1", 1).visible);
    EXPECT_EQ(Design("Combo1", 1).caption, u"城市");
    EXPECT_EQ(Design("Combo1", 1).items.size(), 2u);
    EXPECT_EQ(Design("Combo1", 0).items.size(), 3u);
    EXPECT_TRUE(Design("Label2", 1).handPointer);
    EXPECT_EQ(Design("Label2", 1).font, ControlFont::LinkUnderlined);
    EXPECT_EQ(Design("Label2", 2).font, ControlFont::Link);
    EXPECT_FALSE(Design("Command2").enabled);
}

TEST(Form1Design, TheSheetButtonSharesTheBottomRowWithItsNeighboursSize) {
    const TwipsRect sheet = Design("Command2").twips;
    const TwipsRect exit = Design("Command1", 2).twips;
    EXPECT_EQ(sheet.top, exit.top);
    EXPECT_EQ(sheet.width, exit.width);
    EXPECT_EQ(sheet.height, exit.height);
    // The same gap as between Exit and Instructions, on the other side of Exit.
    EXPECT_EQ(exit.left - (sheet.left + sheet.width),
              Design("Command1", 1).twips.left - (exit.left + exit.width));
}

TEST(Form1Design, TheProjectButtonComesLastInTheRowWithItsNeighboursSizeAndGap) {
    const TwipsRect project = Design("Command3").twips;
    const TwipsRect instructions = Design("Command1", 1).twips;
    const TwipsRect exit = Design("Command1", 2).twips;
    EXPECT_EQ(project.top, instructions.top);
    EXPECT_EQ(project.width, instructions.width);
    EXPECT_EQ(project.height, instructions.height);
    EXPECT_EQ(project.left - (instructions.left + instructions.width),
              instructions.left - (exit.left + exit.width));
    EXPECT_EQ(Design("Command3").caption, u"项目计算...");
    EXPECT_EQ(TabOrder().back()->name, "Command3");
}

TEST(Twips, FifteenTwipsAreOnePixelAt96DotsPerInch) {
    EXPECT_EQ(ToPixels({1380, 240, 1155, 270}, 96), (PixelRect{92, 16, 77, 18}));
    EXPECT_EQ(TwipsToPixels(kClientWidthTwips, 96), 564);
    EXPECT_EQ(TwipsToPixels(kClientHeightTwips, 96), 312);
    // At 150 % edges round on their own, so touching controls still touch.
    const PixelRect a = ToPixels({0, 0, 1155, 300}, 144);
    const PixelRect b = ToPixels({1155, 0, 1155, 300}, 144);
    EXPECT_EQ(a.x + a.width, b.x);
    EXPECT_EQ(TwipsToPixels(1440, 144), 144);
}

TEST(Twips, ControlsInAFrameAreOffsetByTheFrame) {
    const TwipsRect run = WindowTwips(Design("Command1", 0));
    EXPECT_EQ(run.left, 3810 + 1620);
    EXPECT_EQ(run.top, 720 + 210);
    EXPECT_EQ(WindowTwips(Design("Command1", 1)).left, 4410);
}

}  // namespace
}  // namespace quorvel
