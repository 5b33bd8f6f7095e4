// Flushing a host folder's trees to the device, and reading a written file back from there.
#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "platform/linux/host_calls.h"
#include "platform/uncached_file.h"

namespace platform {

namespace {

// Reads with O_DIRECT, block by block at its offset.
class DirectFile : public UncachedFile {
  public:
    DirectFile(Fd fd, uint64_t length) : UncachedFile(length), fd_(std::move(fd)) {}
    void close() override { fd_ = Fd(); }

  protected:
    size_t readBlock(char* buffer, uint64_t offset) override {
        ssize_t n;
        do {
            n = ::pread(fd_.get(), buffer, block, static_cast<off_t>(offset));
        } while (n < 0 && errno == EINTR);
        if (n < 0)
            raiseErrno(errno);
        return static_cast<size_t>(n);
    }

  private:
    Fd fd_;
};

}  // namespace

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

std::unique_ptr<MediumFile> readDirect(Fd fd, uint64_t length) {
    return std::make_unique<DirectFile>(std::move(fd), length);
}

}  // namespace platform
