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
// The UTF-8 text with every letter a FAT volume takes as one with another (ASCII, Latin-1,
// Latin Extended-A, Greek, Cyrillic) in lower case: two names with the same fold are one name
// on such a volume. Bytes that are not valid UTF-8 stay as they are.
std::string foldCase(const std::string& text);

}  // namespace platform
