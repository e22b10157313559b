#include "ui/qt/input_box.h"

#include <QtGui/QFocusEvent>

namespace quorvel {
namespace {

bool MovesBetweenControls(const QFocusEvent& event) {
    return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}

}  // namespace

void InputBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (MovesBetweenControls(*event)) emit gotFocus();
}

void InputBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (MovesBetweenControls(*event)) emit lostFocus();
}

}  // namespace quorvel
