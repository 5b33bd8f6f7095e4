// Rebuilding the single-volume image in the flat area and writing it to the card.
#pragma once

#include <cstdint>
#include <string>

namespace UtilModule {
// Joins the diskette areas into the flat area and rebuilds every archived file there.
// Returns false when it reported a failure.
bool recombineDatabase();
// Creates below `base` every folder named along `relative` but its last component.
void createParentFolders(const std::string& relative, const std::string& base);
// Writes the one-diskette archive.dat into the flat area. Returns false when it reported a
// failure.
bool writeSingleDescriptor();
// Copies the flat area into flashDrive\backup\single\. Returns 1 when written, -1 otherwise
// (reported, or the user declined to replace the database there).
int16_t writeCompactFlash();
}  // namespace UtilModule
