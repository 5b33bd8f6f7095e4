// Reading a written file back from the device: the page cache no longer holds its pages when
// the read starts, so what comes back is what the device kept.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <fcntl.h>

#include <string>
#include <vector>

#include "platform/host_folder.h"
#include "support/test_support.h"

namespace {

// Pages of the file that are in the page cache now.
size_t cachedPages(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const off_t length = ::lseek(fd, 0, SEEK_END);
    void* map = ::mmap(nullptr, static_cast<size_t>(length), PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> resident((static_cast<size_t>(length) + page - 1) / page);
    ::mincore(map, static_cast<size_t>(length), resident.data());
    ::munmap(map, static_cast<size_t>(length));
    size_t n = 0;
    for (unsigned char r : resident)
        n += r & 1;
    return n;
}

TEST(ReadBack, ComesFromTheDeviceNotThePageCache) {
    testsupport::ScratchDir dir;
    struct statfs fsInfo {};
    ASSERT_EQ(::statfs(dir.path().c_str(), &fsInfo), 0);
    if (fsInfo.f_type == 0x01021994)  // tmpfs: the cache is all there is
        GTEST_SKIP() << "the scratch folder is on a RAM file system";

    auto medium = platform::openHostFolder(dir.path());
    const std::string bytes(1 << 20, 'v');
    auto out = medium->open("card.dat", platform::OpenMode::write, true);
    out->write(bytes.data(), bytes.size());
    out->close();
    const std::string host = (dir.path() / "card.dat").string();
    ASSERT_GT(cachedPages(host), 0u) << "a file just written is in the cache";

    auto back = medium->openReadBack("card.dat");
    EXPECT_EQ(cachedPages(host), 0u);
    std::string read(bytes.size(), '\0');
    EXPECT_EQ(back->read(read.data(), read.size()), bytes.size());
    EXPECT_EQ(read, bytes);
}

}  // namespace
