// The states of a database replacement on the card, each a folder beside \backup\single\, and
// what the card writer does with them. The names say what each folder holds, so that a run
// after a crash or a pulled card can tell a whole database from a part of one.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/medium.h"

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

// Removes a folder that holds no whole database, and logs it. Raises platform::Error.
void removeUnfinished(const std::string& folder);

// Finishes what a replacement left on the card: a verified database takes the single folder's
// place, the database it replaces goes, and folders that hold no whole database are removed.
// Each step is one rename or the removal of a folder no state keeps, so a cut anywhere leaves
// a state that this finishes in turn. Every removal is logged; with `logged`, each move into
// the single folder too (an earlier write's, not the swap of the write under way). Raises
// platform::Error when the card fails.
void settleCard(const CardFolders& card, bool logged);

// Deletes a folder that holds a database: renamed to the deleting state first, so that a cut
// in the deletion leaves nothing that passes for a database. Logged. Raises platform::Error.
void deleteDatabase(const CardFolders& card, const std::string& folder);

// A folder tree on a medium: a folder of a drive, or a copy on this computer that no drive
// holds.
struct Tree {
    std::shared_ptr<platform::Medium> medium;
    std::string relative;  // the folder on the medium, "" for its root
};
// The tree at a converter path. Raises platform::Error as the path's resolution does.
Tree treeAt(const std::string& folder);

// The first file or folder (its path below the roots, folders ending in "\") that `written`
// does not hold as `wanted` does, or nothing when both trees are the same. `written` is read
// past the caches. Raises platform::Error when a tree cannot be listed.
std::optional<std::string> firstDifference(const Tree& wanted, const Tree& written, int16_t step);

// Copies every file and folder below `from` into `to` (an empty folder), links and special
// files left out. Raises platform::Error at the first failure.
void copyTree(const Tree& from, const Tree& to);

// The bytes the tree takes on the medium of `drive`, each file rounded up to its allocation
// unit.
uint64_t bytesOnCard(const std::string& tree, const std::string& drive);

}  // namespace rebuild
