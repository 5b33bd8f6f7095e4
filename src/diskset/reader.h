// Reading one diskette of the set into its diskette area.
#pragma once

#include <cstdint>

namespace archive {
// Reads diskette n from the floppy drive. Returns 0 when more diskettes follow, 1 for the last
// one, -1 when it was rejected (reported), -2 when the copy failed (reported). A diskette
// number of 100 or more ends the program.
int16_t readDiskette(int16_t n);
}  // namespace archive
