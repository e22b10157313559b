#include "ui/qt/form1.h"

#include <QtCore/QCoreApplication>
#include <QtGui/QCloseEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>

#include <algorithm>
#include <utility>

#include "calc/unicode_text.h"
#include "ui/core/input_rules.h"
#include "ui/core/twips.h"
#include "ui/publisher.h"
#include "ui/qt/click_label.h"
#include "ui/qt/input_box.h"
#include "ui/qt/window_art.h"

namespace quorvel {
namespace {

QString Text(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

QString Name(std::string_view name, int index = -1) {
    QString text = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    if (index >= 0) text += QStringLiteral("_%1").arg(index);
    return text;
}

// The CJK face the window is designed for, with the faces that stand in for
// it where it is not installed.
QFont CjkFont(double pointSize) {
    QFont font;
    font.setFamilies({Text(kCjkFace), Text(kCjkFaceLatinName), QStringLiteral("WenQuanYi Zen Hei"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

void UseHighlightAsText(QWidget* control, QPalette::ColorRole role) {
    QPalette palette = control->palette();
    palette.setColor(role, palette.color(QPalette::Highlight));
    control->setPalette(palette);
}

// The widget that a press at `under` would give the focus to, found as the
// toolkit does: the nearest enabled widget that accepts focus this way.
QWidget* FocusTarget(QWidget* under, Qt::FocusPolicy policy) {
    for (QWidget* widget = under; widget != nullptr; widget = widget->parentWidget()) {
        if (widget->isEnabled() && (widget->focusPolicy() & policy) == policy) {
            while (widget->focusProxy() != nullptr) widget = widget->focusProxy();
            return widget;
        }
        if (widget->isWindow()) break;
    }
    return nullptr;
}

}  // namespace

Form1::Form1(WindowServices services, QWidget* parent)
    : QWidget(parent),
      services_(std::move(services)),
      behaviour_(*this, PathFromText(services_.appDir.toStdU16String()), services_.launcher) {
    BuildControls();
    WireControls();
    Form_Load();
    qApp->installEventFilter(this);
}

Form1::~Form1() { qApp->removeEventFilter(this); }

int Form1::Pixels(int twips) const { return TwipsToPixels(twips, logicalDpiX()); }

void Form1::Place(QWidget* control, const TwipsRect& twips) const {
    const PixelRect pixels = ToPixels(twips, logicalDpiX());
    control->setGeometry(pixels.x, pixels.y, pixels.width, pixels.height);
}

template <class Control>
Control* Form1::Widget(std::string_view name, int index) const {
    return qobject_cast<Control*>(controls_.value(Name(name, index)));
}

void Form1::BuildControls() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Text(kWindowTitle));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ApplicationIcon());
    setFont(CjkFont(kWindowFontPoints));
    setFixedSize(Pixels(kClientWidthTwips), Pixels(kClientHeightTwips));
    controls_.insert(QStringLiteral("Form1"), this);

    for (const ControlDesign& design : Form1Design()) {
        QWidget* container = controls_.value(Name(design.container));
        QWidget* control = CreateControl(design, container);
        control->setObjectName(Name(design.name, design.index));
        if (!design.tooltip.empty()) control->setToolTip(Text(design.tooltip));
        control->setEnabled(design.enabled);
        if (design.font != ControlFont::Window) {
            QFont font = CjkFont(kLinkFontPoints);
            font.setUnderline(design.font == ControlFont::LinkUnderlined);
            control->setFont(font);
        }
        if (design.highlightText) {
            UseHighlightAsText(
                control, design.kind == ControlKind::Label ? QPalette::WindowText : QPalette::Text);
        }
        if (design.handPointer) control->setCursor(HandCursor());
        Place(control, design.twips);
        if (design.autoSized) control->resize(control->sizeHint());
        if (!design.visible) control->setVisible(false);
        controls_.insert(control->objectName(), control);
    }

    for (std::size_t i = 0; i < 6; ++i) Text1[i] = Widget<InputBox>("Text1", static_cast<int>(i));
    for (std::size_t i = 0; i < 2; ++i)
        Check1[i] = Widget<QCheckBox>("Check1", static_cast<int>(i));
    for (std::size_t i = 0; i < 2; ++i)
        Combo1[i] = Widget<QComboBox>("Combo1", static_cast<int>(i));
    for (std::size_t i = 0; i < 3; ++i)
        Command1[i] = Widget<QPushButton>("Command1", static_cast<int>(i));
    Command2 = Widget<QPushButton>("Command2");
    Command3 = Widget<QPushButton>("Command3");
    for (std::size_t i = 0; i < 5; ++i) Label1[i] = Widget<QLabel>("Label1", static_cast<int>(i));
    for (std::size_t i = 0; i < 3; ++i)
        Label2[i] = Widget<ClickLabel>("Label2", static_cast<int>(i));
    Text2 = Widget<QPlainTextEdit>("Text2");

    // The names screen readers read: a box is named by its row's label.
    for (std::size_t i = 0; i < 4; ++i) {
        Label1[i]->setBuddy(Text1[i]);
        Text1[i]->setAccessibleName(Label1[i]->text());
    }
    Combo1[0]->setAccessibleName(Label1[3]->text());
    for (std::size_t i = 0; i < 2; ++i) Text1[i + 4]->setAccessibleName(Check1[i]->text());
    Label1[4]->setBuddy(Combo1[1]);
    Combo1[1]->setAccessibleName(Label1[4]->text());
    Text2->setAccessibleName(Text(Design("Frame2").caption));

    const auto order = TabOrder();
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(controls_.value(Name(order[i - 1]->name, order[i - 1]->index)),
                    controls_.value(Name(order[i]->name, order[i]->index)));
    }
    Command1[1]->setFocus();
}

QWidget* Form1::CreateControl(const ControlDesign& design, QWidget* container) {
    const QString caption = Text(design.caption);
    switch (design.kind) {
        case ControlKind::Label:
            return new ClickLabel(caption, container);
        case ControlKind::Frame:
            return new QGroupBox(caption, container);
        case ControlKind::TextBox:
            return new InputBox(caption, container);
        case ControlKind::DropDownList: {
            auto* list = new QComboBox(container);
            for (std::u16string_view item : design.items) list->addItem(Text(item), 0);
            list->setCurrentText(caption);
            return list;
        }
        case ControlKind::CheckBox: {
            auto* check = new QCheckBox(caption, container);
            check->setChecked(design.checked);
            return check;
        }
        case ControlKind::Button: {
            auto* button = new QPushButton(caption, container);
            button->setAutoDefault(false);
            return button;
        }
        case ControlKind::ResultBox: {
            auto* result = new QPlainTextEdit(caption, container);
            result->setReadOnly(true);
            result->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                            Qt::TextSelectableByKeyboard);
            result->setTabChangesFocus(true);
            result->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            result->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            return result;
        }
    }
    return nullptr;
}

void Form1::WireControls() {
    for (std::size_t i = 0; i < 3; ++i) {
        connect(Command1[i], &QPushButton::clicked, this,
                [this, i] { Command1_Click(static_cast<int>(i)); });
        connect(Label2[i], &ClickLabel::clicked, this,
                [this, i] { Label2_Click(static_cast<int>(i)); });
    }
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    for (std::size_t i = 0; i < 6; ++i) {
        connect(Text1[i], &InputBox::gotFocus, this,
                [this, i] { Text1_GotFocus(static_cast<int>(i)); });
        connect(Text1[i], &InputBox::lostFocus, this,
                [this, i] { Text1_LostFocus(static_cast<int>(i)); });
    }
    for (std::size_t i = 0; i < 2; ++i) {
        connect(Check1[i], &QCheckBox::stateChanged, this,
                [this, i] { Check1_Click(static_cast<int>(i)); });
    }
}

void Form1::Form_Load() {
    Combo1[0]->clear();
    for (std::u16string_view unit : RateUnitItems()) Combo1[0]->addItem(Text(unit), 0);
    Combo1[0]->setCurrentIndex(0);
    Combo1[1]->setCurrentIndex(kUrbanLocationIndex);
}

CalculationInputs Form1::ReadInputs() const {
    CalculationInputs inputs;
    inputs.HeightText = Text1[0]->text().toStdU16String();
    inputs.WidthText = Text1[1]->text().toStdU16String();
    inputs.LengthText = Text1[2]->text().toStdU16String();
    inputs.RateText = Text1[3]->text().toStdU16String();
    inputs.RateUnit = static_cast<std::int16_t>(Combo1[0]->currentIndex());
    inputs.HourlyChecked = Check1[0]->checkState() == Qt::Checked;
    inputs.HourlyStandardText = Text1[4]->text().toStdU16String();
    inputs.DailyChecked = Check1[1]->checkState() == Qt::Checked;
    inputs.DailyStandardText = Text1[5]->text().toStdU16String();
    inputs.LocationIndex = static_cast<std::int16_t>(Combo1[1]->currentIndex());
    return inputs;
}

void Form1::MoveFocus(CheckFocus focus) {
    QWidget* control = nullptr;
    switch (focus) {
        case CheckFocus::Check1_0:
            control = Check1[0];
            break;
        case CheckFocus::Text1_0:
        case CheckFocus::Text1_1:
        case CheckFocus::Text1_2:
        case CheckFocus::Text1_3:
        case CheckFocus::Text1_4:
        case CheckFocus::Text1_5:
            control = Text1[static_cast<std::size_t>(static_cast<int>(focus) -
                                                     static_cast<int>(CheckFocus::Text1_0))];
            break;
        case CheckFocus::None:
            break;
    }
    if (control != nullptr) control->setFocus(Qt::OtherFocusReason);
}

void Form1::ShowMessage(std::u16string_view text) {
    const bool wasValidating = std::exchange(validating_, true);
    if (services_.showMessage) services_.showMessage(this, Text(text));
    validating_ = wasValidating;
}

void Form1::ShowBusy(bool busy) {
    Command1[0]->setText(Text(busy ? kBusyCaption : kRunCaption));
    Command1[0]->setEnabled(!busy);
    if (busy) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
}

void Form1::ShowVerdict(std::u16string_view verdict) {
    // The result box breaks lines at LF; the verdict's lines end in CR LF.
    Text2->setPlainText(Text(verdict).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void Form1::EnableCommand2(bool enabled) { Command2->setEnabled(enabled); }

void Form1::Unload() { close(); }

void Form1::Check1_Click(int index) {
    const int state = Check1[static_cast<std::size_t>(index)]->checkState() == Qt::Checked ? 1 : 0;
    Text1[static_cast<std::size_t>(StandardBoxOf(index))]->setEnabled(StandardBoxEnabled(state));
}

void Form1::Command1_Click(int index) {
    if (index == 0) {
        behaviour_.RunClicked();
    } else if (index == 1) {
        InstructionsClicked();
    } else {
        close();
    }
}

void Form1::Command3_Click() {
    if (services_.openProjectWindow) services_.openProjectWindow();
}

void Form1::Command2_Click() {
    const auto sheet =
        behaviour_.Command2_Click(PathFromText(services_.documentsDir.toStdU16String()));
    if (sheet && services_.openUrl) {
        services_.openUrl(QUrl::fromLocalFile(QString::fromStdU16String(PathText(*sheet))));
    }
}

void Form1::InstructionsClicked() {
    const auto file = behaviour_.InstructionsFile();
    if (!file || !services_.openUrl) return;
    services_.openUrl(QUrl::fromLocalFile(QString::fromStdString(file->string())));
}

void Form1::Label2_Click(int index) {
    if (index == 1 && services_.openUrl) {
        services_.openUrl(QUrl(QString::fromLatin1(kPublisherWebAddress)));
    }
}

void Form1::Text1_GotFocus(int index) {
    InputBox* box = Text1[static_cast<std::size_t>(index)];
    const TextSelection selection =
        SelectionOnFocusGain(index, static_cast<int>(box->text().size()));
    box->setSelection(selection.start, selection.length);
}

void Form1::Text1_Validate(int index, bool& cancel) {
    cancel =
        behaviour_.Text1_Validate(Text1[static_cast<std::size_t>(index)]->text().toStdU16String());
}

void Form1::Text1_LostFocus(int index) {
    InputBox* box = Text1[static_cast<std::size_t>(index)];
    if (const auto text = TextOnFocusLoss(index, box->text().toStdU16String())) {
        box->setText(Text(*text));
    }
}

int Form1::FocusedInputBox() const {
    QWidget* focused = focusWidget();
    for (std::size_t i = 0; i < Text1.size(); ++i) {
        if (Text1[i] == focused) return static_cast<int>(i);
    }
    return -1;
}

bool Form1::AllowFocusMove(QWidget* target) {
    const int index = FocusedInputBox();
    if (index < 0 || target == nullptr || target == Text1[static_cast<std::size_t>(index)]) {
        return true;
    }
    bool cancel = false;
    Text1_Validate(index, cancel);
    return !cancel;
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (validating_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress: {
            // Tab and Backtab reach the focused box itself.
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool tab = (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
                             !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
            const int index = FocusedInputBox();
            if (tab && index >= 0 && watched == Text1[static_cast<std::size_t>(index)]) {
                bool cancel = false;
                Text1_Validate(index, cancel);
                if (cancel) return true;
            }
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel: {
            // Caught where the press reaches the window, before the toolkit
            // moves the focus and before the control under it can act.
            if (watched != windowHandle()) break;
            const auto* pointer = static_cast<QSinglePointEvent*>(event);
            QWidget* under = childAt(pointer->position().toPoint());
            const Qt::FocusPolicy policy =
                event->type() == QEvent::Wheel ? Qt::WheelFocus : Qt::ClickFocus;
            if (!AllowFocusMove(FocusTarget(under, policy))) return true;
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event) {
    if (behaviour_.QueryClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace quorvel
