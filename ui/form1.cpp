#include "ui/form1.h"

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
#include <cmath>
#include <utility>

#include "calc/file_names.h"
#include "calc/lenient_number.h"
#include "calc/number_text.h"
#include "calc/run/run_screen3.h"
#include "calc/unicode_text.h"
#include "ui/click_label.h"
#include "ui/input_box.h"
#include "ui/publisher.h"
#include "ui/window_art.h"

namespace quorvel {
namespace {

QString Text(const char16_t* text) { return QString::fromStdU16String(text); }

QString ControlName(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

// The CJK face the window is designed for, with the faces that stand in for
// it where it is not installed.
QFont CjkFont(double pointSize) {
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                      QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC")});
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

bool IsLengthBox(int index) { return index <= 2; }

std::u16string TrimBlanks(std::u16string text) {
    const auto first = text.find_first_not_of(u' ');
    if (first == std::u16string::npos) return {};
    const auto last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1);
}

}  // namespace

Form1::Form1(WindowServices services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)) {
    BuildControls();
    Form_Load();
    qApp->installEventFilter(this);
}

Form1::~Form1() { qApp->removeEventFilter(this); }

int Form1::Pixels(int twips) const {
    return static_cast<int>(std::lround(twips * logicalDpiX() / 1440.0));
}

void Form1::Place(QWidget* control, int left, int top, int width, int height) const {
    const int x = Pixels(left);
    const int y = Pixels(top);
    control->setGeometry(x, y, Pixels(left + width) - x, Pixels(top + height) - y);
}

void Form1::BuildControls() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Text(kWindowTitle));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ApplicationIcon());
    setFont(CjkFont(9));
    setFixedSize(Pixels(kClientWidthTwips), Pixels(kClientHeightTwips));

    BuildPublisherStrip();
    BuildInputFrame();
    BuildResultFrame();

    Command1[2] = new QPushButton(QStringLiteral("退出"), this);
    Place(Command1[2], 2610, 4290, 1605, 345);
    Command1[1] = new QPushButton(QStringLiteral("使用说明"), this);
    Place(Command1[1], 4410, 4290, 1605, 345);
    for (int i = 0; i < 3; ++i) {
        Command1[i]->setObjectName(ControlName("Command1", i));
        Command1[i]->setAutoDefault(false);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }

    QWidget* const tabOrder[] = {Command1[1], Text1[0],  Text1[1],    Text1[2],  Text1[3],
                                 Combo1[0],   Check1[0], Text1[4],    Check1[1], Text1[5],
                                 Command1[0], Text2,     Command1[2], Combo1[1]};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
    Command1[1]->setFocus();
}

ClickLabel* Form1::AutoSizedLabel(QWidget* container, const QString& name, const QString& caption,
                                  int left, int top, int width, int height) {
    auto* label = new ClickLabel(caption, container);
    label->setObjectName(name);
    Place(label, left, top, width, height);
    label->resize(label->sizeHint());
    return label;
}

void Form1::BuildPublisherStrip() {
    Label2[0] = AutoSizedLabel(this, ControlName("Label2", 0), Text(kPublisherOrganisation), 3000,
                               120, 2340, 180);
    Label2[1] = new ClickLabel(Text(kPublisherLaboratory), this);
    Label2[2] = new ClickLabel(QStringLiteral("发布"), this);
    for (int i : {1, 2}) {
        QFont font = CjkFont(10.5);
        font.setUnderline(i == 1);
        Label2[i]->setFont(font);
        Label2[i]->setObjectName(ControlName("Label2", i));
        UseHighlightAsText(Label2[i], QPalette::WindowText);
    }
    Place(Label2[1], 2880, 360, 2310, 210);
    Place(Label2[2], 5160, 360, 420, 210);
    for (int i : {1, 2}) Label2[i]->resize(Label2[i]->sizeHint());
    Label2[1]->setCursor(HandCursor());
    for (int i = 0; i < 3; ++i) {
        connect(Label2[i], &ClickLabel::clicked, this, [this, i] { Label2_Click(i); });
    }
}

void Form1::BuildInputFrame() {
    Frame1 = new QGroupBox(QStringLiteral("参数设定"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Place(Frame1, 30, 720, 3705, 3495);

    struct Row {
        const char16_t* caption;
        int top;
    };
    const Row rows[] = {{u"面源有效高度:", 300},
                        {u"面源    宽度:", 540},
                        {u"面源    长度:", 780},
                        {u"污染物排放率:", 1050},
                        {u"项目所在位置:", 2700}};
    for (int i = 0; i < 5; ++i) {
        Label1[i] = AutoSizedLabel(Frame1, ControlName("Label1", i), Text(rows[i].caption), 180,
                                   rows[i].top, 1170, 180);
    }

    struct Box {
        const char16_t* text;
        const char16_t* tooltip;
        int left, top, height;
    };
    const Box boxes[] = {{u"15 m", u"[0,999]", 1380, 240, 270}, {u"100 m", u">0", 1380, 480, 270},
                         {u"100 m", u">0", 1380, 720, 270},     {u"10", u">0", 1380, 990, 300},
                         {u"0.5", u">0", 1350, 1560, 300},      {u"0.15", u">0", 1350, 2100, 300}};
    for (int i = 0; i < 6; ++i) {
        Text1[i] = new InputBox(Text(boxes[i].text), Frame1);
        Text1[i]->setObjectName(ControlName("Text1", i));
        Text1[i]->setToolTip(Text(boxes[i].tooltip));
        Place(Text1[i], boxes[i].left, boxes[i].top, 1155, boxes[i].height);
        connect(Text1[i], &InputBox::gotFocus, this, [this, i] { Text1_GotFocus(i); });
        connect(Text1[i], &InputBox::lostFocus, this, [this, i] { Text1_LostFocus(i); });
    }
    for (int i = 0; i < 4; ++i) {
        Label1[i]->setBuddy(Text1[i]);
        Text1[i]->setAccessibleName(Label1[i]->text());
    }

    Combo1[0] = new QComboBox(Frame1);
    Combo1[0]->setObjectName(ControlName("Combo1", 0));
    for (const char* unit : {"g/s", "kg/hr", "t/a"}) Combo1[0]->addItem(QLatin1String(unit), 0);
    Place(Combo1[0], 2520, 990, 1095, 300);
    Combo1[0]->setAccessibleName(Label1[3]->text());

    const char16_t* checkCaptions[] = {u"小时评价标准(mg/m^3)", u"日均评价标准(mg/m^3)"};
    const int checkTops[] = {1350, 1890};
    for (int i = 0; i < 2; ++i) {
        Check1[i] = new QCheckBox(Text(checkCaptions[i]), Frame1);
        Check1[i]->setObjectName(ControlName("Check1", i));
        Place(Check1[i], 180, checkTops[i], 2175, 225);
        Text1[i + 4]->setAccessibleName(Check1[i]->text());
    }
    Check1[0]->setChecked(true);
    Text1[5]->setEnabled(false);
    for (int i = 0; i < 2; ++i) {
        connect(Check1[i], &QCheckBox::stateChanged, this, [this, i] { Check1_Click(i); });
    }

    Combo1[1] = new QComboBox(Frame1);
    Combo1[1]->setObjectName(ControlName("Combo1", 1));
    Combo1[1]->addItem(QStringLiteral("农村"), 0);
    Combo1[1]->addItem(QStringLiteral("城市"), 0);
    Place(Combo1[1], 1350, 2640, 1155, 300);
    Label1[4]->setBuddy(Combo1[1]);
    Combo1[1]->setAccessibleName(Label1[4]->text());
    Label1[4]->setVisible(false);
    Combo1[1]->setVisible(false);
}

void Form1::BuildResultFrame() {
    Frame2 = new QGroupBox(QStringLiteral("计算结果"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Place(Frame2, 3810, 720, 4605, 3495);

    Command1[0] = new QPushButton(Text(kRunCaption), Frame2);
    Place(Command1[0], 1620, 210, 1335, 345);
    Text2 = new QPlainTextEdit(Frame2);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setReadOnly(true);
    Text2->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text2->setTabChangesFocus(true);
    Text2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text2->setAccessibleName(QStringLiteral("计算结果"));
    UseHighlightAsText(Text2, QPalette::Text);
    Place(Text2, 60, 570, 4455, 2835);
}

void Form1::Form_Load() {
    Combo1[0]->clear();
    for (const char* unit : {"g/s", "kg/hr", "t/a"}) Combo1[0]->addItem(QLatin1String(unit), 0);
    Combo1[0]->setCurrentIndex(0);
    Combo1[1]->setCurrentIndex(1);
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

QWidget* Form1::FocusControl(CheckFocus focus) const {
    switch (focus) {
        case CheckFocus::Check1_0:
            return Check1[0];
        case CheckFocus::Text1_0:
            return Text1[0];
        case CheckFocus::Text1_1:
            return Text1[1];
        case CheckFocus::Text1_2:
            return Text1[2];
        case CheckFocus::Text1_3:
            return Text1[3];
        case CheckFocus::Text1_4:
            return Text1[4];
        case CheckFocus::Text1_5:
            return Text1[5];
        case CheckFocus::None:
            break;
    }
    return nullptr;
}

bool Form1::CheckInputs() {
    const CheckDecision decision = DecideCheckInputs(ReadInputs());
    if (decision.pass) return true;
    ShowMessage(QString::fromStdU16String(decision.message));
    if (QWidget* control = FocusControl(decision.focus)) control->setFocus(Qt::OtherFocusReason);
    return false;
}

bool Form1::RunScreen3(QString& errorText) {
    if (!services_.launcher) {
        errorText = Text(kModelNotStartedText);
        return false;
    }
    const Result<std::u16string> verdict = quorvel::RunScreen3(
        PathFromText(services_.appDir.toStdU16String()), [this] { return ReadInputs(); },
        *services_.launcher);
    if (!verdict) {
        errorText = QString::fromStdU16String(verdict.error());
        return false;
    }
    // The result box breaks lines at LF; the verdict's lines end in CR LF.
    Text2->setPlainText(QString::fromStdU16String(verdict.value())
                            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    return true;
}

void Form1::ShowMessage(const QString& text) {
    const bool wasValidating = std::exchange(validating_, true);
    if (services_.showMessage) services_.showMessage(this, text);
    validating_ = wasValidating;
}

void Form1::Check1_Click(int index) {
    Text1[static_cast<std::size_t>(index + 4)]->setEnabled(
        Check1[static_cast<std::size_t>(index)]->checkState() == Qt::Checked);
}

void Form1::Command1_Click(int index) {
    if (index == 0) {
        RunClicked();
    } else if (index == 1) {
        InstructionsClicked();
    } else {
        close();
    }
}

void Form1::RunClicked() {
    if (!CheckInputs()) return;
    Command1[0]->setText(Text(kBusyCaption));
    Command1[0]->setEnabled(false);
    setCursor(Qt::WaitCursor);
    running_ = true;
    QString errorText;
    const bool done = RunScreen3(errorText);
    // A run ended because the window is closing has nothing to tell.
    if (!done && !closeRequested_) ShowMessage(errorText);
    running_ = false;
    unsetCursor();
    Command1[0]->setText(Text(kRunCaption));
    Command1[0]->setEnabled(true);
    if (closeRequested_) close();
}

void Form1::InstructionsClicked() {
    const auto file = FindFileIgnoringCase(PathFromText(services_.appDir.toStdU16String()),
                                           std::string_view(kInstructionsFileName));
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
    const auto length = static_cast<int>(box->text().size());
    box->setSelection(0, IsLengthBox(index) ? std::max(0, length - 2) : length);
}

void Form1::Text1_Validate(int index, bool& cancel) {
    const std::u16string text = Text1[static_cast<std::size_t>(index)]->text().toStdU16String();
    const float number = ToSingle(ReadLenientNumber(TrimBlanks(text)));
    if (!(number > 0.0f)) {
        ShowMessage(Text(kInvalidDataText));
        cancel = true;
    }
}

void Form1::Text1_LostFocus(int index) {
    InputBox* box = Text1[static_cast<std::size_t>(index)];
    const double number = ReadLenientNumber(box->text().toStdU16String());
    // A number beyond every decimal form stays as typed; the check at Run
    // refuses it with its own message.
    if (!std::isfinite(number)) return;
    QString text = QString::fromStdU16String(FormatNumber(number, 15));
    if (IsLengthBox(index)) text += QStringLiteral(" m");
    box->setText(text);
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
    if (running_) {
        // The run still reads and writes the window: end the model, let the
        // run come back, then close.
        closeRequested_ = true;
        if (services_.launcher) services_.launcher->Terminate();
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace quorvel
