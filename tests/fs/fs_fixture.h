// A folder drive table in a scratch folder: a: a diskette, c: the system drive with C:\Temp,
// e: a card; the tests plant faults on the media.
#pragma once

#include <functional>

#include "platform/context.h"
#include "platform/drives.h"
#include "platform/error.h"
#include "platform/folder_drives.h"
#include "support/test_support.h"

namespace fstest {

using testsupport::codeOf;

class DrivesFixture {
  public:
    DrivesFixture() {
        platform::resetContext();
        drives.define('a', platform::DriveType::removable, medium("a"));
        drives.define('c', platform::DriveType::fixed, medium("c"));
        drives.define('e', platform::DriveType::removable, medium("e"));
        platform::installDrives(&drives);
        platform::setTempFolder("C:\\Temp");
        dir.make("c/Temp");
    }
    ~DrivesFixture() { platform::resetContext(); }

    platform::MediumOptions medium(const std::string& name) const {
        platform::MediumOptions m;
        m.root = dir.make(name);
        return m;
    }
    // Puts a fresh medium into drive `letter` with `change` applied to it.
    void remedy(char letter, const std::string& name,
                const std::function<void(platform::MediumOptions&)>& change) {
        platform::MediumOptions m = medium(name);
        change(m);
        drives.insert(letter, m);
    }
    std::filesystem::path host(const std::string& relative) const { return dir.path() / relative; }

    testsupport::ScratchDir dir;
    platform::FolderDriveTable drives;
};

}  // namespace fstest
