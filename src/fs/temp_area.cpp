// The temporary folder, counting and removing folder trees, and clearing the temporary area.
#include "fs/temp_area.h"

#include "fs/file_system.h"
#include "platform/error.h"
#include "state/state.h"
#include "ui/util_module.h"

namespace UtilModule {

std::string getTempFolder() {
    return fs::FileSystemObject().GetSpecialFolder(2);
}

std::string flatArea(const std::string& temp) {
    return temp + "\\VELT_flat";
}

std::string diskArea(const std::string& temp, int n) {
    return temp + "\\VELT_disk" + std::to_string(n);
}

int16_t countFolderEntries(const std::string& folder) {
    int32_t n = 0;
    for (const fs::DirEntry& entry : fs::listFolder(folder)) {
        n += 1;
        if (entry.folder)
            n += countFolderEntries(folder + entry.name + "\\");
        if (n > 32767)
            platform::raise(platform::err::overflow);
    }
    return static_cast<int16_t>(n);
}

void removeFolderTree(const std::string& folder) {
    std::string path = folder;
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    // A link to a folder goes as a link: what it points at is not ours to delete.
    if (fs::isLink(path)) {
        fs::deleteFile(path);
        return;
    }
    if (!fs::FileSystemObject().FolderExists(folder))
        return;
    // One listing: removing an entry does not change which others are there.
    for (const fs::DirEntry& entry : fs::listFolderAll(folder)) {
        if (entry.folder)
            removeFolderTree(folder + entry.name + "\\");
        else
            fs::deleteFile(folder + entry.name);
    }
    fs::removeFolder(folder);
}

void removeTempArea() {
    const std::string temp = getTempFolder();
    const std::string flat = flatArea(temp) + "\\";
    appendLog("Remove temporary directory " + flat);
    removeFolderTree(flat);
    for (int16_t k = 1; k <= app::totalDisks; ++k) {
        const std::string area = diskArea(temp, k) + "\\";
        appendLog("Remove temporary directory " + area);
        removeFolderTree(area);
    }
}

}  // namespace UtilModule
