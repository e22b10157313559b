#pragma once
// The DLL's own state: its module handle and the count of live objects and
// server locks that DllCanUnloadNow reports.

#include <windows.h>

#include <string>

namespace quorvel::tolvane {

HMODULE ModuleHandle();
void SetModuleHandle(HMODULE module);

// The DLL's full path, as the registry and LoadTypeLibEx need it.
std::wstring ModulePath();

// Every object the DLL hands out counts itself while it lives; the class
// factory's LockServer counts too.
void AddModuleReference();
void ReleaseModuleReference();
bool ModuleInUse();

}  // namespace quorvel::tolvane
