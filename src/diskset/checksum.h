// The checksum the descriptor archives for every file and piece.
#pragma once

#include <cstdint>
#include <string>

namespace diskset {
// The sum of `count` bytes of `buffer` (1 to 4096) as big-endian 32-bit words, reduced below
// 2^32, plus the trailing count mod 4 bytes added singly without reduction.
double blockChecksum(const uint8_t* buffer, int16_t count);
// The checksum of the file; 1 when its length cannot be taken, 2 when it is empty, 3 when it
// cannot be opened.
double fileChecksum(const std::string& path);
// The checksum of the file as its device holds it, read past the caches: 2 for an empty file as
// fileChecksum gives it. Raises platform::Error when the file cannot be read whole.
double readBackChecksum(const std::string& path);
// Whether the words are summed with the processor's widest vectors (AVX2) where it has them,
// or as on a processor without; the results are the same. Returns what is used now.
bool useWideVectors(bool wanted);
// True when every entry's file in its diskette area has its archived checksum; false after
// the first mismatch, which it reports.
bool verifyChecksums();
}  // namespace diskset
