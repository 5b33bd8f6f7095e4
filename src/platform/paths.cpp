// Converter paths turned into host paths through the drive table.
#include "platform/paths.h"

#include <sys/stat.h>

#include <cctype>
#include <optional>
#include <vector>

#include "platform/context.h"
#include "platform/drives.h"
#include "platform/error.h"
#include "platform/text_case.h"

namespace platform {

namespace {

bool entryPresent(const std::filesystem::path& p) {
    struct stat st {};
    return lstat(p.c_str(), &st) == 0;
}

// The entry of `folder` whose name matches `name` without regard to case; the smallest such
// name when several match, so that the choice does not depend on the listing order.
std::optional<std::string> matchIgnoringCase(const std::filesystem::path& folder,
                                             const std::string& name) {
    std::optional<std::string> best;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string candidate = it->path().filename().string();
        if (sameIgnoringCase(candidate, name) && (!best || candidate < *best))
            best = candidate;
    }
    return best;
}

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

HostPath resolvePath(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos)
        raise(err::badFileName);

    char letter;
    std::string rest;
    if (!driveNameOf(path).empty()) {
        letter = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
        rest = path.substr(2);
    } else {
        letter = currentDrive();
        if (letter == 0)
            raise(err::badFileName);
        rest = path;
    }

    std::optional<Drive> drive = drives().find(letter);
    if (!drive)
        raise(err::deviceUnavailable);
    if (!drive->ready || drive->root.empty())
        raise(err::diskNotReady);

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

    HostPath out;
    out.letter = letter;
    out.host = drive->root;
    bool matching = true;  // below a component that matched nothing, nothing can match
    for (const std::string& part : components) {
        std::string name = part;
        if (matching && !entryPresent(out.host / part)) {
            if (auto found = matchIgnoringCase(out.host, part)) {
                name = *found;
            } else {
                matching = false;
            }
        }
        out.host /= name;
        if (!out.relative.empty())
            out.relative += '\\';
        out.relative += name;
    }
    return out;
}

}  // namespace platform
