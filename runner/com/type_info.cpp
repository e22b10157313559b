#include "runner/com/type_info.h"

#include <oleauto.h>

#include "runner/com/module.h"

namespace quorvel::tolvane {

HRESULT LoadOwnTypeLibrary(ITypeLib** library) {
    if (library == nullptr) return E_POINTER;
    *library = nullptr;
    const std::wstring path = ModulePath();
    if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
    return LoadTypeLibEx(path.c_str(), REGKIND_NONE, library);
}

HRESULT GetInterfaceTypeInfo(REFIID iid, ITypeInfo** typeInfo) {
    if (typeInfo == nullptr) return E_POINTER;
    *typeInfo = nullptr;
    // Loaded per call: the objects keep their own reference for their life,
    // and holding none here lets the DLL unload cleanly.
    ITypeLib* library = nullptr;
    const HRESULT loaded = LoadOwnTypeLibrary(&library);
    if (FAILED(loaded)) return loaded;
    const HRESULT found = library->GetTypeInfoOfGuid(iid, typeInfo);
    library->Release();
    return found;
}

}  // namespace quorvel::tolvane
