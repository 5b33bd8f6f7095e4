// Kept diskette images: a diskette as the block reader read it, saved as an image file that
// opens again as a diskette, with the list of the sectors that never read beside it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/medium.h"

namespace platform {

// Writes `read` to `folder`/`stem`.img (created or replaced; the folder is created when
// missing), its unread sectors as zeros, and their numbers, one a line in increasing order,
// to `stem`.bad, which is removed when every sector read. Raises 57 (or the host's reason)
// when they cannot be written.
void keepDisketteImage(const std::filesystem::path& folder, const std::string& stem,
                       const DisketteRead& read);

// The sectors that the `.bad` beside an image (the same name ending in ".bad") lists, in
// increasing order; none when there is no such file. Lines that are not sector numbers are
// passed over.
std::vector<uint64_t> keptBadSectors(const std::filesystem::path& image);

}  // namespace platform
