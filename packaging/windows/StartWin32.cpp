// Starts zmt4824.exe (or with --demo zmt4824-demo.exe) from this program's folder in the
// user's data folder, %LOCALAPPDATA%\zmt4824, made when missing: there the program keeps
// initdig.txt and the COM bindings at every start, whatever the shortcut's own folder.
// The remaining arguments are handed on.

#include <windows.h>

#include <string>

namespace {

std::wstring OwnFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring DataFolder() {
    std::wstring base(32767, L'\0');
    const DWORD length =
        ::GetEnvironmentVariableW(L"LOCALAPPDATA", base.data(), DWORD(base.size()));
    base.resize(length < base.size() ? length : 0);
    if (base.empty()) return {};
    const std::wstring folder = base + L"\\zmt4824";
    ::CreateDirectoryW(folder.c_str(), nullptr);  // an existing one is fine
    return folder;
}

// One argument as CommandLineToArgvW reads it back.
std::wstring Quoted(const std::wstring& argument) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int first = 1;
    std::wstring program = L"zmt4824.exe";
    if (argc > 1 && std::wstring(argv[1]) == L"--demo") {
        program = L"zmt4824-demo.exe";
        first = 2;
    }
    const std::wstring path = OwnFolder() + program;
    std::wstring commandLine = Quoted(path);
    for (int i = first; i < argc; ++i) commandLine += L" " + Quoted(argv[i]);
    const std::wstring folder = DataFolder();

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        const std::wstring text = L"Cannot start " + path;
        ::MessageBoxW(nullptr, text.c_str(), L"zmt4824", MB_OK | MB_ICONERROR);
        return 1;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return 0;
}
