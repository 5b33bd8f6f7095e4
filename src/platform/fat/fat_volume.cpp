// One FAT12/FAT16 volume read from an image: its FAT, cluster chains and folders, all checked.
#include "platform/fat/fat_volume.h"

#include <algorithm>
#include <cstring>

#include "platform/error.h"
#include "platform/fat/fat_names.h"
#include "platform/text_case.h"

namespace platform::fat {

namespace {

constexpr size_t maxDepth = 64;                  // folders below the root
constexpr uint64_t maxFolderBytes = 65536 * 32;  // the most entries a folder may have
constexpr uint8_t attrHidden = 0x02, attrSystem = 0x04, attrLabel = 0x08, attrFolder = 0x10;
constexpr uint8_t attrLongName = 0x0F;

uint32_t le16(const uint8_t* b) {
    return b[0] | uint32_t{b[1]} << 8;
}

uint32_t le32(const uint8_t* b) {
    return le16(b) | le16(b + 2) << 16;
}

std::vector<std::string> namesOf(const std::string& path) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = std::min(path.find('\\', start), path.size());
        if (end > start)
            names.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::string folderText(const std::string& path) {
    return path.empty() ? "the root folder" : "the folder " + path;
}

}  // namespace

const Record* Folder::find(const std::string& name) const {
    auto it = byLowerName.find(lowerAscii(name));
    return it == byLowerName.end() ? nullptr : &records[it->second];
}

Volume::Volume(std::unique_ptr<BlockSource> source) : copy_(std::move(source)) {
    copy_.readThrough(1);
    if (copy_.sectors() != 0 && !copy_.readable(0))
        damaged("the boot sector cannot be read");
    const auto headBytes = static_cast<size_t>(std::min<uint64_t>(copy_.bytes(), bootBytes));
    layout_ = readLayout(std::string_view(copy_.data()).substr(0, headBytes), copy_.bytes());
    // What naming the drive needs: the FATs and the root folder; they tell the diskette too.
    const uint64_t systemEnd = (layout_.dataOffset + blockBytes - 1) / blockBytes;
    copy_.identifyBy(systemEnd, fatMirrors());
    copy_.readThrough(systemEnd);
    readFat();
    for (uint32_t c = 2; c < layout_.clusters + 2; ++c)
        if (next(c) == 0)
            ++freeClusters_;
}

// Each sector of a FAT with the sector of another FAT that holds the same bytes.
std::vector<uint64_t> Volume::fatMirrors() const {
    std::vector<uint64_t> mirror;
    const uint64_t end = (layout_.dataOffset + blockBytes - 1) / blockBytes;
    for (uint64_t s = 0; s < end; ++s)
        mirror.push_back(s);
    if (layout_.fatCopies < 2 || layout_.fatStride % blockBytes != 0 ||
        layout_.fatOffset % blockBytes != 0)
        return mirror;
    const uint64_t first = layout_.fatOffset / blockBytes, stride = layout_.fatStride / blockBytes;
    for (uint32_t copy = 0; copy < layout_.fatCopies; ++copy)
        for (uint64_t i = 0; i < stride; ++i) {
            const uint64_t s = first + copy * stride + i;
            if (s < end)
                mirror[s] = first + (copy == 0 ? 1 : 0) * stride + i;
        }
    return mirror;
}

// The first FAT, each of its sectors that did not read taken from the next copy that did.
// Where both read but differ, the first is trusted: it is the one the system that wrote the
// diskette reads and updates first, so a second copy that differs is one whose update was
// cut short. The plan of the read follows from it: the tracks that hold a cluster in use.
void Volume::readFat() {
    fat_.resize(layout_.fatBytes);
    std::optional<uint64_t> lost;
    for (uint64_t at = 0; at < layout_.fatBytes; at += blockBytes) {
        const size_t size =
            static_cast<size_t>(std::min<uint64_t>(blockBytes, layout_.fatBytes - at));
        std::optional<uint64_t> bad;
        for (uint32_t copy = 0; copy < layout_.fatCopies; ++copy) {
            bad = read(layout_.fatOffset + copy * layout_.fatStride + at,
                       reinterpret_cast<char*>(&fat_[at]), size);
            if (!bad)
                break;
        }
        if (bad && !lost)
            lost = bad;
    }
    if (lost) {
        // Nothing tells which tracks are in use: the whole diskette, for another attempt.
        copy_.plan({});
        copy_.finish();
        damaged("the FAT cannot be read in any copy (sector " + std::to_string(*lost) + ")");
    }
    if (!fatCopiesAgree()) {
        copy_.plan({});
        return;
    }
    std::vector<bool> wanted(copy_.sectors(), false);
    const uint32_t bad = layout_.fat16 ? 0xFFF7 : 0xFF7;
    const uint64_t unit = layout_.clusterBytes;
    for (uint32_t c = 2; c < layout_.clusters + 2; ++c) {
        const uint32_t v = next(c);
        if (v == 0 || v == bad)
            continue;
        const uint64_t first = (layout_.dataOffset + (c - 2) * unit) / blockBytes;
        const uint64_t end = (layout_.dataOffset + (c - 1) * unit + blockBytes - 1) / blockBytes;
        for (uint64_t s = first; s < end && s < wanted.size(); ++s)
            wanted[s] = true;
    }
    copy_.plan(std::move(wanted));
}

// Whether the copies of the FAT that read agree on which clusters are in use; where they do
// not, neither can tell which tracks hold data.
bool Volume::fatCopiesAgree() {
    const std::string& data = copy_.data();
    const auto entry = [&](uint32_t copy, uint32_t c, bool& ok) -> uint32_t {
        const uint64_t base = layout_.fatOffset + copy * layout_.fatStride;
        const uint64_t at = base + (layout_.fat16 ? uint64_t{c} * 2 : c + c / 2);
        ok = copy_.readable(at / blockBytes) && copy_.readable((at + 1) / blockBytes);
        const uint32_t pair = static_cast<uint8_t>(data[at]) |
                              static_cast<uint32_t>(static_cast<uint8_t>(data[at + 1])) << 8;
        if (layout_.fat16)
            return pair;
        return c & 1 ? pair >> 4 : pair & 0xFFF;
    };
    for (uint32_t copy = 1; copy < layout_.fatCopies; ++copy)
        for (uint32_t c = 2; c < layout_.clusters + 2; ++c) {
            bool firstOk = false, otherOk = false;
            const uint32_t a = entry(0, c, firstOk), b = entry(copy, c, otherOk);
            if (firstOk && otherOk && (a == 0) != (b == 0))
                return false;
        }
    return true;
}

std::string Volume::label() {
    // A root folder that did not read names no volume; reading the files reports it.
    const uint64_t rootEnd = layout_.rootOffset + uint64_t{layout_.rootEntries} * entryBytes;
    if (copy_.firstUnread(layout_.rootOffset / blockBytes, (rootEnd + blockBytes - 1) / blockBytes))
        return "";
    folderAt({0}, "");
    return label_;
}

uint32_t Volume::next(uint32_t cluster) const {
    if (layout_.fat16)
        return le16(&fat_[size_t{cluster} * 2]);
    const uint32_t pair = le16(&fat_[cluster + cluster / 2]);
    return cluster & 1 ? pair >> 4 : pair & 0xFFF;
}

std::vector<uint32_t> Volume::chain(uint32_t first, const std::string& path) {
    const uint32_t bad = layout_.fat16 ? 0xFFF7 : 0xFF7;
    std::vector<uint32_t> out;
    for (uint32_t c = first;;) {
        if (c < 2 || c > layout_.clusters + 1)
            damaged("the cluster chain of " + path + " leaves the volume");
        // Numbers in range that go on longer than there are clusters must come round again.
        if (out.size() == layout_.clusters)
            damaged("the cluster chain of " + path + " loops");
        out.push_back(c);
        c = next(c);
        if (c > bad)
            return out;
        if (c == bad)
            damaged("the cluster chain of " + path + " runs into a bad cluster");
        if (c == 0)
            damaged("the cluster chain of " + path + " runs into a free cluster");
    }
}

std::vector<uint32_t> Volume::fileChain(const Record& file, const std::string& path) {
    const uint64_t length = file.entry.length;
    if (length == 0)
        return {};
    std::vector<uint32_t> clusters;
    if (file.cluster != 0)
        clusters = chain(file.cluster, path);
    if (clusters.size() * uint64_t{layout_.clusterBytes} < length)
        damaged("the length of " + path + " lies beyond its cluster chain");
    return clusters;
}

std::optional<uint64_t> Volume::read(uint64_t offset, char* out, size_t size) {
    if (offset > layout_.volumeBytes || size > layout_.volumeBytes - offset)
        damaged("a read past the end of the volume");  // the checks before should prevent it
    if (size == 0)
        return std::nullopt;
    copy_.need(offset / blockBytes, (offset + size - 1) / blockBytes + 1);
    std::memcpy(out, copy_.data().data() + offset, size);
    return copy_.firstUnread(offset / blockBytes, (offset + size - 1) / blockBytes + 1);
}

void Volume::readChain(const std::vector<uint32_t>& chain, uint64_t pos, char* out, size_t size,
                       const std::string& path) {
    const uint64_t unit = layout_.clusterBytes;
    while (size > 0) {
        const size_t index = static_cast<size_t>(pos / unit);
        const uint64_t within = pos % unit;
        // Neighbouring clusters go in one read: most files are not fragmented.
        size_t run = 1;
        while (index + run < chain.size() && chain[index + run] == chain[index + run - 1] + 1 &&
               run * unit < within + size)
            ++run;
        const size_t take = static_cast<size_t>(std::min<uint64_t>(run * unit - within, size));
        if (const auto bad =
                read(layout_.dataOffset + (chain[index] - 2) * unit + within, out, take))
            throw Error(err::deviceIO, "Diskette sector " + std::to_string(*bad) + " of " + path +
                                           " cannot be read");
        pos += take;
        out += take;
        size -= take;
    }
}

Place Volume::locate(const std::string& path) {
    Place place;
    place.record.entry.folder = true;
    const std::vector<std::string> names = namesOf(path);
    for (size_t i = 0; i < names.size(); ++i) {
        const Record* found = nullptr;
        if (place.record.entry.folder) {
            place.lineage.push_back(place.record.cluster);
            found = folderAt(place.lineage, place.path).find(names[i]);
        }
        if (!found) {
            place.kind = i + 1 == names.size() && place.record.entry.folder ? Place::missing
                                                                            : Place::missingFolder;
            for (; i < names.size(); ++i)
                place.path = joinPath(place.path, names[i]);
            return place;
        }
        place.record = *found;
        place.path = joinPath(place.path, found->entry.name);
    }
    return place;
}

const Folder& Volume::folder(const Place& place) {
    std::vector<uint32_t> lineage = place.lineage;
    lineage.push_back(place.record.cluster);
    return folderAt(lineage, place.path);
}

const Folder& Volume::folderAt(const std::vector<uint32_t>& lineage, const std::string& path) {
    const uint32_t cluster = lineage.back();
    if (auto it = folders_.find(cluster); it != folders_.end())
        return it->second;
    if (lineage.size() > maxDepth + 1)
        damaged("folders nested deeper than " + std::to_string(maxDepth) + " levels at " + path);
    std::vector<uint8_t> bytes;
    if (cluster == 0) {
        bytes.resize(size_t{layout_.rootEntries} * entryBytes);
        if (read(layout_.rootOffset, reinterpret_cast<char*>(bytes.data()), bytes.size()))
            damaged("the root folder cannot be read");
    } else {
        const std::vector<uint32_t> clusters = chain(cluster, path);
        if (clusters.size() * uint64_t{layout_.clusterBytes} > maxFolderBytes)
            damaged(folderText(path) + " is larger than a folder can be");
        bytes.resize(clusters.size() * layout_.clusterBytes);
        try {
            readChain(clusters, 0, reinterpret_cast<char*>(bytes.data()), bytes.size(), path);
        } catch (const Error& e) {
            if (e.description().rfind("Diskette image damaged", 0) == 0)
                throw;
            damaged(folderText(path) + " cannot be read");
        }
    }
    return folders_.emplace(cluster, parse(bytes, lineage, path)).first->second;
}

Folder Volume::parse(const std::vector<uint8_t>& bytes, const std::vector<uint32_t>& lineage,
                     const std::string& path) {
    const uint32_t self = lineage.back();
    Folder folder;
    LongName longName;
    for (size_t at = 0; at + entryBytes <= bytes.size(); at += entryBytes) {
        const uint8_t* e = &bytes[at];
        const uint8_t attr = e[11];
        if (e[0] == 0x00)
            break;
        if (e[0] == 0xE5) {
            longName.reset();
        } else if ((attr & 0x3F) == attrLongName) {
            longName.add(e);
        } else if (attr & attrLabel) {
            if (self == 0 && label_.empty())
                label_ = labelName(e);
            longName.reset();
        } else if (std::memcmp(e, ".          ", 11) == 0 ||
                   std::memcmp(e, "..         ", 11) == 0) {
            longName.reset();
        } else {
            std::optional<std::string> name = longName.take(e);
            if (!name)
                name = shortName(e);
            if (!name)
                damaged(folderText(path) + " holds an entry with an unusable name");
            Record r;
            r.entry.name = *name;
            r.entry.folder = attr & attrFolder;
            r.entry.hidden = attr & (attrHidden | attrSystem);
            r.entry.length = r.entry.folder ? 0 : le32(e + 28);
            r.cluster = le16(e + 26);
            // A second entry of a name would hide behind the first in every look-up.
            if (!folder.byLowerName.emplace(lowerAscii(r.entry.name), folder.records.size()).second)
                damaged(folderText(path) + " holds " + r.entry.name + " twice");
            folder.records.push_back(std::move(r));
        }
    }
    for (size_t i = 0; i < folder.records.size(); ++i) {
        const Record& r = folder.records[i];
        if (!r.entry.folder)
            continue;
        const std::string inner = joinPath(path, r.entry.name);
        if (r.cluster == 0)
            damaged(folderText(inner) + " leads back to the root folder");
        if (std::find(lineage.begin(), lineage.end(), r.cluster) != lineage.end())
            damaged(folderText(inner) + " contains itself");
        auto [it, added] = parents_.emplace(r.cluster, std::pair(self, i));
        if (!added && it->second != std::pair(self, i))
            damaged(folderText(inner) + " shares its clusters with another folder");
    }
    return folder;
}

void Volume::walk(const std::vector<uint32_t>& lineage, const std::string& path,
                  std::map<uint32_t, Owner>& owners) {
    const Folder& here = folderAt(lineage, path);
    const uint64_t unit = layout_.clusterBytes;
    for (const Record& r : here.records) {
        const std::string inner = joinPath(path, r.entry.name);
        if (r.entry.folder) {
            std::vector<uint32_t> deeper = lineage;
            deeper.push_back(r.cluster);
            walk(deeper, inner, owners);
            continue;
        }
        std::vector<uint32_t> clusters;
        try {
            clusters = fileChain(r, inner);
        } catch (const Error&) {
            continue;  // reading the file reports it
        }
        for (size_t i = 0; i < clusters.size(); ++i)
            owners.emplace(clusters[i], Owner{inner, i * unit, r.entry.length});
    }
}

DisketteRead Volume::whole() {
    copy_.finish();
    DisketteRead out;
    out.image = copy_.data().substr(0, static_cast<size_t>(copy_.bytes()));
    out.unread = copy_.unread();
    out.identity = (layout_.dataOffset + blockBytes - 1) / blockBytes;
    if (out.unread.empty())
        return out;
    // A FAT sector that never read is written as the other FAT gives it, so that an image of
    // the diskette reads as the diskette did.
    const std::vector<uint64_t> mirror = fatMirrors();
    for (uint64_t sector : out.unread) {
        if (sector >= mirror.size() || mirror[sector] == sector || !copy_.readable(mirror[sector]))
            continue;
        const uint64_t at = sector * blockBytes;
        if (at + blockBytes <= out.image.size())
            out.image.replace(at, blockBytes, copy_.data(), mirror[sector] * blockBytes,
                              blockBytes);
    }
    std::map<uint32_t, Owner> owners;
    try {
        walk({0}, "", owners);
    } catch (const Error&) {
        // A folder that cannot be read: which files its sectors held is not known.
        out.folderUnreadable = true;
    }
    const uint64_t unit = layout_.clusterBytes;
    const uint64_t fatEnd = layout_.fatOffset + uint64_t{layout_.fatCopies} * layout_.fatStride;
    for (uint64_t sector : out.unread) {
        const uint64_t at = sector * blockBytes;
        if (at >= layout_.fatOffset && at < fatEnd) {
            const uint64_t within = (at - layout_.fatOffset) % layout_.fatStride;
            if (within < layout_.fatBytes)
                ++out.fromOtherFat;
            else
                ++out.unneeded;
            continue;
        }
        if (at < layout_.dataOffset ||
            at >= layout_.dataOffset + uint64_t{layout_.clusters} * unit) {
            ++out.unneeded;  // reserved sectors, or past the last cluster
            continue;
        }
        const auto cluster = static_cast<uint32_t>((at - layout_.dataOffset) / unit + 2);
        const auto owner = owners.find(cluster);
        if (owner == owners.end() ||
            owner->second.start + (at - layout_.dataOffset) % unit >= owner->second.length) {
            ++out.unneeded;
            continue;
        }
        if (std::find(out.filesHit.begin(), out.filesHit.end(), owner->second.path) ==
            out.filesHit.end())
            out.filesHit.push_back(owner->second.path);
    }
    return out;
}

}  // namespace platform::fat
