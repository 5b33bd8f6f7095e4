// The session logs' folder on Linux: the user's state folder of the XDG base directories.
#include <cstdlib>

#include "platform/session_log.h"

namespace platform {

std::filesystem::path sessionLogFolder() {
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
    return base / "velt-converter" / "logs";
}

std::string_view nativeLineEnd() {
    return "\n";
}

}  // namespace platform
