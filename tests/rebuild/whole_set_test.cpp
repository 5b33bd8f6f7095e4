// Whole sets from the diskettes to the card: every diskette read, the checksums verified, the
// image recombined and described, and the card's \backup\single\ compared byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "diskset/checksum.h"
#include "diskset/reader.h"
#include "rebuild/rebuild.h"
#include "rebuild/rebuild_support.h"
#include "state/state.h"
#include "support/set_builder.h"
#include "wizard/wizard.h"

namespace rebuildtest {
namespace {

using testsupport::SetPlan;
using testsupport::spreadFile;
using testsupport::wholeFile;
using Tree = std::map<std::string, std::string>;

std::string sumText(const std::string& bytes) {
    return std::to_string(static_cast<long long>(testsupport::archivedChecksum(bytes)));
}

class WholeSetTest : public RebuildTest {
  protected:
    // Reads every diskette in turn from A:, then converts and writes the card in E:.
    void convert(const SetPlan& plan) {
        const testsupport::BuiltSet set = testsupport::buildSet(scratch.path() / "set", plan);
        app::floppyDrive = "A:";
        for (int n = 1; n <= plan.disks; ++n) {
            platform::MediumOptions floppy;
            floppy.root = set.disk(n);
            drives.insert('A', floppy);
            app::currentDisk = static_cast<int16_t>(n);
            ASSERT_EQ(wizard::readDiskette(app::currentDisk, "A"),
                      n == plan.disks ? diskset::DisketteRead::last : diskset::DisketteRead::more)
                << "diskette " << n << ": " << app::errorText;
        }
        ASSERT_TRUE(diskset::verifyChecksums()) << app::errorText;
        ASSERT_TRUE(rebuild::recombineDatabase()) << app::errorText;
        ASSERT_TRUE(rebuild::writeSingleDescriptor()) << app::errorText;
        ASSERT_EQ(wizard::writeCompactFlash(), 1) << app::errorText;
        EXPECT_TRUE(window->messageBoxes().empty());
    }
    Tree single() const { return treeOf(card() / "backup" / "single"); }
};

TEST_F(WholeSetTest, TwelveDiskettesWithAFileSpreadOverTheLastThree) {
    SetPlan l;
    l.disks = 12;
    l.files = {wholeFile("keycode.rec", "abc")};
    for (int d = 2; d <= 9; ++d)
        l.files.push_back(
            wholeFile("db/t" + std::to_string(d) + ".dat", "table " + std::to_string(d), d));
    l.files.push_back(
        spreadFile("db/log.dat", "first piece|second|third", {{10, 12}, {11, 7}, {12, 5}}));
    convert(l);

    const Tree card = single();
    EXPECT_EQ(card.at("db/log.dat"), "first piece|second|third");
    EXPECT_EQ(card.at("db/t9.dat"), "table 9");
    std::string expected = "ARCHIVE-ID-LABEL:812\nNUMDISKS: 1\nFILE: 1 0 1 294 /keycode.rec std\n";
    for (int d = 2; d <= 9; ++d)
        expected += "FILE: 1 0 1 " + sumText("table " + std::to_string(d)) + " /db/t" +
                    std::to_string(d) + ".dat std\n";
    expected += "FILE: 1 0 1 " + sumText("first piece|second|third") + " /db/log.dat std\n";
    EXPECT_EQ(card.at("archive.dat"), expected);
    // Only diskette 1's volume file travels; nothing else lies beside the database.
    EXPECT_EQ(card.size(), 13u);  // archive.dat, db/, 8 tables, log.dat, disk0001.dat, keycode.rec
    EXPECT_EQ(card.count("disk0010.dat"), 0u);
}

TEST_F(WholeSetTest, KeycodeAsKcd) {
    SetPlan l;
    l.keycodeAsKcd = true;
    l.files = {wholeFile("keycode.rec", "kcd bytes"), wholeFile("x.dat", "x")};
    convert(l);

    const Tree card = single();
    EXPECT_EQ(card.at("keycode.kcd"), "kcd bytes");
    EXPECT_EQ(card.count("keycode.rec"), 0u);
    EXPECT_NE(card.at("archive.dat").find(" /keycode.rec std\n"), std::string::npos);
}

TEST_F(WholeSetTest, NestedFoldersAndCrLfDescriptor) {
    SetPlan l;
    l.disks = 2;
    l.lineEnd = "\r\n";
    l.headerLines = {"SITE: 7"};
    l.files = {wholeFile("keycode.rec", "abc"),
               spreadFile("a/b/c/deep.dat", "deep", {{1, 3}, {2, 1}}),
               wholeFile("a/flat.dat", "flat", 2)};
    convert(l);

    EXPECT_EQ(single(), (Tree{{"archive.dat",
                               "ARCHIVE-ID-LABEL:812\nNUMDISKS: 1\nSITE: 7\n"
                               "FILE: 1 0 1 294 /keycode.rec std\n"
                               "FILE: 1 0 1 " +
                                   sumText("deep") +
                                   " /a/b/c/deep.dat std\n"
                                   "FILE: 1 0 1 " +
                                   sumText("flat") + " /a/flat.dat std\n"},
                              {"a/", ""},
                              {"a/b/", ""},
                              {"a/b/c/", ""},
                              {"a/b/c/deep.dat", "deep"},
                              {"a/flat.dat", "flat"},
                              {"disk0001.dat", "ARCHIVE-ID-LABEL:812\r\n"},
                              {"keycode.rec", "abc"}}));
}

}  // namespace
}  // namespace rebuildtest
