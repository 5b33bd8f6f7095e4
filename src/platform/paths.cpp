// Converter paths turned into a medium and a path on it through the drive table.
#include "platform/paths.h"

#include <cctype>
#include <optional>
#include <vector>

#include "platform/context.h"
#include "platform/drives.h"
#include "platform/error.h"
#include "platform/text_case.h"

namespace platform {

namespace {

std::vector<std::string> splitComponents(const std::string& text) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : text) {
        if (c == '\\' || c == '/') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

bool startsWithSeparator(const std::string& text) {
    return !text.empty() && (text[0] == '\\' || text[0] == '/');
}

}  // namespace

std::string driveNameOf(const std::string& path) {
    if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':')
        return path.substr(0, 2);
    return "";
}

MediumPath resolvePath(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos)
        raise(err::badFileName);

    char letter;
    std::string rest;
    if (!driveNameOf(path).empty()) {
        letter = platform::upperLetter(path[0]);
        rest = path.substr(2);
    } else {
        letter = currentDrive();
        if (letter == 0)
            raise(err::badFileName);
        rest = path;
    }

    std::shared_ptr<Medium> medium = drives().mediumOf(letter);

    std::vector<std::string> components;
    if (!startsWithSeparator(rest))
        components = splitComponents(currentFolder(letter));
    for (const std::string& part : splitComponents(rest)) {
        if (part == ".")
            continue;
        if (part == "..") {
            if (components.empty())
                raise(err::pathNotFound);
            components.pop_back();
            continue;
        }
        if (part.find(':') != std::string::npos)
            raise(err::badFileName);
        components.push_back(part);
    }

    std::string written;
    for (const std::string& part : components) {
        if (!written.empty())
            written += '\\';
        written += part;
    }
    MediumPath out;
    out.letter = letter;
    out.relative = medium->resolve(written);
    out.medium = std::move(medium);
    return out;
}

}  // namespace platform
