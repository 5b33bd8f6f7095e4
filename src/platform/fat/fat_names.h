// Entry names of a FAT folder: 8.3 names in code page 437 and long names in UTF-16, as UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::fat {

constexpr size_t entryBytes = 32;

// The 8.3 name of a folder entry ("NAME.EXT", "NAME" without an extension), nothing when the
// bytes cannot form a name.
std::optional<std::string> shortName(const uint8_t* entry);
// A volume label entry's eleven bytes, trailing blanks trimmed.
std::string labelName(const uint8_t* entry);

// Gathers the long name entries in front of a short entry.
class LongName {
  public:
    // A long name entry (attribute 0x0F).
    void add(const uint8_t* entry);
    // Forgets a part-gathered name: a deleted or a label entry breaks the run.
    void reset() { parts_.clear(); }
    // The long name of the short entry that ends the run, when the run is whole, its checksum
    // matches and it makes a usable name; the run is forgotten either way.
    std::optional<std::string> take(const uint8_t* shortEntry);

  private:
    std::vector<char16_t> parts_;  // 13 units per entry, in name order
    int expected_ = 0;             // the sequence number of the next entry, 0 when complete
    uint8_t checksum_ = 0;
};

}  // namespace platform::fat
