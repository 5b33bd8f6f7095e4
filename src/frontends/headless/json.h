// JSON text for the transcript of velt-headless.
#pragma once

#include <string>

namespace headless {

// A JSON string literal, quotes included: \" \\ \r \n escaped, other control characters as
// \uXXXX, and a byte that is not valid UTF-8 written as the Latin-1 character of that value,
// so that the output is always valid UTF-8.
std::string jsonString(const std::string& text);

// "true" or "false".
std::string jsonBool(bool value);

}  // namespace headless
