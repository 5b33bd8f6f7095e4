// The run-time's file operations: listings, attributes, folders, deletion, length, raw reads,
// the current drive and folder, and flushing a tree to its medium.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "fs/file_system.h"
#include "fs/host_io.h"
#include "platform/context.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/text_case.h"

namespace fs {

namespace {

using platform::raise;

// Folder paths may end in "\"; the entry they name is the same.
std::string withoutTrailingSeparator(const std::string& path) {
    std::string p = path;
    while (p.size() > 3 && (p.back() == '\\' || p.back() == '/'))
        p.pop_back();
    return p;
}

std::vector<DirEntry> readFolder(const std::string& folder, bool everything) {
    platform::HostPath hp = platform::resolvePath(folder);
    DIR* dir = opendir(hp.host.c_str());
    if (dir == nullptr) {
        if (errno == ENOENT || errno == ENOTDIR)
            raise(platform::err::pathNotFound);
        raise(platform::codeForErrno(errno));
    }
    std::vector<DirEntry> entries;
    errno = 0;
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        if (!everything && name[0] == '.')
            continue;
        struct stat st {};
        if (fstatat(dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISLNK(st.st_mode)) {
            if (everything)
                entries.push_back({name, false});
        } else if (S_ISDIR(st.st_mode)) {
            entries.push_back({name, true});
        } else if (S_ISREG(st.st_mode) || everything) {
            entries.push_back({name, false});
        }
    }
    int readError = errno;
    closedir(dir);
    if (readError != 0)
        raise(platform::codeForErrno(readError));
    std::sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) {
        std::string la = platform::lowerAscii(a.name), lb = platform::lowerAscii(b.name);
        return la != lb ? la < lb : a.name < b.name;
    });
    return entries;
}

struct stat lstatOf(const platform::HostPath& hp, bool& found) {
    struct stat st {};
    found = lstat(hp.host.c_str(), &st) == 0;
    return st;
}

}  // namespace

std::vector<DirEntry> listFolder(const std::string& folder) {
    return readFolder(folder, false);
}

std::vector<DirEntry> listFolderAll(const std::string& folder) {
    return readFolder(folder, true);
}

bool entryExists(const std::string& path) {
    platform::HostPath hp = platform::resolvePath(withoutTrailingSeparator(path));
    if (hp.relative.empty())
        return true;  // a drive's root
    std::string name = hp.host.filename().string();
    if (name.empty() || name[0] == '.')
        return false;
    bool found = false;
    struct stat st = lstatOf(hp, found);
    return found && (S_ISDIR(st.st_mode) || S_ISREG(st.st_mode));
}

bool isFolder(const std::string& path) {
    platform::HostPath hp = platform::resolvePath(withoutTrailingSeparator(path));
    bool found = false;
    struct stat st = lstatOf(hp, found);
    if (!found)
        raise(platform::err::fileNotFound);
    return S_ISDIR(st.st_mode);
}

void makeFolder(const std::string& path) {
    platform::HostPath hp = platform::resolvePath(withoutTrailingSeparator(path));
    platform::drives().checkModify(hp.letter);
    if (::mkdir(hp.host.c_str(), 0777) != 0) {
        if (errno == EEXIST)
            raise(platform::err::pathFileAccess);
        if (errno == ENOENT || errno == ENOTDIR)
            raise(platform::err::pathNotFound);
        raise(platform::codeForErrno(errno));
    }
}

void removeFolder(const std::string& path) {
    platform::HostPath hp = platform::resolvePath(withoutTrailingSeparator(path));
    platform::drives().checkModify(hp.letter);
    if (hp.relative.empty())
        raise(platform::err::pathFileAccess);  // never a drive's root
    bool found = false;
    struct stat st = lstatOf(hp, found);
    if (!found || !S_ISDIR(st.st_mode))
        raise(platform::err::pathNotFound);
    if (::rmdir(hp.host.c_str()) != 0) {
        if (errno == ENOTEMPTY || errno == EEXIST)
            raise(platform::err::pathFileAccess);
        raise(platform::codeForErrno(errno));
    }
}

void deleteFile(const std::string& path) {
    platform::HostPath hp = platform::resolvePath(path);
    bool found = false;
    struct stat st = lstatOf(hp, found);
    if (!found || S_ISDIR(st.st_mode))
        raise(platform::err::fileNotFound);
    platform::drives().checkModify(hp.letter);
    if (::unlink(hp.host.c_str()) != 0)
        raise(platform::codeForErrno(errno));
}

int64_t fileLength(const std::string& path) {
    platform::HostPath hp = platform::resolvePath(path);
    struct stat st {};
    if (stat(hp.host.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        raise(platform::err::fileNotFound);
    return static_cast<int64_t>(st.st_size);
}

BinaryFile::BinaryFile(const std::string& path) {
    platform::HostPath hp = platform::resolvePath(path);
    fd_ = hostio::openFile(hp.host, O_RDONLY | O_CLOEXEC);
    bad_ = platform::drives().isBad(hp.letter, hp.relative);
}

BinaryFile::~BinaryFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

size_t BinaryFile::read(uint8_t* buffer, size_t size) {
    if (fd_ < 0)
        raise(platform::err::badFileName);
    if (bad_)
        raise(platform::err::deviceIO);
    size_t got = 0;
    while (got < size) {
        ssize_t n = hostio::readSome(fd_, buffer + got, size - got);
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    return got;
}

void BinaryFile::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void changeDrive(const std::string& path) {
    std::string name = platform::driveNameOf(path);
    if (name.empty())
        raise(platform::err::invalidCall);
    platform::HostPath hp = platform::resolvePath(name + "\\");
    platform::setCurrentDrive(hp.letter);
}

void changeFolder(const std::string& path) {
    platform::HostPath hp = platform::resolvePath(withoutTrailingSeparator(path));
    struct stat st {};
    if (stat(hp.host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        raise(platform::err::pathNotFound);
    platform::setCurrentFolder(hp.letter, "\\" + hp.relative);
}

namespace {

void syncPath(const std::filesystem::path& host, bool folder) {
    int fd = ::open(host.c_str(), (folder ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
    if (fd < 0)
        hostio::raiseFor(host, errno);
    int rc = ::fsync(fd);
    int syncError = errno;
    ::close(fd);
    // Some file systems cannot flush a folder; their files are flushed all the same.
    if (rc != 0 && !(folder && (syncError == EINVAL || syncError == EROFS)))
        raise(platform::codeForErrno(syncError));
}

void syncBelow(const std::filesystem::path& host) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(host, ec), end; it != end; it.increment(ec)) {
        if (ec)
            break;
        auto status = it->symlink_status(ec);
        if (ec)
            raise(platform::err::deviceIO);
        if (std::filesystem::is_directory(status)) {
            syncBelow(it->path());
        } else if (std::filesystem::is_regular_file(status)) {
            syncPath(it->path(), false);
        }
    }
    if (ec)
        raise(platform::codeForErrno(ec.value()));
    syncPath(host, true);
}

}  // namespace

void syncTree(const std::string& folder) {
    platform::HostPath hp = platform::resolvePath(withoutTrailingSeparator(folder));
    syncBelow(hp.host);
    if (!hp.relative.empty())
        syncPath(hp.host.parent_path(), true);
}

}  // namespace fs
