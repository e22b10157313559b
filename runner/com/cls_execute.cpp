#include "runner/com/cls_execute.h"

#include <new>
#include <string>

#include "runner/com/child_run.h"
#include "runner/com/module.h"
#include "runner/com/optional_arguments.h"
#include "runner/com/type_info.h"
#include "runner/command_rules.h"

namespace quorvel::tolvane {
namespace {

std::wstring TextOf(const BSTR* text) {
    if (text == nullptr || *text == nullptr) return {};
    return std::wstring(*text, SysStringLen(*text));
}

std::wstring ToWide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }
std::u16string ToU16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

HRESULT GetInfo(ITypeInfo* typeInfo, UINT index, ITypeInfo** info) {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    typeInfo->AddRef();
    *info = typeInfo;
    return S_OK;
}

HRESULT GetIds(ITypeInfo* typeInfo, REFIID iid, LPOLESTR* names, UINT count, DISPID* ids) {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    return typeInfo->GetIDsOfNames(names, count, ids);
}

HRESULT InvokeThrough(void* object, ITypeInfo* typeInfo, DISPID id, REFIID iid, WORD flags,
                      DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                      UINT* badArgument) {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    return InvokeFillingOptionalArguments(object, typeInfo, id, flags, parameters, result,
                                          exception, badArgument);
}

}  // namespace

HRESULT ClsExecute::Create(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    ITypeInfo* executeInfo = nullptr;
    ITypeInfo* controlInfo = nullptr;
    HRESULT hr = GetInterfaceTypeInfo(IID__clsExecute, &executeInfo);
    if (SUCCEEDED(hr)) hr = GetInterfaceTypeInfo(IID__clsExecuteControl, &controlInfo);
    if (FAILED(hr)) {
        if (executeInfo != nullptr) executeInfo->Release();
        return hr;
    }
    auto* created = new (std::nothrow) ClsExecute(executeInfo, controlInfo);
    if (created == nullptr) {
        executeInfo->Release();
        controlInfo->Release();
        return E_OUTOFMEMORY;
    }
    hr = created->QueryInterface(iid, object);
    created->Release();
    return hr;
}

ClsExecute::ClsExecute(ITypeInfo* executeInfo, ITypeInfo* controlInfo)
    : executeInfo_(executeInfo), controlInfo_(controlInfo), control_(*this, controlInfo) {
    AddModuleReference();
    Class_Initialize();
}

ClsExecute::~ClsExecute() {
    executeInfo_->Release();
    controlInfo_->Release();
    ReleaseModuleReference();
}

void ClsExecute::Class_Initialize() { m_AutoCloseWindow = VARIANT_TRUE; }

HRESULT ClsExecute::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, IID__clsExecute)) {
        *object = static_cast<_clsExecute*>(this);
    } else if (IsEqualIID(iid, IID__clsExecuteControl)) {
        *object = static_cast<_clsExecuteControl*>(&control_);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG ClsExecute::AddRef() { return ++references_; }

ULONG ClsExecute::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT ClsExecute::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT ClsExecute::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    return GetInfo(executeInfo_, index, info);
}

HRESULT ClsExecute::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    return GetIds(executeInfo_, iid, names, count, ids);
}

HRESULT ClsExecute::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters,
                           VARIANT* result, EXCEPINFO* exception, UINT* badArgument) {
    return InvokeThrough(static_cast<_clsExecute*>(this), executeInfo_, id, iid, flags, parameters,
                         result, exception, badArgument);
}

HRESULT ClsExecute::put_AutoCloseWindow(VARIANT_BOOL* YesorNo) {
    if (YesorNo == nullptr) return E_POINTER;
    m_AutoCloseWindow = *YesorNo;
    return S_OK;
}

HRESULT ClsExecute::Shell(BSTR* cmdline, BSTR* CurDir, short* SW_show, LONG* result) {
    if (cmdline == nullptr || result == nullptr) return E_POINTER;
    const std::u16string line =
        EffectiveCommandLine(ToU16(TextOf(cmdline)), m_AutoCloseWindow != VARIANT_FALSE);
    *result = RunAndWait(ToWide(line), TextOf(CurDir),
                         SW_show == nullptr ? static_cast<short>(SW_SHOWNORMAL) : *SW_show);
    return S_OK;
}

LONG ClsExecute::RunAndWait(const std::wstring& commandLine, const std::wstring& currentDir,
                            short showWindow) {
    PROCESS_INFORMATION started{};
    if (!StartProcess(commandLine, currentDir, StartLook{static_cast<WORD>(showWindow)}, started)) {
        return 0;
    }
    // The caller may release its last reference from a message handler run
    // by the wait; the object stays until the wait is over.
    AddRef();
    running_.push_back(started.hProcess);
    WaitDispatchingMessages(started.hProcess);
    running_.pop_back();
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    Release();
    return 1;
}

HRESULT ClsExecute::Terminate(LONG* result) {
    if (result == nullptr) return E_POINTER;
    *result = 0;
    if (running_.empty()) return S_OK;
    const HANDLE process = running_.back();
    if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT && TerminateProcess(process, 1)) {
        *result = 1;
    }
    return S_OK;
}

HRESULT ClsExecute::Control::QueryInterface(REFIID iid, void** object) {
    return owner_.QueryInterface(iid, object);
}
ULONG ClsExecute::Control::AddRef() { return owner_.AddRef(); }
ULONG ClsExecute::Control::Release() { return owner_.Release(); }

HRESULT ClsExecute::Control::GetTypeInfoCount(UINT* count) {
    return owner_.GetTypeInfoCount(count);
}

HRESULT ClsExecute::Control::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    return GetInfo(typeInfo_, index, info);
}

HRESULT ClsExecute::Control::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                           DISPID* ids) {
    return GetIds(typeInfo_, iid, names, count, ids);
}

HRESULT ClsExecute::Control::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters,
                                    VARIANT* result, EXCEPINFO* exception, UINT* badArgument) {
    return InvokeThrough(static_cast<_clsExecuteControl*>(this), typeInfo_, id, iid, flags,
                         parameters, result, exception, badArgument);
}

HRESULT ClsExecute::Control::Terminate(LONG* result) { return owner_.Terminate(result); }

}  // namespace quorvel::tolvane
