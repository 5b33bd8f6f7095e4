// The state folder on Linux: the user's state folder of the XDG base directories.
#include <cstdlib>

#include "platform/session_log.h"
#include "platform/state_folder.h"

namespace platform {

std::filesystem::path userStateFolder() {
    // A relative XDG_STATE_HOME is invalid and ignored, as the base directory rules say.
    const char* state = std::getenv("XDG_STATE_HOME");
    std::filesystem::path base;
    if (state != nullptr && std::filesystem::path(state).is_absolute()) {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || *home == '\0')
            return {};
        base = std::filesystem::path(home) / ".local" / "state";
    }
    return base / "velt-converter";
}

std::filesystem::path statePartName(StatePart part) {
    switch (part) {
        case StatePart::logs:
            return "logs";
        case StatePart::diskettes:
            return "diskettes";
        case StatePart::previous:
            break;
    }
    return "previous";
}

std::filesystem::path sessionLogFolder() {
    const std::filesystem::path base = userStateFolder();
    return base.empty() ? base : base / statePartName(StatePart::logs);
}

std::string_view nativeLineEnd() {
    return "\n";
}

}  // namespace platform
