// The state folder on Windows: under the user's local application data.
#include <windows.h>

#include <shlobj.h>

#include "platform/session_log.h"
#include "platform/state_folder.h"

namespace platform {

std::filesystem::path userStateFolder() {
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
    return base / L"VELT Database Media Converter";
}

std::filesystem::path statePartName(StatePart part) {
    switch (part) {
        case StatePart::logs:
            return L"Logs";
        case StatePart::diskettes:
            return L"Diskettes";
        case StatePart::previous:
            break;
    }
    return L"Previous";
}

std::filesystem::path sessionLogFolder() {
    const std::filesystem::path base = userStateFolder();
    return base.empty() ? base : base / statePartName(StatePart::logs);
}

std::string_view nativeLineEnd() {
    return "\r\n";
}

}  // namespace platform
