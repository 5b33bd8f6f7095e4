// The card check: an earlier write finished, then every file of the database read from the
// card itself and held against the checksum the card's archive.dat archives for it.
#include "rebuild/card_check.h"

#include <map>

#include "diskset/archive.h"
#include "diskset/checksum.h"
#include "fs/file_system.h"
#include "platform/error.h"
#include "platform/text_case.h"
#include "rebuild/card_states.h"
#include "ui/messages.h"

namespace rebuild {

namespace {

// One file of the single folder as read from the card.
struct CardFile {
    std::string rel;  // below the single folder, "\" between names
    bool readable = false;
    double sum = 0;
};

// Every file below `folder` (ending in "\"), read past the caches, by its folded name: the card
// finds a name whatever its letter case.
void readAll(const std::string& folder, const std::string& below,
             std::map<std::string, CardFile>& files, std::vector<std::string>& order) {
    for (const fs::DirEntry& e : fs::listFolderAll(folder + below)) {
        const std::string rel = below + e.name;
        if (e.folder) {
            readAll(folder, rel + "\\", files, order);
            continue;
        }
        CardFile f{rel};
        try {
            f.sum = diskset::readBackChecksum(folder + rel);
            f.readable = true;
        } catch (const platform::Error&) {
        }
        files[platform::foldCase(rel)] = f;
        order.push_back(rel);
        ui::keepAlive();
    }
}

// A descriptor the converter writes for a card: every file whole on diskette 1.
bool oneDiskette(const diskset::Descriptor& d) {
    for (int16_t n = 1; n <= d.count; ++n) {
        const app::FileEntry& e = d.entries(n);
        if (e.disk != 1 || e.split || !e.lastPart)
            return false;
    }
    return true;
}

const CardFile* find(const std::map<std::string, CardFile>& files, const std::string& rel) {
    auto it = files.find(platform::foldCase(rel));
    return it == files.end() ? nullptr : &it->second;
}

// Every file the descriptor names, held against its archived checksum.
void holdAgainst(const diskset::Descriptor& d, const std::string& single,
                 const std::map<std::string, CardFile>& files, CardCheck& check) {
    for (int16_t n = 1; n <= d.count; ++n) {
        const app::FileEntry& e = d.entries(n);
        std::string rel = e.name.substr(1);
        // The keycode file may be on the card as keycode.kcd under the entry's name.
        if (e.name == "\\keycode.rec" && find(files, rel) == nullptr &&
            find(files, "keycode.kcd") != nullptr)
            rel = "keycode.kcd";
        const CardFile* f = find(files, rel);
        if (f == nullptr)
            check.missing.push_back(single + rel);
        else if (!f->readable)
            continue;  // named with the unreadable ones
        else if (f->sum != e.archivedSum)
            check.changed.push_back(single + f->rel);
        else
            ++check.matched;
    }
}

// An earlier write cut short, finished as the card step would; false when the card refuses.
bool finish(const CardFolders& card, CardCheck& check) {
    try {
        settleCard(card, true);
    } catch (const platform::Error&) {
        check.outcome = CardCheck::Outcome::unfinished;
        return false;
    }
    check.unfinished.clear();
    return true;
}

}  // namespace

CardCheck checkCard(const std::string& drive) {
    const CardFolders card(drive);
    CardCheck check;
    if (!folderExists(card.backup))
        return check;
    for (const char* state :
         {cardWritingFolder, cardVerifiedFolder, cardReplacedFolder, cardDeletingFolder}) {
        if (folderExists(card.at(state)))
            check.unfinished.push_back(card.at(state));
    }
    if (!check.unfinished.empty() && !finish(card, check))
        return check;
    if (!folderExists(card.single))
        return check;

    std::map<std::string, CardFile> files;
    std::vector<std::string> order;
    readAll(card.single, "", files, order);
    check.outcome = CardCheck::Outcome::checked;
    for (const std::string& rel : order) {
        if (!files[platform::foldCase(rel)].readable)
            check.unreadable.push_back(card.single + rel);
    }
    const CardFile* descriptor = find(files, "archive.dat");
    if (descriptor == nullptr) {
        check.missing.push_back(card.single + "archive.dat");
        return check;
    }
    if (!descriptor->readable)
        return check;
    diskset::Descriptor d;
    if (diskset::parseDescriptor(card.single + descriptor->rel, d) != 0 || !oneDiskette(d)) {
        check.outcome = CardCheck::Outcome::damagedDescriptor;
        return check;
    }

    holdAgainst(d, card.single, files, check);
    return check;
}

}  // namespace rebuild
