// Where the technician's guide (docs/GUIDE.md made into a web page) is installed with the
// program.
#pragma once

#include <filesystem>

namespace platform {

// PREFIX/share/doc/velt-converter/guide.html for a program in PREFIX/bin on Linux, guide.html
// beside velt-converter.exe on Windows. Empty when the program's own place is unknown.
std::filesystem::path guideFile();

}  // namespace platform
