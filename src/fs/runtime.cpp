// The run-time's file operations: listings, attributes, folders, deletion, length, raw reads,
// the current drive and folder, and flushing a tree to its medium; all through the media.
#include <algorithm>

#include "fs/file_system.h"
#include "platform/context.h"
#include "platform/error.h"
#include "platform/medium.h"
#include "platform/paths.h"
#include "platform/text_case.h"

namespace fs {

namespace {

using platform::raise;

// Folder paths may end in "\"; the entry they name is the same.
std::string withoutTrailingSeparator(const std::string& path) {
    std::string p = path;
    while (p.size() > 3 && (p.back() == '\\' || p.back() == '/'))
        p.pop_back();
    return p;
}

// A plain file or folder: what the listings show and the existence test finds.
bool ordinary(const platform::MediumEntry& e) {
    return !e.hidden && !e.link && !e.special;
}

std::vector<DirEntry> readFolder(const std::string& folder, bool everything) {
    platform::MediumPath mp = platform::resolvePath(folder);
    std::vector<DirEntry> entries;
    for (const platform::MediumEntry& e : mp.medium->list(mp.relative)) {
        if (everything || ordinary(e))
            entries.push_back({e.name, e.folder && !e.link});
    }
    std::sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) {
        std::string la = platform::lowerAscii(a.name), lb = platform::lowerAscii(b.name);
        return la != lb ? la < lb : a.name < b.name;
    });
    return entries;
}

std::optional<platform::MediumEntry> entryOf(const platform::MediumPath& mp) {
    return mp.medium->entry(mp.relative);
}

}  // namespace

std::vector<DirEntry> listFolder(const std::string& folder) {
    return readFolder(folder, false);
}

std::vector<DirEntry> listFolderAll(const std::string& folder) {
    return readFolder(folder, true);
}

bool entryExists(const std::string& path) {
    platform::MediumPath mp = platform::resolvePath(withoutTrailingSeparator(path));
    if (mp.relative.empty())
        return true;  // a drive's root
    auto e = entryOf(mp);
    return e && ordinary(*e);
}

bool isFolder(const std::string& path) {
    platform::MediumPath mp = platform::resolvePath(withoutTrailingSeparator(path));
    auto e = entryOf(mp);
    if (!e)
        raise(platform::err::fileNotFound);
    return e->folder && !e->link;
}

bool isLink(const std::string& path) {
    try {
        auto e = entryOf(platform::resolvePath(withoutTrailingSeparator(path)));
        return e && e->link;
    } catch (const platform::Error&) {
        return false;
    }
}

void makeFolder(const std::string& path) {
    platform::MediumPath mp = platform::resolvePath(withoutTrailingSeparator(path));
    mp.medium->makeFolder(mp.relative);
}

void removeFolder(const std::string& path) {
    platform::MediumPath mp = platform::resolvePath(withoutTrailingSeparator(path));
    mp.medium->removeFolder(mp.relative);
}

void renameFolder(const std::string& from, const std::string& to) {
    platform::MediumPath a = platform::resolvePath(withoutTrailingSeparator(from));
    platform::MediumPath b = platform::resolvePath(withoutTrailingSeparator(to));
    if (a.medium != b.medium)
        raise(platform::err::invalidCall);
    a.medium->rename(a.relative, b.relative);
}

uint64_t allocationUnit(const std::string& path) {
    return platform::resolvePath(path).medium->clusterBytes();
}

void deleteFile(const std::string& path) {
    platform::MediumPath mp = platform::resolvePath(path);
    mp.medium->deleteFile(mp.relative);
}

int64_t fileLength(const std::string& path) {
    platform::MediumPath mp = platform::resolvePath(path);
    auto e = entryOf(mp);
    if (!e || e->folder || e->link || e->special)
        raise(platform::err::fileNotFound);
    return static_cast<int64_t>(e->length);
}

std::optional<platform::DisketteRead> disketteRead(const std::string& path) {
    return platform::resolvePath(path).medium->disketteRead();
}

bool disketteReadBefore(const std::string& path) {
    return platform::resolvePath(path).medium->disketteReadBefore();
}

BinaryFile::BinaryFile(const std::string& path, bool pastCaches) {
    platform::MediumPath mp = platform::resolvePath(path);
    file_ = pastCaches ? mp.medium->openReadBack(mp.relative)
                       : mp.medium->open(mp.relative, platform::OpenMode::read, false);
}

BinaryFile::~BinaryFile() = default;

size_t BinaryFile::read(uint8_t* buffer, size_t size) {
    if (!file_)
        raise(platform::err::badFileName);
    return file_->read(buffer, size);
}

void BinaryFile::close() {
    if (file_) {
        std::unique_ptr<platform::MediumFile> file = std::move(file_);
        try {
            file->close();
        } catch (const platform::Error&) {
            // Nothing was written: a failing close loses nothing.
        }
    }
}

void changeDrive(const std::string& path) {
    std::string name = platform::driveNameOf(path);
    if (name.empty())
        raise(platform::err::invalidCall);
    platform::MediumPath mp = platform::resolvePath(name + "\\");
    platform::setCurrentDrive(mp.letter);
}

void changeFolder(const std::string& path) {
    platform::MediumPath mp = platform::resolvePath(withoutTrailingSeparator(path));
    auto e = entryOf(mp);
    if (!e || !e->folder || e->link)
        raise(platform::err::pathNotFound);
    platform::setCurrentFolder(mp.letter, "\\" + mp.relative);
}

void syncTree(const std::string& folder) {
    platform::MediumPath mp = platform::resolvePath(withoutTrailingSeparator(folder));
    mp.medium->flushTree(mp.relative);
}

}  // namespace fs
