#pragma once
// The COM class clsExecute: starts a command line and waits for it to end
// while the caller's window messages keep being dispatched. IDispatch comes
// from the type library; _clsExecuteControl is a second interface on the same
// object.

#include <windows.h>

#include <atomic>
#include <vector>

#include "Tolvane.h"

namespace quorvel::tolvane {

class ClsExecute final : public _clsExecute {
  public:
    // A new object asked for `iid`, or an error (E_NOINTERFACE, E_OUTOFMEMORY,
    // or why the type library could not be loaded).
    static HRESULT Create(REFIID iid, void** object);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch, through the type information of _clsExecute
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) override;

    // _clsExecute
    HRESULT STDMETHODCALLTYPE put_AutoCloseWindow(VARIANT_BOOL* YesorNo) override;
    HRESULT STDMETHODCALLTYPE Shell(BSTR* cmdline, BSTR* CurDir, short* SW_show,
                                    LONG* result) override;

    // _clsExecuteControl
    HRESULT Terminate(LONG* result);

  private:
    // _clsExecuteControl with its own IDispatch; its IUnknown is the object's.
    class Control final : public _clsExecuteControl {
      public:
        Control(ClsExecute& owner, ITypeInfo* typeInfo) : owner_(owner), typeInfo_(typeInfo) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
        HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
        HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count,
                                                LCID locale, DISPID* ids) override;
        HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                         DISPPARAMS* parameters, VARIANT* result,
                                         EXCEPINFO* exception, UINT* badArgument) override;
        HRESULT STDMETHODCALLTYPE Terminate(LONG* result) override;

      private:
        ClsExecute& owner_;
        ITypeInfo* typeInfo_;
    };

    ClsExecute(ITypeInfo* executeInfo, ITypeInfo* controlInfo);
    ~ClsExecute();
    ClsExecute(const ClsExecute&) = delete;
    ClsExecute& operator=(const ClsExecute&) = delete;

    void Class_Initialize();
    LONG RunAndWait(const std::wstring& commandLine, const std::wstring& currentDir,
                    short showWindow);

    std::atomic<ULONG> references_{1};
    ITypeInfo* executeInfo_;
    ITypeInfo* controlInfo_;
    Control control_;
    VARIANT_BOOL m_AutoCloseWindow = VARIANT_TRUE;
    std::vector<HANDLE> running_;  // processes of pending Shell calls, innermost last
};

}  // namespace quorvel::tolvane
