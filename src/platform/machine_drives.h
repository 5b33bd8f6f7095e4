// The drive table of the machine the program runs on (its implementation is chosen per OS).
#pragma once

#include <memory>

#include "platform/drives.h"

namespace platform {

// The machine's drives, discovered afresh as they are listed.
std::unique_ptr<DriveTable> machineDrives();

}  // namespace platform
