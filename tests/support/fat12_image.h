// A 1.44 MB FAT12 diskette made in memory, so that a test knows every sector's role: boot
// sector 0 (serial number `serial`), FATs 1-9 and 10-18, root folder 19-32, cluster c at
// sector 31 + c. Each file lies in clusters first, first + 1, ...; its bytes are a pattern.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct Fat12File {
    std::string name83;  // 11 characters, as the folder entry holds it ("DATA    BIN")
    uint32_t first;      // the first cluster
    uint32_t bytes;
};

std::string fat12Image(uint8_t serial, const std::vector<Fat12File>& files);

// Cluster c's entry in the first FAT of such a diskette; the setter writes it in both FATs.
uint32_t fat12Entry(const std::string& img, uint32_t c);
void setFat12Entry(std::string& img, uint32_t c, uint32_t value);

}  // namespace testsupport
