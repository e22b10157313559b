#pragma once
// The program's only window: the inputs of one buffer-distance calculation,
// the Run button, the result box and the publisher strip.

#include <QtCore/QString>
#include <QtCore/QUrl>
#include <QtWidgets/QWidget>

#include <array>
#include <functional>
#include <memory>

#include "calc/calculation_inputs.h"
#include "calc/check_inputs.h"
#include "calc/run/process_launcher.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quorvel {

class ClickLabel;
class InputBox;

inline constexpr char16_t kWindowTitle[] = u"Quorvel标准计算程序(Ver1.2)";
inline constexpr char16_t kMessageTitle[] = u"Quorvel";
inline constexpr char16_t kInvalidDataText[] = u"无效数据!";
inline constexpr char16_t kRunCaption[] = u"运行";
inline constexpr char16_t kBusyCaption[] = u"正在运行...";
inline constexpr char kInstructionsFileName[] = "说明.txt";

// Client area in twips; 15 twips are one pixel at 96 dots per inch.
inline constexpr int kClientWidthTwips = 8460;
inline constexpr int kClientHeightTwips = 4680;

// What the window asks of the desktop. Tests replace these so that nothing
// blocks and no outside program starts.
struct WindowServices {
    QString appDir;  // the application directory, without a trailing separator
    // A modal message with one OK button; returns once it is closed.
    std::function<void(QWidget* parent, const QString& text)> showMessage;
    // Opens a document or web address with the desktop's handler, no wait.
    std::function<void(const QUrl& url)> openUrl;
    std::shared_ptr<ProcessLauncher> launcher;
};

class Form1 : public QWidget {
    Q_OBJECT
  public:
    explicit Form1(WindowServices services, QWidget* parent = nullptr);
    ~Form1() override;

    // The inputs as the controls hold them at this moment.
    CalculationInputs ReadInputs() const;

    // Refuses a calculation that may not start, with its message and focus.
    bool CheckInputs();
    // One calculation; on success the verdict stands in Text2.
    bool RunScreen3(QString& errorText);

    bool IsBusy() const { return running_; }

    // Converts twips to pixels at the screen's resolution.
    int Pixels(int twips) const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void BuildPublisherStrip();
    void BuildInputFrame();
    void BuildResultFrame();
    // A label that keeps its place and takes the size of its text.
    ClickLabel* AutoSizedLabel(QWidget* container, const QString& name, const QString& caption,
                               int left, int top, int width, int height);
    void Form_Load();
    void Check1_Click(int index);
    void Command1_Click(int index);
    void Label2_Click(int index);
    void Text1_GotFocus(int index);
    void Text1_Validate(int index, bool& cancel);
    void Text1_LostFocus(int index);

    void RunClicked();
    void InstructionsClicked();
    void ShowMessage(const QString& text);
    QWidget* FocusControl(CheckFocus focus) const;
    // Index of the input box that holds the focus, or -1.
    int FocusedInputBox() const;
    // Validates the focused input box before the focus would move to `target`;
    // false when the move is to be refused.
    bool AllowFocusMove(QWidget* target);
    void Place(QWidget* control, int left, int top, int width, int height) const;

    WindowServices services_;
    bool running_ = false;
    bool closeRequested_ = false;
    bool validating_ = false;

    std::array<InputBox*, 6> Text1{};
    std::array<QCheckBox*, 2> Check1{};
    std::array<QComboBox*, 2> Combo1{};
    std::array<QPushButton*, 3> Command1{};
    std::array<QLabel*, 5> Label1{};
    std::array<ClickLabel*, 3> Label2{};
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QPlainTextEdit* Text2 = nullptr;
};

}  // namespace quorvel
