// The file-system object: drives, existence tests, text streams, file copy and the temporary
// folder, on top of the drive table and the media in its drives.
#include "fs/file_system.h"

#include <cctype>

#include "platform/context.h"
#include "platform/error.h"
#include "platform/medium.h"
#include "platform/paths.h"
#include "platform/text_case.h"

namespace fs {

using platform::raise;

constexpr size_t readBlock = 65536;
using platform::err::diskNotReady;
using platform::err::fileNotFound;

// ---- TextStream ----

struct TextStream::Impl {
    std::unique_ptr<platform::MediumFile> file;
    bool reading = false;
    std::string buffer;  // bytes read ahead
    size_t pos = 0;
    bool eof = false;

    void requireOpen() const {
        if (!file)
            raise(platform::err::badFileName);
    }

    // Reads more bytes into the buffer; false at the end of the file.
    bool fill() {
        if (eof)
            return false;
        if (pos > 0) {
            buffer.erase(0, pos);
            pos = 0;
        }
        const size_t before = buffer.size();
        buffer.resize(before + readBlock);
        size_t n = file->read(buffer.data() + before, readBlock);
        buffer.resize(before + n);
        if (n == 0) {
            eof = true;
            return false;
        }
        return true;
    }
};

TextStream::TextStream() = default;
TextStream::~TextStream() = default;
TextStream::TextStream(TextStream&&) noexcept = default;
TextStream& TextStream::operator=(TextStream&&) noexcept = default;
TextStream::TextStream(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

std::string TextStream::ReadLine() {
    if (!impl_)
        raise(platform::err::badFileName);
    impl_->requireOpen();
    if (!impl_->reading)
        raise(platform::err::badFileMode);
    for (;;) {
        size_t lf = impl_->buffer.find('\n', impl_->pos);
        if (lf != std::string::npos) {
            std::string line = impl_->buffer.substr(impl_->pos, lf - impl_->pos);
            impl_->pos = lf + 1;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return line;
        }
        if (!impl_->fill()) {
            if (impl_->pos >= impl_->buffer.size())
                raise(platform::err::inputPastEnd);
            std::string line = impl_->buffer.substr(impl_->pos);
            impl_->pos = impl_->buffer.size();
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return line;
        }
    }
}

std::string TextStream::ReadAll() {
    if (!impl_)
        raise(platform::err::badFileName);
    impl_->requireOpen();
    if (!impl_->reading)
        raise(platform::err::badFileMode);
    while (impl_->fill()) {
    }
    std::string rest = impl_->buffer.substr(impl_->pos);
    impl_->pos = impl_->buffer.size();
    return rest;
}

bool TextStream::AtEndOfStream() {
    if (!impl_)
        raise(platform::err::badFileName);
    impl_->requireOpen();
    if (impl_->pos < impl_->buffer.size())
        return false;
    return !impl_->fill();
}

void TextStream::Write(std::string_view text) {
    if (!impl_)
        raise(platform::err::badFileName);
    impl_->requireOpen();
    if (impl_->reading)
        raise(platform::err::badFileMode);
    impl_->file->write(text.data(), text.size());
}

void TextStream::Close() {
    if (impl_ && impl_->file) {
        std::unique_ptr<platform::MediumFile> file = std::move(impl_->file);
        try {
            file->close();
        } catch (const platform::Error&) {
            if (!impl_->reading)
                throw;
        }
    }
}

// ---- Drives ----

namespace {

platform::Drive lookUp(char letter) {
    auto drive = platform::drives().find(letter);
    if (!drive)
        raise(platform::err::deviceUnavailable);
    return *drive;
}

char letterOf(const std::string& driveName) {
    std::string name = driveName;
    if (name.empty() || !std::isalpha(static_cast<unsigned char>(name[0])))
        raise(platform::err::deviceUnavailable);
    if (name.size() > 1 && name[1] != ':')
        raise(platform::err::deviceUnavailable);
    return platform::upperLetter(name[0]);
}

TextStream openStream(const std::string& path, int mode, bool create) {
    platform::MediumPath mp = platform::resolvePath(path);
    auto impl = std::make_unique<TextStream::Impl>();
    platform::OpenMode how;
    switch (mode) {
        case ForReading:
            how = platform::OpenMode::read;
            impl->reading = true;
            break;
        case ForWriting:
            how = platform::OpenMode::write;
            break;
        case ForAppending:
            how = platform::OpenMode::append;
            break;
        default:
            raise(platform::err::invalidCall);
    }
    impl->file = mp.medium->open(mp.relative, how, create);
    return TextStream(std::move(impl));
}

// The entry a path names, or nothing when there is none to be had (no such drive, no medium,
// a malformed path). A device that fails while it is asked raises: "not there" would let a
// step that needs the entry be passed over as if all were well.
std::optional<platform::MediumEntry> entryAt(const std::string& path) {
    platform::MediumPath mp;
    try {
        mp = platform::resolvePath(path);
    } catch (const platform::Error& e) {
        if (e.code() == platform::err::deviceIO)
            throw;
        return std::nullopt;
    }
    return mp.medium->entry(mp.relative);
}

}  // namespace

std::string DriveObject::DriveLetter() const {
    return std::string(1, letter_);
}
platform::DriveType DriveObject::DriveType() const {
    return lookUp(letter_).type;
}
bool DriveObject::IsReady() const {
    return lookUp(letter_).ready;
}

std::string DriveObject::VolumeName() const {
    platform::Drive d = lookUp(letter_);
    if (!d.ready)
        raise(diskNotReady);
    return d.volumeName;
}

double DriveObject::FreeSpace() const {
    platform::Drive d = lookUp(letter_);
    if (!d.ready)
        raise(diskNotReady);
    return static_cast<double>(d.freeBytes);
}

// ---- Files ----

TextStream FileObject::OpenAsTextStream(int mode, int /*format*/) const {
    return openStream(path_, mode, false);
}

std::string FileSystemObject::GetDriveName(const std::string& path) const {
    return platform::driveNameOf(path);
}

DriveObject FileSystemObject::GetDrive(const std::string& driveName) const {
    char letter = letterOf(driveName);
    lookUp(letter);
    return DriveObject(letter);
}

bool FileSystemObject::FileExists(const std::string& path) const {
    auto e = entryAt(path);
    return e && !e->folder && !e->link && !e->special;
}

bool FileSystemObject::FolderExists(const std::string& path) const {
    auto e = entryAt(path);
    return e && e->folder;
}

TextStream FileSystemObject::OpenTextFile(const std::string& path, int mode, bool create) const {
    return openStream(path, mode, create);
}

TextStream FileSystemObject::CreateTextFile(const std::string& path, bool overwrite) const {
    platform::MediumPath mp = platform::resolvePath(path);
    auto impl = std::make_unique<TextStream::Impl>();
    impl->file = mp.medium->open(
        mp.relative, overwrite ? platform::OpenMode::write : platform::OpenMode::createNew, true);
    return TextStream(std::move(impl));
}

FileObject FileSystemObject::GetFile(const std::string& path) const {
    platform::MediumPath mp = platform::resolvePath(path);
    auto e = mp.medium->entry(mp.relative);
    if (!e || e->folder || e->link || e->special)
        raise(fileNotFound);
    return FileObject(path);
}

void FileSystemObject::CopyFile(const std::string& source, const std::string& target,
                                bool overwrite) const {
    platform::MediumPath from = platform::resolvePath(source);
    platform::MediumPath to = platform::resolvePath(target);
    if (!overwrite && to.medium->entry(to.relative))
        raise(platform::err::fileAlreadyExists);
    if (from.medium == to.medium && from.relative == to.relative)
        raise(platform::err::permissionDenied);  // a file onto itself
    to.medium->copyFileFrom(*from.medium, from.relative, to.relative);
}

std::string FileSystemObject::GetSpecialFolder(int which) const {
    if (which != 2)
        raise(platform::err::invalidCall);
    std::string t = platform::tempFolder();
    while (t.size() > 3 && (t.back() == '\\' || t.back() == '/'))
        t.pop_back();
    return t;
}

}  // namespace fs
