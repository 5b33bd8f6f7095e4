// Reading one diskette of the set into its diskette area, in two steps: the diskette is opened
// (and diskette 1's descriptor parsed), then checked against the set and copied. The caller
// shows what the steps learn between and after them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace archive {

// What a diskette read came to.
enum class DisketteRead : int16_t {
    more = 0,         // read; more diskettes follow
    last = 1,         // read; it was the set's last diskette
    refused = -1,     // rejected or unreadable, reported; the same diskette is asked for again
    copyFailed = -2,  // the copy failed, reported; the set must be chosen again
    otherSet = -3,    // its Archive ID is not the set's, reported; the set starts again
    unreadable = -4,  // its sectors did not read, reported; the same diskette is asked for again
};

// One read of diskette n from the floppy drive. Keeps the window alive while the diskette is
// read, from construction to destruction.
class DisketteReader {
  public:
    // `listLetter`: the letter of the drive chosen in the drive list, which the report of an
    // area that cannot be made names.
    DisketteReader(int16_t n, std::string listLetter);
    ~DisketteReader();
    DisketteReader(const DisketteReader&) = delete;
    DisketteReader& operator=(const DisketteReader&) = delete;

    // The volume file is there and its first line read, the areas are made, and diskette 1's
    // descriptor is parsed into the set. The outcome when the read ends here (refused,
    // reported); nullopt when copy() follows. A diskette number of 100 or more ends the program.
    std::optional<DisketteRead> open();
    // The Archive ID checked against the set's, the entries counted for the progress bar's step,
    // and the diskette's tree copied into its area.
    DisketteRead copy();

  private:
    int16_t n_;
    std::string listLetter_;
    std::string volumeName_;
    std::string volumePath_;
    std::string area_;
    std::string firstLine_;
    bool lineEnded_ = true;
};

// What diskette 1 tells of the set: CR LF "Archive ID = ..." CR LF "Total diskettes num = N".
std::string setSummary();

}  // namespace archive
