// The log line of a diskette's unread sectors, shared by the reader (after a good copy) and
// the copy walk (before it reports a file that cannot be read).
#include "fs/diskette_log.h"

#include <optional>

#include "fs/file_system.h"
#include "ui/messages.h"

namespace fs {

namespace {
// The most sector numbers the log line lists before it cuts them short.
constexpr size_t listedSectors = 10;
}  // namespace

void logUnreadSectors(const std::string& root, int n) {
    const std::optional<platform::DisketteRead> read = disketteRead(root);
    if (!read || read->unread.empty())
        return;
    const std::string drive = root.substr(0, root.find('\\'));
    const size_t count = read->unread.size();
    std::string text = "Diskette #" + std::to_string(n) + ": " + std::to_string(count) +
                       (count == 1 ? " sector" : " sectors") + " could not be read (";
    for (size_t i = 0; i < count && i < listedSectors; ++i)
        text += (i == 0 ? "" : ", ") + std::to_string(read->unread[i]);
    text += count > listedSectors ? ", ...)" : ")";
    if (read->unneeded != 0)
        text += "; " + std::to_string(read->unneeded) +
                " in free space or after the end of a file, not needed";
    if (read->fromOtherFat != 0)
        text += "; " + std::to_string(read->fromOtherFat) + " of a FAT, read from its other copy";
    if (read->filesHit.empty()) {
        text += "; no file hit";
    } else {
        text += "; files hit:";
        for (const std::string& file : read->filesHit)
            text += " " + drive + "\\" + file;
    }
    ui::appendLog(text);
}

std::string unreadableAdvice(int n) {
    return "Clean the drive's head, or try another drive or another copy of diskette #" +
           std::to_string(n) + ";" + ui::crlf +
           "what was read is kept, and only the missing sectors are read again.";
}

}  // namespace fs
