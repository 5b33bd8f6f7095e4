// The script's commands. Each runs one line of its kind and raises ScriptError for a bad one.
#pragma once

#include <filesystem>
#include <string>

#include "frontends/headless/script_words.h"
#include "frontends/headless/session.h"

namespace script {

// Setting up, before start.
void driveCommand(Session& s, const Words& w);
void tempCommand(Session& s, const Words& w);
void instanceCommand(Session& s, const Words& w);
void keepImagesCommand(Session& s, const Words& w);
void stateFolderCommand(Session& s, const Words& w);

// Playing the user, from start on. Those that raise a window event set s.ended when the
// program ended in it.
void startCommand(Session& s, const Words& w);
void selectCommand(Session& s, const Words& w);
void insertCommand(Session& s, const Words& w);
void ejectCommand(Session& s, const Words& w);
void clickCommand(Session& s, const Words& w);  // key, ok, back, exit, log, about, about-ok
void closeCommand(Session& s, const Words& w);
void checkCardCommand(Session& s, const Words& w);
void answerCommand(Session& s, const Words& w);
void stateCommand(Session& s, const Words& w);

// ---- Argument parsing shared by the commands ----

// The upper-case letter of a drive word "a:" (a to z, either case).
char parseDriveWord(const std::string& command, const std::string& word);
// A drive type name or a whole number.
platform::DriveType parseDriveType(const std::string& word);
// The options from word `first` on and the PATH after them; nothing for the PATH "-" when
// `allowNone`.
// Script paths are UTF-8; host paths are built from them and shown in them as UTF-8 on every
// platform (a narrow string would be read in the Windows code page).
std::filesystem::path hostPathOf(const std::string& utf8);
std::string utf8Of(const std::filesystem::path& host);

std::optional<platform::MediumOptions> parseMedium(const std::string& command, const Words& w,
                                                   size_t first, bool allowNone);
// ScriptError unless the command has exactly `count` words, itself included.
void expectWords(const Words& w, size_t count, const std::string& shape);

}  // namespace script
