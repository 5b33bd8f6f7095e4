// Builds a diskette set on host folders for tests: root/disk1, root/disk2, ... each with its
// volume file, diskette 1 with archive.dat, and the database's files spread over the diskettes
// as the plan of the set says. The archived checksums are computed here, on the test side.
//
//     testsupport::SetPlan plan;
//     plan.disks = 2;
//     plan.files = {testsupport::wholeFile("keycode.rec", "abc"),
//                   testsupport::spreadFile("db/data.dat", "abcd", {{1, 3}, {2, 1}})};
//     testsupport::BuiltSet set = testsupport::buildSet(scratch.path() / "set", plan);
//     drives.insert('A', {.root = set.disk(1)});
//
// writes the example set of two diskettes: archive.dat holds
//     ARCHIVE-ID-LABEL:812 / NUMDISKS: 2 / FILE: 1 0 1 294 /keycode.rec std /
//     FILE: 1 1 0 294 /db/data.dat std / FILE: 2 1 1 394 /db/data.dat std
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "state/file_entry.h"

namespace testsupport {

// One file of the database and the diskettes it lies on.
struct SetFile {
    std::string name;   // "db/data.dat": "/" between folders, no leading "/"
    std::string bytes;  // the whole file
    // The pieces in order: (diskette, bytes taken from the file); they must add up to the
    // file's size. Empty: the whole file on diskette `disk`, not split.
    std::vector<std::pair<int, size_t>> pieces;
    int disk = 1;
    std::string extraText = "std";
};

struct SetPlan {
    std::string archiveId = "812";  // the digits after the label in every Archive ID line
    int disks = 1;                  // the diskette folders written and the NUMDISKS value
    // Entries go into the descriptor by diskette, and in this order within a diskette.
    std::vector<SetFile> files;
    std::vector<std::string> headerLines;  // between the count line and the first FILE line
    std::string lineEnd = "\n";            // "\r\n": descriptor and volume files end lines so
    bool keycodeAsKcd = false;             // the file named keycode.rec is written as keycode.kcd
    std::map<int, std::string> volumeIds;  // diskettes whose volume file carries another ID
    std::string label = "ARCHIVE-ID-LABEL:";  // 17 characters
    std::string countLabel = "NUMDISKS: ";    // 10 characters
};

struct BuiltSet {
    std::vector<std::filesystem::path> disks;  // the diskette folders, diskette 1 first
    std::string descriptor;                    // archive.dat of diskette 1, as written
    // The entries as the parser holds them ("\" separators, the flags, the cumulative sums).
    std::vector<app::FileEntry> entries;

    const std::filesystem::path& disk(int n) const { return disks.at(static_cast<size_t>(n - 1)); }
};

// Writes the set below `root` (created when missing) and returns what it wrote. Throws
// std::invalid_argument for a plan that cannot be written (pieces not adding up, a diskette
// outside 1 to disks).
BuiltSet buildSet(const std::filesystem::path& root, const SetPlan& plan);

// A file lying whole on one diskette.
SetFile wholeFile(const std::string& name, const std::string& bytes, int disk = 1);
// A file spread over diskettes: pieces (diskette, length) in order.
SetFile spreadFile(const std::string& name, const std::string& bytes,
                   std::vector<std::pair<int, size_t>> pieces);

// The volume file name of diskette n: "disk0001.dat".
std::string volumeFileName(int n);
// The checksum the descriptor archives for a file or piece holding `bytes` (0 for no bytes).
double archivedChecksum(const std::string& bytes);
// The stored checksum of a later piece: the preceding piece's stored value plus this piece's
// checksum, reduced once by 2^32.
double cumulativeChecksum(double before, const std::string& piece);
// `size` bytes of reproducible noise for the salt.
std::string noise(size_t size, unsigned salt);

}  // namespace testsupport
