// A FAT12 diskette made in memory.
#include "support/fat12_image.h"

#include <cstring>

namespace testsupport {

uint32_t fat12Entry(const std::string& img, uint32_t c) {
    const char* at = &img[512 + c + c / 2];
    const uint32_t pair = static_cast<uint8_t>(at[0]) | static_cast<uint8_t>(at[1]) << 8;
    return c & 1 ? pair >> 4 : pair & 0xFFF;
}

void setFat12Entry(std::string& img, uint32_t c, uint32_t value) {
    for (uint64_t base : {uint64_t{512}, uint64_t{10 * 512}}) {
        char* at = &img[base + c + c / 2];
        uint32_t pair = static_cast<uint8_t>(at[0]) | static_cast<uint8_t>(at[1]) << 8;
        pair = c & 1 ? (pair & 0x000F) | value << 4 : (pair & 0xF000) | value;
        at[0] = static_cast<char>(pair);
        at[1] = static_cast<char>(pair >> 8);
    }
}

std::string fat12Image(uint8_t serial, const std::vector<Fat12File>& files) {
    std::string img(1474560, '\0');
    const unsigned char boot[] = {0xEB, 0x3C, 0x90, 'M', 'S', 'D', 'O', 'S',  '5', '.',
                                  '0',  0x00, 0x02, 1,   1,   0,   2,   0xE0, 0,   0x40,
                                  0x0B, 0xF0, 9,    0,   18,  0,   2,   0};
    std::memcpy(img.data(), boot, sizeof boot);
    img[38] = 0x29;
    img[39] = static_cast<char>(serial);
    img[510] = 0x55;
    img[511] = static_cast<char>(0xAA);
    setFat12Entry(img, 0, 0xFF0);
    setFat12Entry(img, 1, 0xFFF);
    uint64_t entry = 19 * 512;
    for (const Fat12File& f : files) {
        const uint32_t clusters = (f.bytes + 511) / 512;
        for (uint32_t i = 0; i < clusters; ++i)
            setFat12Entry(img, f.first + i, i + 1 == clusters ? 0xFFF : f.first + i + 1);
        std::memcpy(&img[entry], f.name83.data(), 11);
        img[entry + 11] = 0x20;
        img[entry + 26] = static_cast<char>(f.first);
        img[entry + 27] = static_cast<char>(f.first >> 8);
        for (int i = 0; i < 4; ++i)
            img[entry + 28 + i] = static_cast<char>(f.bytes >> (8 * i));
        entry += 32;
        const uint64_t start = (31 + uint64_t{f.first}) * 512;
        for (uint64_t i = 0; i < f.bytes; ++i)
            img[start + i] = static_cast<char>('a' + (start + i) % 23);
    }
    return img;
}

}  // namespace testsupport
