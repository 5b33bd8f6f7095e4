// The `state` event, built key by key in the order the transcript fixes.
#include "frontends/headless/state_event.h"

#include <array>
#include <charconv>

#include "frontends/headless/json.h"
#include "state/state.h"
#include "ui/messages.h"
#include "wizard/wizard.h"

namespace script {

namespace {

using headless::jsonBool;
using headless::jsonString;

// Appends ,"key":value (no comma before the first key).
void add(std::string& out, const char* key, const std::string& value) {
    if (out.back() != '{')
        out += ',';
    out += '"';
    out += key;
    out += "\":";
    out += value;
}

std::string aboutValue(ui::AboutBox& box) {
    if (!box.loaded())
        return "null";
    std::string o = "{";
    add(o, "caption", jsonString(box.caption()));
    add(o, "title", jsonString(box.lblTitle().caption()));
    add(o, "version", jsonString(box.lblVersion().caption()));
    add(o, "description", jsonString(box.lblDescription().caption()));
    return o + "}";
}

}  // namespace

std::string floatText(float value) {
    if (value == 0)
        return "0";
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    return std::string(buffer.data(), result.ptr);
}

std::string pictureName(ui::Picture picture) {
    switch (picture) {
        case ui::Picture::ok:
            return "ok";
        case ui::Picture::back:
            return "back";
        case ui::Picture::exit:
            return "exit";
        case ui::Picture::showLog:
            return "showLog";
        case ui::Picture::hideLog:
            return "hideLog";
        case ui::Picture::none:
            break;
    }
    return "none";
}

std::string stateEvent(ui::MainWindow& w) {
    std::string e = "{";
    add(e, "event", "\"state\"");
    add(e, "wizardStep", std::to_string(static_cast<int>(app::wizardStep)));
    add(e, "currentDisk", std::to_string(app::currentDisk));
    add(e, "floppyDrive", jsonString(app::floppyDrive));
    add(e, "flashDrive", jsonString(app::flashDrive));
    add(e, "archiveId", ui::numberText(app::archiveId));
    add(e, "totalDisks", std::to_string(app::totalDisks));
    add(e, "fileCount", std::to_string(app::fileCount));
    add(e, "keycodeRecFound", jsonBool(app::keycodeRecFound));
    add(e, "caption", jsonString(w.caption()));
    add(e, "height", std::to_string(w.height()));
    add(e, "frameBottom", std::to_string(w.frameLine(3).y1()));
    add(e, "mainText", jsonString(w.mainText().text()));
    add(e, "logText", jsonString(w.logText().text()));
    add(e, "logShown", jsonBool(wizard::logShown));
    add(e, "logVisible", jsonBool(w.logText().visible()));
    add(e, "logSelection",
        "[" + std::to_string(w.logText().selStart()) + "," +
            std::to_string(w.logText().selLength()) + "]");

    auto& list = w.driveList();
    std::string drive = "{";
    add(drive, "index", std::to_string(list.listIndex()));
    add(drive, "entry", jsonString(list.drive()));
    add(drive, "visible", jsonBool(list.visible()));
    add(drive, "enabled", jsonBool(list.enabled()));
    add(e, "driveList", drive + "}");

    std::string size = "{";
    add(size, "caption", jsonString(w.driveSize().caption()));
    add(size, "visible", jsonBool(w.driveSize().visible()));
    add(e, "driveSize", size + "}");

    add(e, "label2", jsonString(w.summaryLabel().caption()));
    add(e, "buttonOK", jsonBool(w.buttonOK().enabled()));
    add(e, "buttonBack", jsonBool(w.buttonBack().enabled()));
    add(e, "buttonExit", jsonBool(w.buttonExit().enabled()));
    add(e, "buttonLogPicture", jsonString(pictureName(w.buttonLog().picture())));

    auto& bar = w.progressBar();
    std::string progress = "{";
    add(progress, "min", floatText(bar.min()));
    add(progress, "max", floatText(bar.max()));
    add(progress, "value", floatText(bar.value()));
    add(progress, "visible", jsonBool(bar.visible()));
    add(e, "progress", progress + "}");

    add(e, "focus", jsonString(w.focus()));
    add(e, "about", aboutValue(w.aboutBox()));
    return e + "}";
}

}  // namespace script
