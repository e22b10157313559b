#pragma once
// The class object of clsExecute that DllGetClassObject hands out.

#include <windows.h>
// After windows.h, which it builds on:
#include <unknwn.h>

namespace quorvel::tolvane {

class ClassFactory final : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    // The one class object lives as long as the DLL; its references only
    // keep the DLL loaded.
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;
};

ClassFactory& TheClassFactory();

}  // namespace quorvel::tolvane
