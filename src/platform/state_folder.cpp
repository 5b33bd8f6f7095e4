// The run's state folder, set once by the front end.
#include "platform/state_folder.h"

#include "platform/error.h"

namespace platform {

namespace {
std::filesystem::path& current() {
    static std::filesystem::path folder;
    return folder;
}
}  // namespace

void setStateFolder(const std::filesystem::path& folder) {
    current() = folder;
}

const std::filesystem::path& stateFolder() {
    return current();
}

std::filesystem::path statePart(StatePart part) {
    if (current().empty())
        return {};
    return current() / statePartName(part);
}

std::filesystem::path makeStatePart(StatePart part) {
    const std::filesystem::path folder = statePart(part);
    std::error_code ec;
    if (folder.empty() || (!std::filesystem::create_directories(folder, ec) && ec) ||
        !std::filesystem::is_directory(folder, ec))
        raise(err::pathNotFound);
    return folder;
}

}  // namespace platform
