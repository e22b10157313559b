// Tolvane.dll as its callers use it: registered by regsvr32, created through
// COM by CLSID and ProgID, called through IDispatch with the DISPIDs and
// arguments by reference, and through the vtable.
#include <windows.h>
// After windows.h, which it builds on:
#include <oleauto.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <iostream>
#include <sstream>
#include <utility>
#include <vector>

#include "Tolvane.h"
#include "model/tests/answer_test_lines.h"
#include "runner/com/tests/com_test_support.h"

namespace quorvel::tolvane {
namespace {

using namespace testing;

constexpr DISPID kAutoCloseWindowId = 0x68030000;
constexpr DISPID kShellId = 0x60030002;

std::filesystem::path DllPath() { return ApplicationDirectory() / L"Tolvane.dll"; }
std::filesystem::path ProbePath() { return TestProgramDirectory() / L"tolvane_com_probe.exe"; }

long Regsvr32(const wchar_t* options) {
    return RunProgram(L"regsvr32 " + std::wstring(options) + L" \"" + DllPath().wstring() + L"\"");
}

// Registers the component for the whole run and unregisters it at the end;
// COM is initialised for the test thread, as in a window's thread.
class RegisteredComponent : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_EQ(Regsvr32(L"/s"), 0) << "regsvr32 failed for " << DllPath().string();
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override {
        CoUninitialize();
        EXPECT_EQ(Regsvr32(L"/u /s"), 0);
    }
};
const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new RegisteredComponent);  // gtest owns it

template <class Interface>
class Ref {
  public:
    Ref() = default;
    ~Ref() { reset(); }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    Interface* operator->() const { return pointer_; }
    Interface* get() const { return pointer_; }
    void** out() {
        reset();
        return reinterpret_cast<void**>(&pointer_);
    }
    void reset() {
        if (pointer_ != nullptr) pointer_->Release();
        pointer_ = nullptr;
    }

  private:
    Interface* pointer_ = nullptr;
};

HRESULT CreateRunner(Ref<_clsExecute>& runner) {
    return CoCreateInstance(CLSID_clsExecute, nullptr, CLSCTX_INPROC_SERVER, IID__clsExecute,
                            runner.out());
}

// What the probe saw of its start.
struct ProbeView {
    std::string directory;
    std::string commandLine;
    unsigned long flags = 0;
    unsigned showWindow = 0;
    unsigned long fillAttribute = 0;
};

ProbeView ReadProbe(const std::filesystem::path& directory) {
    std::istringstream in(ReadWholeFile(directory / L"probe.txt"));
    ProbeView view;
    std::getline(in, view.directory);
    std::getline(in, view.commandLine);
    in >> view.flags >> view.showWindow >> view.fillAttribute;
    return view;
}

std::string Narrow(const std::filesystem::path& path) { return path.string(); }

// Shell through IDispatch::Invoke with every argument by reference, as a
// late-bound caller passes them; `count` of the three from the left.
HRESULT InvokeShell(IDispatch* dispatch, BSTR* cmdline, BSTR* curDir, short* show, int count,
                    VARIANT& result) {
    VARIANT arguments[3];
    for (VARIANT& argument : arguments) VariantInit(&argument);
    // Right to left: SW_show, CurDir, cmdline.
    V_VT(&arguments[0]) = VT_BYREF | VT_I2;
    V_I2REF(&arguments[0]) = show;
    V_VT(&arguments[1]) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&arguments[1]) = curDir;
    V_VT(&arguments[2]) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&arguments[2]) = cmdline;
    DISPPARAMS parameters{arguments + (3 - count), nullptr, static_cast<UINT>(count), 0};
    VariantInit(&result);
    UINT badArgument = 0;
    return dispatch->Invoke(kShellId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                            &result, nullptr, &badArgument);
}

HRESULT InvokeAutoCloseWindow(IDispatch* dispatch, VARIANT_BOOL value) {
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&argument) = &value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{&argument, &named, 1, 1};
    return dispatch->Invoke(kAutoCloseWindowId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                            &parameters, nullptr, nullptr, nullptr);
}

TEST(Registration, RegsvrWritesEveryKeyAndRemovesThemAgain) {
    const std::wstring clsid = L"CLSID\\" + GuidText(CLSID_clsExecute);
    const std::vector<std::wstring> keys = {
        clsid,
        L"Tolvane.clsExecute\\CLSID",
        L"Interface\\" + GuidText(IID__clsExecute),
        L"Interface\\" + GuidText(IID__clsExecuteControl),
        L"TypeLib\\" + GuidText(LIBID_Tolvane) + L"\\1.0",
    };
    const auto expectRegistered = [&] {
        for (const std::wstring& key : keys) EXPECT_TRUE(ClassesKeyExists(key)) << Narrow(key);
        EXPECT_EQ(ClassesValue(clsid + L"\\InprocServer32"), DllPath().wstring());
        EXPECT_EQ(ClassesValue(clsid + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
        EXPECT_EQ(ClassesValue(clsid + L"\\ProgID"), L"Tolvane.clsExecute");
        EXPECT_EQ(ClassesValue(clsid + L"\\TypeLib"), GuidText(LIBID_Tolvane));
        EXPECT_EQ(ClassesValue(L"Tolvane.clsExecute\\CLSID"), GuidText(CLSID_clsExecute));
    };
    expectRegistered();

    ASSERT_EQ(Regsvr32(L"/u /s"), 0);
    for (const std::wstring& key : keys) EXPECT_FALSE(ClassesKeyExists(key)) << Narrow(key);
    EXPECT_FALSE(ClassesKeyExists(L"TypeLib\\" + GuidText(LIBID_Tolvane)));
    Ref<_clsExecute> runner;
    EXPECT_EQ(CreateRunner(runner), REGDB_E_CLASSNOTREG);

    ASSERT_EQ(Regsvr32(L"/s"), 0);
    expectRegistered();
}

TEST(Registration, TheVersionBlockIs1000AndMarksTheDllSelfRegistering) {
    const std::wstring dll = DllPath().wstring();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(dll.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(dll.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    void* marker = nullptr;
    EXPECT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\080404b0\\OLESelfRegister",
                               &marker, &length));
}

TEST(Creation, ByClsidAndByProgIdWithItsInterfaces) {
    Ref<_clsExecute> runner;
    ASSERT_EQ(CreateRunner(runner), S_OK);
    CLSID fromProgId{};
    ASSERT_EQ(CLSIDFromProgID(L"Tolvane.clsExecute", &fromProgId), S_OK);
    EXPECT_TRUE(IsEqualCLSID(fromProgId, CLSID_clsExecute));
    Ref<IDispatch> byProgId;
    ASSERT_EQ(
        CoCreateInstance(fromProgId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, byProgId.out()),
        S_OK);

    Ref<_clsExecuteControl> control;
    EXPECT_EQ(runner->QueryInterface(IID__clsExecuteControl, control.out()), S_OK);
    Ref<IUnknown> fromControl;
    Ref<IUnknown> fromRunner;
    ASSERT_EQ(control->QueryInterface(IID_IUnknown, fromControl.out()), S_OK);
    ASSERT_EQ(runner->QueryInterface(IID_IUnknown, fromRunner.out()), S_OK);
    EXPECT_EQ(fromControl.get(), fromRunner.get()) << "one object, one identity";
    Ref<IUnknown> other;
    EXPECT_EQ(runner->QueryInterface(IID_IPersist, other.out()), E_NOINTERFACE);

    const wchar_t* names[] = {L"Shell", L"AutoCloseWindow"};
    for (int i = 0; i < 2; ++i) {
        DISPID id = 0;
        LPOLESTR name = const_cast<LPOLESTR>(names[i]);
        ASSERT_EQ(runner->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
        EXPECT_EQ(id, i == 0 ? kShellId : kAutoCloseWindowId);
    }
}

TEST(TypeLibrary, DescribesTheMembersTheirDispidsAndTheOptionalArguments) {
    Ref<ITypeLib> library;
    ASSERT_EQ(LoadRegTypeLib(LIBID_Tolvane, 1, 0, LOCALE_NEUTRAL,
                             reinterpret_cast<ITypeLib**>(library.out())),
              S_OK);
    Ref<ITypeInfo> dispatchInfo;
    ASSERT_EQ(library->GetTypeInfoOfGuid(IID__clsExecute,
                                         reinterpret_cast<ITypeInfo**>(dispatchInfo.out())),
              S_OK);
    // The vtable side of the dual interface.
    HREFTYPE vtableRef = 0;
    ASSERT_EQ(dispatchInfo->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef), S_OK);
    Ref<ITypeInfo> info;
    ASSERT_EQ(dispatchInfo->GetRefTypeInfo(vtableRef, reinterpret_cast<ITypeInfo**>(info.out())),
              S_OK);

    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_TRUE(IsEqualIID(attributes->guid, IID__clsExecute));
    EXPECT_EQ(attributes->typekind, TKIND_INTERFACE);
    EXPECT_EQ(attributes->cFuncs, 2);
    const WORD wanted =
        TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION;
    EXPECT_EQ(attributes->wTypeFlags & wanted, wanted);
    info->ReleaseTypeAttr(attributes);

    FUNCDESC* put = nullptr;
    ASSERT_EQ(info->GetFuncDesc(0, &put), S_OK);
    EXPECT_EQ(put->memid, kAutoCloseWindowId);
    EXPECT_EQ(put->invkind, INVOKE_PROPERTYPUT);
    EXPECT_EQ(put->oVft, 7 * static_cast<SHORT>(sizeof(void*)));
    ASSERT_EQ(put->cParams, 1);
    EXPECT_EQ(put->lprgelemdescParam[0].tdesc.vt, VT_PTR);
    EXPECT_EQ(put->lprgelemdescParam[0].tdesc.lptdesc->vt, VT_BOOL);
    info->ReleaseFuncDesc(put);

    FUNCDESC* shell = nullptr;
    ASSERT_EQ(info->GetFuncDesc(1, &shell), S_OK);
    EXPECT_EQ(shell->memid, kShellId);
    EXPECT_EQ(shell->invkind, INVOKE_FUNC);
    EXPECT_EQ(shell->oVft, 8 * static_cast<SHORT>(sizeof(void*)));
    ASSERT_EQ(shell->cParams, 4);  // with the retval
    const VARTYPE types[] = {VT_BSTR, VT_BSTR, VT_I2, VT_I4};
    for (int i = 0; i < 4; ++i) {
        const ELEMDESC& parameter = shell->lprgelemdescParam[i];
        ASSERT_EQ(parameter.tdesc.vt, VT_PTR) << i;
        EXPECT_EQ(parameter.tdesc.lptdesc->vt, types[i]) << i;
    }
    const USHORT inOut = PARAMFLAG_FIN | PARAMFLAG_FOUT;
    EXPECT_EQ(shell->lprgelemdescParam[0].paramdesc.wParamFlags, inOut);
    EXPECT_EQ(shell->lprgelemdescParam[1].paramdesc.wParamFlags, inOut | PARAMFLAG_FOPT);
    const PARAMDESC& show = shell->lprgelemdescParam[2].paramdesc;
    EXPECT_EQ(show.wParamFlags, inOut | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT);
    ASSERT_NE(show.pparamdescex, nullptr);
    VARIANT defaultShow;
    VariantInit(&defaultShow);
    ASSERT_EQ(VariantChangeType(&defaultShow, &show.pparamdescex->varDefaultValue, 0, VT_I4), S_OK);
    EXPECT_EQ(V_I4(&defaultShow), 1);
    EXPECT_EQ(shell->lprgelemdescParam[3].paramdesc.wParamFlags,
              PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
    info->ReleaseFuncDesc(shell);

    BSTR names[5] = {};
    UINT count = 0;
    ASSERT_EQ(info->GetNames(kShellId, names, 5, &count), S_OK);
    ASSERT_EQ(count, 5u);
    const wchar_t* expected[] = {L"Shell", L"cmdline", L"CurDir", L"SW_show", L"result"};
    for (UINT i = 0; i < count; ++i) {
        if (i < 4) {
            EXPECT_STREQ(names[i], expected[i]) << i;
        }
        SysFreeString(names[i]);
    }
}

TEST(Shell, LateBoundWithEveryArgumentByReference) {
    Ref<_clsExecute> runner;
    ASSERT_EQ(CreateRunner(runner), S_OK);
    ScratchDirectory dir(L"late bound dir");
    ASSERT_EQ(InvokeAutoCloseWindow(runner.get(), VARIANT_TRUE), S_OK);

    const std::wstring line = ProbePath().wstring() + L" <Screen3.INP";
    Bstr cmdline(line);
    Bstr curDir(dir.path().wstring());
    short hidden = SW_HIDE;
    VARIANT result;
    ASSERT_EQ(InvokeShell(runner.get(), cmdline.address(), curDir.address(), &hidden, 3, result),
              S_OK);
    EXPECT_EQ(V_VT(&result), VT_I4);
    EXPECT_EQ(V_I4(&result), 1);
    const ProbeView probe = ReadProbe(dir.path());
    EXPECT_EQ(probe.directory, Narrow(dir.path()));
    EXPECT_EQ(probe.commandLine, Narrow(line)) << "the line reaches the program unchanged";
    EXPECT_EQ(probe.flags,
              static_cast<unsigned long>(STARTF_USESHOWWINDOW | STARTF_USEFILLATTRIBUTE));
    EXPECT_EQ(probe.showWindow, static_cast<unsigned>(SW_HIDE));
    EXPECT_EQ(probe.fillAttribute, 0x17ul);

    // The optional arguments left out: the caller's directory, shown normally.
    std::filesystem::remove(dir.path() / L"probe.txt");
    const std::filesystem::path callerDir = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const HRESULT hr = InvokeShell(runner.get(), cmdline.address(), nullptr, nullptr, 1, result);
    std::filesystem::current_path(callerDir);
    ASSERT_EQ(hr, S_OK);
    EXPECT_EQ(V_I4(&result), 1);
    EXPECT_EQ(ReadProbe(dir.path()).showWindow, static_cast<unsigned>(SW_SHOWNORMAL));
}

TEST(Shell, EarlyBoundRunsTheModelOnARealAnswerFile) {
    Ref<_clsExecute> runner;
    ASSERT_EQ(CreateRunner(runner), S_OK);
    ScratchDirectory app(L"app dir with blanks");
    std::filesystem::copy_file(ApplicationDirectory() / L"SCREEN3.EXE",
                               app.path() / L"SCREEN3.EXE");
    WriteWholeFile(app.path() / L"Screen3.INP",
                   quorvel::testing::JoinCrLf(quorvel::testing::DefaultCalculatorAnswers()));

    VARIANT_BOOL yes = VARIANT_TRUE;
    ASSERT_EQ(runner->put_AutoCloseWindow(&yes), S_OK);
    Bstr cmdline(app.path().wstring() + L"\\Screen3.exe <Screen3.INP");
    Bstr curDir(app.path().wstring() + L"\\");
    short hidden = SW_HIDE;
    LONG result = -1;
    ASSERT_EQ(runner->Shell(cmdline.address(), curDir.address(), &hidden, &result), S_OK);
    EXPECT_EQ(result, 1);
    const std::string report = ReadWholeFile(app.path() / L"SCREEN.OUT");
    EXPECT_NE(report.find("REMEMBER TO INCLUDE BACKGROUND CONCENTRATIONS"), std::string::npos);
    EXPECT_NE(report.find("\r\n"), std::string::npos);
}

TEST(Shell, AChineseDirectoryWorksWhateverTheSystemCodePage) {
    Ref<_clsExecute> runner;
    ASSERT_EQ(CreateRunner(runner), S_OK);
    ScratchDirectory app(L"\u6a21\u578b \u76ee\u5f55");  // 模型 目录
    std::filesystem::copy_file(ProbePath(), app.path() / L"SCREEN3.EXE");
    Bstr cmdline(app.path().wstring() + L"\\Screen3.exe <Screen3.INP");
    Bstr curDir(app.path().wstring() + L"\\");
    short hidden = SW_HIDE;
    LONG result = -1;
    ASSERT_EQ(runner->Shell(cmdline.address(), curDir.address(), &hidden, &result), S_OK);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(std::filesystem::exists(app.path() / L"probe.txt"));
}

TEST(Shell, WhatCannotBeStartedGivesZeroAtOnce) {
    Ref<_clsExecute> runner;
    ASSERT_EQ(CreateRunner(runner), S_OK);
    ScratchDirectory dir(L"missing");
    short hidden = SW_HIDE;
    LONG result = -1;
    const auto started = std::chrono::steady_clock::now();
    Bstr missing((dir.path() / L"Screen3.exe").wstring() + L" <Screen3.INP");
    Bstr curDir(dir.path().wstring());
    ASSERT_EQ(runner->Shell(missing.address(), curDir.address(), &hidden, &result), S_OK);
    EXPECT_EQ(result, 0);
    Bstr probe(ProbePath().wstring());
    Bstr noDir((dir.path() / L"no such dir").wstring());
    ASSERT_EQ(runner->Shell(probe.address(), noDir.address(), &hidden, &result), S_OK);
    EXPECT_EQ(result, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / L"probe.txt"));
}

// A message-only window whose handler runs a test action.
class MessageWindow {
  public:
    using Action = std::function<void(MessageWindow&, UINT)>;
    explicit MessageWindow(Action action) : action_(std::move(action)) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &MessageWindow::Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TolvaneTestWindow";
        RegisterClassW(&windowClass);
        handle_ = CreateWindowExW(0, L"TolvaneTestWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, windowClass.hInstance, this);
    }
    ~MessageWindow() { DestroyWindow(handle_); }
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;
    HWND handle() const { return handle_; }

    bool inShell = false;
    int handledInShell = 0;
    _clsExecuteControl* control = nullptr;
    std::filesystem::path watched;
    LONG terminated = -1;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && (message == WM_APP || message == WM_TIMER)) {
            if (self->inShell) ++self->handledInShell;
            self->action_(*self, message);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    Action action_;
    HWND handle_ = nullptr;
};

TEST(Shell, HandlesPostedMessagesWhileItWaitsAndLeavesTheProcessorIdle) {
    Ref<_clsExecute> runner;
    ASSERT_EQ(CreateRunner(runner), S_OK);
    ScratchDirectory dir(L"wait");
    MessageWindow window([](MessageWindow&, UINT) {});
    ASSERT_NE(window.handle(), nullptr);
    PostMessageW(window.handle(), WM_APP, 0, 0);

    Bstr cmdline(ProbePath().wstring() + L" 2000");
    Bstr curDir(dir.path().wstring());
    short hidden = SW_HIDE;
    LONG result = -1;
    const double cpuBefore = ProcessCpuSeconds();
    const auto started = std::chrono::steady_clock::now();
    window.inShell = true;
    ASSERT_EQ(runner->Shell(cmdline.address(), curDir.address(), &hidden, &result), S_OK);
    window.inShell = false;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    EXPECT_EQ(result, 1);
    EXPECT_GE(wall, 1.9);
    EXPECT_EQ(window.handledInShell, 1) << "the posted message waited for the child";
    std::cout << "Shell waiting " << wall << " s for a child used " << cpu * 1000.0
              << " ms of processor time (" << 100.0 * cpu / wall << " %)\n";
    RecordProperty("ShellWaitCpuMilliseconds", static_cast<int>(cpu * 1000.0));
    EXPECT_LT(cpu, 0.1 * wall) << "the wait must not spin";
}

// A file handle the child may inherit, closed when it goes.
class InheritableFile {
  public:
    explicit InheritableFile(const std::filesystem::path& path) {
        SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
        handle_ = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~InheritableFile() { Close(); }
    InheritableFile(const InheritableFile&) = delete;
    InheritableFile& operator=(const InheritableFile&) = delete;
    HANDLE get() const { return handle_; }
    void Close() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A batch writes one run's answer file while another run's child starts:
// the child gets the standard handles, but not that file, which can be
// deleted as soon as its writer closes it, while the child still runs.
TEST(Shell, TheChildInheritsTheStandardHandlesAndNoOtherOfTheCaller) {
    Ref<_clsExecute> runner;
    ASSERT_EQ(CreateRunner(runner), S_OK);
    ScratchDirectory dir(L"inherit");
    const std::filesystem::path held = dir.path() / L"held.txt";
    InheritableFile heldFile(held);
    InheritableFile output(dir.path() / L"output.txt");
    ASSERT_NE(heldFile.get(), INVALID_HANDLE_VALUE);
    ASSERT_NE(output.get(), INVALID_HANDLE_VALUE);

    bool deleted = false;
    DWORD deleteError = 0;
    MessageWindow window([&](MessageWindow& self, UINT) {
        if (!std::filesystem::exists(self.watched) || self.terminated != -1) return;
        self.terminated = 0;
        heldFile.Close();
        deleted = DeleteFileW(held.c_str()) != FALSE;
        deleteError = GetLastError();
    });
    window.watched = dir.path() / L"probe.txt";
    SetTimer(window.handle(), 1, 50, nullptr);

    const HANDLE standardOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, output.get());
    Bstr cmdline(ProbePath().wstring() + L" 1500");
    Bstr curDir(dir.path().wstring());
    short hidden = SW_HIDE;
    LONG result = -1;
    const HRESULT hr = runner->Shell(cmdline.address(), curDir.address(), &hidden, &result);
    SetStdHandle(STD_OUTPUT_HANDLE, standardOutput);
    KillTimer(window.handle(), 1);
    output.Close();
    ASSERT_EQ(hr, S_OK);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(window.terminated, 0) << "the probe was seen running";
    EXPECT_TRUE(deleted) << "the child held the caller's file (error " << deleteError << ")";
    EXPECT_EQ(ReadWholeFile(dir.path() / L"output.txt"), "probe started\r\n");
}

// Ends the pending child through `control` once the probe has written its
// file; polled by a timer of the window.
void TerminateOnceTheProbeHasWritten(MessageWindow& self, UINT) {
    if (self.terminated == -1 && std::filesystem::exists(self.watched)) {
        self.control->Terminate(&self.terminated);
    }
}

void WatchForTheProbe(MessageWindow& window, _clsExecuteControl* control,
                      const std::filesystem::path& directory) {
    window.control = control;
    window.watched = directory / L"probe.txt";
    SetTimer(window.handle(), 1, 50, nullptr);
}

TEST(Terminate, EndsTheChildOfAPendingShellFromAMessageHandler) {
    Ref<_clsExecute> runner;
    ASSERT_EQ(CreateRunner(runner), S_OK);
    Ref<_clsExecuteControl> control;
    ASSERT_EQ(runner->QueryInterface(IID__clsExecuteControl, control.out()), S_OK);
    LONG idle = -1;
    ASSERT_EQ(control->Terminate(&idle), S_OK);
    EXPECT_EQ(idle, 0) << "nothing runs yet";

    ScratchDirectory dir(L"terminate");
    MessageWindow window(&TerminateOnceTheProbeHasWritten);
    WatchForTheProbe(window, control.get(), dir.path());

    Bstr cmdline(ProbePath().wstring() + L" 60000");
    Bstr curDir(dir.path().wstring());
    short hidden = SW_HIDE;
    LONG result = -1;
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(runner->Shell(cmdline.address(), curDir.address(), &hidden, &result), S_OK);
    KillTimer(window.handle(), 1);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(window.terminated, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

TEST(Terminate, KeepOpenModeRunsTheLineInTheCommandInterpreter) {
    Ref<_clsExecute> runner;
    ASSERT_EQ(CreateRunner(runner), S_OK);
    Ref<_clsExecuteControl> control;
    ASSERT_EQ(runner->QueryInterface(IID__clsExecuteControl, control.out()), S_OK);
    ScratchDirectory dir(L"keep open");
    // The interpreter waits for the user after the probe; it is ended.
    MessageWindow window(&TerminateOnceTheProbeHasWritten);
    WatchForTheProbe(window, control.get(), dir.path());

    VARIANT_BOOL no = VARIANT_FALSE;
    ASSERT_EQ(runner->put_AutoCloseWindow(&no), S_OK);
    Bstr cmdline(L"\"" + ProbePath().wstring() + L"\" keep");
    Bstr curDir(dir.path().wstring());
    short hidden = SW_HIDE;
    LONG result = -1;
    ASSERT_EQ(runner->Shell(cmdline.address(), curDir.address(), &hidden, &result), S_OK);
    KillTimer(window.handle(), 1);
    EXPECT_EQ(result, 1);
    // The interpreter started the probe, which saw only its own line.
    EXPECT_NE(ReadProbe(dir.path()).commandLine.find("keep"), std::string::npos);
}

TEST(Unload, DllCanUnloadNowOnceEveryObjectIsReleased) {
    Ref<_clsExecute> runner;
    ASSERT_EQ(CreateRunner(runner), S_OK);
    const HMODULE module = GetModuleHandleW(L"Tolvane.dll");
    ASSERT_NE(module, nullptr);
    const auto canUnloadNow = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    ASSERT_NE(canUnloadNow, nullptr);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    Ref<_clsExecuteControl> control;
    ASSERT_EQ(runner->QueryInterface(IID__clsExecuteControl, control.out()), S_OK);
    runner.reset();
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "the control interface keeps the object";
    control.reset();
    EXPECT_EQ(canUnloadNow(), S_OK);

    Ref<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(CLSID_clsExecute, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               factory.out()),
              S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory.reset();
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "locked";
    ASSERT_EQ(CoGetClassObject(CLSID_clsExecute, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               factory.out()),
              S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory.reset();
    EXPECT_EQ(canUnloadNow(), S_OK);
}

}  // namespace
}  // namespace quorvel::tolvane
