// The status line, the log, the message boxes, the end of the program and the number texts of
// messages.
#include "wizard/util_module.h"

#include <array>
#include <charconv>
#include <string_view>

#include "app/identity.h"
#include "app/state.h"

namespace UtilModule {

namespace {

// Length of UTF-8 text in UTF-16 code units, as the log box counts it: a code point above
// U+FFFF takes two units, and a byte that does not start a valid sequence counts as one.
int32_t utf16Length(std::string_view text) {
    int32_t units = 0;
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        char32_t cp = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            cp = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            cp = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            cp = lead & 0x07u;
        } else {
            ++units;
            ++i;
            continue;
        }
        bool valid = i + extra < text.size();
        for (size_t k = 1; valid && k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0u) != 0x80u)
                valid = false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        if (valid && extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)))
            valid = false;
        if (valid && extra == 3 && (cp < 0x10000 || cp > 0x10FFFF))
            valid = false;
        if (!valid) {
            ++units;
            ++i;
            continue;
        }
        units += cp > 0xFFFF ? 2 : 1;
        i += extra + 1;
    }
    return units;
}

}  // namespace

void setStatus(const std::string& text) {
    auto& w = wizard::window();
    w.mainText().setText(text + crlf);
    w.mainText().refresh();
    w.statusShown(text);
    appendLog(text);
}

void appendLog(const std::string& text) {
    auto& w = wizard::window();
    auto& log = w.logText();
    log.appendText(text + crlf);
    if (log.visible()) {
        const int32_t length = utf16Length(text);
        log.setSelection(log.length() - length - 2, length);
    }
    w.logAppended(text);
}

void promptForDiskette(int16_t n) {
    setStatus("Please insert diskette #" + std::to_string(n) + " and press the OK button");
}

wizard::Answer msgBox(const std::string& text, wizard::Buttons buttons, wizard::Icon icon,
                      const std::string& title) {
    return wizard::window().msgBox(text, buttons, icon, title.empty() ? app::appTitle : title);
}

void errorBox(const std::string& text) {
    msgBox(text, wizard::Buttons::ok, wizard::Icon::critical, "Error!");
}

void report(const std::string& text, const std::string& logPrefix) {
    app::errorText = text;
    appendLog(logPrefix + text);
    errorBox(text);
}

void endProgram() {
    throw ProgramEnded{};
}

std::string numberText(double value) {
    if (value == 0)
        return "0";  // also for -0
    // Large enough for the fixed form of any double (309 digits before the point at most,
    // some 770 after it for the smallest subnormals).
    std::array<char, 1100> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    return std::string(buffer.data(), result.ptr);
}

}  // namespace UtilModule
