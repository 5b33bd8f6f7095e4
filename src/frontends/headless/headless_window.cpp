// The headless main window's transcript.
#include "frontends/headless/headless_window.h"

#include "frontends/headless/json.h"

namespace headless {

void HeadlessWindow::writeEvent(const std::string& jsonLine) {
    events_.push_back(jsonLine);
    if (transcript_ != nullptr) {
        *transcript_ << jsonLine << '\n';
        transcript_->flush();  // a crash later must not lose what happened before it
    }
}

ui::Answer HeadlessWindow::showBox(const std::string& text, ui::Buttons buttons, ui::Icon icon,
                                   const std::string& title) {
    const ui::Answer answer = RecordingWindow::showBox(text, buttons, icon, title);
    writeEvent("{\"event\":\"msgbox\",\"title\":" + jsonString(title) + ",\"icon\":\"" +
               iconName(icon) + "\",\"buttons\":\"" + buttonsName(buttons) +
               "\",\"text\":" + jsonString(text) + ",\"answer\":\"" + answerName(answer) + "\"}");
    return answer;
}

void HeadlessWindow::close() {
    RecordingWindow::close();
    writeEvent("{\"event\":\"end\"}");
}

void HeadlessWindow::statusShown(const std::string& text) {
    RecordingWindow::statusShown(text);
    writeEvent("{\"event\":\"status\",\"text\":" + jsonString(text) + "}");
}

void HeadlessWindow::logAppended(const std::string& text) {
    RecordingWindow::logAppended(text);
    writeEvent("{\"event\":\"log\",\"text\":" + jsonString(text) + "}");
}

std::string iconName(ui::Icon icon) {
    switch (icon) {
        case ui::Icon::critical:
            return "critical";
        case ui::Icon::question:
            return "question";
        case ui::Icon::exclamation:
            return "exclamation";
        case ui::Icon::information:
            return "information";
        case ui::Icon::none:
            break;
    }
    return "none";
}

std::string buttonsName(ui::Buttons buttons) {
    return buttons == ui::Buttons::yesNo ? "yesno" : "ok";
}

std::string answerName(ui::Answer answer) {
    switch (answer) {
        case ui::Answer::yes:
            return "yes";
        case ui::Answer::no:
            return "no";
        case ui::Answer::ok:
            break;
    }
    return "ok";
}

}  // namespace headless
