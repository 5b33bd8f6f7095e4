// The copy-and-merge walk of folder trees.
#pragma once

#include <cstdint>
#include <string>

namespace fs {

// Copies the tree below `source` into `target` (both folder paths ending in "\"): missing
// folders are created, missing files copied (moving the progress bar by `step`), files already
// in the target get the source's bytes appended. Returns 1 when the whole walk ended, -1 after a
// failure it reported; other failures raise platform::Error to the caller.
int16_t copyFileChecked(const std::string& source, const std::string& target, int16_t step);
// The same, with the target named `shownTarget` in the reports: a folder written under another
// name until it takes that one.
int16_t copyFileChecked(const std::string& source, const std::string& target, int16_t step,
                        const std::string& shownTarget);

}  // namespace fs
