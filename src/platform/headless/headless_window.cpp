// The headless main window and its transcript.
#include "platform/headless/headless_window.h"

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

wizard::Line& HeadlessWindow::line(int n) {
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

wizard::Answer HeadlessWindow::msgBox(const std::string& text, wizard::Buttons buttons,
                                      wizard::Icon icon, const std::string& title) {
    wizard::Answer answer = wizard::Answer::ok;
    if (buttons == wizard::Buttons::yesNo) {
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

std::string iconName(wizard::Icon icon) {
    switch (icon) {
        case wizard::Icon::critical:
            return "critical";
        case wizard::Icon::question:
            return "question";
        case wizard::Icon::exclamation:
            return "exclamation";
        case wizard::Icon::information:
            return "information";
        case wizard::Icon::none:
            break;
    }
    return "none";
}

std::string buttonsName(wizard::Buttons buttons) {
    return buttons == wizard::Buttons::yesNo ? "yesno" : "ok";
}

std::string answerName(wizard::Answer answer) {
    switch (answer) {
        case wizard::Answer::yes:
            return "yes";
        case wizard::Answer::no:
            return "no";
        case wizard::Answer::ok:
            break;
    }
    return "ok";
}

}  // namespace headless
