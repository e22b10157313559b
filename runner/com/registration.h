#pragma once
// Self-registration of the DLL: class, ProgID, interfaces and type library.

#include <windows.h>

namespace quorvel::tolvane {

// Registers for the whole machine when the caller may write there, else for
// the current user.
HRESULT RegisterServer();

// Removes every key RegisterServer wrote, in both places; keys already gone
// are no failure.
HRESULT UnregisterServer();

}  // namespace quorvel::tolvane
