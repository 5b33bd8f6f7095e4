// The file-system object: drives, existence tests, text streams, file copy and the temporary
// folder, on top of the drive table and the host's POSIX calls.
#include "fs/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>

#include "fs/host_io.h"
#include "platform/context.h"
#include "platform/error.h"
#include "platform/paths.h"

namespace fs {

using platform::raise;
using platform::err::deviceIO;
using platform::err::diskNotReady;
using platform::err::fileNotFound;

// ---- TextStream ----

struct TextStream::Impl {
    int fd = -1;
    char letter = 0;
    bool reading = false;
    bool bad = false;    // reading fails as a damaged sector does
    std::string buffer;  // bytes read ahead
    size_t pos = 0;
    bool eof = false;

    ~Impl() {
        if (fd >= 0)
            ::close(fd);
    }

    void requireOpen() const {
        if (fd < 0)
            raise(platform::err::badFileName);
    }

    // Reads more bytes into the buffer; false at the end of the file.
    bool fill() {
        if (eof)
            return false;
        if (bad)
            raise(deviceIO);
        if (pos > 0) {
            buffer.erase(0, pos);
            pos = 0;
        }
        char chunk[65536];
        ssize_t n = hostio::readSome(fd, chunk, sizeof chunk);
        if (n == 0) {
            eof = true;
            return false;
        }
        buffer.append(chunk, static_cast<size_t>(n));
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
    hostio::writeAdmitted(impl_->fd, impl_->letter, text.data(), text.size());
}

void TextStream::Close() {
    if (impl_ && impl_->fd >= 0) {
        int fd = impl_->fd;
        impl_->fd = -1;
        if (::close(fd) != 0 && !impl_->reading)
            raise(platform::codeForErrno(errno));
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
    return static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
}

TextStream openStream(const std::string& path, int mode, bool create) {
    platform::HostPath hp = platform::resolvePath(path);
    auto impl = std::make_unique<TextStream::Impl>();
    impl->letter = hp.letter;
    int flags = O_CLOEXEC;
    switch (mode) {
        case ForReading:
            flags |= O_RDONLY;
            impl->reading = true;
            impl->bad = platform::drives().isBad(hp.letter, hp.relative);
            break;
        case ForWriting:
            platform::drives().checkModify(hp.letter);
            flags |= O_WRONLY | O_TRUNC | (create ? O_CREAT : 0);
            break;
        case ForAppending:
            platform::drives().checkModify(hp.letter);
            flags |= O_WRONLY | O_APPEND | (create ? O_CREAT : 0);
            break;
        default:
            raise(platform::err::invalidCall);
    }
    impl->fd = hostio::openFile(hp.host, flags);
    return TextStream(std::move(impl));
}

}  // namespace

std::string DriveObject::DriveLetter() const {
    return std::string(1, letter_);
}
int DriveObject::DriveType() const {
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

void FileObject::Delete() const {
    deleteFile(path_);
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
    try {
        struct stat st {};
        return stat(platform::resolvePath(path).host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    } catch (const platform::Error&) {
        return false;
    }
}

bool FileSystemObject::FolderExists(const std::string& path) const {
    try {
        struct stat st {};
        return stat(platform::resolvePath(path).host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    } catch (const platform::Error&) {
        return false;
    }
}

TextStream FileSystemObject::OpenTextFile(const std::string& path, int mode, bool create) const {
    return openStream(path, mode, create);
}

TextStream FileSystemObject::CreateTextFile(const std::string& path, bool overwrite) const {
    platform::HostPath hp = platform::resolvePath(path);
    platform::drives().checkModify(hp.letter);
    auto impl = std::make_unique<TextStream::Impl>();
    impl->letter = hp.letter;
    int flags = O_CLOEXEC | O_WRONLY | O_CREAT | O_TRUNC | (overwrite ? 0 : O_EXCL);
    impl->fd = hostio::openFile(hp.host, flags);
    return TextStream(std::move(impl));
}

FileObject FileSystemObject::GetFile(const std::string& path) const {
    struct stat st {};
    platform::HostPath hp = platform::resolvePath(path);
    if (stat(hp.host.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        raise(fileNotFound);
    return FileObject(path);
}

void FileSystemObject::CopyFile(const std::string& source, const std::string& target,
                                bool overwrite) const {
    platform::HostPath from = platform::resolvePath(source);
    platform::HostPath to = platform::resolvePath(target);
    hostio::copyFile(from, to, overwrite);
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
