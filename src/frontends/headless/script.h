// The script front end: runs a velt-headless script against the real wizard and writes the
// transcript, one JSON object a line.
#pragma once

#include <istream>
#include <ostream>

namespace script {

// Exit statuses of velt-headless.
inline constexpr int exitDone = 0;         // the script ran to its end, or the program ended
inline constexpr int exitScriptError = 2;  // an error event has been written
inline constexpr int exitFailure = 1;      // velt-headless itself failed (told on `err`)

// Runs the whole script; the transcript goes to `out`. Returns one of the exit statuses.
// Starts from fresh converter, form and platform state, and leaves no window or drive table
// installed.
int runScript(std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace script
