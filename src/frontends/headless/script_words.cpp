// Cutting script lines into words. Blanks are spaces and tabs; a CR left by a CR LF line end
// counts as one too.
#include "frontends/headless/script_words.h"

namespace script {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

}  // namespace

Words splitWords(const std::string& rawLine) {
    Words w;
    size_t begin = 0;
    size_t end = rawLine.size();
    while (begin < end && isBlank(rawLine[begin]))
        ++begin;
    while (end > begin && isBlank(rawLine[end - 1]))
        --end;
    w.line = rawLine.substr(begin, end - begin);
    if (w.line.empty() || w.line[0] == '#')
        return w;

    for (size_t i = 0; i < w.line.size();) {
        while (i < w.line.size() && isBlank(w.line[i]))
            ++i;
        if (i == w.line.size())
            break;
        const size_t start = i;
        while (i < w.line.size() && !isBlank(w.line[i]))
            ++i;
        w.starts.push_back(start);
        w.words.push_back(w.line.substr(start, i - start));
    }
    return w;
}

}  // namespace script
