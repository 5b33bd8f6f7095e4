// Letter case: ASCII-only upper and lower case for drive letters and short names, and the
// case folding that compares long names (Latin-1, Latin Extended-A, Greek and Cyrillic letters).
#include "platform/text_case.h"

#include <algorithm>
#include <cctype>

#include "platform/upcase_table.h"
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

// A FAT volume folds a long name one UTF-16 unit at a time: characters beyond the first plane,
// written as two units, are never folded.
char32_t upperUnit(char32_t c) {
    if (c > 0xFFFF)
        return c;
    const auto& runs = upcase::runs;
    auto it = std::upper_bound(runs.begin(), runs.end(), c,
                               [](char32_t v, const upcase::Run& r) { return v < r.first; });
    if (it == runs.begin())
        return c;
    const upcase::Run& r = *(it - 1);
    if (c > r.last || (c - r.first) % r.stride != 0)
        return c;
    return static_cast<char32_t>(static_cast<int32_t>(c) + r.offset);
}

}  // namespace

std::string foldCase(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const Utf8Step step = utf8Step(text, i);
        if (step.valid)
            appendUtf8(out, upperUnit(step.codePoint));
        else
            out.append(text, i, step.bytes);
        i += step.bytes;
    }
    return out;
}

}  // namespace platform
