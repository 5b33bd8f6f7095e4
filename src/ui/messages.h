// The status line, the log and the message boxes: everything the converter tells the user goes
// through these. Also the end of the program and the number texts of messages.
#pragma once

#include <cstdint>
#include <string>

#include "ui/main_window.h"

namespace ui {

inline constexpr const char* crlf = "\r\n";

// Replaces the status box's text with text + CR LF, repaints it at once, and logs the text.
void setStatus(const std::string& text);
// Adds text + CR LF to the log; while the log is visible the new message is selected.
void appendLog(const std::string& text);
// Moves the progress bar on by `step`; a value beyond its range leaves it where it is.
void advanceProgress(int16_t step);
// Puts the progress bar back to 0, and shows or hides it. Showing progress is no part of the
// work: a bar that refuses is passed over.
void restartProgress();
void showProgress(bool visible);
// The bar's range; one it refuses is passed over as well.
void setProgressMin(float value);
void setProgressMax(float value);
// The status "Please insert diskette #n and press the OK button".
void promptForDiskette(int16_t n);

// A modal message box; an empty title shows the application title.
ui::Answer msgBox(const std::string& text, ui::Buttons buttons, ui::Icon icon,
                  const std::string& title = "");
// The common failure box: the text, OK only, the critical icon, the title "Error!".
void errorBox(const std::string& text);
// errorText = text; appendLog(prefix + text); errorBox(text). The common failure report.
void report(const std::string& text, const std::string& logPrefix = "");

// Thrown by endProgram; only the event boundary catches it.
struct ProgramEnded {};
// Ends the program at once: unwinds to the event boundary, and nothing after it runs.
[[noreturn]] void endProgram();

// The shortest decimal text of a number: plain digits for whole numbers, no exponent.
std::string numberText(double value);

}  // namespace ui
