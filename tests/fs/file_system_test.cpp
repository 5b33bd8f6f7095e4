// The file-system object and the run-time operations: results and error codes.
#include "fs/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fs/fs_fixture.h"

namespace {

using fstest::codeOf;
using testsupport::readFile;
using testsupport::writeFile;
namespace err = platform::err;

class FileSystemTest : public ::testing::Test, public fstest::DrivesFixture {
  protected:
    fs::FileSystemObject fso;
};

TEST_F(FileSystemTest, DrivesAndTheirState) {
    remedy('e', "e", [](platform::MediumOptions& m) {
        m.label = "CF";
        m.freeBytes = 64000000;
    });
    auto e = fso.GetDrive(fso.GetDriveName("e: [CF]"));
    EXPECT_EQ(e.DriveLetter(), "E");
    EXPECT_EQ(e.DriveType(), platform::DriveType::removable);
    EXPECT_TRUE(e.IsReady());
    EXPECT_EQ(e.VolumeName(), "CF");
    EXPECT_EQ(e.FreeSpace(), 64000000.0);

    drives.eject('a');
    auto a = fso.GetDrive("A:");
    EXPECT_FALSE(a.IsReady());
    EXPECT_EQ(codeOf([&] { a.VolumeName(); }), err::diskNotReady);
    EXPECT_EQ(codeOf([&] { a.FreeSpace(); }), err::diskNotReady);
    EXPECT_EQ(codeOf([&] { fso.GetDrive("q:"); }), err::deviceUnavailable);
    EXPECT_EQ(codeOf([&] { fso.GetDrive(""); }), err::deviceUnavailable);
    EXPECT_EQ(fso.GetSpecialFolder(2), "C:\\Temp");
}

TEST_F(FileSystemTest, ExistenceTests) {
    writeFile(host("a/archive.dat"), "x");
    EXPECT_TRUE(fso.FileExists("A:\\archive.dat"));
    EXPECT_TRUE(fso.FileExists("A:\\ARCHIVE.DAT"));
    EXPECT_FALSE(fso.FileExists("A:\\"));
    EXPECT_TRUE(fso.FolderExists("A:\\"));
    EXPECT_TRUE(fso.FolderExists("C:\\Temp\\"));
    EXPECT_FALSE(fso.FolderExists("A:\\archive.dat"));
    drives.eject('a');
    EXPECT_FALSE(fso.FileExists("A:\\archive.dat"));  // not ready: no error, just False
    EXPECT_FALSE(fso.FileExists("Q:\\archive.dat"));
}

TEST_F(FileSystemTest, TextStreamsReadLinesAndBytesExactly) {
    writeFile(host("a/v.dat"), "first\r\nsecond\nlast");
    auto in = fso.OpenTextFile("A:\\v.dat", fs::ForReading);
    EXPECT_EQ(in.ReadLine(), "first");
    EXPECT_EQ(in.ReadLine(), "second");
    EXPECT_FALSE(in.AtEndOfStream());
    EXPECT_EQ(in.ReadLine(), "last");
    EXPECT_TRUE(in.AtEndOfStream());
    EXPECT_EQ(codeOf([&] { in.ReadLine(); }), err::inputPastEnd);
    in.Close();

    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    bytes += std::string(200000, '\r');
    writeFile(host("a/bin"), bytes);
    EXPECT_EQ(fso.OpenTextFile("A:\\bin").ReadAll(), bytes);
    writeFile(host("a/empty"), "");
    EXPECT_EQ(fso.OpenTextFile("A:\\empty").ReadAll(), "");

    EXPECT_EQ(codeOf([&] { fso.OpenTextFile("A:\\missing"); }), err::fileNotFound);
    EXPECT_EQ(codeOf([&] { fso.OpenTextFile("A:\\nofolder\\x"); }), err::pathNotFound);
}

TEST_F(FileSystemTest, AppendCreateAndCreateTextFile) {
    {
        auto out = fso.OpenTextFile("E:\\j.dat", fs::ForAppending, true);
        out.Write("abc");
        out.Close();
    }
    {
        auto out = fso.OpenTextFile("E:\\j.dat", fs::ForAppending, true);
        out.Write(std::string("d\0e", 3));
        out.Close();
    }
    EXPECT_EQ(readFile(host("e/j.dat")), std::string("abcd\0e", 6));
    EXPECT_EQ(codeOf([&] { fso.OpenTextFile("E:\\none", fs::ForAppending, false); }),
              err::fileNotFound);

    fso.CreateTextFile("E:\\j.dat", true).Close();
    EXPECT_EQ(readFile(host("e/j.dat")), "");
    EXPECT_EQ(codeOf([&] { fso.CreateTextFile("E:\\j.dat", false); }), err::fileAlreadyExists);
    auto w = fso.GetFile("E:\\j.dat").OpenAsTextStream(fs::ForWriting);
    w.Write("line\n");
    w.Close();
    EXPECT_EQ(readFile(host("e/j.dat")), "line\n");
    EXPECT_EQ(codeOf([&] { fso.GetFile("E:\\nothing"); }), err::fileNotFound);
}

TEST_F(FileSystemTest, CopyFileReplacesAndReproducesBytes) {
    std::string big(3 << 20, 'x');
    big[12345] = '\0';
    writeFile(host("a/big"), big);
    writeFile(host("e/big"), "old content that is longer");
    fso.CopyFile("A:\\big", "E:\\big", true);
    EXPECT_EQ(readFile(host("e/big")), big);
    EXPECT_EQ(codeOf([&] { fso.CopyFile("A:\\big", "E:\\big", false); }), err::fileAlreadyExists);
    EXPECT_EQ(codeOf([&] { fso.CopyFile("A:\\none", "E:\\x", true); }), err::fileNotFound);
    EXPECT_EQ(codeOf([&] { fso.CopyFile("A:\\big", "E:\\no\\x", true); }), err::pathNotFound);
    EXPECT_EQ(codeOf([&] { fso.CopyFile("A:\\big", "A:\\big", true); }), err::permissionDenied);
    EXPECT_EQ(readFile(host("a/big")), big);
}

TEST_F(FileSystemTest, WriteProtectedMediumRefusesEveryChange) {
    writeFile(host("w/f.dat"), "keep");
    std::filesystem::create_directories(host("w/sub"));
    writeFile(host("a/src"), "s");
    remedy('e', "w", [](platform::MediumOptions& m) { m.faults.readonly = true; });
    EXPECT_EQ(codeOf([&] { fso.CreateTextFile("E:\\n.dat"); }), err::permissionDenied);
    EXPECT_EQ(codeOf([&] { fso.OpenTextFile("E:\\f.dat", fs::ForAppending, true); }),
              err::permissionDenied);
    EXPECT_EQ(codeOf([&] { fso.OpenTextFile("E:\\f.dat", fs::ForWriting); }),
              err::permissionDenied);
    EXPECT_EQ(codeOf([&] { fso.CopyFile("A:\\src", "E:\\c.dat"); }), err::permissionDenied);
    EXPECT_EQ(codeOf([] { fs::makeFolder("E:\\new"); }), err::permissionDenied);
    EXPECT_EQ(codeOf([] { fs::removeFolder("E:\\sub"); }), err::permissionDenied);
    EXPECT_EQ(codeOf([] { fs::deleteFile("E:\\f.dat"); }), err::permissionDenied);
    // Reading is still allowed, and nothing changed.
    EXPECT_EQ(fso.OpenTextFile("E:\\f.dat").ReadAll(), "keep");
    EXPECT_FALSE(std::filesystem::exists(host("w/n.dat")));
}

TEST_F(FileSystemTest, FullMediumKeepsWhatFitted) {
    writeFile(host("a/src"), std::string(100, 'y'));
    remedy('e', "full", [](platform::MediumOptions& m) { m.faults.capacity = 150; });
    auto out = fso.CreateTextFile("E:\\t.dat");
    out.Write(std::string(120, 'x'));
    EXPECT_EQ(codeOf([&] { out.Write(std::string(40, 'z')); }), err::diskFull);
    out.Close();
    EXPECT_EQ(readFile(host("full/t.dat")), std::string(120, 'x') + std::string(30, 'z'));
    EXPECT_EQ(codeOf([&] { fso.CopyFile("A:\\src", "E:\\c.dat"); }), err::diskFull);
    EXPECT_EQ(fs::fileLength("E:\\c.dat"), 0);
    // An empty file still fits on a full medium.
    writeFile(host("a/empty"), "");
    fso.CopyFile("A:\\empty", "E:\\empty");
    EXPECT_TRUE(fso.FileExists("E:\\empty"));
}

TEST_F(FileSystemTest, DamagedFilesFailWhenRead) {
    writeFile(host("d/db/data.dat"), "abcd");
    writeFile(host("d/ok.dat"), "fine");
    remedy('a', "d", [](platform::MediumOptions& m) { m.faults.bad = {"db\\data.dat"}; });
    EXPECT_TRUE(fso.FileExists("A:\\db\\data.dat"));
    EXPECT_EQ(fs::fileLength("A:\\db\\data.dat"), 4);
    EXPECT_EQ(codeOf([&] { fso.OpenTextFile("A:\\db\\data.dat").ReadAll(); }), err::deviceIO);
    EXPECT_EQ(codeOf([&] { fso.OpenTextFile("A:\\DB\\DATA.DAT").ReadLine(); }), err::deviceIO);
    EXPECT_EQ(codeOf([&] { fso.CopyFile("A:\\db\\data.dat", "E:\\x"); }), err::deviceIO);
    uint8_t buf[8];
    fs::BinaryFile f("A:\\db\\data.dat");
    EXPECT_EQ(codeOf([&] { f.read(buf, sizeof buf); }), err::deviceIO);
    fs::BinaryFile g("A:\\ok.dat");
    EXPECT_EQ(g.read(buf, sizeof buf), 4u);
    EXPECT_EQ(g.read(buf, sizeof buf), 0u);
}

TEST_F(FileSystemTest, ListingShowsOrdinaryEntriesOnly) {
    writeFile(host("a/b.dat"), "");
    writeFile(host("a/A.dat"), "");
    writeFile(host("a/.cfg"), "");
    std::filesystem::create_directories(host("a/DB"));
    std::filesystem::create_directories(host("outside"));
    std::filesystem::create_directory_symlink(host("outside"), host("a/link"));
    std::filesystem::create_symlink(host("a/b.dat"), host("a/filelink"));
    auto entries = fs::listFolder("A:\\");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, ".cfg");  // a leading dot is an ordinary name
    EXPECT_EQ(entries[1].name, "A.dat");
    EXPECT_EQ(entries[2].name, "b.dat");
    EXPECT_EQ(entries[3].name, "DB");
    EXPECT_TRUE(entries[3].folder);
    auto all = fs::listFolderAll("A:\\");
    EXPECT_EQ(all.size(), 6u);
    for (const auto& e : all) {
        if (e.name == "link") {
            EXPECT_FALSE(e.folder);
        }
    }
    EXPECT_TRUE(fs::entryExists("A:\\DB\\"));
    EXPECT_TRUE(fs::entryExists("A:\\b.dat"));
    EXPECT_FALSE(fs::entryExists("A:\\link"));
    EXPECT_TRUE(fs::entryExists("A:\\.cfg"));
    EXPECT_TRUE(fs::isFolder("A:\\DB"));
    EXPECT_FALSE(fs::isFolder("A:\\b.dat"));
    EXPECT_FALSE(fs::isFolder("A:\\link"));
    EXPECT_EQ(codeOf([] { fs::isFolder("A:\\none"); }), err::fileNotFound);
    EXPECT_EQ(codeOf([] { fs::listFolder("A:\\none\\"); }), err::pathNotFound);
}

TEST_F(FileSystemTest, FoldersFilesAndLengths) {
    fs::makeFolder("E:\\backup");
    EXPECT_EQ(codeOf([] { fs::makeFolder("E:\\backup\\"); }), err::pathFileAccess);
    EXPECT_EQ(codeOf([] { fs::makeFolder("E:\\no\\such"); }), err::pathNotFound);
    writeFile(host("e/backup/x"), "12345");
    EXPECT_EQ(fs::fileLength("E:\\backup\\x"), 5);
    EXPECT_EQ(codeOf([] { fs::fileLength("E:\\backup\\y"); }), err::fileNotFound);
    EXPECT_EQ(codeOf([] { fs::removeFolder("E:\\backup"); }), err::pathFileAccess);
    fs::deleteFile("E:\\backup\\x");
    EXPECT_EQ(codeOf([] { fs::deleteFile("E:\\backup\\x"); }), err::fileNotFound);
    fs::removeFolder("E:\\backup\\");
    EXPECT_FALSE(std::filesystem::exists(host("e/backup")));
    EXPECT_EQ(codeOf([] { fs::removeFolder("E:\\backup"); }), err::pathNotFound);
    EXPECT_EQ(codeOf([] { fs::removeFolder("E:\\"); }), err::pathFileAccess);
    drives.eject('e');
    EXPECT_EQ(codeOf([] { fs::fileLength("E:\\x"); }), err::diskNotReady);
}

TEST_F(FileSystemTest, CurrentDriveAndFolder) {
    fs::makeFolder("E:\\backup");
    fs::changeDrive("E:");
    fs::changeFolder("E:\\backup\\");
    EXPECT_EQ(platform::currentDrive(), 'E');
    EXPECT_EQ(platform::currentFolder('E'), "\\backup");
    writeFile(host("e/backup/f"), "x");
    EXPECT_EQ(fs::fileLength("f"), 1);
    EXPECT_EQ(codeOf([] { fs::changeFolder("E:\\none"); }), err::pathNotFound);
    EXPECT_EQ(codeOf([] { fs::changeDrive("Q:"); }), err::deviceUnavailable);
    EXPECT_EQ(platform::currentDrive(), 'E');
}

TEST_F(FileSystemTest, SyncTreeFlushesAWrittenTree) {
    writeFile(host("e/backup/single/db/x.dat"), "x");
    EXPECT_NO_THROW(fs::syncTree("E:\\backup\\single\\"));
    EXPECT_EQ(codeOf([] { fs::syncTree("E:\\none\\"); }), err::fileNotFound);
}

}  // namespace
