// The temporary folder, counting and removing folder trees, and clearing the temporary area.
#include "fs/temp_area.h"

#include <algorithm>
#include <optional>

#include "fs/file_system.h"
#include "platform/error.h"
#include "platform/medium.h"
#include "platform/paths.h"
#include "state/state.h"
#include "ui/messages.h"

namespace fs {

std::string getTempFolder() {
    return fs::FileSystemObject().GetSpecialFolder(2);
}

std::string flatArea(const std::string& temp) {
    return temp + "\\VELT_flat";
}

std::string diskArea(const std::string& temp, int n) {
    return temp + "\\VELT_disk" + std::to_string(n);
}

namespace {

// The trees are walked on their medium, by the names it spells, so that a deep tree costs no
// more per folder than a shallow one.
using platform::joinPath;
using platform::Medium;

int32_t countBelow(Medium& medium, const std::string& folder) {
    int32_t n = 0;
    for (const platform::MediumEntry& e : medium.list(folder)) {
        if (e.hidden || e.link || e.special)
            continue;
        n += 1;
        if (e.folder)
            n += countBelow(medium, joinPath(folder, e.name));
        if (n > 32767)
            platform::raise(platform::err::overflow);
    }
    return n;
}

void removeBelow(Medium& medium, const std::string& folder) {
    // One listing: removing an entry does not change which others are there.
    for (const platform::MediumEntry& e : medium.list(folder)) {
        if (e.folder && !e.link)
            removeBelow(medium, joinPath(folder, e.name));
        else
            medium.deleteFile(joinPath(folder, e.name));
    }
    medium.removeFolder(folder);
}

}  // namespace

void removeTreeOn(platform::Medium& medium, const std::string& folder) {
    removeBelow(medium, folder);
}

int16_t countFolderEntries(const std::string& folder) {
    platform::MediumPath mp = platform::resolvePath(folder);
    return static_cast<int16_t>(countBelow(*mp.medium, mp.relative));
}

void removeFolderTree(const std::string& folder) {
    // A drive that is not ready cannot tell whether the folder is there: that is a failure, not
    // a folder that is gone.
    platform::MediumPath mp = platform::resolvePath(folder);
    if (mp.relative.empty())
        platform::raise(platform::err::pathFileAccess);  // never a drive's root
    const std::optional<platform::MediumEntry> e = mp.medium->entry(mp.relative);
    if (!e)
        return;
    // A link to a folder goes as a link: what it points at is not ours to delete.
    if (e->link) {
        mp.medium->deleteFile(mp.relative);
        return;
    }
    if (e->folder)
        removeBelow(*mp.medium, mp.relative);
}

void removeTempArea() {
    const std::string temp = getTempFolder();
    const std::string flat = flatArea(temp) + "\\";
    ui::appendLog("Remove temporary directory " + flat);
    removeFolderTree(flat);
    // Only diskettes up to the last number a set may have are ever read: a descriptor that
    // counts more leaves no more areas, and the log stays bounded.
    const int last = std::min<int>(app::totalDisks, lastDiskette);
    for (int k = 1; k <= last; ++k) {
        const std::string area = diskArea(temp, k) + "\\";
        ui::appendLog("Remove temporary directory " + area);
        removeFolderTree(area);
    }
}

}  // namespace fs
