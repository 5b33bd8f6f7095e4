// Kept diskette images: a diskette as the block reader read it, saved as an image file that
// opens again as a diskette, with the list of the sectors that never read beside it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/medium.h"

namespace platform {

// Keeps `read` in `folder` (created when missing) as `stem`.img, or as `stem`~2.img, ~3, ...
// when that name holds the image of another diskette (another serial number or other bytes in
// the sectors that tell a diskette), so that no image of one diskette replaces another's. An
// image of the same diskette is updated: a sector it holds that this read lacks stays. Beside
// it, `.bad` lists the sectors that no attempt read (removed when there are none). Nothing is
// written when the image and its list would not change. Returns the image's file name. Raises
// 57 (or the host's reason) when they cannot be written.
std::filesystem::path keepDisketteImage(const std::filesystem::path& folder,
                                        const std::string& stem, const DisketteRead& read);

// The volume serial number a diskette's boot sector gives, as 8 hexadecimal digits; nothing
// when the image's boot sector holds none.
std::optional<std::string> volumeSerialText(const std::string& image);

// The sectors that the `.bad` beside an image (the same name ending in ".bad") lists, in
// increasing order; none when there is no such file. Lines that are not sector numbers are
// passed over.
std::vector<uint64_t> keptBadSectors(const std::filesystem::path& image);

}  // namespace platform
