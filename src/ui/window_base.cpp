// The toolkit-neutral half of the main window and the About box.
#include "ui/window_base.h"

#include "platform/error.h"

namespace ui {

void FrameLine::setEnds(int x1, int y1, int x2, int y2) {
    if (onMove)
        onMove(*this);
    ends_ = {x1, y1, x2, y2};
    if (onMove)
        onMove(*this);
}

WindowBase::WindowBase() {
    for (const form::LineEnds& ends : form::frameLines())
        lines_.emplace_back(ends);
}

Line& WindowBase::frameLine(int n) {
    if (n < 1 || n > static_cast<int>(lines_.size()))
        platform::raise(platform::err::subscriptOutOfRange);
    return lines_[static_cast<size_t>(n - 1)];
}

void WindowBase::setHeight(int twips) {
    height_ = twips;
    resize(twips);
}

std::string WindowBase::focus() const {
    for (std::string_view name : {"mainText", "logText"}) {
        if (focused(name))
            return std::string(name);
    }
    for (std::string_view name : form::tabOrder()) {
        if (focused(name))
            return std::string(name);
    }
    return "";
}

Answer WindowBase::msgBox(const std::string& text, Buttons buttons, Icon icon,
                          const std::string& title) {
    const Answer answer = showBox(text, buttons, icon, title);
    boxes_.push_back({text, buttons, icon, title, answer});
    return answer;
}

std::optional<Answer> WindowBase::nextAnswer() {
    if (answers_.empty())
        return std::nullopt;
    const Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void WindowBase::quit() {
    if (quit_)
        return;
    quit_ = true;
    close();
}

void AboutBoxBase::load() {
    if (loaded_)
        return;
    ++loads_;
    create();
    loaded_ = true;
    caption_.clear();
    showCaption("");
    for (Label* label : {&lblTitle(), &lblVersion(), &lblDescription()})
        label->setCaption("");
}

void AboutBoxBase::unload() {
    if (!loaded_)
        return;
    loaded_ = false;
    destroy();
}

void AboutBoxBase::show() {
    if (!loaded_)
        load();
    present();
}

void AboutBoxBase::setCaption(const std::string& caption) {
    caption_ = caption;
    if (loaded_)
        showCaption(caption);
}

}  // namespace ui
