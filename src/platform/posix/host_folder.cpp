// The host folder medium on POSIX: every path is opened relative to the medium's root folder,
// never through a symbolic link and never above the root.
#include "platform/host_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/error.h"

namespace platform {

namespace {

// A descriptor closed when it goes.
class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(Fd&& other) noexcept : fd_(other.release()) {}
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            if (fd_ >= 0)
                ::close(fd_);
            fd_ = other.release();
        }
        return *this;
    }
    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_;
};

[[noreturn]] void raiseErrno(int e) {
    raise(codeForErrno(e));
}

std::string hostRelative(const std::string& path) {
    std::string out = path;
    std::replace(out.begin(), out.end(), '\\', '/');
    return out.empty() ? "." : out;
}

// openat2 confines the whole resolution; kernels without it get a walk name by name.
bool haveOpenat2 = true;
// openat2 takes no path of PATH_MAX bytes or more: a longer one is opened a part at a time,
// each part beneath the folder the part before it opened.
constexpr size_t partLimit = PATH_MAX / 2;

// Opens `rel`, a host path ("/" between names, "." for the folder itself), beneath `rootFd`.
int openHostBeneath(int rootFd, const std::string& rel, int flags, mode_t mode = 0) {
    if (haveOpenat2 && rel.size() > partLimit) {
        const size_t cut = rel.rfind('/', partLimit);
        if (cut != std::string::npos && cut > 0) {
            Fd part(openHostBeneath(rootFd, rel.substr(0, cut), O_PATH | O_DIRECTORY));
            if (part.get() < 0)
                return -1;
            const int fd = openHostBeneath(part.get(), rel.substr(cut + 1), flags, mode);
            const int e = errno;
            part = Fd();
            errno = e;
            return fd;
        }
    }
    if (haveOpenat2) {
        open_how how{};
        how.flags = static_cast<uint64_t>(flags | O_CLOEXEC);
        how.mode = (flags & O_CREAT) != 0 ? mode : 0;
        how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
        for (;;) {
            long fd = ::syscall(SYS_openat2, rootFd, rel.c_str(), &how, sizeof how);
            if (fd >= 0)
                return static_cast<int>(fd);
            if (errno == EINTR || errno == EAGAIN)
                continue;
            if (errno != ENOSYS && errno != EPERM)
                return -1;
            break;
        }
        haveOpenat2 = false;
    }
    // Name by name, each opened without following a link.
    Fd dir(::dup(rootFd));
    if (dir.get() < 0)
        return -1;
    size_t start = 0;
    for (;;) {
        size_t slash = rel.find('/', start);
        std::string name =
            rel.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (name == "..") {
            errno = EXDEV;
            return -1;
        }
        if (slash == std::string::npos)
            return ::openat(dir.get(), name.c_str(), flags | O_CLOEXEC | O_NOFOLLOW, mode);
        Fd next(::openat(dir.get(), name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (next.get() < 0)
            return -1;
        dir = std::move(next);
        start = slash + 1;
    }
}

int openBeneath(int rootFd, const std::string& path, int flags, mode_t mode = 0) {
    return openHostBeneath(rootFd, hostRelative(path), flags, mode);
}

// The folder that holds `path`, opened to work on its entry by name.
Fd openParent(int rootFd, const std::string& path) {
    Fd fd(openBeneath(rootFd, parentOf(path), O_PATH | O_DIRECTORY));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR || errno == ELOOP || errno == EXDEV)
            raise(err::pathNotFound);
        raiseErrno(errno);
    }
    return fd;
}

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

// Reads with O_DIRECT: whole aligned blocks from the device, the tail cut off at the length.
class DirectFile : public MediumFile {
  public:
    DirectFile(Fd fd, uint64_t length) : fd_(std::move(fd)), length_(length) {
        void* p = nullptr;
        if (posix_memalign(&p, alignment, block) != 0)
            raise(err::outOfMemory);
        buffer_.reset(static_cast<char*>(p));
    }
    size_t read(void* out, size_t size) override {
        size_t done = 0;
        auto* dest = static_cast<char*>(out);
        while (done < size && position_ < length_) {
            if (bufferPos_ == bufferLen_) {
                ssize_t n;
                do {
                    n = ::pread(fd_.get(), buffer_.get(), block, static_cast<off_t>(filled_));
                } while (n < 0 && errno == EINTR);
                if (n < 0)
                    raiseErrno(errno);
                if (n == 0)
                    break;
                filled_ += static_cast<uint64_t>(n);
                bufferPos_ = 0;
                bufferLen_ = static_cast<size_t>(n);
            }
            size_t take = std::min(
                {size - done, bufferLen_ - bufferPos_, static_cast<size_t>(length_ - position_)});
            std::memcpy(dest + done, buffer_.get() + bufferPos_, take);
            bufferPos_ += take;
            position_ += take;
            done += take;
        }
        return done;
    }
    void write(const void*, size_t) override { raise(err::badFileMode); }
    void close() override { fd_ = Fd(); }

  private:
    static constexpr size_t alignment = 4096;
    static constexpr size_t block = size_t{1} << 20;
    struct Free {
        void operator()(char* p) const { std::free(p); }
    };
    Fd fd_;
    uint64_t length_;
    std::unique_ptr<char, Free> buffer_;
    uint64_t filled_ = 0, position_ = 0;
    size_t bufferPos_ = 0, bufferLen_ = 0;
};

// True when no page of the file is in the page cache.
bool noPageCached(int fd, uint64_t length) {
    if (length == 0)
        return true;
    void* map = ::mmap(nullptr, static_cast<size_t>(length), PROT_READ, MAP_SHARED, fd, 0);
    if (map == MAP_FAILED)
        return false;
    const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> resident((static_cast<size_t>(length) + page - 1) / page);
    bool none = ::mincore(map, static_cast<size_t>(length), resident.data()) == 0 &&
                std::none_of(resident.begin(), resident.end(),
                             [](unsigned char r) { return (r & 1) != 0; });
    ::munmap(map, static_cast<size_t>(length));
    return none;
}

void syncFd(int fd, bool folder) {
    if (::fsync(fd) != 0) {
        int e = errno;
        // Some file systems cannot flush a folder; their files are flushed all the same.
        if (!(folder && (e == EINVAL || e == EROFS)))
            raiseErrno(e);
    }
}

// Flushes the files of the folder at `rel` beneath `topFd`, then its folders the same way, then
// the folder itself. Each folder is opened by its path from the top when its turn comes, so a
// deep tree keeps no more descriptors open than a shallow one.
void syncBelow(int topFd, const std::string& rel) {
    std::vector<std::string> folders;
    {
        Fd dirFd(openHostBeneath(topFd, rel, O_RDONLY | O_DIRECTORY));
        if (dirFd.get() < 0)
            raiseErrno(errno);
        Fd listing(::openat(dirFd.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (listing.get() < 0)
            raiseErrno(errno);
        DIR* dir = ::fdopendir(listing.get());
        if (dir == nullptr)
            raiseErrno(errno);
        listing.release();
        std::vector<std::string> files;
        errno = 0;
        while (dirent* e = ::readdir(dir)) {
            std::string name = e->d_name;
            struct stat st {};
            if (name == "." || name == ".." ||
                ::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            if (S_ISDIR(st.st_mode))
                folders.push_back(name);
            else if (S_ISREG(st.st_mode))
                files.push_back(name);
        }
        ::closedir(dir);
        for (const std::string& name : files) {
            Fd file(::openat(dirFd.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
            if (file.get() < 0)
                raiseErrno(errno);
            syncFd(file.get(), false);
        }
    }
    for (const std::string& name : folders)
        syncBelow(topFd, rel + '/' + name);
    Fd dirFd(openHostBeneath(topFd, rel, O_RDONLY | O_DIRECTORY));
    if (dirFd.get() < 0)
        raiseErrno(errno);
    syncFd(dirFd.get(), true);
}

class HostFolder : public Medium {
  public:
    explicit HostFolder(std::filesystem::path rootPath) : rootPath_(std::move(rootPath)) {}

    std::vector<MediumEntry> list(const std::string& folder) override {
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
        std::vector<MediumEntry> entries;
        errno = 0;
        while (dirent* e = ::readdir(dir)) {
            if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
                continue;
            struct stat st {};
            if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            entries.push_back(entryOf(e->d_name, st));
            errno = 0;
        }
        int readError = errno;
        ::closedir(dir);
        if (readError != 0)
            raiseErrno(readError);
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
            return std::make_unique<DirectFile>(std::move(direct), length);
        // A file system without direct reads (a RAM disk) has nothing but its cache.
        return std::make_unique<HostFile>(std::move(fd));
    }

    std::string hostPath(const std::string& path) override {
        return path.empty() ? rootPath_.string() : (rootPath_ / hostRelative(path)).string();
    }

  private:
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
