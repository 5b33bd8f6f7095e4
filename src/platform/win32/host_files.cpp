// The Win32 host folder medium's path forms and entries.
#include "platform/win32/host_files.h"

#include <algorithm>

namespace platform::win32 {

bool isReparse(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool isFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !isReparse(attributes);
}

std::wstring longForm(const std::filesystem::path& root) {
    std::wstring in = root.wstring();
    std::replace(in.begin(), in.end(), L'/', L'\\');
    DWORD n = GetFullPathNameW(in.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        raise(err::pathNotFound);
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(in.c_str(), n, full.data(), nullptr);
    full.resize(n);
    if (full.rfind(L"\\\\?\\", 0) == 0)
        return full;
    while (full.size() > 3 && full.back() == L'\\')
        full.pop_back();
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::wstring literalForm(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    if (path.rfind(L"\\\\?\\", 0) == 0)
        return path;
    if (path.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + path.substr(2);
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return L"\\\\?\\" + path;
    return longForm(std::filesystem::path(path));
}

std::wstring shortForm(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0)
        return L"\\\\" + path.substr(8);
    if (path.rfind(L"\\\\?\\", 0) == 0)
        return path.substr(4);
    return path;
}

std::wstring join(const std::wstring& folder, const std::wstring& name) {
    return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

DWORD attributesOf(const std::wstring& path) {
    return GetFileAttributesW(path.c_str());
}

MediumEntry entryOf(const std::string& name, DWORD attributes, uint64_t length) {
    MediumEntry e;
    e.name = name;
    e.link = isReparse(attributes);
    e.folder = isFolder(attributes);
    e.special = (attributes & FILE_ATTRIBUTE_DEVICE) != 0;
    // A leading dot is an ordinary name here, whatever a compatibility layer that hides such
    // names on its host's folders reports; the system mark still hides it.
    const DWORD hiding = !name.empty() && name[0] == '.'
                             ? DWORD{FILE_ATTRIBUTE_SYSTEM}
                             : DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM};
    e.hidden = (attributes & hiding) != 0;
    e.length = e.folder || e.link ? 0 : length;
    return e;
}

}  // namespace platform::win32
