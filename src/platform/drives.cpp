// The folder drive table: letters bound to host folders, with the faults a medium can carry.
#include "platform/drives.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <cctype>

#include "platform/error.h"
#include "platform/text_case.h"

namespace platform {

namespace {

char upper(char letter) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
}

// "db\\data.dat", "\db\data.dat" and "DB/Data.dat" name the same file.
std::string normalRelative(const std::string& relative) {
    std::string out;
    for (char c : relative) {
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

}  // namespace

std::string driveEntryText(char letter, int type, const std::string& volumeName) {
    std::string entry;
    entry += static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    entry += ':';
    if (!volumeName.empty() && type != driveRemovable)
        entry += " [" + volumeName + "]";
    return entry;
}

uint64_t hostFreeBytes(const std::filesystem::path& path) {
    struct statvfs st {};
    if (statvfs(path.c_str(), &st) != 0)
        return 0;
    return static_cast<uint64_t>(st.f_bavail) * st.f_frsize;
}

void FolderDriveTable::define(char letter, int type, std::optional<Medium> medium) {
    Slot s;
    s.type = type;
    s.medium = std::move(medium);
    slots_[upper(letter)] = std::move(s);
}

bool FolderDriveTable::defined(char letter) const {
    return slots_.count(upper(letter)) != 0;
}

void FolderDriveTable::insert(char letter, Medium medium) {
    Slot* s = slot(letter);
    if (s == nullptr)
        raise(err::deviceUnavailable);
    s->medium = std::move(medium);
    s->written = 0;
}

void FolderDriveTable::eject(char letter) {
    Slot* s = slot(letter);
    if (s == nullptr)
        raise(err::deviceUnavailable);
    s->medium.reset();
    s->written = 0;
}

uint64_t FolderDriveTable::written(char letter) const {
    auto it = slots_.find(upper(letter));
    return it == slots_.end() ? 0 : it->second.written;
}

FolderDriveTable::Slot* FolderDriveTable::slot(char letter) {
    auto it = slots_.find(upper(letter));
    return it == slots_.end() ? nullptr : &it->second;
}

Drive FolderDriveTable::describe(char letter, const Slot& s) const {
    Drive d;
    d.letter = letter;
    d.type = s.type;
    d.ready = s.medium.has_value();
    if (d.ready) {
        const Medium& m = *s.medium;
        d.volumeName = m.label;
        d.root = m.root;
        d.freeBytes = m.freeBytes ? *m.freeBytes : hostFreeBytes(m.root);
    }
    d.entry = driveEntryText(letter, s.type, d.volumeName);
    return d;
}

std::vector<Drive> FolderDriveTable::list() {
    std::vector<Drive> out;
    for (const auto& [letter, s] : slots_)
        out.push_back(describe(letter, s));
    return out;
}

std::optional<Drive> FolderDriveTable::find(char letter) {
    Slot* s = slot(letter);
    if (s == nullptr)
        return std::nullopt;
    return describe(upper(letter), *s);
}

void FolderDriveTable::checkModify(char letter) {
    Slot* s = slot(letter);
    if (s != nullptr && s->medium && s->medium->readonly)
        raise(err::permissionDenied);
}

uint64_t FolderDriveTable::admitWrite(char letter, uint64_t bytes) {
    Slot* s = slot(letter);
    if (s == nullptr || !s->medium)
        return bytes;
    if (s->medium->readonly)
        raise(err::permissionDenied);
    if (!s->medium->capacity) {
        s->written += bytes;
        return bytes;
    }
    uint64_t room = *s->medium->capacity > s->written ? *s->medium->capacity - s->written : 0;
    uint64_t taken = std::min(room, bytes);
    s->written += taken;
    return taken;
}

bool FolderDriveTable::isBad(char letter, const std::string& relative) {
    Slot* s = slot(letter);
    if (s == nullptr || !s->medium)
        return false;
    const std::string wanted = normalRelative(relative);
    return std::any_of(s->medium->bad.begin(), s->medium->bad.end(),
                       [&](const std::string& b) { return normalRelative(b) == wanted; });
}

}  // namespace platform
