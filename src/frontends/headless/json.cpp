// JSON string literals and booleans.
#include "frontends/headless/json.h"

#include <cstdio>
#include <string_view>

#include "platform/utf8_text.h"

namespace headless {

namespace {

// Control characters as the common JSON writers put them: the short escapes where JSON has
// one, \u00xx otherwise.
void appendControl(std::string& out, char32_t c) {
    switch (c) {
        case '\b':
            out += "\\b";
            return;
        case '\f':
            out += "\\f";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            break;
    }
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
    out += buffer;
}

}  // namespace

std::string jsonString(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    const std::string_view view(text);
    for (size_t i = 0; i < view.size();) {
        const platform::Utf8Step step = platform::utf8Step(view, i);
        const char32_t c = step.codePoint;
        if (!step.valid) {
            // The byte as a Latin-1 character (0x80 and above: two bytes of UTF-8).
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c == '"') {
            out += "\\\"";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20) {
            appendControl(out, c);
        } else {
            out.append(view.substr(i, step.bytes));
        }
        i += step.bytes;
    }
    out += '"';
    return out;
}

std::string jsonBool(bool value) {
    return value ? "true" : "false";
}

}  // namespace headless
