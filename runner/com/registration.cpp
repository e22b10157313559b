#include "runner/com/registration.h"

#include <oleauto.h>

#include <string>

#include "Tolvane.h"
#include "runner/com/module.h"
#include "runner/com/type_info.h"
#include "runner/tolvane_identity.h"

// Exported by oleaut32 (Windows Vista and later) but not declared by
// MinGW-w64's headers.
WINOLEAUTAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* path, OLECHAR* helpDir);
WINOLEAUTAPI UnRegisterTypeLibForUser(REFGUID libId, WORD major, WORD minor, LCID locale,
                                      SYSKIND kind);

namespace quorvel::tolvane {
namespace {

struct ClassesRoot {
    HKEY root;
    const wchar_t* path;
    bool machine;
};
const ClassesRoot kMachine{HKEY_LOCAL_MACHINE, L"Software\\Classes", true};
const ClassesRoot kUser{HKEY_CURRENT_USER, L"Software\\Classes", false};

std::wstring Ascii(const char* text) { return std::wstring(text, text + strlen(text)); }

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40];
    const int length = StringFromGUID2(guid, text, 40);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length - 1)) : std::wstring();
}

// Sets the value `name` (empty: the default value) of the key `path` below
// the classes root, creating the key.
LONG SetText(const ClassesRoot& where, const std::wstring& path, const wchar_t* name,
             const std::wstring& value) {
    const std::wstring full = std::wstring(where.path) + L"\\" + path;
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(where.root, full.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    if (name != nullptr || !value.empty()) {
        status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    RegCloseKey(key);
    return status;
}

LONG WriteClassKeys(const ClassesRoot& where, const std::wstring& modulePath) {
    const std::wstring clsidKey = L"CLSID\\" + GuidText(CLSID_clsExecute);
    const std::wstring progId = Ascii(kProgId);
    const std::pair<std::wstring, std::pair<const wchar_t*, std::wstring>> values[] = {
        {clsidKey, {nullptr, progId}},
        {clsidKey + L"\\InprocServer32", {nullptr, modulePath}},
        {clsidKey + L"\\InprocServer32", {L"ThreadingModel", Ascii(kThreadingModel)}},
        {clsidKey + L"\\ProgID", {nullptr, progId}},
        {clsidKey + L"\\VERSION", {nullptr, Ascii(kTypeLibraryVersion)}},
        {clsidKey + L"\\TypeLib", {nullptr, GuidText(LIBID_Tolvane)}},
        {clsidKey + L"\\Programmable", {nullptr, L""}},
        {progId, {nullptr, progId}},
        {progId + L"\\CLSID", {nullptr, GuidText(CLSID_clsExecute)}},
    };
    for (const auto& [path, value] : values) {
        const LONG status = SetText(where, path, value.first, value.second);
        if (status != ERROR_SUCCESS) return status;
    }
    return ERROR_SUCCESS;
}

LONG DeleteTree(const ClassesRoot& where, const std::wstring& path) {
    const std::wstring full = std::wstring(where.path) + L"\\" + path;
    const LONG status = RegDeleteTreeW(where.root, full.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

LONG DeleteClassKeys(const ClassesRoot& where) {
    LONG status = DeleteTree(where, L"CLSID\\" + GuidText(CLSID_clsExecute));
    const LONG progId = DeleteTree(where, Ascii(kProgId));
    return status != ERROR_SUCCESS ? status : progId;
}

bool KeyExists(const ClassesRoot& where, const std::wstring& path) {
    const std::wstring full = std::wstring(where.path) + L"\\" + path;
    HKEY key = nullptr;
    if (RegOpenKeyExW(where.root, full.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool IsAccessDenied(LONG status) { return status == ERROR_ACCESS_DENIED; }

}  // namespace

HRESULT RegisterServer() {
    const std::wstring modulePath = ModulePath();
    if (modulePath.empty()) return HRESULT_FROM_WIN32(GetLastError());
    ITypeLib* library = nullptr;
    HRESULT hr = LoadOwnTypeLibrary(&library);
    if (FAILED(hr)) return hr;

    LONG status = WriteClassKeys(kMachine, modulePath);
    bool machine = true;
    if (IsAccessDenied(status)) {
        DeleteClassKeys(kMachine);
        machine = false;
        status = WriteClassKeys(kUser, modulePath);
    }
    if (status != ERROR_SUCCESS) {
        library->Release();
        DeleteClassKeys(machine ? kMachine : kUser);
        return HRESULT_FROM_WIN32(static_cast<DWORD>(status));
    }
    // The type library and its interfaces, with the standard automation
    // marshaller for the dual interfaces.
    std::wstring path = modulePath;
    hr = machine ? RegisterTypeLib(library, path.data(), nullptr)
                 : RegisterTypeLibForUser(library, path.data(), nullptr);
    library->Release();
    if (FAILED(hr)) DeleteClassKeys(machine ? kMachine : kUser);
    return hr;
}

HRESULT UnregisterServer() {
    HRESULT result = S_OK;
    const std::wstring typeLibKey =
        L"TypeLib\\" + GuidText(LIBID_Tolvane) + L"\\" + Ascii(kTypeLibraryVersion);
    for (const ClassesRoot& where : {kMachine, kUser}) {
        // The type library first: unregistering it also removes the
        // interface keys that name it. Only where it is registered, since
        // unregistering a library that is not there is an error.
        if (KeyExists(where, typeLibKey)) {
            const HRESULT hr =
                where.machine
                    ? UnRegisterTypeLib(LIBID_Tolvane, 1, 0, LOCALE_NEUTRAL, SYS_WIN64)
                    : UnRegisterTypeLibForUser(LIBID_Tolvane, 1, 0, LOCALE_NEUTRAL, SYS_WIN64);
            if (FAILED(hr) && SUCCEEDED(result)) result = hr;
        }
        const LONG status = DeleteClassKeys(where);
        if (status != ERROR_SUCCESS && !(IsAccessDenied(status) && where.machine) &&
            SUCCEEDED(result)) {
            result = HRESULT_FROM_WIN32(static_cast<DWORD>(status));
        }
    }
    return result;
}

}  // namespace quorvel::tolvane
