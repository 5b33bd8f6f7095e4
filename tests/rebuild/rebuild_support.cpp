// The rebuild tests' fixture and the layout of diskette areas in the temporary area.
#include "rebuild/rebuild_support.h"

#include <algorithm>
#include <cstdint>

#include "platform/context.h"
#include "platform/state_folder.h"
#include "state/state.h"
#include "support/set_builder.h"
#include "ui/main_window.h"

namespace rebuildtest {

namespace {

std::string hostRelative(const std::string& name) {
    std::string r = name.substr(name.front() == '\\' ? 1 : 0);
    std::replace(r.begin(), r.end(), '\\', '/');
    return r;
}

std::string slashed(std::string text) {
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

// The cumulative archived sum of each piece, as the descriptor carries it.
std::vector<double> archivedSums(const Layout& layout) {
    std::vector<double> sums;
    std::map<std::string, double> running;
    for (const Piece& p : layout.pieces) {
        const double s = p.split && running.count(p.name)
                             ? testsupport::cumulativeChecksum(running[p.name], p.bytes)
                             : testsupport::archivedChecksum(p.bytes);
        running[p.name] = s;
        sums.push_back(s);
    }
    return sums;
}

std::string numberOf(double value) {
    return std::to_string(static_cast<unsigned long long>(value));
}

std::string volumeFileName(int disk) {
    const std::string number = std::to_string(disk);
    return "disk" + std::string(4 - number.size(), '0') + number + ".dat";
}

// Diskette n's files in folder(n): diskette 1's volume file and descriptor, every piece and
// every extra file.
template <typename FolderOf>
void writeTrees(const Layout& layout, FolderOf folder) {
    for (int d = 1; d <= layout.disks; ++d)
        std::filesystem::create_directories(folder(d));
    testsupport::writeFile(folder(1) / "disk0001.dat", "VELT VOLUME ID:  812\nvolume 1\n");
    testsupport::writeFile(folder(1) / "archive.dat", descriptorOf(layout));
    for (const auto& [where, bytes] : layout.extraFiles) {
        const size_t cut = where.find('\\');
        testsupport::writeFile(
            folder(std::stoi(where.substr(0, cut))) / hostRelative(where.substr(cut)), bytes);
    }
    for (const Piece& p : layout.pieces) {
        const bool kcd = layout.keycodeAsKcd && p.name == "\\keycode.rec";
        testsupport::writeFile(folder(p.disk) / (kcd ? "keycode.kcd" : hostRelative(p.name)),
                               p.bytes);
    }
}

}  // namespace

void RebuildTest::SetUp() {
    app::resetState();
    platform::resetContext();
    std::filesystem::create_directories(temp());
    std::filesystem::create_directories(card());
    drives.define('A', platform::DriveType::removable, std::nullopt);
    drives.define('C', platform::DriveType::fixed, systemMedium());
    drives.define('E', platform::DriveType::removable, cardMedium());
    platform::installDrives(&drives);
    platform::setTempFolder("C:\\Temp");
    platform::setStateFolder(stateFolder());
    window = std::make_unique<ui::RecordingWindow>();
    ui::installWindow(window.get());
    app::flashDrive = "E:";
}

void RebuildTest::TearDown() {
    ui::installWindow(nullptr);
    platform::setStateFolder({});
    platform::resetContext();
    app::resetState();
}

platform::MediumOptions RebuildTest::systemMedium() const {
    platform::MediumOptions m;
    m.root = scratch.path() / "c";
    m.label = "SYSTEM";
    return m;
}

platform::MediumOptions RebuildTest::cardMedium() const {
    platform::MediumOptions m;
    m.root = card();
    return m;
}

std::string descriptorOf(const Layout& layout) {
    const std::string& end = layout.lineEnd;
    std::string text = "VELT ARCHIVE ID: 812" + end;
    text += "NUMDISKS: " + std::to_string(layout.disks) + end;
    for (const std::string& h : layout.headerLines)
        text += h + end;
    const std::vector<double> sums = archivedSums(layout);
    for (size_t i = 0; i < layout.pieces.size(); ++i) {
        const Piece& p = layout.pieces[i];
        text += "FILE: " + std::to_string(p.disk) + " " + (p.split ? "1" : "0") + " " +
                (p.lastPart ? "1" : "0") + " " + numberOf(sums[i]) + " " + slashed(p.name) + " " +
                slashed(p.extraText) + end;
    }
    return text;
}

void writeDiskettes(const Layout& layout, const std::filesystem::path& root) {
    auto folder = [&](int d) { return root / ("disk" + std::to_string(d)); };
    writeTrees(layout, folder);
    for (int d = 2; d <= layout.disks; ++d)
        testsupport::writeFile(folder(d) / volumeFileName(d),
                               "VELT VOLUME ID:  812\nvolume " + std::to_string(d) + "\n");
}

void RebuildTest::layOut(const Layout& layout) {
    std::filesystem::create_directories(flat());
    writeTrees(layout, [&](int d) { return area(d); });

    const std::vector<double> sums = archivedSums(layout);
    app::fileTable.clear();
    int16_t n = 0;
    for (size_t i = 0; i < layout.pieces.size(); ++i) {
        const Piece& p = layout.pieces[i];
        app::FileEntry& e = app::fileTable(++n);
        e.disk = static_cast<int16_t>(p.disk);
        e.split = p.split;
        e.lastPart = p.lastPart;
        e.archivedSum = sums[i];
        e.name = p.name;
        e.extraText = p.extraText + (layout.lineEnd == "\r\n" ? "\r" : "");
    }
    app::fileCount = n;
    app::totalDisks = static_cast<int16_t>(layout.disks);
    app::currentDisk = static_cast<int16_t>(layout.disks);
    app::keycodeRecFound = !layout.keycodeAsKcd;
}

std::map<std::string, std::string> RebuildTest::treeOf(const std::filesystem::path& root) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string rel = std::filesystem::relative(entry.path(), root).generic_string();
        if (entry.is_directory())
            tree[rel + "/"] = "";
        else
            tree[rel] = testsupport::readFile(entry.path());
    }
    return tree;
}

}  // namespace rebuildtest
