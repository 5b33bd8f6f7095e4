// The run's state folder, set once by the front end.
#include "platform/state_folder.h"

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

}  // namespace platform
