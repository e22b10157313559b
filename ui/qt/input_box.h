#pragma once
// A one-line text box that reports when the input focus arrives from or leaves
// for another control; focus that only goes to another window and comes back
// (a message box, another program) is not reported.

#include <QtWidgets/QLineEdit>

namespace quorvel {

class InputBox : public QLineEdit {
    Q_OBJECT
  public:
    using QLineEdit::QLineEdit;

  signals:
    void gotFocus();
    void lostFocus();

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace quorvel
