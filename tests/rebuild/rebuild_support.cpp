// The rebuild tests' fixture and the layout of diskette areas in the temporary area.
#include "rebuild/rebuild_support.h"

#include <algorithm>
#include <cstdint>

#include "platform/context.h"
#include "platform/state_folder.h"
#include "state/state.h"
#include "support/set_builder.h"
#include "ui/main_window.h"

namespace rebuildtest {

void RebuildTest::SetUp() {
    app::resetState();
    platform::resetContext();
    std::filesystem::create_directories(temp());
    std::filesystem::create_directories(card());
    drives.define('A', platform::DriveType::removable, std::nullopt);
    drives.define('C', platform::DriveType::fixed, systemMedium());
    drives.define('E', platform::DriveType::removable, cardMedium());
    platform::installDrives(&drives);
    platform::setTempFolder("C:\\Temp");
    platform::setStateFolder(stateFolder());
    window = std::make_unique<ui::RecordingWindow>();
    ui::installWindow(window.get());
    app::flashDrive = "E:";
}

void RebuildTest::TearDown() {
    ui::installWindow(nullptr);
    platform::setStateFolder({});
    platform::resetContext();
    app::resetState();
}

platform::MediumOptions RebuildTest::systemMedium() const {
    platform::MediumOptions m;
    m.root = scratch.path() / "c";
    m.label = "SYSTEM";
    return m;
}

platform::MediumOptions RebuildTest::cardMedium() const {
    platform::MediumOptions m;
    m.root = card();
    return m;
}

testsupport::BuiltSet RebuildTest::layOut(const testsupport::SetPlan& plan) {
    std::filesystem::remove_all(scratch.path() / "set");
    testsupport::BuiltSet set = testsupport::buildSet(scratch.path() / "set", plan);
    std::filesystem::create_directories(flat());
    for (int d = 1; d <= plan.disks; ++d) {
        std::filesystem::copy(set.disk(d), area(d),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        // The reader keeps the volume file of diskette 1 only.
        if (d > 1)
            std::filesystem::remove(area(d) / testsupport::volumeFileName(d));
    }
    app::fileTable.clear();
    for (size_t k = 0; k < set.entries.size(); ++k)
        app::fileTable(static_cast<int>(k + 1)) = set.entries[k];
    app::fileCount = static_cast<int16_t>(set.entries.size());
    app::totalDisks = static_cast<int16_t>(plan.disks);
    app::currentDisk = static_cast<int16_t>(plan.disks);
    app::keycodeRecFound = !plan.keycodeAsKcd;
    return set;
}

}  // namespace rebuildtest
