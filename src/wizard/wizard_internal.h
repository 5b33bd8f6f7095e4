// Helpers the wizard's source files share: the drive lookup from the drive list and the failure
// reports of the main window. Not part of the wizard's interface.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "fs/file_system.h"
#include "ui/messages.h"

namespace wizard::detail {

using ui::crlf;

// The drive behind the drive list's current entry, looked up afresh; raises what the lookup
// raises (68 when there is no such drive).
fs::DriveObject listDrive();

// The same lookup for the step procedures: nothing after a failed lookup, which it has
// reported in the "Error!" style.
std::optional<fs::DriveObject> stepDrive();

// CR LF + "Drive L: is not ready." for drive letter L.
std::string notReadyText(const std::string& letter);

// Saves the diskette just read as #n (accepted or failing) as an image when images are kept;
// a failure to save it is logged (when `reportFailure`) and passed over.
void keepImage(int16_t n, bool reportFailure);

// Logs "ERROR " + text and shows it in the "Error!" box.
void reportError(const std::string& text);

// Removes the temporary area and ends the program; a failed removal is reported and the
// program ends all the same. Does not return.
[[noreturn]] void endWithCleanUp();

// The text in capitals (ASCII letters only; other bytes stay).
std::string upperCase(std::string text);

}  // namespace wizard::detail
