// Letter case as the designed-for platform's file names treat it.
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
// The UTF-8 text with every character of the first Unicode plane in its simple uppercase, as
// Windows folds the long names of a FAT volume. Letters whose uppercase does not lower back to
// them (dotless i, final sigma, the micro sign) fold too, though not every Windows version
// folds them: a pair refused in doubt costs a renamed file, a pair passed in doubt a lost one.
// Two names with the same fold are one name on such a volume. Bytes that are not valid UTF-8
// stay as they are.
std::string foldCase(const std::string& text);

}  // namespace platform
