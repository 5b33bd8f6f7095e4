// Where the technician's guide (docs/GUIDE.md) is installed with the program.
#pragma once

#include <filesystem>

namespace platform {

// PREFIX/share/doc/velt-converter/GUIDE.md for a program in PREFIX/bin on Linux, GUIDE.md beside
// velt-converter.exe on Windows. Empty when the program's own place is unknown.
std::filesystem::path guideFile();

}  // namespace platform
