// The session log behind the log panel.
#include "ui/session_log.h"

#include <ctime>

#include "platform/guide.h"
#include "platform/utf8_text.h"
#include "ui/messages.h"

namespace ui {

namespace {

std::unique_ptr<platform::SessionLog> running;

}  // namespace

void startSessionLog(const std::filesystem::path& folder) {
    running = std::make_unique<platform::SessionLog>(folder, std::time(nullptr));
}

void stopSessionLog() {
    running.reset();
}

const platform::SessionLog* sessionLog() {
    return running.get();
}

std::string sessionLogFailureText(const std::string& failure) {
    return "The log of this session is not kept in a file: " + failure;
}

void recordInSessionLog(const std::string& panelText) {
    if (!running || running->write(panelText, std::time(nullptr)))
        return;
    // Given up before it is told, so that telling it does not come back here.
    const std::string failure = running->failure();
    running.reset();
    ui::appendLog(sessionLogFailureText(failure));
}

void showGuide(const std::function<bool(const std::filesystem::path&)>& open) {
    const std::filesystem::path guide = platform::guideFile();
    std::error_code ec;
    if (guide.empty() || !std::filesystem::is_regular_file(guide, ec) || !open(guide))
        ui::appendLog("The guide cannot be opened: " + platform::utf8Path(guide));
}

void showLogFolder(const std::function<bool(const std::filesystem::path&)>& open) {
    const std::filesystem::path folder = platform::sessionLogFolder();
    std::error_code ec;
    if (!folder.empty())
        std::filesystem::create_directories(folder, ec);
    if (folder.empty() || ec || !open(folder))
        ui::appendLog("The log folder cannot be opened: " + platform::utf8Path(folder));
}

}  // namespace ui
