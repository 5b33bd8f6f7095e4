// The store of diskette attempts: in memory for the run, and in the state folder's diskettes
// folder when there is one.
#include "platform/diskette_store.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/block_source.h"
#include "platform/file_sync.h"
#include "platform/state_folder.h"

namespace platform {

namespace {

std::vector<std::shared_ptr<StoredDiskette>>& memory() {
    static std::vector<std::shared_ptr<StoredDiskette>> kept;
    return kept;
}

uint64_t& useCounter() {
    static uint64_t counter = 0;
    return counter;
}

bool holds(const StoredDiskette& d, uint64_t s) {
    return d.state[s] == SectorState::read;
}

bool sameSector(const std::string& a, uint64_t sa, const std::string& b, uint64_t sb) {
    return std::memcmp(a.data() + sa * blockBytes, b.data() + sb * blockBytes, blockBytes) == 0;
}

// The same diskette: the same size and boot sector (with the serial number it got when it was
// formatted), and every identifying sector that both read alike, a FAT sector that one of
// them read only in another FAT compared with that copy.
bool identifies(const StoredDiskette& d, const DisketteLook& look) {
    const std::string& data = *look.data;
    const std::vector<bool>& readable = *look.readable;
    if (d.bytes != look.bytes || !holds(d, 0) || !readable[0])
        return false;
    for (uint64_t s = 0; s < look.end; ++s) {
        const uint64_t m = look.mirror[s];
        if (readable[s] && holds(d, s)) {
            if (!sameSector(data, s, d.data, s))
                return false;
        } else if (readable[s] && m != s && holds(d, m)) {
            if (!sameSector(data, s, d.data, m))
                return false;
        } else if (holds(d, s) && m != s && readable[m]) {
            if (!sameSector(data, m, d.data, s))
                return false;
        }
    }
    return true;
}

// A name from the size and the boot sector, so that a look finds its candidates by name.
std::string stemOf(const DisketteLook& look) {
    uint64_t h = 1469598103934665603ull ^ look.bytes;
    for (uint32_t i = 0; i < blockBytes; ++i) {
        h ^= static_cast<uint8_t>((*look.data)[i]);
        h *= 1099511628211ull;
    }
    static const char digits[] = "0123456789abcdef";
    std::string out(16, '0');
    for (int i = 15; i >= 0; --i, h >>= 4)
        out[static_cast<size_t>(i)] = digits[h & 15];
    return out;
}

std::filesystem::path withExtension(const std::filesystem::path& file, const char* ext) {
    std::filesystem::path out = file;
    out += ext;
    return out;
}

// ---- The map file ----
//   # VELT diskette map
//   bytes 1474560
//   used 17
//   0 33 +        first sector, count, + read / - tried and failed / ? not tried

char stateMark(SectorState s) {
    return s == SectorState::read ? '+' : s == SectorState::failed ? '-' : '?';
}

std::string mapText(const StoredDiskette& d) {
    std::ostringstream out;
    out << "# VELT diskette map" << '\n'
        << "bytes " << d.bytes << '\n'
        << "used " << d.used << '\n';
    const uint64_t count = d.state.size();
    for (uint64_t s = 0; s < count;) {
        uint64_t e = s + 1;
        while (e < count && d.state[e] == d.state[s])
            ++e;
        out << s << " " << (e - s) << " " << stateMark(d.state[s]) << "\n";
        s = e;
    }
    return out.str();
}

// The map's size and use, and its sector states; false for a map this reader cannot trust.
bool parseMap(const std::string& text, StoredDiskette& d) {
    std::istringstream in(text);
    std::string line;
    bool haveBytes = false;
    uint64_t covered = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "bytes") {
            words >> d.bytes;
            if (!words || d.bytes == 0 || d.bytes > storedSectors * blockBytes)
                return false;
            d.state.assign((d.bytes + blockBytes - 1) / blockBytes, SectorState::untried);
            haveBytes = true;
        } else if (first == "used") {
            words >> d.used;
        } else {
            uint64_t count = 0;
            char mark = 0;
            words >> count >> mark;
            uint64_t at = 0;
            try {
                at = std::stoull(first);
            } catch (...) {
                return false;  // not a number: a damaged map
            }
            if (!words || !haveBytes || at != covered || count > d.state.size() - at)
                return false;
            const SectorState s = mark == '+'   ? SectorState::read
                                  : mark == '-' ? SectorState::failed
                                                : SectorState::untried;
            std::fill(d.state.begin() + static_cast<long>(at),
                      d.state.begin() + static_cast<long>(at + count), s);
            covered = at + count;
        }
    }
    return haveBytes && covered == d.state.size();
}

bool readWhole(const std::filesystem::path& file, std::string& out) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    out = bytes.str();
    return !in.bad();
}

std::shared_ptr<StoredDiskette> load(const std::filesystem::path& stemFile) {
    auto d = std::make_shared<StoredDiskette>();
    std::string text;
    if (!readWhole(withExtension(stemFile, ".map"), text) || !parseMap(text, *d))
        return nullptr;
    if (!readWhole(withExtension(stemFile, ".img"), d->data))
        return nullptr;
    const uint64_t size = d->state.size() * blockBytes;
    // Sectors the map claims lie inside the image, which is written before the map.
    if (d->data.size() > size)
        return nullptr;
    const uint64_t held = d->data.size() / blockBytes;
    for (uint64_t s = held; s < d->state.size(); ++s)
        if (d->state[s] == SectorState::read)
            return nullptr;
    d->data.resize(size, '\0');
    d->file = stemFile;
    d->known = true;
    return d;
}

void writeMap(const StoredDiskette& d) {
    const std::filesystem::path map = withExtension(d.file, ".map");
    const std::filesystem::path beside = withExtension(d.file, ".map.new");
    {
        std::ofstream out(beside, std::ios::binary | std::ios::trunc);
        out << mapText(d);
        if (!out.flush())
            return;  // the store is a help: a full disk must not stop the read
    }
    syncHostFile(beside);
    std::error_code ec;
    std::filesystem::rename(beside, map, ec);
}

// The maps of the store's folder with their use numbers (0 for a map that does not parse).
using StoredMaps = std::vector<std::pair<uint64_t, std::filesystem::path>>;
StoredMaps storedMaps(const std::filesystem::path& folder) {
    StoredMaps maps;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
        if (e.path().extension() != ".map")
            continue;
        StoredDiskette d;
        std::string text;
        if (readWhole(e.path(), text))
            parseMap(text, d);
        maps.emplace_back(d.used, e.path());
    }
    return maps;
}

// The store's folder holds the newest diskettes only; the oldest beyond the bound go. `maps`
// are the folder's maps as they were before `newest` was written.
void bound(StoredMaps maps, const StoredDiskette& newest) {
    const std::filesystem::path map = withExtension(newest.file, ".map");
    std::erase_if(maps, [&](const auto& m) { return m.second == map; });
    maps.emplace_back(newest.used, map);
    if (maps.size() <= storedDiskettes)
        return;
    std::sort(maps.begin(), maps.end());
    std::error_code ec;
    for (size_t i = 0; i + storedDiskettes < maps.size(); ++i) {
        std::filesystem::path stem = maps[i].second;
        stem.replace_extension();
        std::filesystem::remove(withExtension(stem, ".map"), ec);
        std::filesystem::remove(withExtension(stem, ".img"), ec);
        auto& kept = memory();
        kept.erase(std::remove_if(kept.begin(), kept.end(),
                                  [&](const auto& d) { return d->file == stem; }),
                   kept.end());
    }
}

// The next use number: past every one the folder's maps and this run have given.
uint64_t nextUse(const StoredMaps& maps) {
    uint64_t highest = useCounter();
    for (const auto& m : maps)
        highest = std::max(highest, m.first);
    return useCounter() = highest + 1;
}

void remember(std::shared_ptr<StoredDiskette> d) {
    auto& kept = memory();
    kept.erase(std::remove(kept.begin(), kept.end(), d), kept.end());
    kept.push_back(d);
    if (kept.size() > storedDiskettes)
        kept.erase(kept.begin());
}

// A stored diskette of the folder that the look identifies, or a file name for a new one.
std::shared_ptr<StoredDiskette> findOnDisk(const std::filesystem::path& folder,
                                           const DisketteLook& look,
                                           std::filesystem::path& freeStem) {
    const std::string stem = stemOf(look);
    for (int n = 1;; ++n) {
        const std::filesystem::path candidate =
            folder / (n == 1 ? stem : stem + "~" + std::to_string(n));
        std::error_code ec;
        if (!std::filesystem::exists(withExtension(candidate, ".map"), ec)) {
            freeStem = candidate;
            return nullptr;
        }
        if (auto d = load(candidate); d && identifies(*d, look))
            return d;
    }
}

}  // namespace

std::shared_ptr<StoredDiskette> recallDiskette(const DisketteLook& look) {
    const uint64_t sectors = look.readable->size();
    if (sectors == 0 || sectors > storedSectors || !(*look.readable)[0])
        return nullptr;
    const std::filesystem::path folder = statePart(StatePart::diskettes);
    for (const auto& each : memory()) {
        if ((each->file.empty() || each->file.parent_path() == folder) && identifies(*each, look)) {
            std::shared_ptr<StoredDiskette> d = each;  // remember() moves it in the list
            remember(d);
            return d;
        }
    }
    std::filesystem::path freeStem;
    std::shared_ptr<StoredDiskette> found;
    if (!folder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        found = findOnDisk(folder, look, freeStem);
    }
    if (!found) {
        found = std::make_shared<StoredDiskette>();
        found->bytes = look.bytes;
        found->data.assign(sectors * blockBytes, '\0');
        found->state.assign(sectors, SectorState::untried);
        found->file = freeStem;
    }
    // The folder's maps are read once: for the next use number, then for the bound.
    const StoredMaps maps = folder.empty() ? StoredMaps() : storedMaps(folder);
    found->used = folder.empty() ? ++useCounter() : nextUse(maps);
    remember(found);
    if (!found->file.empty()) {
        writeMap(*found);
        bound(maps, *found);
    }
    return found;
}

void saveDisketteSectors(StoredDiskette& d, uint64_t first, uint64_t end) {
    ++d.version;
    if (d.file.empty() || first >= end)
        return;
    const std::filesystem::path image = withExtension(d.file, ".img");
    std::error_code ec;
    if (!std::filesystem::exists(image, ec)) {
        std::ofstream create(image, std::ios::binary);
    }
    {
        std::fstream out(image, std::ios::binary | std::ios::in | std::ios::out);
        for (uint64_t s = first; s < end; ++s) {
            if (d.state[s] != SectorState::read)
                continue;
            out.seekp(static_cast<std::streamoff>(s * blockBytes));
            out.write(d.data.data() + s * blockBytes, blockBytes);
        }
        if (!out.flush())
            return;
    }
    syncHostFile(image);
    writeMap(d);
}

void forgetStoredDiskettes() {
    memory().clear();
}

}  // namespace platform
