// The host folder medium on Linux: every path is opened relative to the medium's root folder,
// never through a symbolic link and never above the root (platform/linux/host_beneath.cpp).
#include "platform/host_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/error.h"
#include "platform/linux/host_calls.h"

namespace platform {

namespace {

MediumEntry entryOf(const std::string& name, const struct stat& st) {
    MediumEntry e;
    e.name = name;
    e.folder = S_ISDIR(st.st_mode);
    e.link = S_ISLNK(st.st_mode);
    e.special = !e.folder && !e.link && !S_ISREG(st.st_mode);
    // A name the converter's paths cannot spell is of no use to it.
    if (name.find('\\') != std::string::npos)
        e.special = true;
    // A leading dot is an ordinary name on the media the converter reads and writes: FAT knows
    // no such convention, and a file of the set must reach the card whatever its name.
    e.length = S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0;
    return e;
}

void writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            raiseErrno(errno);
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
}

size_t readFull(int fd, void* buffer, size_t size) {
    size_t got = 0;
    auto* out = static_cast<char*>(buffer);
    while (got < size) {
        ssize_t n = ::read(fd, out + got, size - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            raiseErrno(errno);
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    return got;
}

class HostFile : public MediumFile {
  public:
    explicit HostFile(Fd fd) : fd_(std::move(fd)) {}
    size_t read(void* buffer, size_t size) override {
        requireOpen();
        return readFull(fd_.get(), buffer, size);
    }
    void write(const void* data, size_t size) override {
        requireOpen();
        writeAll(fd_.get(), static_cast<const char*>(data), size);
    }
    void close() override {
        int fd = fd_.release();
        if (fd >= 0 && ::close(fd) != 0 && errno != EINTR)
            raiseErrno(errno);
    }

  private:
    void requireOpen() const {
        if (fd_.get() < 0)
            raise(err::badFileName);
    }
    Fd fd_;
};

class HostFolder : public Medium {
  public:
    explicit HostFolder(std::filesystem::path rootPath) : rootPath_(std::move(rootPath)) {}

    std::vector<MediumEntry> list(const std::string& folder) override {
        std::vector<MediumEntry> entries;
        eachEntry(folder, [&](int dirFd, const char* name) {
            struct stat st {};
            if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0)
                entries.push_back(entryOf(name, st));
        });
        return entries;
    }

    std::optional<MediumEntry> entry(const std::string& path) override {
        if (path.empty()) {
            MediumEntry root;
            root.folder = true;
            return root;
        }
        Fd parent(openBeneath(root().get(), parentOf(path), O_PATH | O_DIRECTORY));
        struct stat st {};
        if (parent.get() < 0 ||
            ::fstatat(parent.get(), nameOf(path).c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return std::nullopt;
        return entryOf(nameOf(path), st);
    }

    std::unique_ptr<MediumFile> open(const std::string& path, OpenMode mode, bool create) override {
        int flags = 0;
        switch (mode) {
            case OpenMode::read:
                flags = O_RDONLY;
                break;
            case OpenMode::write:
                flags = O_WRONLY | O_TRUNC | (create ? O_CREAT : 0);
                break;
            case OpenMode::append:
                flags = O_WRONLY | O_APPEND | (create ? O_CREAT : 0);
                break;
            case OpenMode::createNew:
                flags = O_WRONLY | O_CREAT | O_EXCL;
                break;
        }
        Fd parent = openParent(root().get(), path);
        Fd fd(::openat(parent.get(), nameOf(path).c_str(), flags | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (fd.get() < 0) {
            int e = errno;
            if (e == ENOENT)
                raise(err::fileNotFound);
            if (e == EISDIR)
                raise(err::pathFileAccess);
            // A link is no file of the medium: absent for reading, in the way for writing.
            if (e == ELOOP)
                raise(mode == OpenMode::read ? err::fileNotFound : err::pathFileAccess);
            raiseErrno(e);
        }
        struct stat st {};
        if (::fstat(fd.get(), &st) == 0 && S_ISDIR(st.st_mode))
            raise(err::pathFileAccess);
        return std::make_unique<HostFile>(std::move(fd));
    }

    void makeFolder(const std::string& path) override {
        Fd parent = openParent(root().get(), path);
        if (::mkdirat(parent.get(), nameOf(path).c_str(), 0777) != 0) {
            if (errno == EEXIST)
                raise(err::pathFileAccess);
            if (errno == ENOENT || errno == ENOTDIR)
                raise(err::pathNotFound);
            raiseErrno(errno);
        }
    }

    void removeFolder(const std::string& path) override {
        if (path.empty())
            raise(err::pathFileAccess);  // never a drive's root
        Fd parent = openParent(root().get(), path);
        struct stat st {};
        if (::fstatat(parent.get(), nameOf(path).c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISDIR(st.st_mode))
            raise(err::pathNotFound);
        if (::unlinkat(parent.get(), nameOf(path).c_str(), AT_REMOVEDIR) != 0) {
            if (errno == ENOTEMPTY || errno == EEXIST)
                raise(err::pathFileAccess);
            raiseErrno(errno);
        }
    }

    void deleteFile(const std::string& path) override {
        Fd parent(openBeneath(root().get(), parentOf(path), O_PATH | O_DIRECTORY));
        struct stat st {};
        if (parent.get() < 0 ||
            ::fstatat(parent.get(), nameOf(path).c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            S_ISDIR(st.st_mode))
            raise(err::fileNotFound);
        if (::unlinkat(parent.get(), nameOf(path).c_str(), 0) != 0)
            raiseErrno(errno);
    }

    void rename(const std::string& from, const std::string& to) override {
        Fd fromParent = openParent(root().get(), from);
        Fd toParent = openParent(root().get(), to);
        int rc = ::renameat2(fromParent.get(), nameOf(from).c_str(), toParent.get(),
                             nameOf(to).c_str(), RENAME_NOREPLACE);
        if (rc != 0 && errno == EINVAL) {
            // A file system without the flag: the check and the rename are two steps.
            struct stat st {};
            if (::fstatat(toParent.get(), nameOf(to).c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
                raise(err::fileAlreadyExists);
            rc = ::renameat(fromParent.get(), nameOf(from).c_str(), toParent.get(),
                            nameOf(to).c_str());
        }
        if (rc != 0) {
            if (errno == ENOENT)
                raise(err::fileNotFound);
            raiseErrno(errno);
        }
    }

    void copyFileFrom(Medium& source, const std::string& from, const std::string& to) override {
        std::string sourceHost = source.hostPath(from);
        if (sourceHost.empty() || sourceHost.size() >= PATH_MAX) {
            copyInBlocks(source, from, *this, to);
            return;
        }
        Fd in(::open(sourceHost.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (in.get() < 0)
            raise(errno == ENOENT || errno == ELOOP ? err::fileNotFound : codeForErrno(errno));
        struct stat st {};
        if (::fstat(in.get(), &st) != 0)
            raiseErrno(errno);
        if (S_ISDIR(st.st_mode))
            raise(err::pathFileAccess);
        Fd parent = openParent(root().get(), to);
        struct stat target {};
        if (::fstatat(parent.get(), nameOf(to).c_str(), &target, AT_SYMLINK_NOFOLLOW) == 0 &&
            st.st_dev == target.st_dev && st.st_ino == target.st_ino)
            raise(err::permissionDenied);  // a file onto itself
        Fd out(::openat(parent.get(), nameOf(to).c_str(),
                        O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (out.get() < 0)
            raise(errno == EISDIR || errno == ELOOP ? err::pathFileAccess : codeForErrno(errno));

        uint64_t remaining = static_cast<uint64_t>(st.st_size);
        bool kernelCopy = true;
        std::vector<char> buffer;
        while (remaining > 0) {
            ssize_t moved = -1;
            size_t want = static_cast<size_t>(std::min<uint64_t>(remaining, uint64_t{1} << 30));
            if (kernelCopy) {
                moved = ::copy_file_range(in.get(), nullptr, out.get(), nullptr, want, 0);
                if (moved < 0) {
                    if (errno == EINTR)
                        continue;
                    if (errno != EXDEV && errno != ENOSYS && errno != EINVAL &&
                        errno != EOPNOTSUPP && errno != EPERM)
                        raiseErrno(errno);
                    kernelCopy = false;
                }
            }
            if (!kernelCopy) {
                if (buffer.empty())
                    buffer.resize(size_t{1} << 20);
                moved = static_cast<ssize_t>(
                    readFull(in.get(), buffer.data(), std::min(want, buffer.size())));
                writeAll(out.get(), buffer.data(), static_cast<size_t>(moved));
            }
            if (moved == 0)
                break;  // the source ended early
            remaining -= static_cast<uint64_t>(moved);
        }
        if (::close(out.release()) != 0 && errno != EINTR)
            raiseErrno(errno);
    }

    uint64_t freeBytes() override { return hostFreeBytes(rootPath_); }

    uint64_t clusterBytes() override {
        struct statvfs st {};
        return ::fstatvfs(root().get(), &st) == 0 ? static_cast<uint64_t>(st.f_frsize) : 0;
    }

    void flushTree(const std::string& folder) override {
        Fd fd(openBeneath(root().get(), folder, O_RDONLY | O_DIRECTORY));
        if (fd.get() < 0)
            raise(errno == ENOENT ? err::fileNotFound : codeForErrno(errno));
        syncBelow(fd.get(), ".");
        if (!folder.empty()) {
            Fd parent(openBeneath(root().get(), parentOf(folder), O_RDONLY | O_DIRECTORY));
            if (parent.get() < 0)
                raiseErrno(errno);
            syncFd(parent.get(), true);
        }
    }

    std::unique_ptr<MediumFile> openReadBack(const std::string& path) override {
        Fd parent = openParent(root().get(), path);
        Fd fd(::openat(parent.get(), nameOf(path).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (fd.get() < 0)
            raise(errno == ENOENT || errno == ELOOP ? err::fileNotFound : codeForErrno(errno));
        struct stat st {};
        if (::fstat(fd.get(), &st) != 0)
            raiseErrno(errno);
        const uint64_t length = static_cast<uint64_t>(st.st_size);
        // Written pages must reach the device before the cache may let them go.
        if (::fdatasync(fd.get()) != 0 && errno != EINVAL)
            raiseErrno(errno);
        ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_DONTNEED);
        if (noPageCached(fd.get(), length))
            return std::make_unique<HostFile>(std::move(fd));
        // Pages the kernel keeps (another reader maps them): read past the cache.
        Fd direct(::openat(parent.get(), nameOf(path).c_str(),
                           O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_DIRECT));
        if (direct.get() >= 0)
            return readDirect(std::move(direct), length);
        // A file system without direct reads (a RAM disk) has nothing but its cache.
        return std::make_unique<HostFile>(std::move(fd));
    }

    std::string hostPath(const std::string& path) override {
        return path.empty() ? rootPath_.string() : (rootPath_ / hostRelative(path)).string();
    }

  protected:
    std::vector<std::string> names(const std::string& folder) override {
        std::vector<std::string> out;
        eachEntry(folder, [&](int, const char* name) { out.emplace_back(name); });
        return out;
    }

  private:
    // Calls `take` with each name of the folder but "." and "..", and the folder's descriptor.
    template <typename Take>
    void eachEntry(const std::string& folder, Take take) const {
        Fd fd(openBeneath(root().get(), folder, O_RDONLY | O_DIRECTORY));
        if (fd.get() < 0) {
            if (errno == ENOENT || errno == ENOTDIR || errno == ELOOP || errno == EXDEV)
                raise(err::pathNotFound);
            raiseErrno(errno);
        }
        DIR* dir = ::fdopendir(fd.get());
        if (dir == nullptr)
            raiseErrno(errno);
        fd.release();
        errno = 0;
        while (dirent* e = ::readdir(dir)) {
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                take(::dirfd(dir), e->d_name);
            errno = 0;
        }
        const int readError = errno;
        ::closedir(dir);
        if (readError != 0)
            raiseErrno(readError);
    }

    // The root is opened afresh for every operation: a folder replaced or a medium mounted
    // anew at the same place is seen at once.
    struct Root {
        Fd fd;
        int get() const { return fd.get(); }
    };
    Root root() const {
        Root r{Fd(::open(rootPath_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC))};
        if (r.get() < 0)
            raise(err::pathNotFound);
        return r;
    }

    std::filesystem::path rootPath_;
};

}  // namespace

std::shared_ptr<Medium> openHostFolder(const std::filesystem::path& root) {
    Fd fd(::open(root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0)
        raise(err::pathNotFound);
    return std::make_shared<HostFolder>(root);
}

uint64_t hostFreeBytes(const std::filesystem::path& path) {
    struct statvfs st {};
    if (::statvfs(path.c_str(), &st) != 0)
        return 0;
    return static_cast<uint64_t>(st.f_bavail) * st.f_frsize;
}

}  // namespace platform
