// The headless main window and its transcript.
#include "frontends/headless/headless_window.h"

#include "platform/error.h"

namespace headless {

HeadlessWindow::HeadlessWindow() {
    mainText_.setText("Please wait...");
}

void HeadlessWindow::writeEvent(const std::string& jsonLine) {
    events_.push_back(jsonLine);
    if (transcript_ != nullptr) {
        *transcript_ << jsonLine << '\n';
        transcript_->flush();  // a crash later must not lose what happened before it
    }
}

ui::Line& HeadlessWindow::line(int n) {
    switch (n) {
        case 1:
            return line1_;
        case 2:
            return line2_;
        case 3:
            return line3_;
        case 4:
            return line4_;
        default:
            platform::raise(platform::err::subscriptOutOfRange);
    }
}

ui::Answer HeadlessWindow::msgBox(const std::string& text, ui::Buttons buttons, ui::Icon icon,
                                  const std::string& title) {
    ui::Answer answer = ui::Answer::ok;
    if (buttons == ui::Buttons::yesNo) {
        if (answers_.empty())
            throw NoAnswerQueued("no answer queued for the question \"" + title + "\": " + text);
        answer = answers_.front();
        answers_.pop_front();
    }
    messageBoxes_.push_back({text, buttons, icon, title, answer});
    writeEvent("{\"event\":\"msgbox\",\"title\":" + jsonString(title) + ",\"icon\":\"" +
               iconName(icon) + "\",\"buttons\":\"" + buttonsName(buttons) +
               "\",\"text\":" + jsonString(text) + ",\"answer\":\"" + answerName(answer) + "\"}");
    return answer;
}

void HeadlessWindow::quit() {
    if (quit_)
        return;
    quit_ = true;
    writeEvent("{\"event\":\"end\"}");
}

void HeadlessWindow::statusShown(const std::string& text) {
    statuses_.push_back(text);
    writeEvent("{\"event\":\"status\",\"text\":" + jsonString(text) + "}");
}

void HeadlessWindow::logAppended(const std::string& text) {
    logs_.push_back(text);
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
