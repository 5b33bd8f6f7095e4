// The digit grouping of the free-space figures: the user's locale by default, or a separator
// the front end fixes.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <locale>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/utf8_text.h"
#include "wizard/wizard.h"

namespace wizard {

namespace {

struct Grouping {
    std::string separator;
    std::string sizes;  // as numpunct::grouping: one group size a char, the last one repeats
};

std::optional<Grouping> fixed;

// The user's locale. The wide facet is asked because the narrow one cannot hold a separator
// such as U+202F. A locale that cannot be made, or one that does not group (the "C" locale),
// gives "," in threes.
Grouping userGrouping() {
    try {
        const std::locale user("");
        const auto& punct = std::use_facet<std::numpunct<wchar_t>>(user);
        Grouping g;
        g.sizes = punct.grouping();
        platform::appendUtf8(g.separator, static_cast<char32_t>(punct.thousands_sep()));
        if (!g.sizes.empty() && g.sizes[0] > 0 && g.sizes[0] != CHAR_MAX)
            return g;
    } catch (const std::runtime_error&) {
        // An unknown locale name in the environment.
    }
    return Grouping{",", "\3"};
}

const Grouping& grouping() {
    if (!fixed)
        fixed = userGrouping();
    return *fixed;
}

}  // namespace

void setDigitGrouping(std::string separator) {
    const bool groups = !separator.empty();
    fixed = Grouping{std::move(separator), groups ? "\3" : ""};
}

std::string groupDigits(uint64_t value) {
    const std::string digits = std::to_string(value);
    const Grouping& g = grouping();
    // Where separators go, found from the right; a size of 0 or CHAR_MAX stops the grouping.
    std::vector<size_t> cuts;
    size_t left = digits.size();
    for (size_t k = 0; !g.sizes.empty(); ++k) {
        const char size = g.sizes[std::min(k, g.sizes.size() - 1)];
        if (size <= 0 || size == CHAR_MAX || static_cast<size_t>(size) >= left)
            break;
        left -= static_cast<size_t>(size);
        cuts.push_back(left);
    }
    std::string out;
    size_t from = 0;
    for (auto cut = cuts.rbegin(); cut != cuts.rend(); ++cut) {
        out += digits.substr(from, *cut - from) + g.separator;
        from = *cut;
    }
    return out + digits.substr(from);
}

}  // namespace wizard
