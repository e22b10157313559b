#pragma once
// The type information of the DLL's own embedded type library.

#include <windows.h>
// After windows.h, which it builds on:
#include <oaidl.h>

namespace quorvel::tolvane {

// The interface's type information from the type library resource of this
// DLL, loaded once; the caller gets a reference of its own. An HRESULT of
// failure when the library cannot be loaded or lacks the interface.
HRESULT GetInterfaceTypeInfo(REFIID iid, ITypeInfo** typeInfo);

// Loads the embedded type library (the caller releases it).
HRESULT LoadOwnTypeLibrary(ITypeLib** library);

}  // namespace quorvel::tolvane
