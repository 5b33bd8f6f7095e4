// The setting-up commands: drives, the temporary folder, another instance, kept images, the
// state folder.
#include "frontends/headless/commands.h"
#include "frontends/headless/json.h"
#include "platform/error.h"
#include "platform/state_folder.h"
#include "wizard/wizard.h"

namespace script {

void driveCommand(Session& s, const Words& w) {
    if (w.size() < 4)
        throw ScriptError("drive: expected \"drive L: TYPE [OPTION ...] PATH\"");
    const char letter = parseDriveWord("drive", w[1]);
    const platform::DriveType type = parseDriveType(w[2]);
    auto medium = parseMedium("drive", w, 3, true);
    const std::string root = medium ? utf8Of(medium->root) : "";
    try {
        s.drives.define(letter, type, std::move(medium));
    } catch (const platform::Error& e) {
        throw ScriptError("drive: " + headless::jsonString(root) + ": " + e.description());
    }
}

// The path is checked when the window loads, once every drive is defined.
void tempCommand(Session& s, const Words& w) {
    if (w.size() < 2)
        throw ScriptError("temp: expected \"temp PATH\" such as C:\\Temp");
    const std::string path = w.rest(1);
    const bool drivePath =
        path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z')) &&
        (path.size() == 2 || path[2] == '\\');
    if (!drivePath)
        throw ScriptError("temp: " + headless::jsonString(path) +
                          " is not a path on a drive such as C:\\Temp");
    if (path.size() > 2 && path.back() == '\\')
        throw ScriptError("temp: " + headless::jsonString(path) +
                          " ends in \\ (write C:\\Temp, not C:\\Temp\\)");
    s.temp = path;
    s.tempLine = s.line;
}

void instanceCommand(Session& s, const Words& w) {
    expectWords(w, 1, "instance");
    s.anotherInstance = true;
}

// The command's folder, made now, so that a path that cannot be one is a script error at its
// line.
namespace {

std::filesystem::path madeFolder(const std::string& command, const Words& w) {
    if (w.size() < 2)
        throw ScriptError(command + ": expected \"" + command + " PATH\"");
    const std::string path = w.rest(1);
    std::error_code ec;
    const std::filesystem::path host = hostPathOf(path);
    std::filesystem::create_directories(host, ec);
    if (!std::filesystem::is_directory(host, ec))
        throw ScriptError(command + ": " + headless::jsonString(path) + " cannot be a folder");
    return std::filesystem::absolute(host, ec).lexically_normal();
}

}  // namespace

void keepImagesCommand(Session&, const Words& w) {
    wizard::keepImagesIn(utf8Of(madeFolder("keep-images", w)));
}

void stateFolderCommand(Session&, const Words& w) {
    platform::setStateFolder(madeFolder("state-folder", w));
}

}  // namespace script
