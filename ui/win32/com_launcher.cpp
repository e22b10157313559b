#include "ui/win32/com_launcher.h"

#include <windows.h>
// After windows.h, which it builds on:
#include <oleauto.h>

#include <cstdio>

#include "Tolvane.h"
#include "ui/win32/wide_text.h"

namespace quorvel {
namespace {

constexpr wchar_t kComponentFileName[] = L"Tolvane.dll";
constexpr DISPID kDispidTerminate = 0x60030000;
constexpr DISPID kDispidAutoCloseWindow = 0x68030000;
constexpr DISPID kDispidShell = 0x60030002;

// A string the callee may read or replace, freed when it goes.
class OwnedBstr {
  public:
    explicit OwnedBstr(const std::u16string& text)
        : value_(SysAllocStringLen(Wide(text).c_str(), static_cast<UINT>(text.size()))) {}
    ~OwnedBstr() { SysFreeString(value_); }
    OwnedBstr(const OwnedBstr&) = delete;
    OwnedBstr& operator=(const OwnedBstr&) = delete;
    BSTR* get() { return &value_; }

  private:
    BSTR value_;
};

// The object's _clsExecute, released when it goes.
class RunnerObject {
  public:
    HRESULT Create() {
        return CoCreateInstance(CLSID_clsExecute, nullptr, CLSCTX_INPROC_SERVER, IID__clsExecute,
                                reinterpret_cast<void**>(&dispatch_));
    }
    ~RunnerObject() {
        if (dispatch_ != nullptr) dispatch_->Release();
    }
    IDispatch* get() const { return dispatch_; }

  private:
    IDispatch* dispatch_ = nullptr;
};

// The launcher whose program this thread waits for, for the stop watch.
thread_local ComLauncher* watchedLauncher = nullptr;
constexpr UINT kStopPollMilliseconds = 20;

// Ends the program of a pending run on this thread once its stop is requested.
// Runs from the runner's message dispatch while it waits.
void CALLBACK WatchStop(HWND, UINT, UINT_PTR, DWORD) {
    if (watchedLauncher != nullptr) watchedLauncher->TerminateWhenStopped();
}

// A thread timer for the stop watch, killed when it goes.
class StopWatch {
  public:
    StopWatch(ComLauncher* launcher, bool needed) {
        if (!needed) return;
        watchedLauncher = launcher;
        timer_ = SetTimer(nullptr, 0, kStopPollMilliseconds, WatchStop);
    }
    ~StopWatch() {
        if (timer_ != 0) KillTimer(nullptr, timer_);
        watchedLauncher = nullptr;
    }
    StopWatch(const StopWatch&) = delete;
    StopWatch& operator=(const StopWatch&) = delete;

  private:
    UINT_PTR timer_ = 0;
};

std::u16string HexText(long hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return {text, text + std::char_traits<char>::length(text)};
}

}  // namespace

std::u16string RunnerCreationError(long hr, bool componentPresent) {
    const bool missing = !componentPresent || hr == REGDB_E_CLASSNOTREG ||
                         hr == HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND) ||
                         hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    if (missing)
        return u"找不到进程运行组件Tolvane.dll, 它应该在本程序同一目录! (" + HexText(hr) + u")";
    if (hr == E_NOINTERFACE) return u"进程运行组件Tolvane不提供_clsExecute接口!";
    return u"不能加载进程运行组件Tolvane.dll! (" + HexText(hr) + u")";
}

Result<std::int32_t> ComLauncher::RunAndWait(const std::u16string& cmdline,
                                             const std::u16string& curDir, std::int16_t swShow) {
    RunnerObject runner;
    if (const HRESULT hr = runner.Create(); FAILED(hr)) {
        std::error_code ignored;
        return Fail(RunnerCreationError(
            hr, std::filesystem::is_regular_file(appDir_ / kComponentFileName, ignored)));
    }

    // AutoCloseWindow = True: the command line runs unchanged.
    VARIANT_BOOL yes = VARIANT_TRUE;
    VARIANTARG flag;
    VariantInit(&flag);
    flag.vt = VT_BOOL | VT_BYREF;
    flag.pboolVal = &yes;
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS assignment{&flag, &put, 1, 1};
    HRESULT hr = runner.get()->Invoke(kDispidAutoCloseWindow, IID_NULL, LOCALE_USER_DEFAULT,
                                      DISPATCH_PROPERTYPUT, &assignment, nullptr, nullptr, nullptr);
    if (FAILED(hr)) return Fail(RunnerCreationError(hr, true));

    // Shell(cmdline, CurDir, SW_show), every argument by reference; the
    // arguments go in reverse order.
    OwnedBstr command(cmdline);
    OwnedBstr directory(curDir);
    SHORT show = swShow;
    VARIANTARG arguments[3];
    for (VARIANTARG& argument : arguments) VariantInit(&argument);
    arguments[2].vt = VT_BSTR | VT_BYREF;
    arguments[2].pbstrVal = command.get();
    arguments[1].vt = VT_BSTR | VT_BYREF;
    arguments[1].pbstrVal = directory.get();
    arguments[0].vt = VT_I2 | VT_BYREF;
    arguments[0].piVal = &show;
    DISPPARAMS call{arguments, nullptr, 3, 0};
    VARIANT result;
    VariantInit(&result);
    if (stop_.stop_requested()) return 0;
    running_ = runner.get();
    {
        const StopWatch watch(this, stop_.stop_possible());
        hr = runner.get()->Invoke(kDispidShell, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                  &call, &result, nullptr, nullptr);
    }
    running_ = nullptr;
    if (FAILED(hr)) return Fail(RunnerCreationError(hr, true));
    if (FAILED(VariantChangeType(&result, &result, 0, VT_I4))) {
        VariantClear(&result);
        return Fail(RunnerCreationError(DISP_E_TYPEMISMATCH, true));
    }
    return static_cast<std::int32_t>(result.lVal);
}

void ComLauncher::TerminateWhenStopped() {
    if (stop_.stop_requested()) Terminate();
}

void ComLauncher::Terminate() {
    if (running_ == nullptr) return;
    // The object of the pending run ends its child; Shell then returns.
    IDispatch* control = nullptr;
    if (FAILED(
            running_->QueryInterface(IID__clsExecuteControl, reinterpret_cast<void**>(&control)))) {
        return;
    }
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    control->Invoke(kDispidTerminate, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                    &result, nullptr, nullptr);
    VariantClear(&result);
    control->Release();
}

}  // namespace quorvel
