// The descriptor archive.dat of diskette 1: its parser and the digits reader it uses.
#pragma once

#include <cstdint>
#include <string>

#include "state/state.h"

namespace diskset {
// The number written in decimal digits from buffer[start]; stops at the first non-digit or the
// end of the buffer. 0 when buffer[start] is not a digit.
double parseNumber(const uint8_t* buffer, int size, int16_t start);

// The parse failure codes of a descriptor that cannot be used. They lie apart from the
// platform's error codes, which a fault taking the length, opening or reading the file gives.
namespace parseFault {
constexpr int unendedLine = 1001;          // the first or second line has no LF
constexpr int lineTooLong = 1002;          // a line of more than 100 characters
constexpr int diskCountOutOfRange = 1003;  // the diskette count is 0 or above 32767
constexpr int noEntries = 1004;            // no line begins with "FILE:"
constexpr int blankEntryLine = 1005;       // an empty line (or a lone CR) among the entries
constexpr int diskOutOfRange = 1006;       // an entry's diskette field is not 1 to 99
constexpr int misplacedField = 1007;       // a blank, flag or checksum digit not in its place
constexpr int entryCutShort = 1008;        // the line ends before the entry's extra text
constexpr int unsafeName = 1009;           // the name is not a plain path below the root
constexpr int tooManyEntries = 1010;       // more FILE lines than the file table holds
}  // namespace parseFault

// The FILE lines of the descriptor parsed last (all of them, those past the table included).
int descriptorEntries();

// A descriptor as parsed, apart from the conversion's state.
struct Descriptor {
    double archiveId = 0;
    int16_t totalDisks = 0;
    app::FileTable entries;  // 1 to count
    int16_t count = 0;
};

// Parses the descriptor at `path` into `out`, leaving the conversion's state as it was; returns
// the codes parseArchive returns.
int parseDescriptor(const std::string& path, Descriptor& out);

// Parses the descriptor at `path` into archiveId, totalDisks, fileTable and fileCount.
// Returns the parse failure code: 0 success, err::fileNotFound the file does not exist, another
// platform code for a fault taking its length or opening it, 2 empty, 3 over 10000 bytes, or a code
// of its own for a descriptor it cannot use (parseFault).
int parseArchive(const std::string& path);
}  // namespace diskset
