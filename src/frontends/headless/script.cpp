// The script runner: reads the script line by line, runs each command, and turns a bad line
// into the error event that ends the run.
#include "frontends/headless/script.h"

#include <map>
#include <string>

#include "frontends/headless/commands.h"
#include "frontends/headless/json.h"
#include "frontends/headless/script_words.h"
#include "frontends/headless/session.h"
#include "platform/context.h"
#include "platform/state_folder.h"
#include "state/state.h"
#include "wizard/wizard.h"

namespace script {

namespace {

struct Command {
    bool setsUp;  // before start; otherwise from start on
    void (*run)(Session&, const Words&);
};

const std::map<std::string, Command>& commands() {
    static const std::map<std::string, Command> table{
        {"drive", {true, driveCommand}},
        {"temp", {true, tempCommand}},
        {"instance", {true, instanceCommand}},
        {"start", {false, startCommand}},
        {"select", {false, selectCommand}},
        {"key", {false, clickCommand}},
        {"insert", {false, insertCommand}},
        {"eject", {false, ejectCommand}},
        {"ok", {false, clickCommand}},
        {"back", {false, clickCommand}},
        {"exit", {false, clickCommand}},
        {"log", {false, clickCommand}},
        {"close", {false, closeCommand}},
        {"about", {false, clickCommand}},
        {"about-ok", {false, clickCommand}},
        {"answer", {false, answerCommand}},
        {"state", {false, stateCommand}},
        {"keep-images", {true, keepImagesCommand}},
        {"state-folder", {true, stateFolderCommand}},
        {"check-card", {false, checkCardCommand}},
    };
    return table;
}

void runLine(Session& s, const Words& w) {
    const std::string& name = w[0];
    const auto it = commands().find(name);
    if (it == commands().end())
        throw ScriptError("unknown command " + headless::jsonString(name));
    const Command& c = it->second;
    if (c.setsUp && s.started)
        throw ScriptError(headless::jsonString(name) +
                          " is a setting-up command and must come before start");
    if (!c.setsUp && !s.started && name != "start")
        throw ScriptError(headless::jsonString(name) + " plays the user and must come after start");
    c.run(s, w);
}

void writeError(Session& s, int line, const std::string& text) {
    s.window->writeEvent("{\"event\":\"error\",\"line\":" + std::to_string(line) +
                         ",\"text\":" + headless::jsonString(text) + "}");
}

int runLines(Session& s, std::istream& in, std::ostream& err) {
    std::string raw;
    while (!s.ended && std::getline(in, raw)) {
        ++s.line;
        const Words w = splitWords(raw);
        if (w.size() == 0)
            continue;
        try {
            runLine(s, w);
        } catch (const ScriptError& e) {
            writeError(s, e.line != 0 ? e.line : s.line, e.what());
            return exitScriptError;
        } catch (const ui::NoAnswerQueued& e) {
            writeError(s, s.line, e.what());
            return exitScriptError;
        }
    }
    if (in.bad()) {
        err << "velt-headless: the script could not be read after line " << s.line << "\n";
        return exitFailure;
    }
    // A question the script expected never came.
    const size_t left = s.window->queuedAnswers();
    if (!s.ended && left > 0) {
        writeError(s, s.answerLines[s.answerLines.size() - left],
                   "this answer is still queued at the end of the script: no question took it");
        return exitScriptError;
    }
    return exitDone;
}

void resetAll() {
    app::resetState();
    wizard::resetForm();
    platform::resetContext();
    ui::installWindow(nullptr);
    platform::setStateFolder({});
}

}  // namespace

int runScript(std::istream& in, std::ostream& out, std::ostream& err) {
    resetAll();
    Session s;
    int status = exitFailure;
    try {
        platform::installDrives(&s.drives);
        s.window = std::make_unique<headless::HeadlessWindow>();
        s.window->setTranscript(&out);
        ui::installWindow(s.window.get());
        status = runLines(s, in, err);
    } catch (const std::exception& e) {
        err << "velt-headless: line " << s.line << ": " << e.what() << "\n";
        status = exitFailure;
    }
    // The session's drives and window go now; nothing may point at them.
    resetAll();
    if (!s.ownStateFolder.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(s.ownStateFolder, ec);
    }
    return status;
}

}  // namespace script
