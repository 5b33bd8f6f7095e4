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

Volume::Volume(std::unique_ptr<std::istream> image) : image_(std::move(image)) {
    std::streambuf* buf = image_->rdbuf();
    const std::streampos end = buf->pubseekoff(0, std::ios::end, std::ios::in);
    if (end != std::streampos(-1))
        imageBytes_ = static_cast<uint64_t>(std::streamoff(end));
    std::string head(bootBytes, '\0');
    std::streamsize got = 0;
    if (buf->pubseekpos(0, std::ios::in) != std::streampos(-1))
        got = buf->sgetn(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(std::max<std::streamsize>(got, 0)));
    layout_ = readLayout(head, imageBytes_);

    fat_.resize(layout_.fatBytes);
    read(layout_.fatOffset, reinterpret_cast<char*>(fat_.data()), fat_.size());
    for (uint32_t c = 2; c < layout_.clusters + 2; ++c)
        if (next(c) == 0)
            ++freeClusters_;
}

std::string Volume::label() {
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

void Volume::read(uint64_t offset, char* out, size_t size) {
    if (offset > layout_.volumeBytes || size > layout_.volumeBytes - offset)
        damaged("a read past the end of the volume");  // the checks before should prevent it
    std::streambuf* buf = image_->rdbuf();
    const auto wanted = static_cast<std::streamsize>(size);
    if (buf->pubseekpos(std::streamoff(offset), std::ios::in) == std::streampos(-1) ||
        buf->sgetn(out, wanted) != wanted) {
        if (!imageBytes_ || offset + size > *imageBytes_)
            damaged("the image ends before byte " + std::to_string(offset + size));
        throw Error(err::deviceIO, "Diskette image unreadable at byte " + std::to_string(offset));
    }
}

void Volume::readChain(const std::vector<uint32_t>& chain, uint64_t pos, char* out, size_t size) {
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
        read(layout_.dataOffset + (chain[index] - 2) * unit + within, out, take);
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
        read(layout_.rootOffset, reinterpret_cast<char*>(bytes.data()), bytes.size());
    } else {
        const std::vector<uint32_t> clusters = chain(cluster, path);
        if (clusters.size() * uint64_t{layout_.clusterBytes} > maxFolderBytes)
            damaged(folderText(path) + " is larger than a folder can be");
        bytes.resize(clusters.size() * layout_.clusterBytes);
        readChain(clusters, 0, reinterpret_cast<char*>(bytes.data()), bytes.size());
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

}  // namespace platform::fat
