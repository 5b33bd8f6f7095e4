// The application's fixed identity.
#pragma once

#include <string>

namespace app {

inline constexpr const char* appTitle = "VELT Database Media Converter";
inline constexpr int versionMajor = 1;
inline constexpr int versionMinor = 0;
inline constexpr int versionRevision = 0;
inline constexpr const char* versionComments = "Mar 24, 2005";

// "1.0.0"
std::string versionText();

}  // namespace app
