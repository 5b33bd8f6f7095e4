// UTF-8 text as the window counts it: UTF-16 code units, with a byte that does not start a
// valid sequence counted as one unit (a toolkit shows it as one replacement character).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// One step through UTF-8 text.
struct Utf8Step {
    size_t bytes = 1;        // bytes consumed: the whole sequence, or 1 for an invalid byte
    int units = 1;           // UTF-16 code units: 2 above U+FFFF, else 1
    bool valid = true;       // false: text[i] is a byte that starts no valid sequence
    bool truncated = false;  // invalid only because the text ends inside a sequence that
                             // more bytes could still complete
    char32_t codePoint = 0;  // the code point when valid, else the byte itself
};

// The step at byte `i` (< text.size()).
Utf8Step utf8Step(std::string_view text, size_t i);

// Length of the text in UTF-16 code units.
int32_t utf16Length(std::string_view text);

// Appends the code point to `out` in UTF-8.
void appendUtf8(std::string& out, char32_t cp);

// A host path as the UTF-8 text the logic, the log and scripts use, and back.
std::string utf8Path(const std::filesystem::path& path);
std::filesystem::path pathFromUtf8(std::string_view text);

}  // namespace platform
