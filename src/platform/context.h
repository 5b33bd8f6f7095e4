// What the running program has been given by its front end: the drive table, the platform's
// temporary folder, and the process's current drive and folder.
#pragma once

#include <string>

#include "platform/drives.h"

namespace platform {

// The drive table every path is resolved through; the front end installs it at start-up.
void installDrives(DriveTable* table);
DriveTable& drives();

// The platform's temporary folder as a converter path without a trailing "\" ("C:\Temp").
void setTempFolder(const std::string& converterPath);
const std::string& tempFolder();

// The process's current drive (upper-case letter, 0 for none) and each drive's current
// folder ("\" for the root, otherwise "\a\b").
char currentDrive();
void setCurrentDrive(char letter);
std::string currentFolder(char letter);
void setCurrentFolder(char letter, const std::string& folder);

// Back to the state of a fresh process (tests).
void resetContext();

}  // namespace platform
