// The guide as every Windows package puts it: beside the program.
#include <windows.h>

#include <string>

#include "platform/guide.h"

namespace platform {

std::filesystem::path guideFile() {
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size())
        return {};
    path.resize(length);
    return std::filesystem::path(path).parent_path() / L"guide.html";
}

}  // namespace platform
