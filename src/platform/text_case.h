// Letter case as the designed-for platform's file names treat it: ASCII letters only.
#pragma once

#include <string>

namespace platform {

// The text with its ASCII letters in lower case.
std::string lowerAscii(std::string text);
// The text with its ASCII letters in upper case.
std::string upperAscii(std::string text);
// A drive letter in upper case.
char upperLetter(char letter);
// True when the two texts differ at most in the case of ASCII letters.
bool sameIgnoringCase(const std::string& a, const std::string& b);

}  // namespace platform
