// A diskette image as a read-only medium, and the factory the rest of the converter uses.
#include "platform/fat/fat_image.h"

#include <algorithm>
#include <filesystem>

#include "platform/error.h"
#include "platform/fat/fat_volume.h"
#include "platform/image_medium.h"
#include "platform/kept_images.h"

namespace platform::fat {

namespace {

class FatFile : public MediumFile {
  public:
    FatFile(std::shared_ptr<Volume> volume, std::vector<uint32_t> chain, uint64_t length,
            std::string path)
        : volume_(std::move(volume)),
          chain_(std::move(chain)),
          length_(length),
          path_(std::move(path)) {}

    size_t read(void* buffer, size_t size) override {
        if (!volume_)
            raise(err::badFileName);
        const auto take = static_cast<size_t>(std::min<uint64_t>(size, length_ - pos_));
        volume_->readChain(chain_, pos_, static_cast<char*>(buffer), take, path_);
        pos_ += take;
        return take;
    }
    void write(const void*, size_t) override { raise(err::permissionDenied); }
    void close() override { volume_.reset(); }

  private:
    std::shared_ptr<Volume> volume_;  // null once closed
    std::vector<uint32_t> chain_;
    uint64_t length_;
    std::string path_;
    uint64_t pos_ = 0;
};

}  // namespace

FatImage::FatImage(std::unique_ptr<BlockSource> source)
    : volume_(std::make_shared<Volume>(std::move(source))) {}

std::vector<MediumEntry> FatImage::list(const std::string& folder) {
    const Place place = volume_->locate(folder);
    if (place.kind != Place::found || !place.record.entry.folder)
        raise(err::pathNotFound);
    std::vector<MediumEntry> entries;
    for (const Record& r : volume_->folder(place).records)
        entries.push_back(r.entry);
    return entries;
}

std::optional<MediumEntry> FatImage::entry(const std::string& path) {
    const Place place = volume_->locate(path);
    if (place.kind != Place::found)
        return std::nullopt;
    return place.record.entry;
}

std::string FatImage::resolve(const std::string& path) {
    return volume_->locate(path).path;
}

std::unique_ptr<MediumFile> FatImage::open(const std::string& path, OpenMode mode, bool) {
    if (mode != OpenMode::read)
        raise(err::permissionDenied);
    const Place place = volume_->locate(path);
    if (place.kind == Place::missing)
        raise(err::fileNotFound);
    if (place.kind == Place::missingFolder)
        raise(err::pathNotFound);
    if (place.record.entry.folder)
        raise(err::pathFileAccess);
    return std::make_unique<FatFile>(volume_, volume_->fileChain(place.record, place.path),
                                     place.record.entry.length, place.path);
}

void FatImage::makeFolder(const std::string&) {
    raise(err::permissionDenied);
}

void FatImage::removeFolder(const std::string&) {
    raise(err::permissionDenied);
}

void FatImage::deleteFile(const std::string&) {
    raise(err::permissionDenied);
}

void FatImage::rename(const std::string&, const std::string&) {
    raise(err::permissionDenied);
}

void FatImage::copyFileFrom(Medium&, const std::string&, const std::string&) {
    raise(err::permissionDenied);
}

uint64_t FatImage::freeBytes() {
    return volume_->freeClusters() * volume_->layout().clusterBytes;
}

uint64_t FatImage::clusterBytes() {
    return volume_->layout().clusterBytes;
}

std::string FatImage::label() {
    return volume_->label();
}

void FatImage::flushTree(const std::string&) {}

std::optional<DisketteRead> FatImage::disketteRead() {
    return volume_->whole();
}

bool FatImage::disketteReadBefore() {
    return volume_->readBefore();
}

}  // namespace platform::fat

namespace platform {

std::shared_ptr<Medium> openDisketteImage(const std::filesystem::path& hostFile,
                                          std::map<uint64_t, std::optional<uint32_t>> badSectors) {
    std::unique_ptr<BlockSource> source = openImageBlocks(hostFile);
    // A kept image holds zeros where its diskette never read: they are not the diskette's.
    for (uint64_t sector : keptBadSectors(hostFile))
        badSectors.emplace(sector, std::nullopt);
    if (!badSectors.empty())
        source = std::make_unique<FaultyBlocks>(std::move(source), std::move(badSectors));
    return openDisketteBlocks(std::move(source));
}

std::shared_ptr<Medium> openDisketteImageBytes(std::string bytes) {
    return openDisketteBlocks(memoryBlocks(std::move(bytes)));
}

std::shared_ptr<Medium> openDisketteBlocks(std::unique_ptr<BlockSource> source) {
    return std::make_shared<fat::FatImage>(std::move(source));
}

std::shared_ptr<Medium> openDisketteDevice(const std::string& device) {
    return openDisketteBlocks(openFloppyBlocks(device));
}

}  // namespace platform
