// The private temporary folder. The checks run on the folder as found (lstat, so a planted
// symbolic link is seen as one) and again on the folder actually opened, so that swapping the
// folder between the two is noticed.
#include "platform/temp_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/error.h"

namespace platform {

namespace {

[[noreturn]] void refuse(const std::filesystem::path& folder, const std::string& why) {
    throw Error(err::permissionDenied, "Permission denied: " + folder.string() + " " + why);
}

[[noreturn]] void failed(const std::filesystem::path& folder, int errnoValue) {
    const int16_t code = errnoValue == ENOENT ? err::pathNotFound : codeForErrno(errnoValue);
    throw Error(code, errorDescription(code) + ": " + folder.string());
}

// The checks that hold for the folder both before and after it is opened.
void checkOwnFolder(const std::filesystem::path& folder, const struct stat& st) {
    if (S_ISLNK(st.st_mode))
        refuse(folder, "is a symbolic link");
    if (!S_ISDIR(st.st_mode))
        refuse(folder, "is not a folder");
    if (st.st_uid != geteuid())
        refuse(folder, "belongs to another user");
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        refuse(folder, "is writable by other users");
}

// Closes the descriptor however the checks end.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            close(fd);
    }
};

}  // namespace

std::filesystem::path ensurePrivateFolder(const std::filesystem::path& folder) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        failed(folder, errno);

    struct stat before {};
    if (lstat(folder.c_str(), &before) != 0)
        failed(folder, errno);
    checkOwnFolder(folder, before);

    const Descriptor dir{open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)};
    if (dir.fd < 0) {
        if (errno == ELOOP || errno == ENOTDIR)
            refuse(folder, "was replaced while it was checked");
        failed(folder, errno);
    }
    struct stat after {};
    if (fstat(dir.fd, &after) != 0)
        failed(folder, errno);
    if (after.st_dev != before.st_dev || after.st_ino != before.st_ino)
        refuse(folder, "was replaced while it was checked");
    checkOwnFolder(folder, after);
    if ((after.st_mode & 07777) != 0700 && fchmod(dir.fd, 0700) != 0)
        failed(folder, errno);
    return folder;
}

std::filesystem::path hostTempDirectory() {
    const char* tmp = std::getenv("TMPDIR");
    if (tmp != nullptr) {
        std::filesystem::path p(tmp);
        // A "\" would read as a separator once the path is a converter path.
        if (p.is_absolute() && p.string().find('\\') == std::string::npos)
            return p.lexically_normal();
    }
    return "/tmp";
}

std::filesystem::path privateTempFolder() {
    // A fresh folder with a name no other user can guess and take first; the path has no link
    // in it, since the media never follow one.
    std::error_code ec;
    std::filesystem::path base = std::filesystem::canonical(hostTempDirectory(), ec);
    if (ec)
        raise(err::pathNotFound);
    std::string pattern = (base / ("velt-" + std::to_string(geteuid()) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr)
        failed(base, errno);
    return ensurePrivateFolder(pattern);
}

std::string converterPathOnC(const std::filesystem::path& host) {
    std::string out = "C:";
    for (const auto& part : host.lexically_normal().relative_path()) {
        if (part.empty())
            continue;
        out += '\\';
        out += part.string();
    }
    if (out == "C:")
        out += '\\';
    return out;
}

}  // namespace platform
