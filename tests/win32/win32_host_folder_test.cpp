// What only the Win32 host folder does: the error table, long paths, reparse points never
// followed, read-back past the cache, copies by the system that leave no read-only mark.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/error.h"
#include "platform/host_folder.h"
#include "platform/win32/win32_text.h"
#include "support/set_builder.h"
#include "support/test_support.h"

namespace {

namespace err = platform::err;
using testsupport::readFile;
using testsupport::ScratchDir;
using testsupport::writeFile;

using testsupport::codeOf;

std::string readAll(platform::MediumFile& file) {
    std::string out;
    char buffer[777];
    while (size_t n = file.read(buffer, sizeof buffer))
        out.append(buffer, n);
    return out;
}

TEST(Win32Errors, DesignedForCodes) {
    const struct {
        DWORD error;
        int code;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, err::fileNotFound},
        {ERROR_PATH_NOT_FOUND, err::pathNotFound},
        {ERROR_INVALID_DRIVE, err::pathNotFound},
        {ERROR_ACCESS_DENIED, err::permissionDenied},
        {ERROR_WRITE_PROTECT, err::permissionDenied},
        {ERROR_FILE_EXISTS, err::fileAlreadyExists},
        {ERROR_ALREADY_EXISTS, err::fileAlreadyExists},
        {ERROR_DISK_FULL, err::diskFull},
        {ERROR_HANDLE_DISK_FULL, err::diskFull},
        {ERROR_CRC, err::deviceIO},
        {ERROR_SECTOR_NOT_FOUND, err::deviceIO},
        {ERROR_NOT_READY, err::diskNotReady},
        {ERROR_DIR_NOT_EMPTY, err::pathFileAccess},
        {ERROR_SHARING_VIOLATION, err::permissionDenied},
        {ERROR_INVALID_NAME, err::badFileName},
        {ERROR_TOO_MANY_OPEN_FILES, err::tooManyFiles},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::win32::codeForWin32Error(c.error), c.code) << "error " << c.error;
}

TEST(Win32Text, Utf8RoundTrip) {
    for (const std::string s :
         {"", "plain", "\xC3\xA9t\xC3\xA9", "\xE2\x82\xAC 5", "\xF0\x9F\x92\xBE"})
        EXPECT_EQ(platform::win32::narrow(platform::win32::widen(s)), s);
    EXPECT_EQ(platform::win32::widen("\xF0\x9F\x92\xBE").size(), 2u);  // a surrogate pair
}

class Win32HostFolderTest : public ::testing::Test {
  protected:
    ScratchDir dir;
    std::shared_ptr<platform::Medium> medium = platform::openHostFolder(dir.path());
};

TEST_F(Win32HostFolderTest, NamesInUtf8) {
    const std::string name = "caf\xC3\xA9.dat";
    auto out = medium->open(name, platform::OpenMode::createNew, true);
    out->write("x", 1);
    out->close();
    ASSERT_EQ(medium->list("").size(), 1u);
    EXPECT_EQ(medium->list("")[0].name, name);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / std::filesystem::path(L"caf\u00e9.dat")));
}

TEST_F(Win32HostFolderTest, PathsLongerThanTheOldLimit) {
    std::string path;
    for (int i = 0; i < 12; ++i) {
        path = platform::joinPath(path, std::string(30, static_cast<char>('a' + i)));
        medium->makeFolder(path);
    }
    ASSERT_GT(medium->hostPath(path).size(), 300u);
    const std::string file = platform::joinPath(path, "deep.dat");
    medium->open(file, platform::OpenMode::write, true)->write("deep", 4);
    EXPECT_EQ(readAll(*medium->open(file, platform::OpenMode::read, false)), "deep");
    medium->deleteFile(file);
    EXPECT_FALSE(medium->entry(file));
}

TEST_F(Win32HostFolderTest, ReadBackGivesExactlyTheBytes) {
    for (size_t length :
         {size_t{0}, size_t{1}, size_t{511}, size_t{512}, size_t{4097}, (size_t{1} << 20) + 1}) {
        const std::string bytes = testsupport::noise(length, static_cast<unsigned>(length));
        auto out = medium->open("back.dat", platform::OpenMode::write, true);
        out->write(bytes.data(), bytes.size());
        out->close();
        medium->flushTree("");
        EXPECT_EQ(readAll(*medium->openReadBack("back.dat")), bytes) << length << " bytes";
    }
}

TEST_F(Win32HostFolderTest, RenameNeverReplaces) {
    writeFile(dir.path() / "a.dat", "a");
    writeFile(dir.path() / "b.dat", "b");
    EXPECT_EQ(codeOf([&] { medium->rename("a.dat", "b.dat"); }), err::fileAlreadyExists);
    EXPECT_EQ(readFile(dir.path() / "b.dat"), "b");
    EXPECT_EQ(codeOf([&] { medium->rename("none.dat", "c.dat"); }), err::fileNotFound);
}

TEST_F(Win32HostFolderTest, SystemCopyLeavesNoReadOnlyMark) {
    ScratchDir other;
    writeFile(other.path() / "ro.dat", "bytes");
    const std::wstring source = (other.path() / "ro.dat").wstring();
    SetFileAttributesW(source.c_str(), FILE_ATTRIBUTE_READONLY);
    auto from = platform::openHostFolder(other.path());
    ASSERT_FALSE(from->hostPath("ro.dat").empty());
    medium->copyFileFrom(*from, "ro.dat", "copy.dat");
    EXPECT_EQ(readFile(dir.path() / "copy.dat"), "bytes");
    EXPECT_EQ(
        GetFileAttributesW((dir.path() / "copy.dat").wstring().c_str()) & FILE_ATTRIBUTE_READONLY,
        0u);
    medium->deleteFile("copy.dat");  // what the temporary area does with it later
    SetFileAttributesW(source.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A symbolic link to a folder outside the medium: listed as a link, never entered or emptied.
TEST_F(Win32HostFolderTest, LinkToAFolderIsNotFollowed) {
    ScratchDir outside;
    writeFile(outside.path() / "keep.dat", "keep");
    medium->makeFolder("a");
    const std::wstring link = (dir.path() / "a" / "out").wstring();
    if (!CreateSymbolicLinkW(link.c_str(), outside.path().wstring().c_str(),
                             SYMBOLIC_LINK_FLAG_DIRECTORY))
        GTEST_SKIP() << "no symbolic links here (error " << GetLastError() << ")";
    // Wine reports success without making a reparse point.
    const DWORD made = GetFileAttributesW(link.c_str());
    if (made == INVALID_FILE_ATTRIBUTES || (made & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        GTEST_SKIP() << "symbolic links are not made as reparse points here";
    const auto entries = medium->list("a");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].link);
    EXPECT_FALSE(entries[0].folder);
    EXPECT_EQ(codeOf([&] { medium->list("a\\out"); }), err::pathNotFound);
    EXPECT_EQ(codeOf([&] { medium->open("a\\out\\keep.dat", platform::OpenMode::read, false); }),
              err::pathNotFound);
    EXPECT_EQ(codeOf([&] { medium->removeFolder("a\\out"); }), err::pathNotFound);
    medium->deleteFile("a\\out");
    EXPECT_EQ(readFile(outside.path() / "keep.dat"), "keep");
    EXPECT_TRUE(medium->list("a").empty());
}

TEST_F(Win32HostFolderTest, FolderErrors) {
    medium->makeFolder("f");
    writeFile(dir.path() / "f" / "x.dat", "x");
    const struct {
        const char* what;
        std::function<void()> call;
        int code;
    } cases[] = {
        {"make existing", [&] { medium->makeFolder("f"); }, err::pathFileAccess},
        {"make below missing", [&] { medium->makeFolder("no\\f"); }, err::pathNotFound},
        {"remove not empty", [&] { medium->removeFolder("f"); }, err::pathFileAccess},
        {"remove missing", [&] { medium->removeFolder("g"); }, err::pathNotFound},
        {"remove root", [&] { medium->removeFolder(""); }, err::pathFileAccess},
        {"list a file", [&] { medium->list("f\\x.dat"); }, err::pathNotFound},
        {"open a folder", [&] { medium->open("f", platform::OpenMode::read, false); },
         err::pathFileAccess},
        {"open missing", [&] { medium->open("f\\y.dat", platform::OpenMode::read, false); },
         err::fileNotFound},
        {"create existing", [&] { medium->open("f\\x.dat", platform::OpenMode::createNew, true); },
         err::fileAlreadyExists},
        {"delete a folder", [&] { medium->deleteFile("f"); }, err::fileNotFound},
        {"climb", [&] { medium->open("..\\x.dat", platform::OpenMode::read, false); },
         err::pathNotFound},
    };
    for (const auto& c : cases)
        EXPECT_EQ(codeOf(c.call), c.code) << c.what;
}

TEST(Win32HostFolder, RootMustBeAFolder) {
    ScratchDir dir;
    writeFile(dir.path() / "file.dat", "x");
    EXPECT_EQ(codeOf([&] { platform::openHostFolder(dir.path() / "file.dat"); }),
              err::pathNotFound);
    EXPECT_EQ(codeOf([&] { platform::openHostFolder(dir.path() / "none"); }), err::pathNotFound);
}

}  // namespace
