// One script line cut into words, with the rest of the line from any word on (a path may hold
// blanks).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace script {

struct Words {
    std::string line;                // the line without the blanks around it
    std::vector<std::string> words;  // separated by runs of blanks
    std::vector<size_t> starts;      // where each word starts in `line`

    size_t size() const { return words.size(); }
    const std::string& operator[](size_t i) const { return words[i]; }
    // The line from word i to its end.
    std::string rest(size_t i) const { return line.substr(starts[i]); }
};

// The line's words; none for an empty line or a comment (first non-blank character #).
Words splitWords(const std::string& rawLine);

}  // namespace script
