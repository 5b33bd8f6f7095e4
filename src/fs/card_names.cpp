// The rules a name must meet to reach the card: no device names, no characters the card refuses,
// at most 255 UTF-16 units, and no two names of a folder the card takes for one.
#include "fs/card_names.h"

#include <algorithm>
#include <array>
#include <map>
#include <string_view>

#include "platform/text_case.h"
#include "platform/utf8_text.h"
#include "ui/messages.h"

namespace fs {

namespace {

// A long file name holds at most 255 UTF-16 units.
constexpr int32_t longestName = 255;

bool deviceName(const std::string& name) {
    // The part before the first dot, without the blanks before that dot: "con.txt" and
    // "con .txt" are the device as much as "con" is.
    std::string stem = name.substr(0, name.find('.'));
    stem.erase(stem.find_last_not_of(' ') + 1);
    stem = platform::upperAscii(stem);
    static const std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    for (std::string_view d : plain) {
        if (stem == d)
            return true;
    }
    if (stem.rfind("COM", 0) != 0 && stem.rfind("LPT", 0) != 0)
        return false;
    const std::string_view number = std::string_view(stem).substr(3);
    // Windows takes the superscript digits one to three for ports as well.
    static const std::array<std::string_view, 3> superscripts = {"\xc2\xb9", "\xc2\xb2",
                                                                 "\xc2\xb3"};
    if (number.size() == 1)
        return number[0] >= '1' && number[0] <= '9';
    return std::find(superscripts.begin(), superscripts.end(), number) != superscripts.end();
}

}  // namespace

std::optional<std::string> cardNameProblem(const std::string& name) {
    if (name.empty())
        return "The name is empty";
    for (unsigned char c : name) {
        if (c < 0x20 ||
            std::string_view("\"*/:<>?\\|").find(static_cast<char>(c)) != std::string_view::npos)
            return "The name holds a character that the Compact Flash card does not allow";
    }
    for (size_t i = 0; i < name.size();) {
        const platform::Utf8Step step = platform::utf8Step(name, i);
        if (!step.valid)
            return "The name is not valid text";
        i += step.bytes;
    }
    if (name.back() == '.' || name.back() == ' ')
        return "The name ends in a dot or a blank";
    if (deviceName(name))
        return "The name is a device name";
    if (platform::utf16Length(name) > longestName)
        return "The name is longer than 255 characters";
    return std::nullopt;
}

std::optional<std::pair<std::string, std::string>> cardTwins(
    const std::vector<std::string>& names) {
    std::map<std::string, const std::string*> seen;
    for (const std::string& name : names) {
        auto [it, added] = seen.try_emplace(platform::foldCase(name), &name);
        if (!added)
            return std::make_pair(*it->second, name);
    }
    return std::nullopt;
}

std::string cardNameReport(const std::string& path, const std::string& problem) {
    return "The Compact Flash card cannot hold " + path + ui::crlf + problem + ".";
}

}  // namespace fs
