// The host folder medium on Win32: converter paths joined to the root as Windows paths (long-path
// form), wide-character calls only, and no reparse point (symbolic link, junction) followed on
// the way to an entry or at it.
#include "platform/host_folder.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/error.h"
#include "platform/win32/host_files.h"
#include "platform/win32/win32_text.h"

namespace platform {

using win32::narrow;
using win32::raiseLastError;
using win32::widen;

namespace {

using namespace win32;

class HostFolder : public Medium {
  public:
    explicit HostFolder(std::wstring root) : root_(std::move(root)) {}

    std::vector<MediumEntry> list(const std::string& folder) override {
        const std::wstring path = folderPath(folder);
        WIN32_FIND_DATAW data{};
        Handle find(FindFirstFileExW(join(path, L"*").c_str(), FindExInfoBasic, &data,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
        std::vector<MediumEntry> entries;
        if (!find.valid()) {
            // A drive's empty root has not even "." in it.
            if (GetLastError() == ERROR_FILE_NOT_FOUND)
                return entries;
            raiseLastError();
        }
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const uint64_t length = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
            entries.push_back(entryOf(narrow(name), data.dwFileAttributes, length));
        } while (FindNextFileW(find.get(), &data));
        const DWORD e = GetLastError();
        FindClose(find.release());
        if (e != ERROR_NO_MORE_FILES)
            raise(win32::codeForWin32Error(e));
        return entries;
    }

    std::optional<MediumEntry> entry(const std::string& path) override {
        if (path.empty()) {
            MediumEntry root;
            root.folder = true;
            return root;
        }
        std::wstring full;
        try {
            full = entryPath(path);
        } catch (const Error&) {
            return std::nullopt;
        }
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(full.c_str(), GetFileExInfoStandard, &data))
            return std::nullopt;
        const uint64_t length = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
        return entryOf(nameOf(path), data.dwFileAttributes, length);
    }

    std::unique_ptr<MediumFile> open(const std::string& path, OpenMode mode, bool create) override {
        const std::wstring full = entryPath(path);
        const DWORD attributes = attributesOf(full);
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            // A link is no file of the medium: absent for reading, in the way for writing.
            if (isReparse(attributes))
                raise(mode == OpenMode::read ? err::fileNotFound : err::pathFileAccess);
            if (isFolder(attributes))
                raise(err::pathFileAccess);
        }
        DWORD access = GENERIC_WRITE;
        DWORD disposition = OPEN_EXISTING;
        switch (mode) {
            case OpenMode::read:
                access = GENERIC_READ;
                break;
            case OpenMode::write:
                disposition = create ? CREATE_ALWAYS : TRUNCATE_EXISTING;
                break;
            case OpenMode::append:
                disposition = create ? OPEN_ALWAYS : OPEN_EXISTING;
                break;
            case OpenMode::createNew:
                disposition = CREATE_NEW;
                break;
        }
        Handle h(CreateFileW(full.c_str(), access, shareAll, nullptr, disposition,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!h.valid()) {
            const DWORD e = GetLastError();
            if (e == ERROR_FILE_EXISTS || e == ERROR_ALREADY_EXISTS)
                raise(err::fileAlreadyExists);
            raise(win32::codeForWin32Error(e));
        }
        if (mode == OpenMode::append) {
            LARGE_INTEGER zero{};
            if (!SetFilePointerEx(h.get(), zero, nullptr, FILE_END))
                raiseLastError();
        }
        return std::make_unique<HostFile>(std::move(h));
    }

    void makeFolder(const std::string& path) override {
        const std::wstring full = entryPath(path);
        if (!CreateDirectoryW(full.c_str(), nullptr)) {
            const DWORD e = GetLastError();
            if (e == ERROR_ALREADY_EXISTS || e == ERROR_FILE_EXISTS)
                raise(err::pathFileAccess);
            raise(win32::codeForWin32Error(e));
        }
    }

    void removeFolder(const std::string& path) override {
        if (path.empty())
            raise(err::pathFileAccess);  // never a drive's root
        const std::wstring full = entryPath(path);
        const DWORD attributes = attributesOf(full);
        if (attributes == INVALID_FILE_ATTRIBUTES || !isFolder(attributes))
            raise(err::pathNotFound);
        if (!RemoveDirectoryW(full.c_str())) {
            const DWORD e = GetLastError();
            raise(e == ERROR_DIR_NOT_EMPTY ? err::pathFileAccess : win32::codeForWin32Error(e));
        }
    }

    void deleteFile(const std::string& path) override {
        std::wstring full;
        try {
            full = entryPath(path);
        } catch (const Error&) {
            raise(err::fileNotFound);
        }
        const DWORD attributes = attributesOf(full);
        if (attributes == INVALID_FILE_ATTRIBUTES || isFolder(attributes))
            raise(err::fileNotFound);
        // A link to a folder (a junction) goes as a folder does; what it points to stays.
        const bool ok = isReparse(attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                            ? RemoveDirectoryW(full.c_str())
                            : DeleteFileW(full.c_str());
        if (!ok)
            raiseLastError();
    }

    void rename(const std::string& from, const std::string& to) override {
        const std::wstring source = entryPath(from);
        const std::wstring target = entryPath(to);
        if (attributesOf(source) == INVALID_FILE_ATTRIBUTES)
            raise(err::fileNotFound);
        if (!MoveFileExW(source.c_str(), target.c_str(), 0)) {
            const DWORD e = GetLastError();
            if (e == ERROR_ALREADY_EXISTS || e == ERROR_FILE_EXISTS)
                raise(err::fileAlreadyExists);
            raise(win32::codeForWin32Error(e));
        }
    }

    void copyFileFrom(Medium& source, const std::string& from, const std::string& to) override {
        const std::string sourceHost = source.hostPath(from);
        if (sourceHost.empty()) {
            copyInBlocks(source, from, *this, to);
            return;
        }
        const std::wstring in = literalForm(widen(sourceHost));
        const DWORD inAttributes = attributesOf(in);
        if (inAttributes == INVALID_FILE_ATTRIBUTES || isReparse(inAttributes))
            raise(err::fileNotFound);
        if (isFolder(inAttributes))
            raise(err::pathFileAccess);
        const std::wstring out = entryPath(to);
        const DWORD outAttributes = attributesOf(out);
        if (outAttributes != INVALID_FILE_ATTRIBUTES &&
            (isReparse(outAttributes) || isFolder(outAttributes)))
            raise(err::pathFileAccess);
        if (!CopyFileW(in.c_str(), out.c_str(), FALSE))
            raiseLastError();
        // A new file as any other write makes it: the source's read-only mark is not copied.
        const DWORD copied = attributesOf(out);
        if (copied != INVALID_FILE_ATTRIBUTES && (copied & FILE_ATTRIBUTE_READONLY) != 0)
            SetFileAttributesW(out.c_str(), copied & ~DWORD{FILE_ATTRIBUTE_READONLY});
    }

    uint64_t freeBytes() override { return hostFreeBytes(std::filesystem::path(root_)); }

    uint64_t clusterBytes() override {
        wchar_t volume[MAX_PATH + 1] = {};
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
        const std::wstring plain = join(shortForm(root_), L"");
        if (!GetVolumePathNameW(plain.c_str(), volume, MAX_PATH) ||
            !GetDiskFreeSpaceW(volume, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                               &clusters))
            return 0;
        return uint64_t{sectorsPerCluster} * bytesPerSector;
    }

    void flushTree(const std::string& folder) override {
        std::wstring path;
        try {
            path = folderPath(folder);
        } catch (const Error&) {
            // As the other platforms do: a folder that is not there is a file not found.
            if (!folder.empty() && missing(folder))
                raise(err::fileNotFound);
            throw;
        }
        flushBelow(path);
        if (!folder.empty())
            flushFolder(folderPath(parentOf(folder)));
    }

    std::unique_ptr<MediumFile> openReadBack(const std::string& path) override {
        const std::wstring full = entryPath(path);
        const DWORD attributes = attributesOf(full);
        if (attributes == INVALID_FILE_ATTRIBUTES || isReparse(attributes))
            raise(err::fileNotFound);
        if (isFolder(attributes))
            raise(err::pathFileAccess);
        // Written data must reach the device before it is read back from there.
        Handle writer(CreateFileW(full.c_str(), GENERIC_READ | GENERIC_WRITE, shareAll, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (writer.valid() && !FlushFileBuffers(writer.get()))
            raiseLastError();
        writer.reset();
        Handle h(CreateFileW(full.c_str(), GENERIC_READ, shareAll, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_NO_BUFFERING, nullptr));
        if (h.valid()) {
            LARGE_INTEGER size{};
            if (!GetFileSizeEx(h.get(), &size))
                raiseLastError();
            return std::make_unique<UnbufferedFile>(std::move(h),
                                                    static_cast<uint64_t>(size.QuadPart));
        }
        // A file system that cannot read past its cache has nothing but the cache.
        return open(path, OpenMode::read, false);
    }

    std::string hostPath(const std::string& path) override {
        return narrow(shortForm(path.empty() ? root_ : join(root_, widen(path))));
    }

  private:
    bool missing(const std::string& folder) const {
        try {
            return attributesOf(entryPath(folder)) == INVALID_FILE_ATTRIBUTES;
        } catch (const Error&) {
            return true;
        }
    }

    // The root must still be a folder: a medium replaced at the same place is seen at once.
    void checkRoot() const {
        if (!isFolder(attributesOf(root_)))
            raise(err::pathNotFound);
    }

    // The host path of `path`, every folder on the way a real folder (not a link): 76 otherwise.
    // The last name itself is not looked at.
    std::wstring entryPath(const std::string& path) const {
        checkRoot();
        std::wstring full = root_;
        size_t start = 0;
        for (;;) {
            const size_t sep = path.find('\\', start);
            const std::string name =
                path.substr(start, sep == std::string::npos ? sep : sep - start);
            if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
                raise(name.find('/') != std::string::npos ? err::badFileName : err::pathNotFound);
            full = join(full, widen(name));
            if (sep == std::string::npos)
                return full;
            if (!isFolder(attributesOf(full)))
                raise(err::pathNotFound);
            start = sep + 1;
        }
    }

    // The host path of a folder, which must itself be a real folder: 76 otherwise.
    std::wstring folderPath(const std::string& folder) const {
        if (folder.empty()) {
            checkRoot();
            return root_;
        }
        std::wstring full = entryPath(folder);
        if (!isFolder(attributesOf(full)))
            raise(err::pathNotFound);
        return full;
    }

    static void flushFolder(const std::wstring& path) {
        // Not every file system flushes a folder; its files are flushed all the same.
        Handle h(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, shareAll, nullptr,
                             OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (h.valid())
            FlushFileBuffers(h.get());
    }

    static void flushBelow(const std::wstring& folder) {
        WIN32_FIND_DATAW data{};
        std::vector<std::pair<std::wstring, bool>> children;
        Handle find(FindFirstFileExW(join(folder, L"*").c_str(), FindExInfoBasic, &data,
                                     FindExSearchNameMatch, nullptr, 0));
        if (find.valid()) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L".." || isReparse(data.dwFileAttributes))
                    continue;
                children.emplace_back(name, isFolder(data.dwFileAttributes));
            } while (FindNextFileW(find.get(), &data));
            FindClose(find.release());
        }
        for (const auto& [name, isSubfolder] : children) {
            const std::wstring child = join(folder, name);
            if (isSubfolder) {
                flushBelow(child);
                continue;
            }
            Handle h(CreateFileW(child.c_str(), GENERIC_WRITE, shareAll, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
            if (!h.valid()) {
                // A read-only file was not written by this program since it was marked so.
                if (GetLastError() == ERROR_ACCESS_DENIED &&
                    (attributesOf(child) & FILE_ATTRIBUTE_READONLY) != 0)
                    continue;
                raiseLastError();
            }
            if (!FlushFileBuffers(h.get()))
                raiseLastError();
        }
        flushFolder(folder);
    }

    std::wstring root_;  // long-path form; a trailing "\" only at a drive's root
};

}  // namespace

std::shared_ptr<Medium> openHostFolder(const std::filesystem::path& root) {
    const std::wstring full = longForm(root);
    if (!isFolder(attributesOf(full)))
        raise(err::pathNotFound);
    return std::make_shared<HostFolder>(full);
}

uint64_t hostFreeBytes(const std::filesystem::path& path) {
    ULARGE_INTEGER available{};
    std::wstring p = path.wstring();
    if (!p.empty() && p.back() != L'\\')
        p += L'\\';
    if (!GetDiskFreeSpaceExW(p.c_str(), &available, nullptr, nullptr))
        return 0;
    return available.QuadPart;
}

}  // namespace platform
