// What a running script holds: its drives, the window, and where it stands.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "frontends/headless/headless_window.h"
#include "platform/drives.h"
#include "platform/folder_drives.h"

namespace script {

// A bad script: the text of its error event, and the line it is about when that is not the
// line being run (0).
struct ScriptError : std::runtime_error {
    explicit ScriptError(const std::string& text, int atLine = 0)
        : std::runtime_error(text), line(atLine) {}
    int line;
};

struct Session {
    platform::FolderDriveTable drives;
    std::unique_ptr<headless::HeadlessWindow> window;

    int line = 0;          // the line being run, from 1
    bool started = false;  // `start` has run
    bool ended = false;    // the program has ended; nothing more runs
    bool anotherInstance = false;
    std::optional<std::string> temp;  // the temp line's path, and where it was given
    int tempLine = 0;
    std::vector<int> answerLines;  // the line of every answer queued, in order
    // The state folder made for this run when the script names none; removed at its end.
    std::filesystem::path ownStateFolder;
};

}  // namespace script
