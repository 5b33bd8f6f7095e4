// The desktop program's log of one session, kept as a file: every line of the log panel with
// its local time, flushed line by line. A folder holds one file a session, the newest kept.
#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The folder of the session logs: $XDG_STATE_HOME/velt-converter/logs (by default
// ~/.local/state/velt-converter/logs) on Linux, %LOCALAPPDATA%\VELT Database Media
// Converter\Logs on Windows. Empty when the system names no such place.
std::filesystem::path sessionLogFolder();
// The line end of the platform's text files ("\n", or "\r\n" on Windows).
std::string_view nativeLineEnd();

inline constexpr size_t sessionLogsKept = 50;

// "2026-12-08_18-22-01.log" for a session started then (local time); a second session started
// in the same second gets "..._2.log", and so on.
std::string sessionLogName(std::time_t start, int copy = 1);
// Whether `name` is a session log's name, and its order among them (the newest last).
bool isSessionLogName(const std::string& name);
bool sessionLogBefore(const std::string& a, const std::string& b);
// "2026-12-08 18:22:01 " + line: a line of the file.
std::string sessionLogLine(std::time_t when, std::string_view line);
// The lines of a text as the log panel shows them: split at CR LF, LF or CR.
std::vector<std::string_view> panelLines(std::string_view text);

class SessionLog {
  public:
    // Makes the folder and the session's file in it, and removes the oldest session logs
    // beyond `kept`. A failure is kept in failure(), and nothing is written.
    SessionLog(const std::filesystem::path& folder, std::time_t start,
               std::string_view lineEnd = nativeLineEnd(), size_t kept = sessionLogsKept);

    // Writes each line of `text` (as the log panel receives it: ending with its line break),
    // prefixed with `when`, and flushes it. False when the file
    // cannot be written (or could not be made); it is then left alone from then on.
    bool write(std::string_view text, std::time_t when);

    bool failed() const { return !failure_.empty(); }
    // What went wrong, for a person ("" when nothing did).
    const std::string& failure() const { return failure_; }
    const std::filesystem::path& file() const { return file_; }

  private:
    std::filesystem::path file_;
    std::string lineEnd_;
    std::ofstream out_;
    std::string failure_;
};

}  // namespace platform
