// fsync of a host file by its path.
#include <fcntl.h>
#include <unistd.h>

#include "platform/file_sync.h"

namespace platform {

bool syncHostFile(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

}  // namespace platform
