// The machine's drives, the temporary folder and the instance lock on Windows (under Wine: the
// prefix's drives; test-windows.sh maps a: to a folder typed "floppy" and e: to another).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/block_reader.h"
#include "platform/error.h"
#include "platform/instance_lock.h"
#include "platform/machine_drives.h"
#include "platform/temp_folder.h"
#include "support/test_support.h"

namespace {

// The list against each letter's root asked of the system one by one: every drive, in letter
// order, the system drive among them.
TEST(Win32Drives, EveryLogicalDriveIsListedInLetterOrder) {
    std::string listed, rooted;
    for (const auto& d : platform::machineDrives()->list())
        listed += d.letter;
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        const wchar_t root[] = {letter, L':', L'\\', L'\0'};
        if (GetDriveTypeW(root) != DRIVE_NO_ROOT_DIR)
            rooted += static_cast<char>(letter);
    }
    EXPECT_EQ(listed, rooted);
    EXPECT_NE(listed.find('C'), std::string::npos);
}

TEST(Win32Drives, SystemDriveIsFixedAndReady) {
    auto table = platform::machineDrives();
    const auto c = table->find('c');
    ASSERT_TRUE(c);
    EXPECT_EQ(c->letter, 'C');
    EXPECT_EQ(c->type, platform::DriveType::fixed);
    EXPECT_TRUE(c->ready);
    ASSERT_TRUE(c->medium);
    EXPECT_GT(c->freeBytes, 0u);
    EXPECT_FALSE(c->medium->list("").empty());
    EXPECT_EQ(c->entry.substr(0, 2), "c:");
}

TEST(Win32Drives, NoSuchLetter) {
    auto table = platform::machineDrives();
    const DWORD mask = GetLogicalDrives();
    for (int i = 25; i >= 0; --i) {
        if ((mask & (DWORD{1} << i)) == 0) {
            EXPECT_FALSE(table->find(static_cast<char>('A' + i)));
            return;
        }
    }
}

// The drives the test script maps: a diskette drive and a second removable-or-fixed folder.
TEST(Win32Drives, MappedFloppyAndCard) {
    const char* floppy = std::getenv("VELT_WINE_FLOPPY");
    if (floppy == nullptr)
        GTEST_SKIP() << "no a: mapped for this run (VELT_WINE_FLOPPY)";
    testsupport::writeFile(std::filesystem::path(floppy) / "disk0001.dat", "x");
    auto table = platform::machineDrives();
    const auto a = table->find('A');
    ASSERT_TRUE(a);
    EXPECT_EQ(a->type, platform::DriveType::removable);
    EXPECT_EQ(a->entry, "a:");
    ASSERT_TRUE(a->ready);
    bool seen = false;
    for (const auto& e : a->medium->list(""))
        seen = seen || e.name == "disk0001.dat";
    EXPECT_TRUE(seen);
    // A folder mapped as the floppy drive has no raw device: the file system reads it, and the
    // first use says so once.
    EXPECT_NE(table->mountForUse('A').find("Drive A: is read through the file system ("),
              std::string::npos);
    EXPECT_EQ(table->mountForUse('a'), "");
    const auto e = table->find('E');
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->ready);
}

// A floppy drive whose raw device Wine serves from a diskette image (dosdevices "b::"): read
// raw through \\.\B: by the block reader, not through the file system.
TEST(Win32Drives, ARawFloppyIsReadThroughTheBlockReader) {
    const char* letter = std::getenv("VELT_WINE_RAW_FLOPPY");
    if (letter == nullptr)
        GTEST_SKIP() << "no raw floppy mapped for this run (VELT_WINE_RAW_FLOPPY)";
    platform::forgetDiskettes();
    auto table = platform::machineDrives();
    const auto b = table->find(letter[0]);
    ASSERT_TRUE(b);
    ASSERT_TRUE(b->ready);
    const auto read = b->medium->sectorImage();
    ASSERT_TRUE(read) << "read through the file system";
    EXPECT_EQ(read->image.size(), 1474560u);
    EXPECT_TRUE(read->unread.empty());
    EXPECT_EQ(b->medium->label(), "DISK1");
    bool seen = false;
    for (const auto& e : b->medium->list(""))
        seen = seen || e.name == "disk0001.dat";
    EXPECT_TRUE(seen);
    EXPECT_EQ(table->mountForUse(letter[0]), "");
    platform::forgetDiskettes();
}

TEST(Win32TempFolder, FreshFolderBelowTheUsersTemp) {
    const auto a = platform::privateTempFolder();
    const auto b = platform::privateTempFolder();
    EXPECT_NE(a, b);
    EXPECT_TRUE(std::filesystem::is_directory(a));
    EXPECT_EQ(a.parent_path(), platform::hostTempDirectory());
    const std::string onC = platform::converterPathOnC(a);
    EXPECT_EQ(onC.substr(1, 2), ":\\");
    EXPECT_EQ(onC.find('/'), std::string::npos);
    EXPECT_EQ(platform::ensurePrivateFolder(a), a);
    std::filesystem::remove(a);
    std::filesystem::remove(b);
}

TEST(Win32TempFolder, AFileInTheWayIsRefused) {
    testsupport::ScratchDir dir;
    testsupport::writeFile(dir.path() / "f", "x");
    try {
        platform::ensurePrivateFolder(dir.path() / "f");
        FAIL() << "no error";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.code(), platform::err::permissionDenied);
    }
}

TEST(Win32InstanceLock, SecondHolderIsTurnedAway) {
    testsupport::ScratchDir dir;
    const auto file = dir.path() / "instance.lock";
    EXPECT_EQ(platform::acquireInstanceLock(file), platform::LockState::acquired);
    // Another holder of the same name: as a second process would find it.
    std::wstring mangled = L"Local\\velt-" + file.wstring();
    for (size_t i = 6; i < mangled.size(); ++i) {
        if (mangled[i] == L'\\' || mangled[i] == L'/' || mangled[i] == L':')
            mangled[i] = L'_';
    }
    HANDLE other = CreateMutexW(nullptr, FALSE, mangled.c_str());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(other);
    platform::releaseInstanceLock();
    EXPECT_EQ(platform::instanceLockState(), platform::LockState::notTried);
    EXPECT_EQ(platform::acquireInstanceLock(file), platform::LockState::acquired);
    platform::releaseInstanceLock();
}

}  // namespace
