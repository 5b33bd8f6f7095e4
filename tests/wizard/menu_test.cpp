// The menu: each entry's flow runs in the wizard with the toolkit's own dialogs. A diskette image
// put into the floppy drive from "Diskette image..." is shown and read like a diskette.
#include <gtest/gtest.h>

#include "platform/context.h"
#include "platform/guide.h"
#include "platform/image_drives.h"
#include "platform/session_log.h"
#include "state/state.h"
#include "ui/form.h"
#include "wizard/events.h"
#include "wizard/wizard_support.h"

namespace wizardtest {
namespace {

namespace fsys = std::filesystem;
using ui::form::Menu;

// A toolkit whose dialogs answer as told and record what the wizard asked of it.
struct FakeMenu : wizard::MenuToolkit {
    platform::ImageDriveTable* drives = nullptr;
    std::string answer;  // what every dialog returns
    std::vector<std::string> calls;

    platform::ImageDriveTable* imageDrives() override { return drives; }
    std::string openImageFile(const std::string& proposal) override {
        calls.push_back("image " + proposal);
        return answer;
    }
    std::string openFolder(const std::string& current) override {
        calls.push_back("folder " + current);
        return answer;
    }
    std::string pickCardDrive(const std::vector<std::string>& entries,
                              const std::string& proposed) override {
        calls.push_back("drive " + std::to_string(entries.size()) + " " + proposed);
        return answer;
    }
    bool openLocal(const std::filesystem::path& path) override {
        calls.push_back("open " + path.string());
        return true;
    }
    std::string_view checkMark() const override { return "* "; }
    void setMenuText(Menu entry, const std::string& text) override {
        calls.push_back(std::string(ui::form::menuEntry(entry).name) + " " + text);
    }
};

TEST_F(WizardTest, EachMenuEntryRunsItsFlowWithTheToolkitsDialogs) {
    defineUsualDrives();
    ASSERT_TRUE(start());
    const std::string logs = platform::sessionLogFolder().string();
    const std::string kept = (scratch.path() / "kept").string();
    struct Row {
        Menu entry;
        std::string answer;
        std::vector<std::string> calls;
    };
    const std::vector<Row> rows{
        {Menu::disketteImage, "x.img", {}},  // no image drives: nothing to put an image into
        {Menu::keepImages, "", {"folder ", "KeepImages Keep diskette images..."}},
        {Menu::keepImages, kept, {"folder ", "KeepImages * Keep diskette images..."}},
        {Menu::keepImages, "", {"folder " + kept, "KeepImages * Keep diskette images..."}},
        {Menu::checkCard, "", {"drive 3 e:"}},
        {Menu::logFolder, "", {"open " + logs}},
        {Menu::guide, "", {}},  // not installed beside the tests: logged, nothing opened
    };
    for (const Row& row : rows) {
        FakeMenu toolkit;
        toolkit.answer = row.answer;
        wizard::menuChosen(row.entry, toolkit);
        EXPECT_EQ(toolkit.calls, row.calls) << ui::form::menuEntry(row.entry).name;
    }
    EXPECT_EQ(newLogs().back(), "The guide cannot be opened: " + platform::guideFile().string());
    EXPECT_TRUE(newBoxes().empty());
    FakeMenu toolkit;
    wizard::menuChosen(Menu::about, toolkit);
    EXPECT_TRUE(win().aboutBox().loaded());
    EXPECT_TRUE(toolkit.calls.empty());
}

TEST_F(WizardTest, AnImagePutIntoTheFloppyDriveIsReadLikeADiskette) {
    const fsys::path images = fsys::path(__FILE__).parent_path() / "../../samples/site42/images";
    auto machine = std::make_unique<platform::FolderDriveTable>();
    machine->define('a', platform::DriveType::removable, std::nullopt);
    machine->define('c', platform::DriveType::fixed, medium("c", "SYSTEM", 1ull << 30));
    fsys::create_directories(scratch.path() / "c" / "Temp");
    platform::ImageDriveTable imageDrives(std::move(machine));
    platform::installDrives(&imageDrives);
    platform::setTempFolder("C:\\Temp");

    ASSERT_TRUE(start());
    ASSERT_TRUE(select('a'));
    EXPECT_EQ(win().driveSize().caption(), "Drive A:");

    // The toolkit's dialog only picks the file. It proposes nothing first, then the next image
    // of the series.
    std::vector<std::string> proposals;
    auto pick = [&](const fsys::path& file) {
        FakeMenu toolkit;
        toolkit.drives = &imageDrives;
        toolkit.answer = file.string();
        wizard::menuChosen(Menu::disketteImage, toolkit);
        for (const std::string& call : toolkit.calls)
            proposals.push_back(call.substr(std::string("image ").size()));
    };
    pick(images / "disk1.img");
    EXPECT_EQ(win().driveList().drive(), "a:");
    EXPECT_EQ(win().driveSize().caption(), "Removable Drive A: - DISK1");

    ASSERT_TRUE(ok());
    ASSERT_TRUE(ok());
    EXPECT_EQ(app::wizardStep, app::Step::nextDiskette);
    pick(images / "disk2.img");
    EXPECT_EQ(proposals, (std::vector<std::string>{"", (images / "disk2.img").string()}));
    ASSERT_TRUE(ok());
    EXPECT_EQ(app::currentDisk, 3);
    EXPECT_TRUE(newBoxes().empty());

    // A file that cannot be opened (gone since the dialog listed it) is reported and logged like
    // any failure; the diskette in the drive stays, and a cancelled dialog changes nothing.
    newLogs();
    const std::string shown = win().driveSize().caption();
    pick(scratch.path() / "gone.img");
    const auto boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Error!");
    EXPECT_EQ(boxes[0].icon, ui::Icon::critical);
    const auto logs = newLogs();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(logs[0], "ERROR " + boxes[0].text);
    EXPECT_EQ(app::errorText, boxes[0].text);
    EXPECT_EQ(win().driveSize().caption(), shown);
    EXPECT_EQ(win().driveList().listCount(), 2);
    pick("");
    EXPECT_TRUE(newBoxes().empty());
    EXPECT_TRUE(newLogs().empty());
}

}  // namespace
}  // namespace wizardtest
