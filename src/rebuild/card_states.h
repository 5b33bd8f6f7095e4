// The states of a database replacement on the card, each a folder beside \backup\single\, and
// what the card writer does with them. The names say what each folder holds, so that a run
// after a crash or a pulled card can tell a whole database from a part of one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace rebuild {

// Folders in \backup\ beside "single".
inline constexpr const char* cardWritingFolder = "single~velt-new";        // not verified yet
inline constexpr const char* cardVerifiedFolder = "single~velt-verified";  // whole, read back
inline constexpr const char* cardReplacedFolder = "single~velt-replaced";  // the old one, whole
inline constexpr const char* cardDeletingFolder = "single~velt-deleting";  // never kept

// The card's \backup\ folder and the paths of its states (each ending in "\").
struct CardFolders {
    std::string backup;
    std::string single;

    explicit CardFolders(const std::string& drive)
        : backup(drive + "\\backup\\"), single(backup + "single\\") {}
    std::string at(const char* name) const { return backup + name + "\\"; }
};

bool folderExists(const std::string& path);

// Finishes what a replacement left on the card: a verified database takes the single folder's
// place, the database it replaces goes, and folders that hold no whole database are removed.
// Each step is one rename or the removal of a folder no state keeps, so a cut anywhere leaves
// a state that this finishes in turn. With `logged`, each move and removal is logged. Raises
// platform::Error when the card fails.
void settleCard(const CardFolders& card, bool logged);

// Deletes a folder that holds a database: renamed to the deleting state first, so that a cut
// in the deletion leaves nothing that passes for a database. Raises platform::Error.
void deleteDatabase(const CardFolders& card, const std::string& folder);

// The first file or folder (its path below the roots, folders ending in "\") that `written`
// does not hold as `wanted` does, or nothing when both trees are the same. `written` is read
// past the caches. Raises platform::Error when a tree cannot be listed.
std::optional<std::string> firstDifference(const std::string& wanted, const std::string& written,
                                           int16_t step);

// The bytes the tree takes on the medium of `drive`, each file rounded up to its allocation
// unit.
uint64_t bytesOnCard(const std::string& tree, const std::string& drive);

}  // namespace rebuild
