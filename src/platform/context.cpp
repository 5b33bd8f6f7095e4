// The program's platform context: drive table, temporary folder, current drive and folders.
#include "platform/context.h"

#include <cctype>
#include <map>
#include <stdexcept>

#include "platform/text_case.h"

namespace platform {

namespace {
DriveTable* installedDrives = nullptr;
std::string tempPath;
char current = 0;
std::map<char, std::string> folders;
}  // namespace

void installDrives(DriveTable* table) {
    installedDrives = table;
}

DriveTable& drives() {
    if (installedDrives == nullptr)
        throw std::logic_error("no drive table installed");
    return *installedDrives;
}

void setTempFolder(const std::string& converterPath) {
    tempPath = converterPath;
}
const std::string& tempFolder() {
    return tempPath;
}

char currentDrive() {
    return current;
}
void setCurrentDrive(char letter) {
    current = platform::upperLetter(letter);
}

std::string currentFolder(char letter) {
    auto it = folders.find(platform::upperLetter(letter));
    return it == folders.end() ? "\\" : it->second;
}

void setCurrentFolder(char letter, const std::string& folder) {
    folders[platform::upperLetter(letter)] = folder;
}

void resetContext() {
    installedDrives = nullptr;
    tempPath.clear();
    current = 0;
    folders.clear();
}

}  // namespace platform
