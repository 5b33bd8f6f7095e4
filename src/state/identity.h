// The application's fixed identity.
#pragma once

#include <string>

#include "state/version.h"

namespace app {

inline constexpr const char* appTitle = "VELT Database Media Converter";
inline constexpr int versionMajor = VELT_VERSION_MAJOR;
inline constexpr int versionMinor = VELT_VERSION_MINOR;
inline constexpr int versionRevision = VELT_VERSION_PATCH;
inline constexpr const char* versionComments = "Mar 24, 2005";

// "1.0.0"
std::string versionText();

}  // namespace app
