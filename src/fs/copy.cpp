// The copy-and-merge walk: a source tree copied into a target tree, files already there
// receiving the source's bytes at their end.
#include "fs/copy.h"

#include <optional>

#include "fs/file_system.h"
#include "platform/error.h"
#include "state/state.h"
#include "ui/main_window.h"
#include "ui/util_module.h"

namespace UtilModule {

namespace {

constexpr int16_t entryLimit = 32767;

// The letter of the target's drive, as the reports name it.
std::string targetLetter(const fs::FileSystemObject& fso, const std::string& target) {
    try {
        return fso.GetDrive(fso.GetDriveName(target)).DriveLetter();
    } catch (const platform::Error&) {
        return fso.GetDriveName(target).substr(0, 1);
    }
}

std::string spaceAdvice(const std::string& letter) {
    return "Ensure there is enough free space available on drive " + letter + ":\\";
}

}  // namespace

int16_t copyFileChecked(const std::string& source, const std::string& target, int16_t step) {
    fs::FileSystemObject fso;
    bool succeeded = false;  // a creation, append or copy of this level has succeeded

    std::vector<fs::DirEntry> entries = fs::listFolder(source);
    // The level's entry counter also counts "." and "..".
    if (entries.size() + 2 > static_cast<size_t>(entryLimit))
        platform::raise(platform::err::overflow);

    for (const fs::DirEntry& entry : entries) {
        const std::string from = source + entry.name;
        const std::string to = target + entry.name;
        try {
            if (entry.folder) {
                if (!fs::entryExists(to)) {
                    try {
                        fs::makeFolder(to);
                    } catch (const platform::Error&) {
                        report("Failed to create directory: " + to + crlf +
                               spaceAdvice(targetLetter(fso, target)));
                        return -1;
                    }
                    succeeded = true;
                }
                if (copyFileChecked(from + "\\", to + "\\", step) == -1)
                    return -1;
            } else if (fso.FileExists(to)) {
                std::optional<fs::TextStream> in, out;
                // Until this level has succeeded once, a file that does not open ends it.
                try {
                    in = fso.OpenTextFile(from, fs::ForReading);
                } catch (const platform::Error&) {
                    if (!succeeded)
                        throw;
                }
                try {
                    out = fso.OpenTextFile(to, fs::ForAppending, true);
                } catch (const platform::Error&) {
                    if (!succeeded)
                        throw;
                }
                std::string bytes;
                try {
                    if (!in)
                        platform::raise(platform::err::badFileName);
                    bytes = in->ReadAll();
                } catch (const platform::Error&) {
                    in.reset();
                    out.reset();
                    report("Failed to read file " + from + crlf +
                           "Ensure that the floppy disk is readable ");
                    return -1;
                }
                try {
                    if (!out)
                        platform::raise(platform::err::badFileName);
                    out->Write(bytes);
                    out->Close();
                } catch (const platform::Error&) {
                    out.reset();
                    in.reset();
                    report("Failed writing: " + to + crlf + spaceAdvice(targetLetter(fso, target)));
                    return -1;
                }
                in->Close();
                succeeded = true;
            } else {
                advanceProgress(step);
                try {
                    fso.CopyFile(from, to, true);
                } catch (const platform::Error&) {
                    report("Can not copy file " + from + " to " + to + crlf +
                           "Ensure that the floppy disk is readable and that " + crlf +
                           "there is enough free space available on drive " +
                           targetLetter(fso, target) + ":\\");
                    return -1;
                }
                succeeded = true;
            }
        } catch (const platform::Error&) {
            // Unreported failures end the level until it has succeeded once; after that the
            // entry is passed over and the walk goes on.
            if (!succeeded)
                throw;
        }
    }
    return 1;
}

}  // namespace UtilModule
