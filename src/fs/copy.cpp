// The copy-and-merge walk: a source tree copied into a target tree, files already there
// receiving the source's bytes at their end.
//
// Each level lists its source folder and its target folder once and works on the media with
// the names as they are spelled there: looking a name up in the target is a map look-up, so
// a folder of n entries costs n operations, not n listings, and no converter path is resolved
// again as the walk goes deeper.
#include "fs/copy.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "fs/card_names.h"
#include "fs/diskette_log.h"
#include "fs/file_system.h"
#include "platform/error.h"
#include "platform/medium.h"
#include "platform/paths.h"
#include "platform/text_case.h"
#include "state/state.h"
#include "ui/main_window.h"
#include "ui/messages.h"

namespace fs {

namespace {

constexpr int16_t entryLimit = 32767;
constexpr size_t joinBlock = size_t{1} << 20;

// A folder of the walk: its medium, its path there, and the converter path the reports show
// (ending in "\").
struct Place {
    std::shared_ptr<platform::Medium> medium;
    std::string relative;
    std::string path;

    std::string below(const std::string& name) const { return platform::joinPath(relative, name); }
};

// The entries of a target folder by name: the spelling as written first, then without regard
// to case (the smallest name when several match), as the card and the designed-for platform
// take names: accented letters fold too.
class TargetNames {
  public:
    void add(const platform::MediumEntry& e) {
        exact_[e.name] = e;
        auto [it, added] = folded_.try_emplace(platform::foldCase(e.name), e);
        if (!added && e.name < it->second.name)
            it->second = e;
    }
    const platform::MediumEntry* find(const std::string& name) const {
        if (auto it = exact_.find(name); it != exact_.end())
            return &it->second;
        auto it = folded_.find(platform::foldCase(name));
        return it == folded_.end() ? nullptr : &it->second;
    }

  private:
    std::unordered_map<std::string, platform::MediumEntry> exact_, folded_;
};

bool ordinary(const platform::MediumEntry& e) {
    return !e.hidden && !e.link && !e.special;
}

// The ordinary files and folders of the source folder, in the order of fs::listFolder.
std::vector<platform::MediumEntry> sourceEntries(const Place& source) {
    std::vector<platform::MediumEntry> entries = source.medium->list(source.relative);
    std::erase_if(entries, [](const platform::MediumEntry& e) { return !ordinary(e); });
    std::vector<std::pair<std::string, size_t>> keys;
    keys.reserve(entries.size());
    for (size_t k = 0; k < entries.size(); ++k)
        keys.emplace_back(platform::lowerAscii(entries[k].name), k);
    std::sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first
                                  : entries[a.second].name < entries[b.second].name;
    });
    std::vector<platform::MediumEntry> sorted;
    sorted.reserve(entries.size());
    for (const auto& key : keys)
        sorted.push_back(std::move(entries[key.second]));
    return sorted;
}

// What the target folder holds. A target that is no folder (a file stands where the source
// has a folder) holds nothing: each write below it then fails and is reported.
TargetNames targetEntries(const Place& target) {
    TargetNames names;
    try {
        for (const platform::MediumEntry& e : target.medium->list(target.relative))
            names.add(e);
    } catch (const platform::Error& e) {
        if (e.code() != platform::err::pathNotFound)
            throw;
    }
    return names;
}

// The letter of the target's drive, as the reports name it.
std::string targetLetter(const std::string& target) {
    const fs::FileSystemObject fso;
    try {
        return fso.GetDrive(fso.GetDriveName(target)).DriveLetter();
    } catch (const platform::Error&) {
        return fso.GetDriveName(target).substr(0, 1);
    }
}

std::string spaceAdvice(const std::string& letter) {
    return "Ensure there is enough free space available on drive " + letter + ":\\";
}

void closeQuietly(std::unique_ptr<platform::MediumFile>& file) {
    if (!file)
        return;
    try {
        file->close();
    } catch (const platform::Error&) {
        // Only read from: nothing is lost.
    }
    file.reset();
}

struct Level {
    const Place& source;
    const Place& target;
    int16_t step;
    bool succeeded = false;  // a creation, append or copy of this level has succeeded
};

int16_t walk(const Place& source, const Place& target, int16_t step, bool top);

// A name the card could not hold distinctly is refused before anything of its level is
// copied: two entries that differ only in letter case are one on the platform the sets come
// from, and the merge would join them into one file; other names would be changed or lost on
// the way.
int16_t refuseNames(const Place& source, const std::vector<platform::MediumEntry>& entries) {
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const platform::MediumEntry& e : entries) {
        if (auto problem = fs::cardNameProblem(e.name)) {
            ui::report(fs::cardNameReport(source.path + e.name, *problem));
            return -1;
        }
        names.push_back(e.name);
    }
    if (auto twins = fs::cardTwins(names)) {
        ui::report("Names differ only in letter case: " + source.path + twins->first + " and " +
                   source.path + twins->second + ui::crlf +
                   "No diskette of a set holds both. Ensure that the floppy disk is the right one");
        return -1;
    }
    return 1;
}

int16_t copyFolder(Level& level, const platform::MediumEntry& entry, TargetNames& names) {
    const std::string to = level.target.path + entry.name;
    const platform::MediumEntry* there = names.find(entry.name);
    const std::string name = there != nullptr ? there->name : entry.name;
    if (there == nullptr || !ordinary(*there)) {
        try {
            level.target.medium->makeFolder(level.target.below(name));
        } catch (const platform::Error&) {
            ui::report("Failed to create directory: " + to + ui::crlf +
                       spaceAdvice(targetLetter(level.target.path)));
            return -1;
        }
        platform::MediumEntry made;
        made.name = name;
        made.folder = true;
        names.add(made);
        level.succeeded = true;
        ui::keepAlive();
    }
    const Place from{level.source.medium, level.source.below(entry.name),
                     level.source.path + entry.name + "\\"};
    const Place into{level.target.medium, level.target.below(name), to + "\\"};
    return walk(from, into, level.step, false);
}

// A read error of a diskette that the block reader reads: its sectors did not read.
bool sectorsFailed(const platform::Error& e) {
    return e.code() == platform::err::deviceIO && e.description().rfind("Diskette sector ", 0) == 0;
}

// A diskette file that cannot be read: the rest of what the diskette needs is read first, so
// that the store holds all this attempt can give, and the log names the sectors and the files
// they hit before the report.
void logDisketteFailure(const Place& source, const platform::Error& e) {
    if (!sectorsFailed(e))
        return;
    try {
        logUnreadSectors(source.path.substr(0, source.path.find('\\') + 1), app::currentDisk);
    } catch (const platform::Error&) {
        // A diskette too damaged to tell more: the report that follows names the file.
    }
}

// Appends the source file to the target file a block at a time: a piece of any size takes
// one block of memory.
int16_t appendFile(Level& level, const platform::MediumEntry& entry, const std::string& name) {
    const std::string from = level.source.path + entry.name;
    const std::string to = level.target.path + entry.name;
    std::unique_ptr<platform::MediumFile> in, out;
    // Until this level has succeeded once, a file that does not open ends it.
    try {
        in = level.source.medium->open(level.source.below(entry.name), platform::OpenMode::read,
                                       false);
    } catch (const platform::Error&) {
        if (!level.succeeded)
            throw;
    }
    try {
        out = level.target.medium->open(level.target.below(name), platform::OpenMode::append, true);
    } catch (const platform::Error&) {
        if (!level.succeeded) {
            closeQuietly(in);
            throw;
        }
    }
    std::vector<char> block(joinBlock);
    for (;;) {
        size_t n = 0;
        try {
            if (!in)
                platform::raise(platform::err::badFileName);
            n = in->read(block.data(), block.size());
        } catch (const platform::Error& e) {
            out.reset();
            in.reset();
            logDisketteFailure(level.source, e);
            ui::report("Failed to read file " + from + ui::crlf +
                       "Ensure that the floppy disk is readable ");
            return -1;
        }
        try {
            if (!out)
                platform::raise(platform::err::badFileName);
            if (n > 0)
                out->write(block.data(), n);
            else
                out->close();
        } catch (const platform::Error&) {
            out.reset();
            in.reset();
            ui::report("Failed writing: " + to + ui::crlf +
                       spaceAdvice(targetLetter(level.target.path)));
            return -1;
        }
        if (n == 0)
            break;
        ui::keepAlive();
    }
    closeQuietly(in);
    level.succeeded = true;
    return 1;
}

int16_t copyFile(Level& level, const platform::MediumEntry& entry, TargetNames& names) {
    const platform::MediumEntry* there = names.find(entry.name);
    if (there != nullptr && !there->folder && there->name != entry.name) {
        // Twins from two diskettes: appended, they would become one file on the card.
        ui::report("Names differ only in letter case: " + level.source.path + entry.name + " and " +
                   level.target.path + there->name + ui::crlf +
                   "The card would hold them as one file: this set cannot be converted. "
                   "Ask support.");
        return -1;
    }
    const std::string name = there != nullptr ? there->name : entry.name;
    if (there != nullptr && !there->folder && !there->link && !there->special)
        return appendFile(level, entry, name);

    ui::advanceProgress(level.step);
    try {
        const std::string from = level.source.below(entry.name);
        const std::string to = level.target.below(name);
        if (level.source.medium == level.target.medium && from == to)
            platform::raise(platform::err::permissionDenied);  // a file onto itself
        level.target.medium->copyFileFrom(*level.source.medium, from, to);
    } catch (const platform::Error& e) {
        const std::string what = "Can not copy file " + level.source.path + entry.name + " to " +
                                 level.target.path + entry.name + ui::crlf;
        if (sectorsFailed(e)) {
            // Sectors that did not read: free space has nothing to do with it.
            logDisketteFailure(level.source, e);
            ui::report(what + e.description() + ui::crlf + unreadableAdvice(app::currentDisk));
        } else if (e.code() == platform::err::badFileName) {
            ui::report(what + "The folder on drive " + targetLetter(level.target.path) +
                       ":\\ cannot hold a file of this name");
        } else {
            ui::report(what + "Ensure that the floppy disk is readable and that " + ui::crlf +
                       "there is enough free space available on drive " +
                       targetLetter(level.target.path) + ":\\");
        }
        return -1;
    }
    if (there == nullptr) {
        platform::MediumEntry copied;
        copied.name = name;
        names.add(copied);
    }
    level.succeeded = true;
    return 1;
}

// The source entries of a level below the walk's first; one that cannot be listed (damaged,
// looping, more entries than a level holds) ends the walk reported, so that no folder of the
// source is left out unseen.
std::optional<std::vector<platform::MediumEntry>> listBelow(const Place& source) {
    try {
        std::vector<platform::MediumEntry> entries = sourceEntries(source);
        if (entries.size() + 2 > static_cast<size_t>(entryLimit))
            platform::raise(platform::err::overflow);
        return entries;
    } catch (const platform::Error&) {
        ui::report("Failed to read directory " + source.path + ui::crlf +
                   "Ensure that the floppy disk is readable ");
        return std::nullopt;
    }
}

int16_t walk(const Place& source, const Place& target, int16_t step, bool top) {
    std::vector<platform::MediumEntry> entries;
    if (top) {
        entries = sourceEntries(source);
        // The level's entry counter also counts "." and "..".
        if (entries.size() + 2 > static_cast<size_t>(entryLimit))
            platform::raise(platform::err::overflow);
    } else if (auto below = listBelow(source)) {
        entries = std::move(*below);
    } else {
        return -1;
    }
    if (refuseNames(source, entries) == -1)
        return -1;
    TargetNames names = targetEntries(target);

    Level level{source, target, step};
    for (const platform::MediumEntry& entry : entries) {
        try {
            const int16_t r =
                entry.folder ? copyFolder(level, entry, names) : copyFile(level, entry, names);
            if (r == -1)
                return -1;
        } catch (const platform::Error&) {
            // Unreported failures end the level until it has succeeded once; after that the
            // entry is passed over and the walk goes on.
            if (!level.succeeded)
                throw;
        }
    }
    return 1;
}

Place placeOf(const std::string& folder) {
    platform::MediumPath mp = platform::resolvePath(folder);
    return Place{std::move(mp.medium), std::move(mp.relative), folder};
}

}  // namespace

int16_t copyFileChecked(const std::string& source, const std::string& target, int16_t step) {
    return walk(placeOf(source), placeOf(target), step, true);
}

int16_t copyFileChecked(const std::string& source, const std::string& target, int16_t step,
                        const std::string& shownTarget) {
    Place into = placeOf(target);
    into.path = shownTarget;
    return walk(placeOf(source), into, step, true);
}

}  // namespace fs
