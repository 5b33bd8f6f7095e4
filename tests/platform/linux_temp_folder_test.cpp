// The private temporary folder: made 0700, refused when planted or shared, and its converter
// path on c:.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/error.h"
#include "platform/temp_folder.h"
#include "support/test_support.h"

namespace {

using testsupport::ScopedEnv;

namespace fsys = std::filesystem;
using testsupport::ScratchDir;

mode_t modeOf(const fsys::path& p) {
    struct stat st {};
    EXPECT_EQ(lstat(p.c_str(), &st), 0);
    return st.st_mode & 07777;
}

// The refusal's error code, or nothing when the folder was accepted.
std::optional<int> refusal(const fsys::path& folder) {
    try {
        platform::ensurePrivateFolder(folder);
    } catch (const platform::Error& e) {
        return e.code();
    }
    return std::nullopt;
}

TEST(TempFolder, MadeWithMode0700AndAcceptedAgain) {
    ScratchDir dir;
    const fsys::path folder = dir.path() / "velt-1";
    EXPECT_EQ(platform::ensurePrivateFolder(folder), folder);
    EXPECT_TRUE(fsys::is_directory(folder));
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(refusal(folder), std::nullopt);
}

TEST(TempFolder, PlantedLinkOrFileIsRefusedAndLeftAlone) {
    ScratchDir dir;
    const fsys::path victim = dir.make("victim");
    chmod(victim.c_str(), 0755);
    fsys::create_directory_symlink(victim, dir.path() / "velt-1");
    EXPECT_EQ(refusal(dir.path() / "velt-1"), platform::err::permissionDenied);
    EXPECT_EQ(modeOf(victim), 0755u);  // the link's target is not narrowed
    EXPECT_TRUE(fsys::is_symlink(dir.path() / "velt-1"));

    // A dangling link too: nothing is created where it points.
    fsys::create_directory_symlink(dir.path() / "nowhere", dir.path() / "velt-2");
    EXPECT_EQ(refusal(dir.path() / "velt-2"), platform::err::permissionDenied);
    EXPECT_FALSE(fsys::exists(dir.path() / "nowhere"));

    testsupport::writeFile(dir.path() / "velt-3", "x");
    EXPECT_EQ(refusal(dir.path() / "velt-3"), platform::err::permissionDenied);
}

TEST(TempFolder, ReadableFolderIsNarrowedWritableOneRefused) {
    ScratchDir dir;
    const fsys::path readable = dir.make("readable");
    chmod(readable.c_str(), 0755);
    EXPECT_EQ(refusal(readable), std::nullopt);
    EXPECT_EQ(modeOf(readable), 0700u);

    for (mode_t mode : {0777, 0770, 0702, 01777}) {
        const fsys::path shared = dir.make("shared" + std::to_string(mode));
        chmod(shared.c_str(), mode);
        EXPECT_EQ(refusal(shared), platform::err::permissionDenied) << std::oct << mode;
        EXPECT_EQ(modeOf(shared), mode);
    }
}

TEST(TempFolder, FolderOfAnotherUserIsRefused) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a folder away";
    ScratchDir dir;
    const fsys::path folder = dir.make("theirs");
    chmod(folder.c_str(), 0700);
    ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
    EXPECT_EQ(refusal(folder), platform::err::permissionDenied);
}

TEST(TempFolder, MissingParentIsPathNotFound) {
    ScratchDir dir;
    EXPECT_EQ(refusal(dir.path() / "no" / "velt-1"), platform::err::pathNotFound);
}

TEST(TempFolder, PrivateFolderLiesBelowTmpdirOrTmp) {
    ScratchDir dir;
    {
        ScopedEnv env("TMPDIR", dir.path().c_str());
        // A folder planted under the old, predictable name stops nothing.
        fsys::create_directory(dir.path() / ("velt-" + std::to_string(geteuid())));
        const fsys::path first = platform::privateTempFolder();
        const fsys::path second = platform::privateTempFolder();
        EXPECT_EQ(first.parent_path(), fsys::canonical(dir.path()));
        EXPECT_EQ(first.filename().string().rfind("velt-" + std::to_string(geteuid()) + "-", 0),
                  0u);
        EXPECT_NE(first, second);
        EXPECT_EQ(modeOf(first), 0700u);
    }
    {
        ScopedEnv env("TMPDIR", "relative/dir");
        EXPECT_EQ(platform::hostTempDirectory(), "/tmp");
    }
    {
        ScopedEnv env("TMPDIR", "/odd\\name");
        EXPECT_EQ(platform::hostTempDirectory(), "/tmp");
    }
    {
        ScopedEnv env("TMPDIR", nullptr);
        EXPECT_EQ(platform::hostTempDirectory(), "/tmp");
    }
}

TEST(TempFolder, ConverterPathOnC) {
    EXPECT_EQ(platform::converterPathOnC("/tmp/velt-1000"), "C:\\tmp\\velt-1000");
    EXPECT_EQ(platform::converterPathOnC("/var//tmp/./x/"), "C:\\var\\tmp\\x");
    EXPECT_EQ(platform::converterPathOnC("/"), "C:\\");
}

}  // namespace
