#pragma once
// The main window's design, toolkit-free: every control with its name, kind,
// container, start text, tooltip, place in twips, tab place and start state,
// and the window's own texts and size. Both front ends build the window from
// this one table, so a control added here appears in both.

#include <span>
#include <string>
#include <string_view>

namespace quorvel {

inline constexpr char16_t kWindowTitle[] = u"Quorvel标准计算程序(Ver1.2)";
inline constexpr char16_t kMessageTitle[] = u"Quorvel";
inline constexpr char16_t kInvalidDataText[] = u"无效数据!";
inline constexpr char16_t kRunCaption[] = u"运行";
inline constexpr char16_t kBusyCaption[] = u"正在运行...";
inline constexpr char16_t kSheetCaption[] = u"计算书";
inline constexpr char16_t kProjectCaption[] = u"项目计算...";
inline constexpr char16_t kNoDocumentsFolderText[] = u"找不到用户的文档文件夹，无法保存计算书!";
inline constexpr char kInstructionsFileName[] = "说明.txt";

// Client area in twips; 15 twips are one pixel at 96 dots per inch.
inline constexpr int kClientWidthTwips = 8460;
inline constexpr int kClientHeightTwips = 4680;

// The window's default font and the publisher labels' font: a CJK face, its
// stand-ins where it is missing, and sizes in points.
inline constexpr char16_t kCjkFace[] = u"宋体";
inline constexpr char16_t kCjkFaceLatinName[] = u"SimSun";
inline constexpr double kWindowFontPoints = 9.0;
inline constexpr double kLinkFontPoints = 10.5;

enum class ControlKind {
    Label,         // static text; takes no focus
    Frame,         // group box holding other controls; takes no focus
    TextBox,       // one-line input box
    DropDownList,  // list the user can only pick from
    CheckBox,
    Button,
    ResultBox,  // multi-line, read-only for the user, no scroll bars
};

enum class ControlFont {
    Window,          // the window's default font
    LinkUnderlined,  // kCjkFace at kLinkFontPoints, underlined, GB2312 character set
    Link,            // the same, not underlined
};

struct TwipsRect {
    int left = 0;  // relative to the container's top-left corner
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ControlDesign {
    std::string_view name;  // control-array name, e.g. "Text1"
    int index;              // index in the control array; -1 for a single control
    ControlKind kind;
    std::string_view container;   // "Form1", "Frame1" or "Frame2"
    std::u16string_view caption;  // caption or start text
    std::u16string_view tooltip;  // empty: none
    TwipsRect twips;
    int tabPlace;  // place in the tab order, 0 first
    bool enabled = true;
    bool visible = true;
    bool checked = false;        // check boxes only
    bool autoSized = false;      // labels that take the size of their text at their place
    bool highlightText = false;  // text in the system highlight colour
    bool handPointer = false;    // the pointing hand over the control
    ControlFont font = ControlFont::Window;
    std::span<const std::u16string_view> items = {};  // list entries, in order
};

// Every control of the window; each container comes before what it holds.
std::span<const ControlDesign> Form1Design();

// The control `name`(index); index -1 for a single control. Terminates the
// program for a name the table does not hold (a programming error).
const ControlDesign& Design(std::string_view name, int index = -1);

// "Text1_0" for Text1(0), "Frame1" for a single control: the name by which
// tests and tools find a control.
std::string ControlName(const ControlDesign& control);

// The controls that can take the focus (not labels or frames), in tab order.
std::span<const ControlDesign* const> TabOrder();

// Entries of the emission-unit list and of the location list.
std::span<const std::u16string_view> RateUnitItems();
inline constexpr int kUrbanLocationIndex = 1;

}  // namespace quorvel
