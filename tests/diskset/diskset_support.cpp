// The diskset tests' fixture.
#include "diskset/diskset_support.h"

#include <algorithm>

#include "platform/context.h"
#include "state/state.h"
#include "ui/main_window.h"

namespace disksettest {

void DisksetTest::SetUp() {
    app::resetState();
    platform::resetContext();
    platform::MediumOptions system;
    system.root = scratch.make("c");
    scratch.make("c/Temp");
    drives.define('A', platform::DriveType::removable, std::nullopt);
    drives.define('C', platform::DriveType::fixed, system);
    platform::installDrives(&drives);
    platform::setTempFolder("C:\\Temp");
    freshWindow();
    app::floppyDrive = "A:";
}

void DisksetTest::freshWindow() {
    window = std::make_unique<ui::RecordingWindow>();
    ui::installWindow(window.get());
    window->driveList().setListIndex(0);  // a:
}

void DisksetTest::TearDown() {
    ui::installWindow(nullptr);
    platform::resetContext();
    app::resetState();
}

void DisksetTest::insertDiskette(const std::filesystem::path& root, std::vector<std::string> bad) {
    platform::MediumOptions m;
    m.root = root;
    m.faults.bad = std::move(bad);
    drives.insert('A', m);
}

std::string DisksetTest::onC(const std::string& name, const std::string& bytes) {
    testsupport::writeFile(scratch.path() / "c" / name, bytes);
    std::string path = "C:\\" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::vector<std::string> treeOf(const std::filesystem::path& root) {
    std::vector<std::string> names;
    if (!std::filesystem::exists(root))
        return names;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
        std::string name = std::filesystem::relative(e.path(), root).generic_string();
        names.push_back(e.is_directory() ? name + "/" : name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace disksettest
