// Drive a: holding a picked diskette image, over the machine's drives.
#include "platform/image_drives.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/error.h"
#include "platform/utf8_text.h"

namespace platform {

namespace {
constexpr char imageLetter = 'A';
}

void ImageDriveTable::putImage(const std::string& hostFile) {
    // From UTF-8 on every platform: a narrow path would be read in the Windows code page there.
    medium_ = openMedium(pathFromUtf8(hostFile));
    image_ = hostFile;
}

Drive ImageDriveTable::imageDrive() const {
    Drive d;
    d.letter = imageLetter;
    d.type = DriveType::removable;
    d.ready = true;
    d.medium = medium_;
    try {
        d.volumeName = medium_->label();
        d.freeBytes = medium_->freeBytes();
    } catch (const Error&) {
        // A damaged image shows as a diskette without a name.
    }
    d.entry = driveEntryText(d.letter, d.type, d.volumeName);
    return d;
}

std::vector<Drive> ImageDriveTable::list() {
    std::vector<Drive> drives = machine_->list();
    if (!medium_)
        return drives;
    drives.erase(std::remove_if(drives.begin(), drives.end(),
                                [](const Drive& d) { return d.letter == imageLetter; }),
                 drives.end());
    drives.insert(drives.begin(), imageDrive());
    return drives;
}

std::optional<Drive> ImageDriveTable::find(char letter) {
    if (holdsImage(letter))
        return imageDrive();
    return machine_->find(letter);
}

std::shared_ptr<Medium> ImageDriveTable::mediumOf(char letter) {
    if (holdsImage(letter))
        return medium_;
    return machine_->mediumOf(letter);
}

bool ImageDriveTable::holdsImage(char letter) const {
    return medium_ && std::toupper(static_cast<unsigned char>(letter)) == imageLetter;
}

std::string ImageDriveTable::mountForUse(char letter) {
    return holdsImage(letter) ? "" : machine_->mountForUse(letter);
}

std::string ImageDriveTable::releaseDiskette(char letter) {
    return holdsImage(letter) ? "" : machine_->releaseDiskette(letter);
}

std::string ImageDriveTable::releaseCard(char letter) {
    return holdsImage(letter) ? "" : machine_->releaseCard(letter);
}

std::string nextInSeries(const std::string& hostFile) {
    const size_t slash = hostFile.find_last_of("/\\");
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = hostFile.rfind('.');
    if (dot == std::string::npos || dot < nameStart)
        dot = hostFile.size();
    size_t end = dot;
    while (end > nameStart && !std::isdigit(static_cast<unsigned char>(hostFile[end - 1])))
        --end;
    size_t start = end;
    while (start > nameStart && std::isdigit(static_cast<unsigned char>(hostFile[start - 1])))
        --start;
    if (start == end)
        return hostFile;
    std::string digits = hostFile.substr(start, end - start);
    // Add one, keeping the width of a zero-padded number.
    int i = static_cast<int>(digits.size()) - 1;
    for (; i >= 0; --i) {
        if (digits[static_cast<size_t>(i)] == '9') {
            digits[static_cast<size_t>(i)] = '0';
        } else {
            ++digits[static_cast<size_t>(i)];
            break;
        }
    }
    if (i < 0)
        digits.insert(digits.begin(), '1');
    return hostFile.substr(0, start) + digits + hostFile.substr(end);
}

}  // namespace platform
