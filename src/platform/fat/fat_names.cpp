// Entry names of a FAT folder: 8.3 names in code page 437 and long names in UTF-16, as UTF-8.
#include "platform/fat/fat_names.h"

#include <algorithm>
#include <string_view>

namespace platform::fat {

namespace {

constexpr uint8_t lowerBase = 0x08;  // the case flags some systems keep for all-lower names
constexpr uint8_t lowerExt = 0x10;
constexpr int maxLongEntries = 20;  // 255 units

// Code page 437 from 0x80 up; the diskettes' short names were written on its machines.
constexpr char16_t cp437[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

// What no FAT name may hold; some of it would also break the converter's paths.
bool forbidden(char32_t c) {
    return c < 0x20 || c == 0x7F ||
           std::u32string_view(U"\"*/:<>?\\|").find(c) != std::u32string_view::npos;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Bytes of a short name or label, blanks trimmed; nothing for a byte no name may hold.
std::optional<std::string> decodeOem(const uint8_t* bytes, size_t size, bool lower) {
    while (size > 0 && bytes[size - 1] == ' ')
        --size;
    std::string out;
    for (size_t i = 0; i < size; ++i) {
        uint8_t b = bytes[i];
        if (forbidden(b))
            return std::nullopt;
        if (b >= 0x80)
            appendUtf8(out, cp437[b - 0x80]);
        else
            out += static_cast<char>(lower && b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b);
    }
    return out;
}

uint8_t checksumOf(const uint8_t* name) {
    uint8_t sum = 0;
    for (int i = 0; i < 11; ++i)
        sum = static_cast<uint8_t>(((sum & 1) << 7) + (sum >> 1) + name[i]);
    return sum;
}

// UTF-16 to UTF-8; nothing for a unit no name may hold, or a lone surrogate.
std::optional<std::string> decodeLong(const std::vector<char16_t>& units) {
    std::string out;
    for (size_t i = 0; i < units.size() && units[i] != 0; ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return std::nullopt;
        }
        if (forbidden(c) || c == 0xFFFF)
            return std::nullopt;
        appendUtf8(out, c);
    }
    if (out.empty() || out == "." || out == "..")
        return std::nullopt;
    return out;
}

}  // namespace

std::optional<std::string> shortName(const uint8_t* entry) {
    uint8_t base[8];
    std::copy(entry, entry + 8, base);
    if (base[0] == 0x05)  // a name starting with 0xE5 would read as deleted
        base[0] = 0xE5;
    if (base[0] == ' ')
        return std::nullopt;
    std::optional<std::string> name = decodeOem(base, 8, entry[12] & lowerBase);
    std::optional<std::string> ext = decodeOem(entry + 8, 3, entry[12] & lowerExt);
    if (!name || !ext)
        return std::nullopt;
    return ext->empty() ? *name : *name + '.' + *ext;
}

std::string labelName(const uint8_t* entry) {
    std::string out;
    size_t size = 11;
    while (size > 0 && (entry[size - 1] == ' ' || entry[size - 1] == 0))
        --size;
    for (size_t i = 0; i < size; ++i) {
        if (entry[i] >= 0x80)
            appendUtf8(out, cp437[entry[i] - 0x80]);
        else
            out += static_cast<char>(entry[i] < 0x20 ? '_' : entry[i]);
    }
    return out;
}

void LongName::add(const uint8_t* entry) {
    const int sequence = entry[0] & 0x1F;
    const bool first = entry[0] & 0x40;  // the last part of the name comes first
    if (first) {
        parts_.clear();
        if (sequence == 0 || sequence > maxLongEntries || entry[12] != 0)
            return;
        parts_.assign(size_t(sequence) * 13, 0xFFFF);
        checksum_ = entry[13];
    } else if (parts_.empty() || expected_ == 0 || sequence != expected_ ||
               entry[13] != checksum_ || entry[12] != 0) {
        parts_.clear();
        return;
    }
    static constexpr int offsets[13] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
    for (size_t i = 0; i < 13; ++i)
        parts_[(sequence - 1) * 13 + i] =
            static_cast<char16_t>(entry[offsets[i]] | entry[offsets[i] + 1] << 8);
    expected_ = sequence - 1;
}

std::optional<std::string> LongName::take(const uint8_t* shortEntry) {
    std::optional<std::string> name;
    if (!parts_.empty() && expected_ == 0 && checksumOf(shortEntry) == checksum_)
        name = decodeLong(parts_);
    parts_.clear();
    return name;
}

}  // namespace platform::fat
