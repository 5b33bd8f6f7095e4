// The old databases that cards too small for both databases leave on this computer while the
// new one is written: one folder per card in the state folder, named by the card and the time
// the copy was made, so that no card's copy ever takes another's place.
#pragma once

#include <string>
#include <vector>

#include "rebuild/card_states.h"

namespace rebuild {

// What names the card in `drive` ("E:") among the kept copies: its volume serial number, else
// its volume name, else "card", in letters a folder name can hold.
std::string cardKey(const std::string& drive);

// A copy's folder, made afresh for the card in `drive`. Raises platform::Error when the state
// folder cannot take it.
class KeptCopy {
  public:
    explicit KeptCopy(const std::string& drive);

    const Tree& tree() const { return tree_; }
    // The folder as the log shows it: its host path.
    const std::string& shown() const { return shown_; }
    // Removes the copy. Raises platform::Error.
    void remove() const;

  private:
    Tree part_;  // the state folder's part that holds every copy
    std::string name_;
    Tree tree_;
    std::string shown_;
};

// The folder of every copy as the log shows it ("" without a state folder).
std::string keptCopiesFolder();

// The copies kept by earlier writes, as the log shows them; none when there is no state
// folder.
std::vector<std::string> keptCopies();

// Removes the copies kept for the card in `drive` once it holds a verified database again, when
// its serial number tells it from every other card; logs each. Failures are passed over: the
// copy only stays.
void dropKeptCopiesOf(const std::string& drive);

}  // namespace rebuild
