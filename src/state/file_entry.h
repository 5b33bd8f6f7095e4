// One FILE entry of a set's descriptor.
#pragma once

#include <cstdint>
#include <string>

namespace app {

struct FileEntry {
    int16_t disk = 0;        // the diskette that holds the file or this piece
    bool split = false;      // a piece of a file spread over several diskettes
    bool lastPart = false;   // the entry completes its file
    double archivedSum = 0;  // cumulative checksum through this piece
    std::string name;        // "\db\data.dat": "\" separators, leading "\"
    std::string extraText;   // carried through unchanged
};

}  // namespace app
