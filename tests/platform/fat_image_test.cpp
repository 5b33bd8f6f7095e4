// Diskette images: FAT12/FAT16 images made with the host's formatting tools read back, and
// hand-damaged copies of them refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>

#include "platform/error.h"
#include "platform/image_medium.h"
#include "support/fat12_image.h"
#include "support/test_support.h"

namespace {

using platform::Medium;
using platform::OpenMode;

// mkfs.fat lives in sbin, which a user's PATH may lack.
std::string tool(const std::string& name) {
    for (const char* dir : {"/usr/sbin/", "/sbin/", "/usr/bin/", "/bin/"})
        if (std::filesystem::exists(dir + name))
            return dir + name;
    return "";
}

std::string bytesOf(size_t size, uint32_t salt) {
    std::string out(size, '\0');
    for (char& c : out) {
        salt = salt * 1103515245 + 12345;
        c = static_cast<char>(salt >> 16);
    }
    return out;
}

// An image built with mkfs.fat and mtools; targets are written with "/".
class Builder {
  public:
    Builder(const std::string& mkfsArgs, int kilobytes) {
        run(tool("mkfs.fat") + " -C " + mkfsArgs + " " + image().string() + " " +
            std::to_string(kilobytes) + " >/dev/null");
    }
    std::filesystem::path image() const { return dir_.path() / "disk.img"; }
    std::string bytes() const { return testsupport::readFile(image()); }
    Builder& put(const std::string& target, const std::string& bytes) {
        testsupport::writeFile(dir_.path() / "in", bytes);
        return mtools("mcopy", (dir_.path() / "in").string() + " '::/" + target + "'");
    }
    Builder& folder(const std::string& target) { return mtools("mmd", "::/" + target); }
    Builder& attrib(const std::string& flag, const std::string& target) {
        return mtools("mattrib", flag + " ::/" + target);
    }
    Builder& remove(const std::string& target) { return mtools("mdel", "::/" + target); }
    // What an mtools command prints.
    std::string output(const std::string& command, const std::string& args) {
        mtools(command, args + " >" + (dir_.path() / "out").string());
        return testsupport::readFile(dir_.path() / "out");
    }

  private:
    static void run(const std::string& command) {
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("failed: " + command);
    }
    Builder& mtools(const std::string& command, const std::string& args) {
        run("MTOOLS_SKIP_CHECK=1 " + command + " -i " + image().string() + " " + args);
        return *this;
    }
    testsupport::ScratchDir dir_;
};

class FatImageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (tool("mkfs.fat").empty() || tool("mcopy").empty())
            GTEST_SKIP() << "mkfs.fat and mtools are needed to make the images";
    }
};

std::string readAll(Medium& m, const std::string& path) {
    auto f = m.open(path, OpenMode::read, false);
    std::string out;
    char block[1000];  // not a cluster multiple, so reads start inside clusters
    while (size_t n = f->read(block, sizeof block))
        out.append(block, n);
    f->close();
    return out;
}

// Lists every folder and reads every file, as the copy walk does.
void walk(Medium& m, const std::string& folder = "") {
    for (const platform::MediumEntry& e : m.list(folder)) {
        const std::string path = platform::joinPath(folder, e.name);
        if (e.folder)
            walk(m, path);
        else
            readAll(m, path);
    }
}

std::map<std::string, platform::MediumEntry> byName(const std::vector<platform::MediumEntry>& v) {
    std::map<std::string, platform::MediumEntry> out;
    for (const auto& e : v)
        out[e.name] = e;
    return out;
}

TEST_F(FatImageTest, ReadsEachFormatAsMtoolsWroteIt) {
    struct Format {
        const char* mkfs;
        int kilobytes;
        uint64_t clusterBytes;
    };
    const Format formats[] = {
        {"", 720, 1024}, {"", 1440, 512}, {"", 2880, 1024}, {"-F 16", 32768, 2048}};
    const std::string readme = bytesOf(1000, 1), longer = bytesOf(5000, 2),
                      deep = bytesOf(70000, 3), hidden = bytesOf(10, 4), system = bytesOf(0, 5);
    for (const Format& f : formats) {
        SCOPED_TRACE(f.kilobytes);
        Builder b(std::string(f.mkfs) + " -n VELTDISK", f.kilobytes);
        b.put("README.TXT", readme).put("Long file name.txt", longer).folder("DB");
        b.folder("DB/DATA").put("DB/DATA/DEEP.BIN", deep);
        b.put("HIDDEN.SYS", hidden).attrib("+h", "HIDDEN.SYS");
        b.put("SYSTEM.DAT", system).attrib("+s", "SYSTEM.DAT");
        const std::string free = b.output("mdir", "::/");

        auto m = platform::openDisketteImage(b.image().string());
        EXPECT_EQ(m->label(), "VELTDISK");
        EXPECT_EQ(m->clusterBytes(), f.clusterBytes);
        const size_t end = free.find("bytes free"), start = free.rfind('\n', end);
        std::string digits;
        for (char c : free.substr(start, end - start))
            if (std::isdigit(static_cast<unsigned char>(c)))
                digits += c;
        EXPECT_EQ(m->freeBytes(), std::stoull(digits));

        auto root = byName(m->list(""));
        ASSERT_EQ(root.size(), 5u);
        EXPECT_TRUE(root["DB"].folder);
        EXPECT_EQ(root["Long file name.txt"].length, 5000u);
        EXPECT_TRUE(root["HIDDEN.SYS"].hidden);
        EXPECT_TRUE(root["SYSTEM.DAT"].hidden);
        EXPECT_FALSE(root["README.TXT"].hidden || root["README.TXT"].folder);
        EXPECT_EQ(readAll(*m, "README.TXT"), readme);
        EXPECT_EQ(readAll(*m, "long FILE name.TXT"), longer);
        EXPECT_EQ(readAll(*m, "db\\Data\\deep.bin"), deep);
        EXPECT_EQ(readAll(*m, "SYSTEM.DAT"), system);
        EXPECT_EQ(m->list("DB\\DATA").size(), 1u);
    }
}

TEST_F(FatImageTest, FollowsAFragmentedChain) {
    Builder b("", 1440);
    b.put("A.BIN", bytesOf(3000, 1)).put("B.BIN", bytesOf(3000, 2)).put("C.BIN", bytesOf(3000, 3));
    b.remove("B.BIN").put("D.BIN", bytesOf(9000, 4));
    // Two runs of clusters, "<8-13> <20-31>": the set-up made the fragment it means to.
    const std::string runs = b.output("mshowfat", "::/D.BIN");
    ASSERT_EQ(std::count(runs.begin(), runs.end(), '<'), 2) << runs;
    auto m = platform::openDisketteImage(b.image().string());
    EXPECT_EQ(readAll(*m, "D.BIN"), bytesOf(9000, 4));
}

// The root entry of an 8.3 name ("NAME    TXT") in a plain 1.44 MB image.
size_t rootEntry(const std::string& img, const std::string& name11) {
    const size_t root = 19 * 512, at = img.find(name11, root);
    return at != std::string::npos && (at - root) % 32 == 0 ? at : throw std::runtime_error(name11);
}

void put16(std::string& img, size_t at, uint32_t v) {
    img[at] = static_cast<char>(v);
    img[at + 1] = static_cast<char>(v >> 8);
}

uint32_t get16(const std::string& img, size_t at) {
    return static_cast<uint8_t>(img[at]) | static_cast<uint8_t>(img[at + 1]) << 8;
}

TEST_F(FatImageTest, DecodesNames) {
    struct Case {
        const char* what;
        std::function<void(std::string&)> patch;
        std::string expected;  // a name the root then holds
    };
    const auto shortAt = [](std::string& img) { return rootEntry(img, "NAME    TXT"); };
    const auto longAt = [](std::string& img) { return rootEntry(img, "LONGFI~1TXT"); };
    const Case cases[] = {
        {"as written", [](std::string&) {}, "Long file name.txt"},
        {"0x05 for a leading 0xE5", [&](std::string& i) { i[shortAt(i)] = 5; }, "\u03c3AME.TXT"},
        {"code page 437", [&](std::string& i) { i[shortAt(i) + 1] = '\x81'; }, "N\u00fcME.TXT"},
        {"no extension", [&](std::string& i) { i.replace(shortAt(i) + 8, 3, "   "); }, "NAME"},
        {"long name in UTF-16", [&](std::string& i) { put16(i, longAt(i) - 31, 0xE9); },
         "\u00e9ong file name.txt"},
        {"surrogate pair",
         [&](std::string& i) {
             put16(i, longAt(i) - 31, 0xD83D), put16(i, longAt(i) - 29, 0xDE00);
         },
         "\U0001F600ng file name.txt"},
        {"checksum mismatch", [&](std::string& i) { i[longAt(i) + 1] = 'X'; }, "LXNGFI~1.TXT"},
        {"chain broken", [&](std::string& i) { i[longAt(i) - 64] = '\xE5'; }, "LONGFI~1.TXT"},
        {"colon in a long name", [&](std::string& i) { put16(i, longAt(i) - 31, ':'); },
         "LONGFI~1.TXT"},
        {"lone surrogate", [&](std::string& i) { put16(i, longAt(i) - 31, 0xDC00); },
         "LONGFI~1.TXT"},
    };
    Builder b("", 1440);
    b.put("NAME.TXT", "x").put("Long file name.txt", "y");
    const std::string good = b.bytes();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string img = good;
        c.patch(img);
        auto m = platform::openDisketteImageBytes(img);
        EXPECT_EQ(byName(m->list("")).count(c.expected), 1u);
        EXPECT_EQ(m->list("").size(), 2u);
    }
}

// What a call raises; code 0 when it raises nothing.
platform::Error errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const platform::Error& e) {
        return e;
    }
    return platform::Error(0, "");
}

TEST_F(FatImageTest, RefusesWhatIsMissingAndEveryWrite) {
    Builder b("", 1440);
    b.put("README.TXT", "text").folder("DB");
    std::shared_ptr<Medium> m = platform::openDisketteImage(b.image().string());
    Medium& d = *m;
    const std::pair<int, std::function<void()>> cases[] = {
        {53, [&] { d.open("NONE.TXT", OpenMode::read, false); }},
        {76, [&] { d.open("NONE\\X.TXT", OpenMode::read, false); }},
        {76, [&] { d.open("README.TXT\\X.TXT", OpenMode::read, false); }},
        {75, [&] { d.open("db", OpenMode::read, false); }},
        {76, [&] { d.list("README.TXT"); }},
        {76, [&] { d.list("NONE"); }},
        {70, [&] { d.open("README.TXT", OpenMode::write, true); }},
        {70, [&] { d.open("NEW.TXT", OpenMode::append, true); }},
        {70, [&] { d.open("NEW.TXT", OpenMode::createNew, true); }},
        {70, [&] { d.makeFolder("NEW"); }},
        {70, [&] { d.removeFolder("DB"); }},
        {70, [&] { d.deleteFile("README.TXT"); }},
        {70, [&] { d.rename("DB", "BD"); }},
        {70, [&] { d.copyFileFrom(d, "README.TXT", "COPY.TXT"); }},
        {53, [&] { platform::openDisketteImage((b.image().parent_path() / "none").string()); }},
        {75, [&] { platform::openDisketteImage(b.image().parent_path().string()); }},
    };
    for (const auto& [code, call] : cases)
        EXPECT_EQ(errorOf(call).code(), code);
    EXPECT_FALSE(d.entry("db\\none"));
    EXPECT_EQ(d.entry("readme.txt")->name, "README.TXT");
    EXPECT_EQ(d.resolve("db\\New\\x.txt"), "DB\\New\\x.txt");
    // An open file keeps its image.
    auto file = d.open("README.TXT", OpenMode::read, false);
    m.reset();
    char text[8];
    EXPECT_EQ(file->read(text, sizeof text), 4u);
}

TEST_F(FatImageTest, ReportsEveryDamage) {
    Builder b("", 1440);
    b.put("DATA.DAT", bytesOf(3000, 1)).folder("SUB").folder("SUB/INNER").folder("TWO");
    const std::string good = b.bytes();
    const size_t data = rootEntry(good, "DATA    DAT"), sub = rootEntry(good, "SUB        ");
    const uint32_t first = get16(good, data + 26), subCluster = get16(good, sub + 26);
    const size_t inner = good.find("INNER      ", (33 + subCluster - 2) * 512);
    uint32_t last = first;
    while (testsupport::fat12Entry(good, last) < 0xFF8)
        last = testsupport::fat12Entry(good, last);

    struct Case {
        const char* expected;
        std::function<void(std::string&)> patch;
    };
    const Case cases[] = {
        {"signature", [](std::string& i) { i[510] = 0; }},
        {"not start with a jump", [](std::string& i) { i[0] = 0; }},
        {"bytes per sector", [](std::string& i) { put16(i, 11, 300); }},
        {"sectors per cluster", [](std::string& i) { i[13] = 3; }},
        {"no FAT", [](std::string& i) { i[16] = 0; }},
        {"do not fit", [](std::string& i) { put16(i, 22, 3000); }},
        {"the image holds", [](std::string& i) { put16(i, 19, 3000); }},
        {"the image holds", [](std::string& i) { i.resize(700 * 1024); }},
        {"shorter than a boot sector", [](std::string& i) { i.resize(100); }},
        {"DATA.DAT loops", [&](std::string& i) { testsupport::setFat12Entry(i, last, first); }},
        {"leaves the volume", [&](std::string& i) { testsupport::setFat12Entry(i, first, 4000); }},
        {"bad cluster", [&](std::string& i) { testsupport::setFat12Entry(i, first, 0xFF7); }},
        {"free cluster", [&](std::string& i) { testsupport::setFat12Entry(i, first, 0); }},
        {"beyond its cluster chain", [&](std::string& i) { put16(i, data + 28, 9000); }},
        {"SUB\\INNER contains itself", [&](std::string& i) { put16(i, inner + 26, subCluster); }},
        {"shares its clusters",
         [&](std::string& i) { put16(i, rootEntry(i, "TWO        ") + 26, subCluster); }},
        {"holds sub twice",
         [&](std::string& i) { i.replace(rootEntry(i, "TWO        "), 3, "sub"); }},
        {"unusable name", [&](std::string& i) { i[data + 1] = 1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        std::string img = good;
        c.patch(img);
        const platform::Error e = errorOf([&] { walk(*platform::openDisketteImageBytes(img)); });
        EXPECT_EQ(e.code(), 57);
        EXPECT_EQ(e.description().rfind("Diskette image damaged: ", 0), 0u) << e.description();
        EXPECT_NE(e.description().find(c.expected), std::string::npos) << e.description();
    }
}

TEST_F(FatImageTest, NamesWhatIsNoFat12OrFat16Image) {
    Builder fat32("-F 32", 40000);
    std::string exfat = Builder("", 1440).bytes();
    exfat.replace(3, 8, "EXFAT   ");
    const std::string gzip = "\x1f\x8b\x08" + std::string(1000, '\0');
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { platform::openDisketteImage(fat32.image().string()); }, "FAT32"},
        {[&] { platform::openDisketteImageBytes(exfat); }, "exFAT"},
        {[&] { platform::openDisketteImageBytes(gzip); }, "gzip-compressed"},
    };
    for (const auto& [open, expected] : cases) {
        SCOPED_TRACE(expected);
        const platform::Error e = errorOf(open);
        EXPECT_EQ(e.code(), 57);
        EXPECT_EQ(e.description().rfind("Not a FAT12 or FAT16 diskette image: ", 0), 0u);
        EXPECT_NE(e.description().find(expected), std::string::npos) << e.description();
    }
}

}  // namespace
