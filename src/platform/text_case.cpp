// Letter case: ASCII-only upper and lower case for drive letters and short names, and the
// case folding that compares long names (Latin-1, Latin Extended-A, Greek and Cyrillic letters).
#include "platform/text_case.h"

#include <algorithm>
#include <cctype>

#include "platform/utf8_text.h"

namespace platform {

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string upperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

char upperLetter(char letter) {
    return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
}

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && lowerAscii(a) == lowerAscii(b);
}

namespace {

char32_t lowerLetter(char32_t c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 0x20 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 0x20;
    if (c == 0x178)
        return 0xFF;
    // Latin Extended-A pairs: even upper, odd lower, but for the run that is shifted by one.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return c | 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1) != 0 ? c + 1 : c;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return c + 0x20;
    if (c >= 0x410 && c <= 0x42F)
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    return c;
}

}  // namespace

std::string foldCase(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const Utf8Step step = utf8Step(text, i);
        if (step.valid)
            appendUtf8(out, lowerLetter(step.codePoint));
        else
            out.append(text, i, step.bytes);
        i += step.bytes;
    }
    return out;
}

}  // namespace platform
