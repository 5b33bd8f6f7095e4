// JSON string literals and booleans.
#include "platform/headless/json.h"

#include <cstdio>
#include <string_view>

#include "platform/utf8_text.h"

namespace headless {

namespace {

void appendEscaped(std::string& out, char32_t c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
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
            // The byte as a Latin-1 character; C1 controls escaped like the C0 ones.
            if (c < 0xA0) {
                appendEscaped(out, c);
            } else {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
        } else if (c == '"') {
            out += "\\\"";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) {
            appendEscaped(out, c);
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
