// The temporary folder on Windows: a fresh folder below the user's own temporary folder
// (GetTempPathW), which the system already keeps from other users.
#include "platform/temp_folder.h"

#include <windows.h>

#include "platform/error.h"
#include "platform/win32/win32_text.h"

namespace platform {

namespace {

[[noreturn]] void refuse(const std::filesystem::path& folder, const std::string& why) {
    throw Error(err::permissionDenied,
                "Permission denied: " + win32::narrow(folder.wstring()) + " " + why);
}

}  // namespace

std::filesystem::path ensurePrivateFolder(const std::filesystem::path& folder) {
    const std::wstring path = folder.wstring();
    if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        const int16_t code = win32::codeForWin32Error(GetLastError());
        throw Error(code, errorDescription(code) + ": " + win32::narrow(path));
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        win32::raiseLastError();
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        refuse(folder, "is a symbolic link");
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        refuse(folder, "is not a folder");
    return folder;
}

std::filesystem::path hostTempDirectory() {
    wchar_t buffer[MAX_PATH + 2] = {};
    DWORD n = GetTempPathW(MAX_PATH + 2, buffer);
    if (n == 0 || n > MAX_PATH + 1)
        raise(err::pathNotFound);
    std::wstring path(buffer, n);
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return std::filesystem::path(path);
}

std::filesystem::path privateTempFolder() {
    const std::filesystem::path base = hostTempDirectory();
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    const auto salt = static_cast<unsigned long long>(counter.QuadPart) ^ GetCurrentProcessId();
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::wstring name = L"velt-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring((salt + attempt * 7919ULL) % 1000000ULL);
        const std::filesystem::path folder = base / name;
        if (CreateDirectoryW(folder.wstring().c_str(), nullptr))
            return ensurePrivateFolder(folder);
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            win32::raiseLastError();
    }
    raise(err::pathFileAccess);
}

std::string converterPathOnC(const std::filesystem::path& host) {
    // A Windows path already is a converter path.
    std::wstring path = host.lexically_normal().wstring();
    for (wchar_t& c : path) {
        if (c == L'/')
            c = L'\\';
    }
    if (path.rfind(L"\\\\?\\", 0) == 0 && path.rfind(L"\\\\?\\UNC\\", 0) != 0)
        path = path.substr(4);
    return win32::narrow(path);
}

}  // namespace platform
