// Converter paths ("A:\disk0001.dat", "C:\Temp\VELT_flat\") turned into a medium and a path on
// it through the drive table.
#pragma once

#include <memory>
#include <string>

#include "platform/medium.h"

namespace platform {

struct MediumPath {
    char letter = 0;                 // upper-case drive letter
    std::shared_ptr<Medium> medium;  // the medium in the drive
    std::string
        relative;  // on the medium, as it spells the names; "\" between them, no leading "\"
};

// Resolves a converter path. Runs of "\" (or "/") count as one separator, "." is dropped and
// ".." climbs one folder. A path without a drive letter is taken on the current drive, one
// without a leading separator below that drive's current folder. Each component that does not
// exist as spelled is matched against the folder's entries without regard to case; components
// that match nothing are kept as spelled. Raises err::deviceUnavailable for a drive that is not
// defined, err::diskNotReady for a drive that is not ready, err::pathNotFound for a path that would
// climb above its drive's root, err::badFileName for an empty or malformed path.
MediumPath resolvePath(const std::string& path);

// The drive part of a path or drive list entry: "A:" for "A:\x" or "a: [LABEL]", "" if none.
std::string driveNameOf(const std::string& path);

}  // namespace platform
