// The log line for a diskette with sectors that never read: how many, and what they cost.
#pragma once

#include <string>

namespace fs {

// Logs the line for the diskette in the drive of `root` ("A:\"), diskette #n of the set, when
// some sector of it could not be read; the rest of what reading it needs is read first.
// Raises 57 for a damaged diskette.
void logUnreadSectors(const std::string& root, int n);

// What to do about a diskette whose sectors did not read (two lines).
std::string unreadableAdvice(int n);

}  // namespace fs
