// The fault wrapper: checks the planted faults, then hands each operation to the medium inside.
#include "platform/faulty_medium.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/text_case.h"

namespace platform {

namespace {

// "db\\data.dat", "\db\data.dat" and "DB/Data.dat" name the same file.
std::string normalName(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == '/' || c == '\\') {
            if (!out.empty() && out.back() != '\\')
                out += '\\';
        } else {
            out += c;
        }
    }
    if (!out.empty() && out.back() == '\\')
        out.pop_back();
    return lowerAscii(out);
}

bool listed(const std::vector<std::string>& names, const std::string& path) {
    const std::string wanted = normalName(path);
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& n) { return normalName(n) == wanted; });
}

class FaultyFile : public MediumFile {
  public:
    FaultyFile(FaultyMedium& medium, std::unique_ptr<MediumFile> inner, bool bad,
               std::optional<uint64_t> corruptAt)
        : medium_(medium), inner_(std::move(inner)), bad_(bad), corruptAt_(corruptAt) {}

    size_t read(void* buffer, size_t size) override {
        medium_.tick(OpKind::read);
        if (bad_)
            raise(err::deviceIO);
        size_t n = inner_->read(buffer, size);
        if (corruptAt_ && *corruptAt_ >= position_ && *corruptAt_ < position_ + n)
            static_cast<unsigned char*>(buffer)[*corruptAt_ - position_] ^= 0x5A;
        position_ += n;
        return n;
    }

    void write(const void* data, size_t size) override {
        medium_.tick(OpKind::change);
        uint64_t admitted = medium_.admit(size);
        inner_->write(data, static_cast<size_t>(admitted));
        if (admitted < size)
            raise(err::diskFull);
    }

    void close() override { inner_->close(); }

  private:
    FaultyMedium& medium_;
    std::unique_ptr<MediumFile> inner_;
    bool bad_;
    std::optional<uint64_t> corruptAt_;
    uint64_t position_ = 0;
};

}  // namespace

FaultyMedium::FaultyMedium(std::shared_ptr<Medium> inner, Faults faults)
    : inner_(std::move(inner)), faults_(std::move(faults)) {}

void FaultyMedium::failNth(OpKind kind, uint64_t n, bool persist) {
    counts_.fill(0);
    countdown_ = Countdown{kind, n, persist};
}

bool FaultyMedium::planted() const {
    return faults_.readonly || faults_.capacity || !faults_.bad.empty() ||
           !faults_.corrupt.empty() || faults_.failAt || faults_.cutAfter || countdown_;
}

void FaultyMedium::tick(OpKind kind) {
    if (isCut())
        raise(err::deviceIO);
    if (kind == OpKind::change)
        ++reached_;
    countOp(kind);
}

void FaultyMedium::countOp(OpKind kind) {
    uint64_t n = ++counts_[static_cast<size_t>(kind)];
    if (countdown_ && countdown_->kind == kind &&
        (n == countdown_->at || (countdown_->persist && n > countdown_->at)))
        raise(err::deviceIO);
}

void FaultyMedium::change() {
    if (faults_.readonly)
        raise(err::permissionDenied);
    if (isCut())
        raise(err::deviceIO);
    ++changes_;
    ++reached_;
    if (faults_.failAt && changes_ >= *faults_.failAt)
        raise(err::deviceIO);
    countOp(OpKind::change);
}

uint64_t FaultyMedium::admit(uint64_t size) {
    if (faults_.readonly)
        raise(err::permissionDenied);
    uint64_t taken = size;
    if (faults_.capacity) {
        uint64_t room = *faults_.capacity > written_ ? *faults_.capacity - written_ : 0;
        taken = std::min(room, size);
    }
    written_ += taken;
    return taken;
}

// A folder named "NAME~..." is NAME on its way (written beside it, then renamed to it): a fault
// planted on a file below NAME holds for the same file below it.
bool FaultyMedium::listedAs(const std::vector<std::string>& names, const std::string& path) const {
    if (listed(names, path))
        return true;
    std::string settled;
    bool passing = false;
    size_t start = 0;
    const std::string normal = normalName(path);
    for (;;) {
        const size_t sep = normal.find('\\', start);
        std::string name = normal.substr(start, sep == std::string::npos ? sep : sep - start);
        if (const size_t tilde = name.find('~');
            sep != std::string::npos && tilde != 0 && tilde != std::string::npos) {
            name.resize(tilde);
            passing = true;
        }
        settled += name;
        if (sep == std::string::npos)
            break;
        settled += '\\';
        start = sep + 1;
    }
    return passing && listed(names, settled);
}

bool FaultyMedium::isBad(const std::string& path) const {
    return listedAs(faults_.bad, path);
}

bool FaultyMedium::isCorrupt(const std::string& path) const {
    return listedAs(faults_.corrupt, path);
}

void FaultyMedium::noteWritten(const std::string& path) {
    writtenFiles_.insert(normalName(path));
}

bool FaultyMedium::wasWritten(const std::string& path) const {
    return writtenFiles_.count(normalName(path)) != 0;
}

// A file opened to be read, with the damage planted on it: unreadable, or its last byte not
// what was written.
std::unique_ptr<MediumFile> FaultyMedium::reading(const std::string& path,
                                                  std::unique_ptr<MediumFile> file) {
    std::optional<uint64_t> corruptAt;
    if (isCorrupt(path) && wasWritten(path)) {
        auto e = inner_->entry(path);
        if (e && e->length > 0)
            corruptAt = e->length - 1;
    }
    return std::make_unique<FaultyFile>(*this, std::move(file), isBad(path), corruptAt);
}

std::vector<MediumEntry> FaultyMedium::list(const std::string& folder) {
    tick(OpKind::look);
    return inner_->list(folder);
}

std::optional<MediumEntry> FaultyMedium::entry(const std::string& path) {
    tick(OpKind::look);
    return inner_->entry(path);
}

std::string FaultyMedium::resolve(const std::string& path) {
    tick(OpKind::look);
    return inner_->resolve(path);
}

std::unique_ptr<MediumFile> FaultyMedium::open(const std::string& path, OpenMode mode,
                                               bool create) {
    if (mode == OpenMode::read) {
        tick(OpKind::open);
        return reading(path, inner_->open(path, mode, create));
    }
    change();
    std::unique_ptr<MediumFile> file = inner_->open(path, mode, create);
    noteWritten(path);
    return std::make_unique<FaultyFile>(*this, std::move(file), false, std::nullopt);
}

void FaultyMedium::makeFolder(const std::string& path) {
    change();
    inner_->makeFolder(path);
}

void FaultyMedium::removeFolder(const std::string& path) {
    change();
    inner_->removeFolder(path);
}

void FaultyMedium::deleteFile(const std::string& path) {
    // A missing file is reported as missing, even on a write-protected medium.
    auto e = inner_->entry(path);
    if (!e || e->folder)
        raise(err::fileNotFound);
    change();
    inner_->deleteFile(path);
}

void FaultyMedium::rename(const std::string& from, const std::string& to) {
    change();
    inner_->rename(from, to);
}

void FaultyMedium::copyFileFrom(Medium& source, const std::string& from, const std::string& to) {
    if (planted()) {
        copyInBlocks(source, from, *this, to);
        return;
    }
    inner_->copyFileFrom(source, from, to);
}

uint64_t FaultyMedium::freeBytes() {
    if (isCut())
        raise(err::deviceIO);
    return inner_->freeBytes();
}

void FaultyMedium::flushTree(const std::string& folder) {
    tick(OpKind::flush);
    inner_->flushTree(folder);
}

std::unique_ptr<MediumFile> FaultyMedium::openReadBack(const std::string& path) {
    tick(OpKind::flush);
    return reading(path, inner_->openReadBack(path));
}

std::string FaultyMedium::hostPath(const std::string& path) {
    // Faults apply only to bytes that pass through the wrapper.
    return planted() ? "" : inner_->hostPath(path);
}

}  // namespace platform
