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
    fs::FileSystemObject fso;
    if (!fso.FolderExists(folder))
        return;
    // A link to a folder goes as a link: what it points at is not ours to delete.
    if (!fs::isFolder(folder)) {
        std::string link = folder;
        while (!link.empty() && link.back() == '\\')
            link.pop_back();
        fs::deleteFile(link);
        return;
    }
    for (;;) {
        bool descended = false;
        for (const fs::DirEntry& entry : fs::listFolderAll(folder)) {
            if (entry.folder) {
                removeFolderTree(folder + entry.name + "\\");
                descended = true;
                break;  // the listing starts again from its beginning
            }
            fs::deleteFile(folder + entry.name);
        }
        if (!descended)
            break;
    }
    fs::removeFolder(folder);
}

void removeTempArea() {
    const std::string flat = getTempFolder() + "\\VELT_flat" + "\\";
    const std::string base = getTempFolder() + "\\VELT_disk";
    appendLog("Remove temporary directory " + flat);
    removeFolderTree(flat);
    for (int16_t k = 1; k <= app::totalDisks; ++k) {
        const std::string area = base + std::to_string(k) + "\\";
        appendLog("Remove temporary directory " + area);
        removeFolderTree(area);
    }
}

}  // namespace UtilModule
