// The copy-and-merge walk: what it copies, appends and creates, how the progress bar moves,
// and the one report of each failure.
#include "fs/copy.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "fs/fs_fixture.h"
#include "fs/probe_medium.h"
#include "fs/temp_area.h"
#include "platform/block_reader.h"
#include "state/state.h"
#include "support/fat12_image.h"
#include "support/set_builder.h"
#include "ui/recording_window.h"

namespace {

using fs::copyFileChecked;
using testsupport::readFile;
using testsupport::writeFile;

class CopyTest : public ::testing::Test, public fstest::DrivesFixture {
  protected:
    void SetUp() override {
        app::resetState();
        ui::installWindow(&window);
        window.progressBar().setMax(1000);
        window.progressBar().setValue(0);
        std::filesystem::create_directories(host("c/Temp/T"));
    }
    void TearDown() override { ui::installWindow(nullptr); }

    float progress() { return window.progressBar().value(); }
    // Runs `work` with every medium seen through a probe, and returns what the probe saw.
    fstest::Probe probed(const std::function<void()>& work) {
        fstest::ProbedDrives seen(drives);
        platform::installDrives(&seen);
        work();
        platform::installDrives(&drives);
        return seen.probe;
    }
    size_t boxes() const { return window.messageBoxes().size(); }
    const ui::MessageRecord& lastBox() const { return window.messageBoxes().back(); }

    ui::RecordingWindow window;
};

TEST_F(CopyTest, EmptySourceCopiesNothing) {
    EXPECT_EQ(copyFileChecked("A:\\", "C:\\Temp\\T\\", 10), 1);
    EXPECT_TRUE(std::filesystem::is_empty(host("c/Temp/T")));
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(boxes(), 0u);
}

// A diskette is read as the walk reaches each file, forward: the bar moves between the reads
// of the drive, not all at once after a long still read.
TEST_F(CopyTest, ADisketteIsReadTrackByTrackAsTheWalkReachesItsFiles) {
    std::vector<testsupport::Fat12File> files;
    for (uint32_t i = 0; i < 5; ++i)
        files.push_back({"F" + std::to_string(i) + "      DAT", 2 + 36 * (i + 1), 700});
    writeFile(host("disk.img"), testsupport::fat12Image(1, files));
    platform::forgetDiskettes();
    remedy('a', "unused", [&](platform::MediumOptions& m) { m.root = host("disk.img"); });
    std::vector<float> barAtRead;
    platform::observeDisketteReads([&](uint64_t, uint64_t) { barAtRead.push_back(progress()); });
    EXPECT_EQ(copyFileChecked("A:\\", "C:\\Temp\\T\\", 20), 1);
    platform::observeDisketteReads({});
    platform::forgetDiskettes();
    // Each file's track (sectors 69, 105, ... on tracks 3, 5, ...) as the walk reaches it.
    EXPECT_EQ(barAtRead, (std::vector<float>{20, 40, 60, 80, 100}));
    EXPECT_EQ(readFile(host("c/Temp/T/F4.DAT")).size(), 700u);
}

TEST_F(CopyTest, CopiesATreeAndMovesTheBarPerFile) {
    writeFile(host("a/archive.dat"), "descriptor");
    writeFile(host("a/disk0001.dat"), "volume");
    writeFile(host("a/DB/x.dat"), std::string("\0\x01\r\n", 4));
    EXPECT_EQ(copyFileChecked("A:\\", "C:\\Temp\\T\\", 33), 1);
    EXPECT_EQ(readFile(host("c/Temp/T/archive.dat")), "descriptor");
    EXPECT_EQ(readFile(host("c/Temp/T/disk0001.dat")), "volume");
    EXPECT_EQ(readFile(host("c/Temp/T/DB/x.dat")), std::string("\0\x01\r\n", 4));
    EXPECT_EQ(progress(), 99);
    EXPECT_EQ(boxes(), 0u);
}

TEST_F(CopyTest, MergesIntoExistingFoldersAndAppendsExistingFiles) {
    writeFile(host("c/Temp/T/archive.dat"), "first\n");
    writeFile(host("c/Temp/T/db/data.dat"), "abc");
    writeFile(host("a/archive.dat"), "second\n");
    writeFile(host("a/DB/data.dat"), "d");
    writeFile(host("a/DB/new.dat"), "n");
    EXPECT_EQ(copyFileChecked("A:\\", "C:\\Temp\\T\\", 5), 1);
    EXPECT_EQ(readFile(host("c/Temp/T/archive.dat")), "first\nsecond\n");
    // The folder is matched without regard to case; no second folder is made.
    EXPECT_EQ(readFile(host("c/Temp/T/db/data.dat")), "abcd");
    EXPECT_EQ(readFile(host("c/Temp/T/db/new.dat")), "n");
    EXPECT_FALSE(std::filesystem::exists(host("c/Temp/T/DB")));
    EXPECT_EQ(progress(), 5);  // appends do not move the bar
    EXPECT_EQ(boxes(), 0u);
}

TEST_F(CopyTest, EachLevelKeepsItsOwnPaths) {
    writeFile(host("a/A/B/inner.dat"), "i");
    writeFile(host("a/A/C.dat"), "c");  // listed after B
    writeFile(host("a/Z.dat"), "z");
    EXPECT_EQ(copyFileChecked("A:\\", "C:\\Temp\\T\\", 1), 1);
    EXPECT_EQ(readFile(host("c/Temp/T/A/B/inner.dat")), "i");
    EXPECT_EQ(readFile(host("c/Temp/T/A/C.dat")), "c");
    EXPECT_EQ(readFile(host("c/Temp/T/Z.dat")), "z");
}

TEST_F(CopyTest, ABarBeyondItsMaximumStaysAndTheWalkGoesOn) {
    window.progressBar().setMax(2);
    for (const char* f : {"a/1", "a/2", "a/3"})
        writeFile(host(f), "x");
    EXPECT_EQ(copyFileChecked("A:\\", "C:\\Temp\\T\\", 1), 1);
    EXPECT_EQ(progress(), 2);
    EXPECT_TRUE(std::filesystem::exists(host("c/Temp/T/3")));
}

TEST_F(CopyTest, AFileWhereTheSourceHasAFolder) {
    writeFile(host("c/Temp/T/db"), "a file");
    writeFile(host("a/db/x.dat"), "x");
    writeFile(host("a/zz.dat"), "later");
    EXPECT_EQ(copyFileChecked("A:\\", "C:\\Temp\\T\\", 1), -1);
    ASSERT_EQ(boxes(), 1u);
    EXPECT_EQ(lastBox().text,
              "Can not copy file A:\\db\\x.dat to C:\\Temp\\T\\db\\x.dat\r\n"
              "Ensure that the floppy disk is readable and that \r\n"
              "there is enough free space available on drive C:\\");
    EXPECT_EQ(lastBox().title, "Error!");
    EXPECT_EQ(lastBox().icon, ui::Icon::critical);
    EXPECT_EQ(lastBox().buttons, ui::Buttons::ok);
    EXPECT_EQ(app::errorText, lastBox().text);
    EXPECT_EQ(window.logs().back(), lastBox().text);
    EXPECT_FALSE(std::filesystem::exists(host("c/Temp/T/zz.dat")));

    // A folder beneath that name fails at its creation.
    std::filesystem::remove_all(host("a"));
    writeFile(host("a/db/sub/y.dat"), "y");
    EXPECT_EQ(copyFileChecked("A:\\", "C:\\Temp\\T\\", 1), -1);
    EXPECT_EQ(lastBox().text,
              "Failed to create directory: C:\\Temp\\T\\db\\sub\r\n"
              "Ensure there is enough free space available on drive C:\\");
}

// Each failure is reported once, in its own words, and ends every level of the walk.
TEST_F(CopyTest, EachFailureIsReportedOnceAndEndsTheWalk) {
    using Fault = std::function<void(platform::MediumOptions&)>;
    const Fault none = [](platform::MediumOptions&) {};
    const std::string copyText =
        "\r\nEnsure that the floppy disk is readable and that \r\n"
        "there is enough free space available on drive ";
    const std::string spaceText = "\r\nEnsure there is enough free space available on drive ";
    struct Case {
        const char* what;
        std::map<std::string, std::string> files;  // below the scratch folder
        Fault card, floppy;
        const char* to;
        std::string text;
        std::map<std::string, std::string> after;  // what the target holds then ("": nothing)
    } cases[] = {
        {"a full card deep down",
         {{"a/l1/l2/l3/big.dat", std::string(100, 'b')},
          {"a/l1/l2/l3/later.dat", "x"},
          {"a/l1/l2/zlater.dat", "x"},
          {"a/zlater.dat", "x"}},
         [](platform::MediumOptions& m) { m.faults.capacity = 50; },
         none,
         "E:\\",
         "Can not copy file A:\\l1\\l2\\l3\\big.dat to E:\\l1\\l2\\l3\\big.dat" + copyText + "E:\\",
         {{"card/l1/l2/l3/later.dat", ""}, {"card/l1/l2/zlater.dat", ""}, {"card/zlater.dat", ""}}},
        {"a write-protected card",
         {{"a/DB/x.dat", "x"}},
         [](platform::MediumOptions& m) { m.faults.readonly = true; },
         none,
         "E:\\",
         "Failed to create directory: E:\\DB" + spaceText + "E:\\",
         {}},
        {"an append past the card's capacity",
         {{"a/archive.dat", "more"}, {"card/archive.dat", "some"}},
         [](platform::MediumOptions& m) { m.faults.capacity = 2; },
         none,
         "E:\\",
         "Failed writing: E:\\archive.dat" + spaceText + "E:\\",
         {}},
        {"a damaged piece to append",
         {{"a/archive.dat", "more"}, {"c/Temp/T/archive.dat", "some"}},
         none,
         [](platform::MediumOptions& m) { m.faults.bad = {"archive.dat"}; },
         "C:\\Temp\\T\\",
         "Failed to read file A:\\archive.dat\r\nEnsure that the floppy disk is readable ",
         {{"c/Temp/T/archive.dat", "some"}}},
        {"a damaged file to copy",
         {{"a/db/data.dat", "abcd"}},
         none,
         [](platform::MediumOptions& m) { m.faults.bad = {"db\\data.dat"}; },
         "C:\\Temp\\T\\",
         "Can not copy file A:\\db\\data.dat to C:\\Temp\\T\\db\\data.dat" + copyText + "C:\\",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* folder : {"a", "card", "c/Temp/T"})
            std::filesystem::remove_all(host(folder));
        std::filesystem::create_directories(host("c/Temp/T"));
        for (const auto& [file, bytes] : c.files)
            writeFile(host(file), bytes);
        remedy('e', "card", c.card);
        remedy('a', "a", c.floppy);
        const size_t before = boxes();

        EXPECT_EQ(copyFileChecked("A:\\", c.to, 1), -1);

        ASSERT_EQ(boxes(), before + 1);
        EXPECT_EQ(lastBox().text, c.text);
        for (const auto& [file, bytes] : c.after) {
            if (bytes.empty()) {
                EXPECT_FALSE(std::filesystem::exists(host(file))) << file;
            } else {
                EXPECT_EQ(readFile(host(file)), bytes) << file;
            }
        }
    }
}

TEST_F(CopyTest, UnreportedFailuresPassToTheCaller) {
    EXPECT_EQ(fstest::codeOf([] { copyFileChecked("A:\\missing\\", "C:\\Temp\\T\\", 1); }),
              platform::err::pathNotFound);
    EXPECT_EQ(boxes(), 0u);
}

TEST_F(CopyTest, NeverDescendsIntoSymbolicLinks) {
    writeFile(host("outside/secret.dat"), "s");
    std::filesystem::create_directory_symlink(host("outside"), host("a/link"));
    writeFile(host("a/real.dat"), "r");
    EXPECT_EQ(copyFileChecked("A:\\", "C:\\Temp\\T\\", 1), 1);
    EXPECT_FALSE(std::filesystem::exists(host("c/Temp/T/link")));
    EXPECT_TRUE(std::filesystem::exists(host("c/Temp/T/real.dat")));
}

TEST_F(CopyTest, NamesThatDifferOnlyInCaseRefuseTheLevelBeforeItIsCopied) {
    struct Case {
        std::vector<std::string> files;
        std::string first, second;
    };
    const std::vector<Case> cases = {
        {{"a.dat", "ARCHIVE.DAT", "archive.dat"}, "A:\\ARCHIVE.DAT", "A:\\archive.dat"},
        {{"db/X.dat", "db/x.dat"}, "A:\\db\\X.dat", "A:\\db\\x.dat"},
        {{"Db/x.dat", "db"}, "A:\\Db", "A:\\db"},  // a folder and a file
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(host("a"));
        std::filesystem::remove_all(host("c/Temp/T"));
        std::filesystem::create_directories(host("c/Temp/T"));
        for (const std::string& f : c.files)
            writeFile(host("a/" + f), f);
        const size_t before = boxes();
        EXPECT_EQ(copyFileChecked("A:\\", "C:\\Temp\\T\\", 1), -1) << c.first;
        ASSERT_EQ(boxes(), before + 1);
        EXPECT_EQ(lastBox().text, "Names differ only in letter case: " + c.first + " and " +
                                      c.second +
                                      "\r\nNo diskette of a set holds both. Ensure that the "
                                      "floppy disk is the right one");
        for (const auto& e : std::filesystem::recursive_directory_iterator(host("c/Temp/T")))
            EXPECT_TRUE(e.is_directory()) << e.path();
    }
}

TEST_F(CopyTest, AppendsABlockAtATimeWhateverTheFileSize) {
    const std::string piece = testsupport::noise((size_t{3} << 20) + 5, 7);
    writeFile(host("c/Temp/T/big.dat"), "head");
    writeFile(host("a/big.dat"), piece);
    const fstest::Probe seen =
        probed([] { EXPECT_EQ(copyFileChecked("A:\\", "C:\\Temp\\T\\", 1), 1); });
    EXPECT_EQ(readFile(host("c/Temp/T/big.dat")), "head" + piece);
    EXPECT_LE(seen.largestWrite, size_t{1} << 20);
}

// Copying, counting and removing a tree asks of the media in proportion to its size, however
// wide or deep it is: a name is not looked for again in a folder that has been listed.
TEST_F(CopyTest, WorkGrowsInProportionToWidthAndDepth) {
    struct Case {
        const char* shape;
        std::function<void(int)> grow;
        int small;
    };
    const std::vector<Case> cases = {
        {"wide",
         [this](int n) {
             for (int k = 0; k < n; ++k)
                 std::filesystem::create_directories(host("a/f" + std::to_string(k)));
         },
         50},
        {"deep",
         [this](int n) {
             std::string path = "a";
             for (int k = 0; k < n; ++k)
                 path += "/d";
             std::filesystem::create_directories(host(path));
         },
         25},
    };
    for (const Case& c : cases) {
        uint64_t work[2] = {};
        for (int size : {0, 1}) {
            std::filesystem::remove_all(host("a"));
            std::filesystem::create_directories(host("a"));
            c.grow(c.small << (2 * size));
            work[size] = probed([] {
                             EXPECT_EQ(copyFileChecked("A:\\", "C:\\Temp\\T\\", 0), 1);
                             fs::countFolderEntries("A:\\");
                             fs::removeFolderTree("C:\\Temp\\T\\");
                         }).work();
            std::filesystem::create_directories(host("c/Temp/T"));
        }
        // Four times the folders: four times the work, where looking names up again made it
        // sixteen.
        EXPECT_LT(work[1] * 10, work[0] * 45) << c.shape << ": " << work[0] << " then " << work[1];
    }
}

}  // namespace

// A source folder below the first level that cannot be listed (a damaged or looping folder of
// a diskette) ends the walk reported, naming the folder: whichever listing fails, the walk
// never reports success with part of the tree missing.
TEST(CopyWalkListingTest, AnUnlistableFolderIsReportedNeverPassedOver) {
    int reported = 0;
    for (uint64_t n = 1;; ++n) {
        SCOPED_TRACE("listing " + std::to_string(n) + " fails");
        app::resetState();
        fstest::DrivesFixture f;
        ui::RecordingWindow window;
        ui::installWindow(&window);
        writeFile(f.host("a/archive.dat"), "descriptor");
        writeFile(f.host("a/DB/x.dat"), "x");
        writeFile(f.host("a/DB/SUB/y.dat"), "y");
        writeFile(f.host("a/z.dat"), "z");
        std::filesystem::create_directories(f.host("c/Temp/T"));
        f.drives.medium('a')->failNth(platform::OpKind::look, n, false);

        int16_t r = 0;
        try {
            r = copyFileChecked("A:\\", "C:\\Temp\\T\\", 0);
        } catch (const platform::Error&) {
            r = -3;  // the first level's own listing: passed to the caller
        }
        const bool failed = f.drives.medium('a')->count(platform::OpKind::look) >= n;
        ui::installWindow(nullptr);
        if (!failed) {
            EXPECT_EQ(r, 1);
            break;
        }
        if (r == 1) {
            EXPECT_EQ(readFile(f.host("c/Temp/T/DB/SUB/y.dat")), "y");
            EXPECT_EQ(readFile(f.host("c/Temp/T/DB/x.dat")), "x");
            EXPECT_EQ(readFile(f.host("c/Temp/T/z.dat")), "z");
        } else if (r == -1) {
            ++reported;
            ASSERT_EQ(window.messageBoxes().size(), 1u);
            EXPECT_EQ(window.messageBoxes()[0].text.rfind("Failed to read directory A:\\DB\\", 0),
                      0u)
                << window.messageBoxes()[0].text;
        }
        ASSERT_LT(n, 50u);
    }
    EXPECT_GT(reported, 0);
}
