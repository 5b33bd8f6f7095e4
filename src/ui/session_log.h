// The desktop programs keep each session's log as a file beside the log panel; velt-headless,
// whose transcript is its output, keeps none.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/session_log.h"

namespace ui {

// From now on every text the log panel receives goes into a new file in `folder` too.
void startSessionLog(const std::filesystem::path& folder);
// No file from now on (the end of the session, or of a test).
void stopSessionLog();
// The running session's log, or null when none is kept (never started, stopped, or failed).
const platform::SessionLog* sessionLog();

// A text as the log panel received it. A file that cannot be written is given up, and that is
// said once in the panel; the work goes on.
void recordInSessionLog(const std::string& panelText);

// The "Log folder" menu entry: the folder is made when missing and handed to `open` (the
// desktop's file manager); a folder that cannot be made or opened is told in the panel.
void showLogFolder(const std::function<bool(const std::filesystem::path&)>& open);

// The "Guide" menu entry: the installed guide is handed to `open` (the desktop's viewer); a
// guide that is missing or cannot be opened is told in the panel.
void showGuide(const std::function<bool(const std::filesystem::path&)>& open);

// The panel's line that tells of the failure.
std::string sessionLogFailureText(const std::string& failure);

}  // namespace ui
