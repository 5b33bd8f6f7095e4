// recombineDatabase and createParentFolders on diskette areas laid out in the temporary area.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fs/probe_medium.h"
#include "platform/context.h"
#include "rebuild/rebuild.h"
#include "rebuild/rebuild_support.h"
#include "state/state.h"
#include "support/set_builder.h"

namespace rebuildtest {
namespace {

using testsupport::readFile;
using testsupport::SetPlan;
using testsupport::spreadFile;
using testsupport::wholeFile;
using testsupport::writeFile;

const std::string flatPath = "C:\\Temp\\VELT_flat";
const std::string onDevice = "\r\nEnsure there is enough free space available on the device.";

SetPlan twoDisketteExample(const std::string& data = "abcd") {
    SetPlan l;
    l.disks = 2;
    l.files = {wholeFile("keycode.rec", "abc"),
               spreadFile("db/data.dat", data, {{1, 3}, {2, data.size() - 3}})};
    return l;
}

class RecombineTest : public RebuildTest {
  protected:
    // The log lines from "Recombining ..." on: the merge pass logs nothing of its own.
    std::vector<std::string> recombinationLog() const {
        const auto& logs = window->logs();
        for (size_t i = 0; i < logs.size(); ++i) {
            if (logs[i].rfind("Recombining the database at ", 0) == 0)
                return {logs.begin() + static_cast<std::ptrdiff_t>(i), logs.end()};
        }
        return {};
    }
};

TEST_F(RecombineTest, JoinsTheTwoDisketteExample) {
    layOut(twoDisketteExample());

    EXPECT_TRUE(rebuild::recombineDatabase());

    EXPECT_EQ(readFile(flat() / "keycode.rec"), "abc");
    EXPECT_EQ(readFile(flat() / "db" / "data.dat"), "abcd");
    EXPECT_EQ(readFile(flat() / "disk0001.dat"), readFile(area(1) / "disk0001.dat"));
    EXPECT_EQ(recombinationLog(),
              (std::vector<std::string>{
                  "Recombining the database at C:\\Temp\\VELT_flat",
                  "copy C:\\Temp\\VELT_disk1\\keycode.rec to C:\\Temp\\VELT_flat\\keycode.rec",
                  "copy C:\\Temp\\VELT_disk1\\db\\data.dat to C:\\Temp\\VELT_flat\\db\\data.dat",
                  "append C:\\Temp\\VELT_disk2\\db\\data.dat to "
                  "C:\\Temp\\VELT_flat\\db\\data.dat"}));
    EXPECT_TRUE(window->messageBoxes().empty());
}

TEST_F(RecombineTest, OneDisketteSetIsCopiedEntryByEntry) {
    SetPlan l;
    l.files = {wholeFile("index.dat", "root file"), wholeFile("db/main.dat", "main")};
    layOut(l);
    writeFile(area(1) / "notes" / "readme.txt", "unlisted");

    EXPECT_TRUE(rebuild::recombineDatabase());

    EXPECT_EQ(readFile(flat() / "index.dat"), "root file");
    EXPECT_EQ(readFile(flat() / "db" / "main.dat"), "main");
    EXPECT_EQ(readFile(flat() / "notes" / "readme.txt"), "unlisted");
    for (const std::string& line : recombinationLog())
        EXPECT_EQ(line.rfind("append ", 0), std::string::npos);
}

TEST_F(RecombineTest, PiecesOfASpreadFileAreJoinedOnceEachInDisketteOrder) {
    SetPlan l;
    l.disks = 3;
    l.files = {spreadFile("big.dat", "one-two-three", {{1, 4}, {2, 4}, {3, 5}})};
    layOut(l);

    EXPECT_TRUE(rebuild::recombineDatabase());
    EXPECT_EQ(readFile(flat() / "big.dat"), "one-two-three");
}

TEST_F(RecombineTest, PiecesAreJoinedABlockAtATimeWhateverTheirSize) {
    const std::string large = testsupport::noise((size_t{3} << 20) + 3, 11);
    SetPlan l;
    l.disks = 3;
    l.files = {
        spreadFile("big.dat", "one-" + large + "-three", {{1, 4}, {2, large.size()}, {3, 6}})};
    layOut(l);
    fstest::ProbedDrives probed(drives);
    platform::installDrives(&probed);

    EXPECT_TRUE(rebuild::recombineDatabase());

    platform::installDrives(&drives);
    EXPECT_EQ(readFile(flat() / "big.dat"), "one-" + large + "-three");
    EXPECT_LE(probed.probe.largestWrite, size_t{1} << 20);
}

TEST_F(RecombineTest, SpreadFileStartingOnALaterDisketteHoldsEachPieceOnce) {
    SetPlan l;
    l.disks = 12;
    l.files = {wholeFile("keycode.rec", "key"),
               spreadFile("db/tail.dat", "ten|eleven|twelve", {{10, 4}, {11, 7}, {12, 6}})};
    layOut(l);

    EXPECT_TRUE(rebuild::recombineDatabase());

    EXPECT_EQ(readFile(flat() / "db" / "tail.dat"), "ten|eleven|twelve");
    const auto log = recombinationLog();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[2],
              "copy C:\\Temp\\VELT_disk10\\db\\tail.dat to C:\\Temp\\VELT_flat\\db\\tail.dat");
    EXPECT_EQ(log[3],
              "append C:\\Temp\\VELT_disk11\\db\\tail.dat to C:\\Temp\\VELT_flat\\db\\tail.dat");
    EXPECT_EQ(log[4],
              "append C:\\Temp\\VELT_disk12\\db\\tail.dat to C:\\Temp\\VELT_flat\\db\\tail.dat");
}

// The keycode entry travels under the name its diskette holds it by.
TEST_F(RecombineTest, KeycodeTravelsAsKcdWhenTheRecFileWasNotFound) {
    for (const bool kcd : {true, false}) {
        SCOPED_TRACE(kcd ? "keycode.kcd" : "keycode.rec");
        std::filesystem::remove_all(temp());
        window = std::make_unique<ui::RecordingWindow>();
        ui::installWindow(window.get());
        SetPlan l = twoDisketteExample();
        l.keycodeAsKcd = kcd;
        layOut(l);
        const std::string name = kcd ? "keycode.kcd" : "keycode.rec";

        EXPECT_TRUE(rebuild::recombineDatabase());

        EXPECT_EQ(readFile(flat() / name), "abc");
        EXPECT_EQ(std::filesystem::exists(flat() / "keycode.rec"), !kcd);
        EXPECT_EQ(recombinationLog().at(1),
                  "copy C:\\Temp\\VELT_disk1\\" + name + " to C:\\Temp\\VELT_flat\\" + name);
    }
}

// The bar moves by the whole step per entry; 100 entries end it at 100, and a value past the
// end is passed over while the entries are still copied.
TEST_F(RecombineTest, ProgressAdvancesByTheWholeStepPerEntry) {
    const struct {
        int entries;
        float start, end;
    } cases[] = {{3, 0, 99}, {100, 0, 100}, {3, 90, 90}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.entries) + " entries from " + std::to_string(c.start));
        std::filesystem::remove_all(temp());
        SetPlan l;
        for (int i = 0; i < c.entries; ++i)
            l.files.push_back(wholeFile("f" + std::to_string(i), std::to_string(i)));
        layOut(l);
        window->progressBar().setValue(c.start);

        EXPECT_TRUE(rebuild::recombineDatabase());
        EXPECT_FLOAT_EQ(window->progressBar().value(), c.end);
        EXPECT_EQ(readFile(flat() / "f2"), "2");
    }
}

TEST_F(RecombineTest, EmptyTableStillMergesAndPlacesTheVolumeFile) {
    layOut(SetPlan());
    writeFile(area(1) / "loose.txt", "loose");
    window->progressBar().setValue(0);

    EXPECT_TRUE(rebuild::recombineDatabase());

    EXPECT_EQ(recombinationLog(),
              std::vector<std::string>{"Recombining the database at C:\\Temp\\VELT_flat"});
    EXPECT_TRUE(std::filesystem::exists(flat() / "disk0001.dat"));
    EXPECT_EQ(readFile(flat() / "loose.txt"), "loose");
    EXPECT_FLOAT_EQ(window->progressBar().value(), 0);
}

TEST_F(RecombineTest, MissingAreaInTheMergePassIsPassedOver) {
    layOut(twoDisketteExample());
    app::currentDisk = 3;  // no area 3: its listing fails unreported

    EXPECT_TRUE(rebuild::recombineDatabase());
    EXPECT_EQ(readFile(flat() / "db" / "data.dat"), "abcd");
    EXPECT_TRUE(window->messageBoxes().empty());
}

TEST_F(RecombineTest, MissingSourceIsReportedAndEndsTheRecombination) {
    SetPlan l;
    l.files = {wholeFile("first.dat", "1"), wholeFile("gone.dat", "2"),
               wholeFile("later.dat", "3")};
    layOut(l);
    std::filesystem::remove(area(1) / "gone.dat");

    EXPECT_FALSE(rebuild::recombineDatabase());

    const std::string message = "Failed writing: C:\\Temp\\VELT_flat\\gone.dat" + onDevice;
    const auto log = recombinationLog();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[2], "copy C:\\Temp\\VELT_disk1\\gone.dat to C:\\Temp\\VELT_flat\\gone.dat");
    EXPECT_EQ(log[3], message);
    EXPECT_EQ(app::errorText, message);
    ASSERT_EQ(window->messageBoxes().size(), 1u);
    const auto& box = window->messageBoxes()[0];
    EXPECT_EQ(box.text, message);
    EXPECT_EQ(box.title, "Error!");
    EXPECT_EQ(box.icon, ui::Icon::critical);
    EXPECT_EQ(box.buttons, ui::Buttons::ok);
}

// A file the image needs that cannot be read is reported, once, as the file it was to make;
// no "append " line claims a join that did not happen.
TEST_F(RecombineTest, AFileTheImageNeedsThatCannotBeReadIsReported) {
    struct Case {
        const char* what;
        std::function<void()> fault;
        const char* made;   // the file of the flat area reported
        size_t logged = 0;  // recombination log lines, where they are counted
        size_t boxes = 0;   // message boxes, where they are counted
    } cases[] = {
        // The start line and the report, before any entry.
        {"the volume file missing", [this] { std::filesystem::remove(area(1) / "disk0001.dat"); },
         "disk0001.dat", 2},
        {"a piece missing", [this] { std::filesystem::remove(area(2) / "db" / "data.dat"); },
         "db\\data.dat", 0, 1},
        // The merge pass meets the damaged piece first and reports it its own way.
        {"a piece damaged",
         [this] { insertSystem(withBadFile(systemMedium(), "Temp\\VELT_disk2\\db\\data.dat")); },
         "db\\data.dat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(temp());
        insertSystem(systemMedium());
        window = std::make_unique<ui::RecordingWindow>();
        ui::installWindow(window.get());
        layOut(twoDisketteExample());
        c.fault();

        EXPECT_FALSE(rebuild::recombineDatabase());

        const std::string message =
            "Failed writing: C:\\Temp\\VELT_flat\\" + std::string(c.made) + onDevice;
        EXPECT_EQ(app::errorText, message);
        ASSERT_FALSE(window->messageBoxes().empty());
        EXPECT_EQ(window->messageBoxes().back().text, message);
        if (c.logged != 0) {
            EXPECT_EQ(recombinationLog().size(), c.logged);
        }
        if (c.boxes != 0) {
            EXPECT_EQ(window->messageBoxes().size(), c.boxes);
        }
        for (const std::string& line : recombinationLog())
            EXPECT_EQ(line.rfind("append ", 0), std::string::npos);
    }
}

TEST_F(RecombineTest, MergePassFailureGoesOnButTheImageIsNotWhole) {
    layOut(twoDisketteExample());
    writeFile(area(2) / "notes.txt", "not in the table");
    insertSystem(withBadFile(systemMedium(), "Temp\\VELT_disk2\\notes.txt"));

    EXPECT_FALSE(rebuild::recombineDatabase());

    // Every entry is still placed; only the file the walk could not copy is missing.
    ASSERT_EQ(window->messageBoxes().size(), 1u);
    EXPECT_EQ(window->messageBoxes()[0].text.rfind(
                  "Can not copy file C:\\Temp\\VELT_disk2\\notes.txt", 0),
              0u);
    EXPECT_EQ(readFile(flat() / "db" / "data.dat"), "abcd");
    EXPECT_FALSE(std::filesystem::exists(flat() / "notes.txt"));
}

TEST_F(RecombineTest, FullDeviceDuringAJoinIsReported) {
    layOut(twoDisketteExample("abcdefgh"));
    // Bytes the merge pass and the copies write before the append: every area file once, the
    // volume file again, then keycode.rec and the diskette-1 piece again.
    uint64_t before = 0;
    for (int d = 1; d <= 2; ++d)
        for (const auto& [name, bytes] : treeOf(area(d)))
            before += bytes.size();
    before += readFile(area(1) / "disk0001.dat").size() + 3 + 3;
    insertSystem(withCapacity(systemMedium(), before + 2));

    EXPECT_FALSE(rebuild::recombineDatabase());

    EXPECT_EQ(app::errorText, "Failed writing: C:\\Temp\\VELT_flat\\db\\data.dat" + onDevice);
    EXPECT_EQ(window->messageBoxes().size(), 1u);
    // What fitted stays; no "append " line claims the join.
    EXPECT_EQ(readFile(flat() / "db" / "data.dat"), "abcde");
    for (const std::string& line : recombinationLog())
        EXPECT_EQ(line.rfind("append ", 0), std::string::npos);
}

class CreateParentFoldersTest : public RebuildTest {};

TEST_F(CreateParentFoldersTest, CreatesEveryFolderAlongThePath) {
    std::filesystem::create_directories(flat());

    rebuild::createParentFolders("\\a\\b\\c.dat", flatPath);

    EXPECT_TRUE(std::filesystem::is_directory(flat() / "a" / "b"));
    EXPECT_FALSE(std::filesystem::exists(flat() / "a" / "b" / "c.dat"));
    EXPECT_TRUE(window->messageBoxes().empty());
}

TEST_F(CreateParentFoldersTest, RootNameAndExistingFoldersNeedNothing) {
    std::filesystem::create_directories(flat() / "a");
    writeFile(flat() / "a" / "keep.txt", "kept");

    rebuild::createParentFolders("\\index.dat", flatPath);
    rebuild::createParentFolders("\\a\\x.dat", flatPath);

    EXPECT_EQ(treeOf(flat()),
              (std::map<std::string, std::string>{{"a/", ""}, {"a/keep.txt", "kept"}}));
    EXPECT_TRUE(window->messageBoxes().empty());
}

TEST_F(CreateParentFoldersTest, MissingBaseDoesNothing) {
    rebuild::createParentFolders("\\a\\b.dat", flatPath);

    EXPECT_FALSE(std::filesystem::exists(flat()));
    EXPECT_TRUE(window->messageBoxes().empty());
}

TEST_F(CreateParentFoldersTest, FailureIsReportedAndStopsTheDescent) {
    std::filesystem::create_directories(flat());
    insertSystem(readonly(systemMedium()));

    rebuild::createParentFolders("\\a\\b\\c.dat", flatPath);

    const std::string message = "Failed create directory: C:\\Temp\\VELT_flat\\a\\" + onDevice;
    EXPECT_EQ(app::errorText, message);
    ASSERT_EQ(window->messageBoxes().size(), 1u);
    EXPECT_EQ(window->messageBoxes()[0].title, "Error!");
    EXPECT_EQ(window->logs().back(), message);
}

TEST_F(CreateParentFoldersTest, DeeperFailureNamesTheDoubledSeparatorPath) {
    std::filesystem::create_directories(flat() / "a");
    // Something unlisted is in the way of a\b.
    std::filesystem::create_symlink(scratch.path() / "nowhere", flat() / "a" / "b");

    rebuild::createParentFolders("\\a\\b\\c.dat", flatPath);

    EXPECT_EQ(app::errorText, "Failed create directory: C:\\Temp\\VELT_flat\\a\\\\b\\" + onDevice);
}

TEST_F(RecombineTest, FolderFailureGivesTwoReportsAndFalse) {
    // Neither a link nor a file in its place is the folder, and neither can be made one.
    const std::function<void(const std::filesystem::path&)> inTheWay[] = {
        [this](const std::filesystem::path& p) {
            std::filesystem::create_symlink(scratch.path() / "nowhere", p);
        },
        [](const std::filesystem::path& p) { writeFile(p, "a file"); },
    };
    for (const auto& plant : inTheWay) {
        const size_t before = window->messageBoxes().size();
        SetPlan l;
        l.files = {wholeFile("db/x.dat", "x")};
        layOut(l);
        // Without the area's db folder the merge pass makes none.
        std::filesystem::remove_all(area(1) / "db");
        std::filesystem::remove_all(flat() / "db");
        plant(flat() / "db");

        EXPECT_FALSE(rebuild::recombineDatabase());

        ASSERT_EQ(window->messageBoxes().size(), before + 2);
        EXPECT_EQ(window->messageBoxes()[before].text,
                  "Failed create directory: C:\\Temp\\VELT_flat\\db\\" + onDevice);
        EXPECT_EQ(window->messageBoxes()[before + 1].text,
                  "Failed writing: C:\\Temp\\VELT_flat\\db\\x.dat" + onDevice);
    }
}

}  // namespace
}  // namespace rebuildtest
