// Checking a card with no diskette in sight: the card's own archive.dat holds the archived
// checksum of every file of its database.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rebuild {

struct CardCheck {
    enum class Outcome {
        unfinished,  // an earlier write's folders are there and the card refused to finish them
        noDatabase,  // no \backup\single\ (after an earlier write was finished)
        damagedDescriptor,  // the single folder's archive.dat is not a one-diskette descriptor
        checked,            // the files were read and compared
    };
    Outcome outcome = Outcome::noDatabase;
    std::vector<std::string> unfinished;  // the earlier write's folders that stay, as paths
    // checked: the files that match their archived checksum, and the paths of those that do
    // not, in the descriptor's order (unreadable ones in the folder's order).
    int matched = 0;
    std::vector<std::string> missing, unreadable, changed;

    bool whole() const {
        return outcome == Outcome::checked && missing.empty() && unreadable.empty() &&
               changed.empty();
    }
};

// Finishes what an earlier write left on the card in `drive` ("E:") exactly as the card step
// does, without asking; then reads every file of \backup\single\ past the caches and compares
// each file its archive.dat lists with the archived checksum. Writes nothing else on the card.
// Raises platform::Error when the card cannot be listed.
CardCheck checkCard(const std::string& drive);

}  // namespace rebuild
