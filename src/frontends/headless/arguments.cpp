// Parsing the arguments of the script's commands: drive letters, drive types, the options of a
// medium and its host folder.
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <map>
#include <utility>

#include "frontends/headless/commands.h"
#include "frontends/headless/json.h"
#include "platform/utf8_text.h"

namespace script {

namespace {

// "label=x" -> "x" when `word` starts with `name` and "=".
std::optional<std::string> optionValue(const std::string& word, const std::string& name) {
    if (word.size() > name.size() && word.compare(0, name.size(), name) == 0 &&
        word[name.size()] == '=')
        return word.substr(name.size() + 1);
    return std::nullopt;
}

uint64_t parseBytes(const std::string& command, const std::string& word, const std::string& value) {
    uint64_t bytes = 0;
    const char* end = value.data() + value.size();
    const auto result = std::from_chars(value.data(), end, bytes);
    if (value.empty() || result.ec != std::errc() || result.ptr != end)
        throw ScriptError(command + ": " + headless::jsonString(word) +
                          " needs a whole number of bytes");
    return bytes;
}

// "LBA" or "LBA:N" of a badsector= option: the sector and how many times it fails (always
// when no N is given).
std::pair<uint64_t, std::optional<uint32_t>> parseBadSector(const std::string& command,
                                                            const std::string& word,
                                                            const std::string& value) {
    const size_t colon = value.find(':');
    uint64_t lba = 0;
    uint32_t times = 0;
    const char* begin = value.data();
    const char* lbaEnd = begin + std::min(colon, value.size());
    const auto r = std::from_chars(begin, lbaEnd, lba);
    bool ok = lbaEnd != begin && r.ec == std::errc() && r.ptr == lbaEnd;
    if (ok && colon != std::string::npos) {
        const char* end = begin + value.size();
        const auto t = std::from_chars(lbaEnd + 1, end, times);
        ok = end != lbaEnd + 1 && t.ec == std::errc() && t.ptr == end;
    }
    if (!ok)
        throw ScriptError(command + ": " + headless::jsonString(word) +
                          " needs a sector number, or a sector number, \":\" and a count");
    if (colon == std::string::npos)
        return {lba, std::nullopt};
    return {lba, times};
}

// A word that looks like an option the parser does not know ("size=5").
bool looksLikeOption(const std::string& word) {
    const size_t eq = word.find('=');
    if (eq == std::string::npos || eq == 0)
        return false;
    for (size_t i = 0; i < eq; ++i) {
        if (word[i] < 'a' || word[i] > 'z')
            return false;
    }
    return true;
}

}  // namespace

std::filesystem::path hostPathOf(const std::string& utf8) {
    return platform::pathFromUtf8(utf8);
}

std::string utf8Of(const std::filesystem::path& host) {
    return platform::utf8Path(host);
}

char parseDriveWord(const std::string& command, const std::string& word) {
    const bool ok = word.size() == 2 && word[1] == ':' &&
                    ((word[0] >= 'a' && word[0] <= 'z') || (word[0] >= 'A' && word[0] <= 'Z'));
    if (!ok)
        throw ScriptError(command + ": " + headless::jsonString(word) +
                          " is not a drive such as a:");
    return static_cast<char>(word[0] >= 'a' ? word[0] - 'a' + 'A' : word[0]);
}

platform::DriveType parseDriveType(const std::string& word) {
    static const std::map<std::string, platform::DriveType> names{
        {"unknown", platform::DriveType::unknown}, {"removable", platform::DriveType::removable},
        {"fixed", platform::DriveType::fixed},     {"network", platform::DriveType::network},
        {"cdrom", platform::DriveType::cdRom},     {"ramdisk", platform::DriveType::ramDisk}};
    if (auto it = names.find(word); it != names.end())
        return it->second;
    int code = 0;
    const char* end = word.data() + word.size();
    const auto result = std::from_chars(word.data(), end, code);
    if (result.ec != std::errc() || result.ptr != end)
        throw ScriptError("drive: unknown drive type " + headless::jsonString(word) +
                          " (unknown, removable, fixed, network, cdrom, ramdisk or a number)");
    return static_cast<platform::DriveType>(code);
}

namespace {

// The medium options before the PATH (label=, free=, bad=, ...); returns the index of the first
// word that is none.
size_t parseMediumOptions(const std::string& command, const Words& w, size_t first,
                          platform::MediumOptions& medium) {
    platform::Faults& faults = medium.faults;
    size_t i = first;
    for (; i < w.size(); ++i) {
        const std::string& word = w[i];
        if (word == "readonly") {
            faults.readonly = true;
        } else if (auto label = optionValue(word, "label")) {
            medium.label = *label;
        } else if (auto free = optionValue(word, "free")) {
            medium.freeBytes = parseBytes(command, word, *free);
        } else if (auto capacity = optionValue(word, "capacity")) {
            faults.capacity = parseBytes(command, word, *capacity);
        } else if (auto bad = optionValue(word, "bad")) {
            if (bad->empty())
                throw ScriptError(command + ": \"bad=\" needs a file name");
            faults.bad.push_back(*bad);
        } else if (auto corrupt = optionValue(word, "corrupt")) {
            if (corrupt->empty())
                throw ScriptError(command + ": \"corrupt=\" needs a file name");
            faults.corrupt.push_back(*corrupt);
        } else if (auto sector = optionValue(word, "badsector")) {
            const auto [lba, times] = parseBadSector(command, word, *sector);
            faults.badSectors[lba] = times;
        } else if (auto fail = optionValue(word, "fail")) {
            faults.failAt = parseBytes(command, word, *fail);
            if (*faults.failAt == 0)
                throw ScriptError(command + ": " + headless::jsonString(word) +
                                  " needs a change number of 1 or more");
        } else {
            break;
        }
    }
    return i;
}

// Faults planted at sectors: only an image has them, and only within its length (a sector past
// the end would never be read, and the fault would go unplanted).
void checkBadSectors(const std::string& command, const platform::Faults& faults,
                     const std::filesystem::path& host) {
    if (faults.badSectors.empty())
        return;
    std::error_code ec;
    if (std::filesystem::is_directory(host, ec))
        throw ScriptError(command + ": \"badsector=\" is for a diskette image, not a folder");
    const uint64_t bytes = std::filesystem::file_size(host, ec);
    const uint64_t sectors = ec ? 0 : bytes / 512 + (bytes % 512 != 0);
    const uint64_t last = faults.badSectors.rbegin()->first;
    if (last >= sectors)
        throw ScriptError(command + ": \"badsector=" + std::to_string(last) +
                          "\" lies past the end of the image (" + std::to_string(sectors) +
                          " sectors)");
}

}  // namespace

std::optional<platform::MediumOptions> parseMedium(const std::string& command, const Words& w,
                                                   size_t first, bool allowNone) {
    platform::MediumOptions medium;
    const size_t i = parseMediumOptions(command, w, first, medium);
    const bool anyOption = i > first;
    if (i == w.size())
        throw ScriptError(command + ": the PATH of the medium is missing");

    const std::string path = w.rest(i);
    if (path == "-") {
        if (!allowNone)
            throw ScriptError(command + ": the PATH must be a folder (eject takes a medium out)");
        if (anyOption)
            throw ScriptError(command + ": a drive without a medium (-) takes no medium options");
        return std::nullopt;
    }
    std::error_code ec;
    const std::filesystem::path host = hostPathOf(path);
    if (!std::filesystem::is_directory(host, ec) && !std::filesystem::is_regular_file(host, ec) &&
        !std::filesystem::is_block_file(host, ec)) {
        if (looksLikeOption(w[i]) && i + 1 < w.size())
            throw ScriptError(command + ": unknown option " + headless::jsonString(w[i]));
        throw ScriptError(command + ": " + headless::jsonString(path) +
                          " is neither an existing folder nor a diskette image file");
    }
    checkBadSectors(command, medium.faults, host);
    medium.root = std::filesystem::absolute(host, ec).lexically_normal();
    if (ec)
        throw ScriptError(command + ": " + headless::jsonString(path) + ": " + ec.message());
    return medium;
}

void expectWords(const Words& w, size_t count, const std::string& shape) {
    if (w.size() != count)
        throw ScriptError(w[0] + ": expected \"" + shape + "\"");
}

}  // namespace script
