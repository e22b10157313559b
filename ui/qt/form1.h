#pragma once
// The program's only window on Qt: the controls of the shared design, wired
// to the shared behaviour.

#include <QtCore/QHash>
#include <QtCore/QString>
#include <QtCore/QUrl>
#include <QtWidgets/QWidget>

#include <array>
#include <functional>
#include <memory>

#include "calc/calculation_inputs.h"
#include "calc/check_inputs.h"
#include "calc/run/process_launcher.h"
#include "ui/core/form1_behaviour.h"
#include "ui/core/form1_design.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quorvel {

class ClickLabel;
class InputBox;

// What the window asks of the desktop. Tests replace these so that nothing
// blocks and no outside program starts.
struct WindowServices {
    QString appDir;  // the application directory, without a trailing separator
    // A modal message with one OK button; returns once it is closed.
    std::function<void(QWidget* parent, const QString& text)> showMessage;
    // Opens a document or web address with the desktop's handler, no wait.
    std::function<void(const QUrl& url)> openUrl;
    // The user's documents folder, where the calculation sheets go; empty
    // when the desktop has none.
    QString documentsDir;
    std::shared_ptr<ProcessLauncher> launcher;
    // Opens the project window, or brings it to the front when it is open.
    std::function<void()> openProjectWindow;
};

class Form1 : public QWidget, private Form1Controls {
    Q_OBJECT
  public:
    explicit Form1(WindowServices services, QWidget* parent = nullptr);
    ~Form1() override;

    CalculationInputs ReadInputs() const override;

    bool IsBusy() const { return behaviour_.IsBusy(); }

    // Converts twips to pixels at the screen's resolution.
    int Pixels(int twips) const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Form1Controls
    void ShowMessage(std::u16string_view text) override;
    void MoveFocus(CheckFocus control) override;
    void ShowBusy(bool busy) override;
    void ShowVerdict(std::u16string_view verdict) override;
    void EnableCommand2(bool enabled) override;
    void Unload() override;

    void BuildControls();
    QWidget* CreateControl(const ControlDesign& design, QWidget* container);
    void WireControls();
    void Place(QWidget* control, const TwipsRect& twips) const;
    template <class Control>
    Control* Widget(std::string_view name, int index = -1) const;

    void Form_Load();
    void Check1_Click(int index);
    void Command1_Click(int index);
    void Command2_Click();
    void Command3_Click();
    void Label2_Click(int index);
    void Text1_GotFocus(int index);
    void Text1_Validate(int index, bool& cancel);
    void Text1_LostFocus(int index);

    void InstructionsClicked();
    // Index of the input box that holds the focus, or -1.
    int FocusedInputBox() const;
    // Validates the focused input box before the focus would move to `target`;
    // false when the move is to be refused.
    bool AllowFocusMove(QWidget* target);

    WindowServices services_;
    Form1Behaviour behaviour_;
    bool validating_ = false;

    QHash<QString, QWidget*> controls_;  // by ControlName
    std::array<InputBox*, 6> Text1{};
    std::array<QCheckBox*, 2> Check1{};
    std::array<QComboBox*, 2> Combo1{};
    std::array<QPushButton*, 3> Command1{};
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    std::array<QLabel*, 5> Label1{};
    std::array<ClickLabel*, 3> Label2{};
    QPlainTextEdit* Text2 = nullptr;
};

}  // namespace quorvel
