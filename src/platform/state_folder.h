// The per-user state folder: what outlives a session (its logs, the store of what was read of
// each diskette, the old databases that tight cards left on this computer) lives in one place.
#pragma once

#include <filesystem>
#include <string>

namespace platform {

enum class StatePart { logs, diskettes, previous };

// The user's own state folder: $XDG_STATE_HOME/velt-converter (by default
// ~/.local/state/velt-converter) on Linux, %LOCALAPPDATA%\VELT Database Media Converter on
// Windows. Empty when the system names no such place.
std::filesystem::path userStateFolder();
// A part's folder name as the platform spells its folders ("diskettes", "Diskettes").
std::filesystem::path statePartName(StatePart part);

// The state folder of this run: the desktop programs use the user's, a script names its own.
// Empty until one is set: nothing is then kept beyond the run.
void setStateFolder(const std::filesystem::path& folder);
const std::filesystem::path& stateFolder();
// A part's folder inside the run's state folder; empty without one. Not created here.
std::filesystem::path statePart(StatePart part);
// The same folder, made when missing; raises platform::Error 76 when there is no state folder
// or it cannot be made.
std::filesystem::path makeStatePart(StatePart part);

}  // namespace platform
