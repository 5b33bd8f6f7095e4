// The temporary folder and whole-folder procedures: counting, removing, clearing the area.
#pragma once

#include <cstdint>
#include <string>

namespace platform {
class Medium;
}

namespace fs {

// The highest diskette number of a set; diskette 100 and above are never read.
inline constexpr int16_t lastDiskette = 99;

// The platform's temporary folder, without a trailing "\".
std::string getTempFolder();
// The temporary area's folders below `temp` (the temporary folder), without a trailing "\":
// the flat area, where the single-volume image is built, and diskette n's area.
std::string flatArea(const std::string& temp);
std::string diskArea(const std::string& temp, int n);
// Files and folders below `folder` (ending in "\") at every depth; raises err::overflow above
// 32767.
int16_t countFolderEntries(const std::string& folder);
// Deletes `folder` (ending in "\") with everything below it; nothing when it does not exist.
// Never follows a symbolic link, never takes a drive's root (err::pathFileAccess). Failures raise
// platform::Error, err::diskNotReady when the drive is not ready.
void removeFolderTree(const std::string& folder);
// Deletes the folder `folder` of `medium` with everything below it, never following a link.
void removeTreeOn(platform::Medium& medium, const std::string& folder);
// Removes the flat area and the diskette areas 1 to totalDisks (at most lastDiskette),
// logging each.
void removeTempArea();

}  // namespace fs
