#pragma once
// Helpers of the component's client test: paths, processes, registry, texts.

#include <windows.h>
// After windows.h, which it builds on:
#include <oleauto.h>

#include <filesystem>
#include <string>

namespace quorvel::tolvane::testing {

// The directory of this test program, and the application directory
// (tests-bin\..\bin) that holds Tolvane.dll and SCREEN3.EXE.
std::filesystem::path TestProgramDirectory();
std::filesystem::path ApplicationDirectory();

// Runs a command line (wide, no window) and returns its exit code, or -1
// when it could not be started.
long RunProgram(const std::wstring& commandLine);

// Registry reads below HKEY_CLASSES_ROOT.
bool ClassesKeyExists(const std::wstring& path);
std::wstring ClassesValue(const std::wstring& path, const wchar_t* name = nullptr);

std::wstring GuidText(REFGUID guid);

// A new empty directory below the temporary directory, removed at the end.
class ScratchDirectory {
  public:
    explicit ScratchDirectory(const std::wstring& name);
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

std::string ReadWholeFile(const std::filesystem::path& file);
void WriteWholeFile(const std::filesystem::path& file, const std::string& bytes);

// A BSTR owned by the test; by reference it may be replaced by the callee.
class Bstr {
  public:
    explicit Bstr(const std::wstring& text)
        : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Bstr() { SysFreeString(value_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR* address() { return &value_; }

  private:
    BSTR value_;
};

// User plus kernel time this process has used, in seconds.
double ProcessCpuSeconds();

}  // namespace quorvel::tolvane::testing
