// The session log file: its name, its lines, and the folder's oldest files removed.
#include "platform/session_log.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "platform/utf8_text.h"

namespace platform {

namespace {

std::string localTime(std::time_t when, const char* format) {
    // std::localtime's result is shared, but only this thread writes the log.
    const std::tm* local = std::localtime(&when);
    if (local == nullptr)
        return "0000-00-00 00:00:00";
    char text[32] = {};
    const size_t length = std::strftime(text, sizeof text, format, local);
    return std::string(text, length);
}

bool digits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "2026-12-08_18-22-01" and the copy number (1 when none) of a session log's name.
struct LogName {
    std::string stamp;
    unsigned long copy = 1;
};

bool parseName(const std::string& name, LogName& parsed) {
    constexpr std::string_view pattern = "dddd-dd-dd_dd-dd-dd";
    const std::string_view suffix = ".log";
    if (name.size() < pattern.size() + suffix.size() ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const bool digit = name[i] >= '0' && name[i] <= '9';
        if (pattern[i] == 'd' ? !digit : name[i] != pattern[i])
            return false;
    }
    parsed.stamp = name.substr(0, pattern.size());
    const std::string_view rest =
        std::string_view(name).substr(pattern.size(), name.size() - pattern.size() - 4);
    if (rest.empty()) {
        parsed.copy = 1;
        return true;
    }
    if (rest[0] != '_' || !digits(rest.substr(1)) || rest.size() > 6)
        return false;
    parsed.copy = std::stoul(std::string(rest.substr(1)));
    return true;
}

void removeOldest(const std::filesystem::path& folder, size_t kept) {
    std::error_code ec;
    std::vector<std::string> names;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = utf8Path(it->path().filename());
        if (isSessionLogName(name) && it->is_regular_file(ec))
            names.push_back(name);
    }
    if (names.size() <= kept)
        return;
    std::sort(names.begin(), names.end(), sessionLogBefore);
    for (size_t i = 0; i + kept < names.size(); ++i)
        std::filesystem::remove(folder / names[i], ec);  // one that stays is tried next time
}

}  // namespace

std::string sessionLogName(std::time_t start, int copy) {
    std::string name = localTime(start, "%Y-%m-%d_%H-%M-%S");
    if (copy > 1)
        name += "_" + std::to_string(copy);
    return name + ".log";
}

bool isSessionLogName(const std::string& name) {
    LogName parsed;
    return parseName(name, parsed);
}

bool sessionLogBefore(const std::string& a, const std::string& b) {
    LogName first, second;
    parseName(a, first);
    parseName(b, second);
    if (first.stamp != second.stamp)
        return first.stamp < second.stamp;
    return first.copy < second.copy;
}

std::string sessionLogLine(std::time_t when, std::string_view line) {
    return localTime(when, "%Y-%m-%d %H:%M:%S") + " " + std::string(line);
}

std::vector<std::string_view> panelLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t begin = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(begin, i - begin));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        begin = i + 1;
    }
    if (begin < text.size())
        lines.push_back(text.substr(begin));
    return lines;
}

SessionLog::SessionLog(const std::filesystem::path& folder, std::time_t start,
                       std::string_view lineEnd, size_t kept)
    : lineEnd_(lineEnd) {
    if (folder.empty()) {
        failure_ = "the system names no folder for it";
        return;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        failure_ = utf8Path(folder) + ": " + ec.message();
        return;
    }
    for (int copy = 1; copy < 1000; ++copy) {
        file_ = folder / sessionLogName(start, copy);
        if (!std::filesystem::exists(file_, ec) && !ec)
            break;
    }
    errno = 0;
    out_.open(file_, std::ios::binary | std::ios::app);
    if (!out_) {
        const int code = errno;
        failure_ = utf8Path(file_) + ": " +
                   (code != 0 ? std::generic_category().message(code) : "cannot be made");
        return;
    }
    removeOldest(folder, kept);
}

bool SessionLog::write(std::string_view text, std::time_t when) {
    if (failed())
        return false;
    for (std::string_view line : panelLines(text)) {
        out_ << sessionLogLine(when, line) << lineEnd_;
        out_.flush();
    }
    if (!out_) {
        failure_ = utf8Path(file_) + ": cannot be written";
        return false;
    }
    return true;
}

}  // namespace platform
