// The conversion's shared state: module-level variables that live for the whole run and are
// read and written by every part of the converter.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>

#include "state/file_entry.h"

namespace app {

// The descriptor's entries, numbered 1 to 100; any other number throws std::out_of_range,
// which the event boundary reports as the platform's "Subscript out of range" (9).
class FileTable {
  public:
    static constexpr int16_t capacity = 100;
    app::FileEntry& operator()(int n);
    const app::FileEntry& operator()(int n) const;
    void clear();

  private:
    std::array<app::FileEntry, capacity> entries_{};
};

// The wizard's steps: what OK does next. The numbers are the ones the headless transcript shows.
enum class Step : int16_t {
    floppyDrive = 0,    // choose the floppy drive
    firstDiskette = 1,  // read diskette #1
    nextDiskette = 2,   // read the next diskette
    cardDrive = 3,      // choose the Compact Flash drive and write the card
    done = 4,           // written: another copy, or Exit
};
inline std::ostream& operator<<(std::ostream& out, Step step) {
    return out << static_cast<int>(step);
}

inline Step wizardStep = Step::floppyDrive;
inline int16_t currentDisk = 0;  // the diskette asked for or being read
inline std::string floppyDrive;  // "A:"
inline std::string flashDrive;   // "E:"
inline std::string errorText;    // the latest failure report or set summary
inline double archiveId = 0;
inline int16_t totalDisks = 0;  // 0 until a descriptor has been read
inline FileTable fileTable;
inline int16_t fileCount = 0;
inline bool keycodeRecFound = false;  // diskette 1 carries keycode.rec (else keycode.kcd)
inline int16_t diskEntryCount = 0;

// Every variable back to its start value (tests, and a fresh run).
void resetState();

}  // namespace app
