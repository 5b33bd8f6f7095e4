// The desktop window tests' machine.
#include "support/window_drives.h"

#include <optional>

#include "platform/context.h"
#include "state/state.h"
#include "wizard/wizard.h"

namespace testsupport {

platform::MediumOptions medium(const std::filesystem::path& root, const std::string& label,
                               uint64_t freeBytes) {
    platform::MediumOptions m;
    m.root = root;
    m.label = label;
    if (freeBytes != 0)
        m.freeBytes = freeBytes;
    return m;
}

void startOnWindowDrives(platform::FolderDriveTable& drives, const ScratchDir& scratch) {
    app::resetState();
    wizard::resetForm();
    platform::resetContext();
    drives.define('A', platform::DriveType::removable, std::nullopt);
    drives.define('C', platform::DriveType::fixed, medium(scratch.make("c"), "SYSTEM"));
    drives.define('E', platform::DriveType::removable, medium(scratch.make("e"), "CF", 64000000));
    scratch.make("c/Temp");
    platform::installDrives(&drives);
    platform::setTempFolder("C:\\Temp");
    wizard::setDigitGrouping(",");
}

}  // namespace testsupport
