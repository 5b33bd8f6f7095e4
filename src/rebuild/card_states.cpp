#include "rebuild/card_states.h"

#include <cstring>
#include <map>
#include <memory>

#include "fs/file_system.h"
#include "fs/temp_area.h"
#include "platform/error.h"
#include "ui/messages.h"

namespace rebuild {

namespace {

// Files and folders below `folder` (ending in "\"), by their path below it ("db\x.dat"; folders
// end in "\"), with their full path.
void collectTree(const std::string& folder, const std::string& below,
                 std::map<std::string, std::string>& out) {
    for (const fs::DirEntry& e : fs::listFolderAll(folder + below)) {
        const std::string rel = below + e.name;
        if (e.folder) {
            out[rel + "\\"] = folder + rel + "\\";
            collectTree(folder, rel + "\\", out);
        } else {
            out[rel] = folder + rel;
        }
    }
}

std::string withSeparator(const std::string& folder) {
    return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

// Two blocks for the comparison, taken once for the whole read-back.
struct CompareBuffers {
    static constexpr size_t size = size_t{1} << 20;
    std::unique_ptr<uint8_t[]> a{new uint8_t[size]}, b{new uint8_t[size]};
};

// True when `a` and `b` hold the same bytes; `b` is read from its device, past the caches.
bool sameBytes(const std::string& a, const std::string& b, CompareBuffers& buffers) {
    fs::BinaryFile fa(a);
    fs::BinaryFile fb(b, true);
    for (;;) {
        const size_t na = fa.read(buffers.a.get(), CompareBuffers::size);
        const size_t nb = fb.read(buffers.b.get(), CompareBuffers::size);
        if (na != nb || std::memcmp(buffers.a.get(), buffers.b.get(), na) != 0)
            return false;
        if (na == 0)
            return true;
        ui::keepAlive();
    }
}

void removeLogged(const std::string& folder, bool logged) {
    fs::removeFolderTree(folder);
    if (logged)
        ui::appendLog("Removed the unfinished folder " + folder);
}

}  // namespace

bool folderExists(const std::string& path) {
    return fs::entryExists(path) && fs::isFolder(path);
}

void deleteDatabase(const CardFolders& card, const std::string& folder) {
    const std::string deleting = card.at(cardDeletingFolder);
    if (folderExists(deleting))
        fs::removeFolderTree(deleting);
    fs::renameFolder(folder, deleting);
    fs::removeFolderTree(deleting);
}

void settleCard(const CardFolders& card, bool logged) {
    const std::string deleting = card.at(cardDeletingFolder);
    const std::string writing = card.at(cardWritingFolder);
    const std::string verified = card.at(cardVerifiedFolder);
    const std::string replaced = card.at(cardReplacedFolder);
    if (folderExists(deleting))
        removeLogged(deleting, logged);
    if (folderExists(writing))
        removeLogged(writing, logged);
    bool restored = false;
    if (folderExists(verified)) {
        // The newest whole database: what the single folder holds now makes way for it.
        if (folderExists(card.single)) {
            if (folderExists(replaced))
                deleteDatabase(card, card.single);
            else
                fs::renameFolder(card.single, replaced);
        }
        fs::renameFolder(verified, card.single);
        restored = true;
    }
    if (folderExists(replaced)) {
        if (folderExists(card.single)) {
            deleteDatabase(card, replaced);
        } else {
            fs::renameFolder(replaced, card.single);
            restored = true;
        }
    }
    if (restored && logged)
        ui::appendLog("Restored the previous database in " + card.single);
}

std::optional<std::string> firstDifference(const std::string& wanted, const std::string& written,
                                           int16_t step) {
    std::map<std::string, std::string> have, want;
    collectTree(withSeparator(wanted), "", want);
    collectTree(withSeparator(written), "", have);
    for (const auto& [rel, path] : have) {
        if (want.count(rel) == 0)
            return rel;
    }
    CompareBuffers buffers;
    for (const auto& [rel, path] : want) {
        auto it = have.find(rel);
        bool same = false;
        try {
            same = it != have.end() && (rel.back() == '\\' || sameBytes(path, it->second, buffers));
        } catch (const platform::Error&) {
            same = false;
        }
        if (!same)
            return rel;
        if (rel.back() != '\\')
            ui::advanceProgress(step);
    }
    return std::nullopt;
}

uint64_t bytesOnCard(const std::string& tree, const std::string& drive) {
    uint64_t unit = 0;
    try {
        unit = fs::allocationUnit(drive);
    } catch (const platform::Error&) {
    }
    std::map<std::string, std::string> files;
    collectTree(withSeparator(tree), "", files);
    uint64_t total = 0;
    for (const auto& [rel, path] : files) {
        if (rel.back() == '\\')
            continue;
        uint64_t length = static_cast<uint64_t>(fs::fileLength(path));
        if (unit > 0)
            length = (length + unit - 1) / unit * unit;
        total += length;
    }
    return total;
}

}  // namespace rebuild
