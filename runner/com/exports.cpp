// The four functions a COM in-process server exports (see Tolvane.def).
#include <windows.h>

#include "Tolvane.h"
#include "runner/com/class_factory.h"
#include "runner/com/module.h"
#include "runner/com/registration.h"

using namespace quorvel::tolvane;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        SetModuleHandle(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_clsExecute)) return CLASS_E_CLASSNOTAVAILABLE;
    return TheClassFactory().QueryInterface(iid, object);
}

STDAPI DllCanUnloadNow() { return ModuleInUse() ? S_FALSE : S_OK; }

STDAPI DllRegisterServer() { return RegisterServer(); }

STDAPI DllUnregisterServer() { return UnregisterServer(); }
