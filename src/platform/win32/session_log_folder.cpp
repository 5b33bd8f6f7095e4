// The session logs' folder on Windows: under the user's local application data.
#include <windows.h>

#include <shlobj.h>

#include "platform/session_log.h"

namespace platform {

std::filesystem::path sessionLogFolder() {
    std::filesystem::path base;
    wchar_t value[MAX_PATH + 1] = {};
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", value, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH) {
        base = value;
    } else {
        PWSTR known = nullptr;
        if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &known)))
            base = known;
        CoTaskMemFree(known);
    }
    if (base.empty())
        return {};
    return base / L"VELT Database Media Converter" / L"Logs";
}

std::string_view nativeLineEnd() {
    return "\r\n";
}

}  // namespace platform
