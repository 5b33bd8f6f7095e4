// The `state` event: the conversion's variables, the form's and the window's state.
#pragma once

#include <string>

#include "ui/main_window.h"

namespace script {

// The whole event as one JSON line, keys in their fixed order.
std::string stateEvent(ui::MainWindow& w);

// A float as a plain decimal: the shortest text that reads back as the same float.
std::string floatText(float value);

// The name of a button picture: "showLog", "hideLog", "ok", "back", "exit" or "none".
std::string pictureName(ui::Picture picture);

}  // namespace script
