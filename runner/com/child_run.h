#pragma once
// Starting a command line with CreateProcessA and waiting for the process
// while the calling thread's window messages keep being dispatched.

#include <windows.h>

#include <optional>
#include <string>

namespace quorvel::tolvane {

// Show state and console colours of the new process's window.
struct StartLook {
    WORD showWindow = SW_SHOWNORMAL;
};

// Starts `commandLine` (the program is its first token, found by the
// platform's rules) in `currentDir` (empty: the caller's), inheriting the
// caller's environment and standard handles (none of its other handles, so
// that files other threads hold open stay free), at normal priority, with
// its console in light grey on blue. Through CreateProcessA with both texts in the system
// code page; when a character has no code there (a Chinese directory on a
// system with another code page), through CreateProcessW instead, so that
// such a directory works too. On success `started` holds the process and
// thread handles, which the caller closes.
bool StartProcess(const std::wstring& commandLine, const std::wstring& currentDir, StartLook look,
                  PROCESS_INFORMATION& started);

// Returns once `process` has ended. Meanwhile every message that arrives for
// the calling thread is dispatched, so the caller's windows stay live; the
// thread sleeps between messages. A WM_QUIT taken from the queue is posted
// again once the wait is over.
void WaitDispatchingMessages(HANDLE process);

// UTF-16 text in the system code page, as CreateProcessA takes it; nullopt
// when a character has no code there.
std::optional<std::string> ToSystemCodePage(const std::wstring& text);

}  // namespace quorvel::tolvane
