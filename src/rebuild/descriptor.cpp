// writeSingleDescriptor: the flat area's archive.dat for a one-diskette set, derived from
// diskette 1's descriptor and the file table. Lines end with LF alone and hold no CR.
#include <algorithm>
#include <cctype>
#include <string>

#include "diskset/checksum.h"
#include "fs/file_system.h"
#include "fs/temp_area.h"
#include "platform/error.h"
#include "rebuild/rebuild.h"
#include "state/state.h"
#include "ui/messages.h"

namespace rebuild {

namespace {

// The line as written: no CR anywhere (a CR LF source leaves one at the end of extraText), and
// one LF after it.
std::string lineOf(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    text += '\n';
    return text;
}

// The letter of the drive that holds `path`, upper case.
std::string driveLetterOf(const fs::FileSystemObject& fso, const std::string& path) {
    const std::string name = fso.GetDriveName(path);
    try {
        return fso.GetDrive(name).DriveLetter();
    } catch (const platform::Error&) {
        // The drive is gone; its name still tells the letter.
        if (name.empty())
            return "";
        return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(name[0]))));
    }
}

std::string checksumText(const app::FileEntry& entry, const std::string& flat) {
    if (!entry.split)
        return ui::numberText(entry.archivedSum);
    const std::string joined = (entry.name == "\\keycode.rec" && !app::keycodeRecFound)
                                   ? flat + "\\keycode.kcd"
                                   : flat + entry.name;
    return ui::numberText(diskset::fileChecksum(joined));
}

std::string fileLine(const app::FileEntry& entry, const std::string& flat) {
    std::string line =
        "FILE: 1 0 1 " + checksumText(entry, flat) + " " + entry.name + " " + entry.extraText;
    std::replace(line.begin(), line.end(), '\\', '/');
    return line;
}

}  // namespace

bool writeSingleDescriptor() {
    const fs::FileSystemObject fso;
    const std::string temp = fs::getTempFolder();
    const std::string flat = fs::flatArea(temp);
    const std::string source = fs::diskArea(temp, 1) + "\\archive.dat";
    const std::string target = flat + "\\archive.dat";

    // Without diskette 1's descriptor the image would reach the card with whatever archive.dat
    // the merge pass left, which is not the set's.
    if (!fso.FileExists(source)) {
        ui::report("Failed writing: " + target + ui::crlf + source + " " +
                   platform::errorDescription(platform::err::fileNotFound));
        return false;
    }
    ui::appendLog("Create " + target);
    try {
        fso.CreateTextFile(target, true);
        fs::TextStream out = fso.GetFile(target).OpenAsTextStream(fs::ForWriting);
        fs::TextStream in = fso.GetFile(source).OpenAsTextStream(fs::ForReading);

        out.Write(lineOf(in.ReadLine()));
        in.ReadLine();
        out.Write(lineOf("NUMDISKS: 1"));
        for (;;) {
            std::string line = in.ReadLine();
            if (line.find("FILE:") != std::string::npos)
                break;
            out.Write(lineOf(std::move(line)));
        }
        for (int16_t i = 1; i <= app::fileCount; ++i) {
            const app::FileEntry& entry = app::fileTable(i);
            if (entry.lastPart)
                out.Write(lineOf(fileLine(entry, flat)));
        }
        in.Close();
        out.Close();
    } catch (const platform::Error&) {
        // The streams are closed by now: they went out of scope before this handler.
        ui::report("Failed writing: " + target + ui::crlf +
                   "Ensure there is enough free space available on drive " +
                   driveLetterOf(fso, target) + ":\\");
        return false;
    }
    return true;
}

}  // namespace rebuild
