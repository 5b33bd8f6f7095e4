// The card's states finished or undone folder by folder, the trees compared past the caches,
// and the room a database takes on the card.
#include "rebuild/card_states.h"

#include <cstring>
#include <map>
#include <memory>
#include <new>

#include "fs/file_system.h"
#include "fs/temp_area.h"
#include "platform/error.h"
#include "platform/medium.h"
#include "platform/paths.h"
#include "platform/uncached_file.h"
#include "ui/messages.h"

namespace rebuild {

namespace {

// Files and folders below `tree`, by their path below it ("db\\x.dat"; folders end in "\\"),
// with their length. Links are files here, never followed.
void collectTree(const Tree& tree, const std::string& below, std::map<std::string, uint64_t>& out) {
    const std::string folder =
        below.empty() ? tree.relative
                      : platform::joinPath(tree.relative, below.substr(0, below.size() - 1));
    for (const platform::MediumEntry& e : tree.medium->list(folder)) {
        const std::string rel = below + e.name;
        if (e.folder && !e.link) {
            out[rel + "\\"] = 0;
            collectTree(tree, rel + "\\", out);
        } else {
            out[rel] = e.length;
        }
    }
}

// Two blocks for the comparison, taken once for the whole read-back; aligned and sized as a
// read past the caches wants them, so that the card's bytes land in them directly.
struct CompareBuffers {
    static constexpr size_t size = platform::UncachedFile::block;
    struct Free {
        void operator()(uint8_t* p) const {
            ::operator delete (p, std::align_val_t{platform::UncachedFile::alignment});
        }
    };
    using Block = std::unique_ptr<uint8_t, Free>;
    static Block make() {
        return Block(static_cast<uint8_t*>(
            ::operator new (size, std::align_val_t{platform::UncachedFile::alignment})));
    }
    Block a = make(), b = make();
};

// True when the file `rel` holds the same bytes in both trees; in `written` it is read from
// its device, past the caches.
bool sameBytes(const Tree& wanted, const Tree& written, const std::string& rel,
               CompareBuffers& buffers) {
    auto fa = wanted.medium->open(platform::joinPath(wanted.relative, rel),
                                  platform::OpenMode::read, false);
    auto fb = written.medium->openReadBack(platform::joinPath(written.relative, rel));
    for (;;) {
        const size_t na = fa->read(buffers.a.get(), CompareBuffers::size);
        const size_t nb = fb->read(buffers.b.get(), CompareBuffers::size);
        if (na != nb || std::memcmp(buffers.a.get(), buffers.b.get(), na) != 0)
            return false;
        if (na == 0)
            return true;
        ui::keepAlive();
    }
}

}  // namespace

void removeUnfinished(const std::string& folder) {
    fs::removeFolderTree(folder);
    ui::appendLog("Removed the unfinished folder " + folder);
}

bool folderExists(const std::string& path) {
    return fs::entryExists(path) && fs::isFolder(path);
}

void deleteDatabase(const CardFolders& card, const std::string& folder) {
    const std::string deleting = card.at(cardDeletingFolder);
    if (folderExists(deleting))
        removeUnfinished(deleting);
    fs::renameFolder(folder, deleting);
    fs::removeFolderTree(deleting);
    ui::appendLog("Removed the previous database in " + folder);
}

void settleCard(const CardFolders& card, bool logged) {
    const std::string deleting = card.at(cardDeletingFolder);
    const std::string writing = card.at(cardWritingFolder);
    const std::string verified = card.at(cardVerifiedFolder);
    const std::string replaced = card.at(cardReplacedFolder);
    if (folderExists(deleting))
        removeUnfinished(deleting);
    if (folderExists(writing))
        removeUnfinished(writing);
    if (folderExists(verified)) {
        // The newest whole database: what the single folder holds now makes way for it.
        if (folderExists(card.single)) {
            if (folderExists(replaced))
                deleteDatabase(card, card.single);
            else
                fs::renameFolder(card.single, replaced);
        }
        fs::renameFolder(verified, card.single);
        if (logged)
            ui::appendLog("Put the verified database of an earlier write in " + card.single);
    }
    if (folderExists(replaced)) {
        if (folderExists(card.single)) {
            deleteDatabase(card, replaced);
        } else {
            fs::renameFolder(replaced, card.single);
            if (logged)
                ui::appendLog("Restored the previous database in " + card.single);
        }
    }
}

Tree treeAt(const std::string& folder) {
    platform::MediumPath mp = platform::resolvePath(folder);
    return Tree{std::move(mp.medium), std::move(mp.relative)};
}

std::optional<std::string> firstDifference(const Tree& wanted, const Tree& written, int16_t step) {
    std::map<std::string, uint64_t> have, want;
    collectTree(wanted, "", want);
    collectTree(written, "", have);
    for (const auto& [rel, length] : have) {
        if (want.count(rel) == 0)
            return rel;
    }
    CompareBuffers buffers;
    for (const auto& [rel, length] : want) {
        auto it = have.find(rel);
        bool same = false;
        try {
            same = it != have.end() &&
                   (rel.back() == '\\' || sameBytes(wanted, written, rel, buffers));
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

void copyTree(const Tree& from, const Tree& to) {
    for (const platform::MediumEntry& e : from.medium->list(from.relative)) {
        if (e.link || e.special)
            continue;
        const Tree source{from.medium, platform::joinPath(from.relative, e.name)};
        const Tree target{to.medium, platform::joinPath(to.relative, e.name)};
        if (e.folder) {
            to.medium->makeFolder(target.relative);
            copyTree(source, target);
        } else {
            to.medium->copyFileFrom(*from.medium, source.relative, target.relative);
            ui::keepAlive();
        }
    }
}

uint64_t bytesOnCard(const std::string& tree, const std::string& drive) {
    uint64_t unit = 0;
    try {
        unit = fs::allocationUnit(drive);
    } catch (const platform::Error&) {
    }
    std::map<std::string, uint64_t> files;
    collectTree(treeAt(tree), "", files);
    uint64_t total = 0;
    for (auto [rel, length] : files) {
        if (rel.back() == '\\')
            continue;
        if (unit > 0)
            length = (length + unit - 1) / unit * unit;
        total += length;
    }
    return total;
}

}  // namespace rebuild
