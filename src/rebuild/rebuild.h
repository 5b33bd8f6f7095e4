// Rebuilding the single-volume image in the flat area (the card writer: rebuild/card_writer.h).
#pragma once

#include <cstdint>
#include <string>

namespace rebuild {
// Joins the diskette areas into the flat area and rebuilds every archived file there.
// Returns false when it reported a failure.
bool recombineDatabase();
// Creates below `base` every folder named along `relative` but its last component.
void createParentFolders(const std::string& relative, const std::string& base);
// Writes the one-diskette archive.dat into the flat area. Returns false when it reported a
// failure.
bool writeSingleDescriptor();
}  // namespace rebuild
