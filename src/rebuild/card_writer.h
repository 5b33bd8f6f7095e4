// The card writer: the flat area copied into \backup\single\ on the Compact Flash drive, in two
// steps. The first finds what the card holds; whoever drives the writer asks, between the two,
// whether a database found there is to be replaced. The new database is written and read back
// beside the single folder and swapped in by renames.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "rebuild/card_states.h"
#include "rebuild/kept_copies.h"

namespace rebuild {

class CardWriter {
  public:
    // What the card holds once its earlier states are finished.
    enum class Found {
        failed,    // the card cannot be written to (reported)
        nothing,   // no database: write() may follow at once
        database,  // a database is in the single folder: write(true) replaces it
    };

    // For the card in flashDrive, the image in the flat area.
    CardWriter();
    // Puts the process's current drive, and the current folder of the card's drive, back as
    // they were before prepare(), however the write ends.
    ~CardWriter();
    CardWriter(const CardWriter&) = delete;
    CardWriter& operator=(const CardWriter&) = delete;

    // Logs the drive, checks that the card can hold every name of the image, finishes what an
    // earlier write left and makes the backup folder when there is none.
    Found prepare();
    // Writes, reads back and swaps in the new database. `replacing`: a database is there and
    // the user agreed to its replacement. False when it reported a failure.
    bool write(bool replacing);

    // \backup\single\ on the card, as the messages name it.
    const std::string& single() const { return card_.single; }

  private:
    struct Place {
        char drive;
        char changedDrive;
        std::string folder;
    };
    bool copyIn(int16_t step);
    void undo(bool replacing);

    CardFolders card_;
    std::string flat_;
    std::optional<KeptCopy> kept_;  // the previous database, on a card too small for both
    std::optional<Place> place_;
};

}  // namespace rebuild
