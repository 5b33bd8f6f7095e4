// UTF-8 decoding one sequence at a time, strict: no overlong forms, no surrogates, nothing
// above U+10FFFF.
#include "platform/utf8_text.h"

namespace platform {

Utf8Step utf8Step(std::string_view text, size_t i) {
    Utf8Step step;
    const auto lead = static_cast<unsigned char>(text[i]);
    step.codePoint = lead;
    size_t extra = 0;
    char32_t cp = 0;
    char32_t lowest = 0;
    if (lead < 0x80) {
        return step;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        cp = lead & 0x1Fu;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        cp = lead & 0x0Fu;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        cp = lead & 0x07u;
        lowest = 0x10000;
    } else {
        step.valid = false;
        return step;
    }
    for (size_t k = 1; k <= extra; ++k) {
        if (i + k >= text.size()) {
            // Every byte so far fits; whether the sequence is valid depends on what follows.
            step.valid = false;
            step.truncated = true;
            return step;
        }
        const auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0u) != 0x80u) {
            step.valid = false;
            return step;
        }
        cp = (cp << 6) | (c & 0x3Fu);
    }
    if (cp < lowest || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
        step.valid = false;
        return step;
    }
    step.bytes = extra + 1;
    step.units = cp > 0xFFFF ? 2 : 1;
    step.codePoint = cp;
    return step;
}

int32_t utf16Length(std::string_view text) {
    int32_t units = 0;
    for (size_t i = 0; i < text.size();) {
        const Utf8Step step = utf8Step(text, i);
        units += step.units;
        i += step.bytes;
    }
    return units;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path pathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

}  // namespace platform
