// A diskette image as a read-only medium, and the factory the rest of the converter uses.
#include "platform/fat/fat_image.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/error.h"
#include "platform/fat/fat_volume.h"
#include "platform/image_medium.h"

namespace platform::fat {

namespace {

class FatFile : public MediumFile {
  public:
    FatFile(std::shared_ptr<Volume> volume, std::vector<uint32_t> chain, uint64_t length)
        : volume_(std::move(volume)), chain_(std::move(chain)), length_(length) {}

    size_t read(void* buffer, size_t size) override {
        if (!volume_)
            raise(err::badFileName);
        const auto take = static_cast<size_t>(std::min<uint64_t>(size, length_ - pos_));
        volume_->readChain(chain_, pos_, static_cast<char*>(buffer), take);
        pos_ += take;
        return take;
    }
    void write(const void*, size_t) override { raise(err::permissionDenied); }
    void close() override { volume_.reset(); }

  private:
    std::shared_ptr<Volume> volume_;  // null once closed
    std::vector<uint32_t> chain_;
    uint64_t length_;
    uint64_t pos_ = 0;
};

std::string utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Opened by its path as such: a narrow name would be read in the Windows code page there.
std::unique_ptr<std::istream> openHostFile(const std::filesystem::path& hostFile) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(hostFile, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        raise(err::fileNotFound);
    if (status.type() == std::filesystem::file_type::directory)
        raise(err::pathFileAccess);
    auto in = std::make_unique<std::ifstream>(hostFile, std::ios::binary);
    if (!*in)
        throw Error(err::deviceIO, "Cannot read the diskette image " + utf8Path(hostFile));
    return in;
}

}  // namespace

FatImage::FatImage(const std::filesystem::path& hostFile) : FatImage(openHostFile(hostFile)) {}

FatImage::FatImage(std::unique_ptr<std::istream> image)
    : volume_(std::make_shared<Volume>(std::move(image))) {}

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
                                     place.record.entry.length);
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

}  // namespace platform::fat

namespace platform {

std::shared_ptr<Medium> openDisketteImage(const std::filesystem::path& hostFile) {
    return std::make_shared<fat::FatImage>(hostFile);
}

std::shared_ptr<Medium> openDisketteImageBytes(std::string bytes) {
    return std::make_shared<fat::FatImage>(
        std::make_unique<std::istringstream>(std::move(bytes), std::ios::in | std::ios::binary));
}

std::shared_ptr<Medium> openDisketteImageStream(std::unique_ptr<std::istream> image) {
    return std::make_shared<fat::FatImage>(std::move(image));
}

}  // namespace platform
