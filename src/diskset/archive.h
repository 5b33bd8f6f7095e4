// The descriptor archive.dat of diskette 1: its parser and the digits reader it uses.
#pragma once

#include <cstdint>
#include <string>

namespace UtilModule {
// The number written in decimal digits from buffer[start]; stops at the first non-digit or the
// end of the buffer. 0 when buffer[start] is not a digit.
double parseNumber(const uint8_t* buffer, int size, int16_t start);
}  // namespace UtilModule

namespace archive {
// Parses the descriptor at `path` into archiveId, totalDisks, fileTable and fileCount.
// Returns the parse failure code: 0 success, 53 the file does not exist, another platform code
// for a fault taking its length or opening it, 2 empty, 3 over 10000 bytes, or a code of its own
// for a descriptor it cannot use (see archive.cpp).
int parseArchive(const std::string& path);
}  // namespace archive
