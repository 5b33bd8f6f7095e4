// Letter case as the designed-for platform's file names treat it: ASCII letters only.
#pragma once

#include <string>

namespace platform {

// The text with its ASCII letters in lower case.
std::string lowerAscii(std::string text);
// True when the two texts differ at most in the case of ASCII letters.
bool sameIgnoringCase(const std::string& a, const std::string& b);

}  // namespace platform
