// The descriptor's entry table and the reset of the shared conversion state.
#include "state/state.h"

#include <stdexcept>

namespace app {

app::FileEntry& FileTable::operator()(int n) {
    if (n < 1 || n > capacity)
        throw std::out_of_range("file table entry");
    return entries_[static_cast<size_t>(n - 1)];
}

const app::FileEntry& FileTable::operator()(int n) const {
    if (n < 1 || n > capacity)
        throw std::out_of_range("file table entry");
    return entries_[static_cast<size_t>(n - 1)];
}

void FileTable::clear() {
    entries_.fill(app::FileEntry{});
}

void resetState() {
    wizardStep = Step::floppyDrive;
    currentDisk = 0;
    floppyDrive.clear();
    flashDrive.clear();
    errorText.clear();
    archiveId = 0;
    totalDisks = 0;
    fileTable.clear();
    fileCount = 0;
    keycodeRecFound = false;
    diskEntryCount = 0;
}

}  // namespace app
