#pragma once
// Dialogs, key chords and the clipboard as the window tests drive them from
// another process: a dialog's button by its caption, a key with a modifier
// through the system's input, and text put on the clipboard.

#include <windows.h>

#include <string>

namespace quorvel::test_support {

// The button of the dialog `box` whose caption is `text`, or null.
HWND DialogButton(HWND box, const std::wstring& text);

// `key` pressed while `modifier` (VK_CONTROL, VK_SHIFT) is held.
void PressChord(WORD modifier, WORD key);

// Puts `text` on the clipboard as CF_UNICODETEXT, as a spreadsheet copies
// cells; false when the clipboard could not be had.
bool PutClipboardText(const std::wstring& text);

}  // namespace quorvel::test_support
