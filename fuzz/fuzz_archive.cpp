// libFuzzer target for the descriptor parser: each input is written as archive.dat on a folder
// drive and parsed. Beyond the sanitizers' checks, a parse that succeeds must leave results
// the rest of the converter can trust (counts in range, names below the diskette root).
//
// Build (VELT_FUZZ instruments the whole core, so the parser's branches guide the search):
//   cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVELT_FUZZ=ON -DVELT_QT=OFF \
//         -DVELT_BENCH=OFF
//   build-fuzz/fuzz/velt-fuzz-archive -max_len=10100 -max_total_time=180
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "diskset/archive.h"
#include "platform/context.h"
#include "platform/drives.h"
#include "platform/folder_drives.h"
#include "state/state.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// The host folder of drive A:, made once per process.
const std::filesystem::path& floppy() {
    static const std::filesystem::path folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velt-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            fail("mkdtemp");
        static platform::FolderDriveTable drives;
        platform::MediumOptions medium;
        medium.root = pattern;
        drives.define('A', platform::DriveType::removable, medium);
        platform::installDrives(&drives);
        std::atexit([] { std::filesystem::remove_all(floppy()); });
        return std::filesystem::path(pattern);
    }();
    return folder;
}

bool safeName(const std::string& name) {
    if (name.empty() || name[0] != '\\' || name.find(':') != std::string::npos)
        return false;
    for (size_t start = 1;;) {
        const size_t end = name.find('\\', start);
        const std::string part = name.substr(start, end == std::string::npos ? end : end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        std::ofstream out(floppy() / "archive.dat", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    app::fileCount = 0;
    const int code = diskset::parseArchive("A:\\archive.dat");
    if (size == 0 && code != 2)
        fail("an empty descriptor gives 2");
    if (size > 10000 && code != 3)
        fail("a descriptor over 10000 bytes gives 3");
    if (code == 53)
        fail("53 for a descriptor that exists");
    if (code != 0)
        return 0;
    if (app::totalDisks < 1 || app::totalDisks > 99)
        fail("diskette count");
    if (app::fileCount < 1 || app::fileCount > 100)
        fail("entry count");
    for (int n = 1; n <= app::fileCount; ++n) {
        const app::FileEntry& e = app::fileTable(n);
        if (e.disk < 1 || e.disk > 99)
            fail("entry diskette");
        if (!safeName(e.name))
            fail("entry name");
        if (e.name.find(' ') != std::string::npos || e.extraText.find(' ') != std::string::npos)
            fail("blank in a field");
        if (e.name.find('/') != std::string::npos || e.extraText.find('/') != std::string::npos)
            fail("slash left in a field");
        if (e.archivedSum < 0)
            fail("checksum");
    }
    return 0;
}
