// The guide as the Debian package installs it, found from the running program's place.
#include "platform/guide.h"

namespace platform {

std::filesystem::path guideFile() {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || program.empty())
        return {};
    return program.parent_path().parent_path() / "share" / "doc" / "velt-converter" / "guide.html";
}

}  // namespace platform
