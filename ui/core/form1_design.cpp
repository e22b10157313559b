#include "ui/core/form1_design.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ui/publisher.h"

namespace quorvel {
namespace {

using namespace std::string_view_literals;

constexpr std::array<std::u16string_view, 3> kRateUnits = {u"g/s", u"kg/hr", u"t/a"};
constexpr std::array<std::u16string_view, 2> kLocations = {u"农村", u"城市"};

// Shorthands for the table below.
constexpr ControlDesign Label(std::string_view name, int index, std::string_view container,
                              std::u16string_view caption, TwipsRect twips, int tab) {
    ControlDesign design{name, index, ControlKind::Label, container, caption, {}, twips, tab};
    design.autoSized = true;
    return design;
}

constexpr ControlDesign Box(int index, std::u16string_view text, std::u16string_view tooltip,
                            TwipsRect twips, int tab) {
    return {"Text1"sv, index, ControlKind::TextBox, "Frame1"sv, text, tooltip, twips, tab};
}

constexpr ControlDesign PublisherLabel(int index, std::u16string_view caption, TwipsRect twips,
                                       int tab, ControlFont font) {
    ControlDesign design = Label("Label2"sv, index, "Form1"sv, caption, twips, tab);
    design.highlightText = true;
    design.font = font;
    return design;
}

constexpr ControlDesign Single(std::string_view name, ControlKind kind, std::string_view container,
                               std::u16string_view caption, TwipsRect twips, int tab) {
    return {name, -1, kind, container, caption, {}, twips, tab};
}

constexpr ControlDesign Member(std::string_view name, int index, ControlKind kind,
                               std::string_view container, std::u16string_view caption,
                               TwipsRect twips, int tab) {
    return {name, index, kind, container, caption, {}, twips, tab};
}

// A list shows, once loaded, the entry `shown`.
constexpr ControlDesign List(int index, std::span<const std::u16string_view> items,
                             std::u16string_view shown, TwipsRect twips, int tab) {
    ControlDesign design =
        Member("Combo1"sv, index, ControlKind::DropDownList, "Frame1"sv, shown, twips, tab);
    design.items = items;
    return design;
}

// Start states that differ from the usual ones.
constexpr ControlDesign Checked(ControlDesign design) {
    design.checked = true;
    return design;
}
constexpr ControlDesign Disabled(ControlDesign design) {
    design.enabled = false;
    return design;
}
constexpr ControlDesign Hidden(ControlDesign design) {
    design.visible = false;
    return design;
}
constexpr ControlDesign HighlightText(ControlDesign design) {
    design.highlightText = true;
    return design;
}
constexpr ControlDesign HandPointer(ControlDesign design) {
    design.handPointer = true;
    return design;
}

constexpr ControlDesign kTable[] = {
    Label("Label2"sv, 0, "Form1"sv, kPublisherOrganisation, {3000, 120, 2340, 180}, 20),
    HandPointer(PublisherLabel(1, kPublisherLaboratory, {2880, 360, 2310, 210}, 21,
                               ControlFont::LinkUnderlined)),
    PublisherLabel(2, u"发布", {5160, 360, 420, 210}, 22, ControlFont::Link),
    Single("Frame1"sv, ControlKind::Frame, "Form1"sv, u"参数设定", {30, 720, 3705, 3495}, 1),
    Label("Label1"sv, 0, "Frame1"sv, u"面源有效高度:", {180, 300, 1170, 180}, 2),
    Box(0, u"15 m", u"[0,999]", {1380, 240, 1155, 270}, 3),
    Label("Label1"sv, 1, "Frame1"sv, u"面源    宽度:", {180, 540, 1170, 180}, 4),
    Box(1, u"100 m", u">0", {1380, 480, 1155, 270}, 5),
    Label("Label1"sv, 2, "Frame1"sv, u"面源    长度:", {180, 780, 1170, 180}, 6),
    Box(2, u"100 m", u">0", {1380, 720, 1155, 270}, 7),
    Label("Label1"sv, 3, "Frame1"sv, u"污染物排放率:", {180, 1050, 1170, 180}, 8),
    Box(3, u"10", u">0", {1380, 990, 1155, 300}, 9),
    List(0, kRateUnits, u"g/s", {2520, 990, 1095, 300}, 10),
    Checked(Member("Check1"sv, 0, ControlKind::CheckBox, "Frame1"sv, u"小时评价标准(mg/m^3)",
                   {180, 1350, 2175, 225}, 11)),
    Box(4, u"0.5", u">0", {1350, 1560, 1155, 300}, 12),
    Member("Check1"sv, 1, ControlKind::CheckBox, "Frame1"sv, u"日均评价标准(mg/m^3)",
           {180, 1890, 2175, 225}, 13),
    Disabled(Box(5, u"0.15", u">0", {1350, 2100, 1155, 300}, 14)),
    Hidden(Label("Label1"sv, 4, "Frame1"sv, u"项目所在位置:", {180, 2700, 1170, 180}, 23)),
    Hidden(List(1, kLocations, u"城市", {1350, 2640, 1155, 300}, 24)),
    Single("Frame2"sv, ControlKind::Frame, "Form1"sv, u"计算结果", {3810, 720, 4605, 3495}, 15),
    Member("Command1"sv, 0, ControlKind::Button, "Frame2"sv, kRunCaption, {1620, 210, 1335, 345},
           16),
    HighlightText(
        Single("Text2"sv, ControlKind::ResultBox, "Frame2"sv, u"", {60, 570, 4455, 2835}, 17)),
    // The calculation sheet of the last successful run; usable once there is one.
    Disabled(Single("Command2"sv, ControlKind::Button, "Form1"sv, kSheetCaption,
                    {810, 4290, 1605, 345}, 18)),
    Member("Command1"sv, 2, ControlKind::Button, "Form1"sv, u"退出", {2610, 4290, 1605, 345}, 19),
    Member("Command1"sv, 1, ControlKind::Button, "Form1"sv, u"使用说明", {4410, 4290, 1605, 345},
           0),
    // Opens the project window; right of 使用说明 with the row's size and gap, last in the tabs.
    Single("Command3"sv, ControlKind::Button, "Form1"sv, kProjectCaption, {6210, 4290, 1605, 345},
           25),
};

bool TakesFocus(const ControlDesign& control) {
    return control.kind != ControlKind::Label && control.kind != ControlKind::Frame;
}

std::vector<const ControlDesign*> BuildTabOrder() {
    std::vector<const ControlDesign*> order;
    for (const ControlDesign& control : kTable) {
        if (TakesFocus(control)) order.push_back(&control);
    }
    std::sort(order.begin(), order.end(), [](const ControlDesign* a, const ControlDesign* b) {
        return a->tabPlace < b->tabPlace;
    });
    return order;
}

}  // namespace

std::span<const ControlDesign> Form1Design() { return kTable; }

const ControlDesign& Design(std::string_view name, int index) {
    for (const ControlDesign& control : kTable) {
        if (control.name == name && control.index == index) return control;
    }
    std::fprintf(stderr, "no control %.*s(%d) in the window's design\n",
                 static_cast<int>(name.size()), name.data(), index);
    std::abort();
}

std::string ControlName(const ControlDesign& control) {
    std::string name(control.name);
    if (control.index >= 0) name += "_" + std::to_string(control.index);
    return name;
}

std::span<const ControlDesign* const> TabOrder() {
    static const std::vector<const ControlDesign*> order = BuildTabOrder();
    return order;
}

std::span<const std::u16string_view> RateUnitItems() { return kRateUnits; }

}  // namespace quorvel
