// The test pictures in tests/core/pictures/, made with ImageMagick: 64x48, red top left,
// green top right, yellow bottom left, blue bottom right (grey in the grey ones); huge.*
// are rgb.png and baseline.jpg with headers that say 16384x16384, rotated.jpg baseline.jpg
// with an Exif block that says it is to be turned clockwise (orientation 6).
#pragma once
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::vector<uint8_t> pictureFixture(const std::string& name) {
    std::ifstream file(std::string(QG_SOURCE_DIR) + "/tests/core/pictures/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Each channel of 0xRRGGBB within `tolerance` of the expected one (decoders round differently).
inline bool nearRgb(uint32_t rgb, uint32_t expected, int tolerance) {
    for (int shift : {0, 8, 16})
        if (std::abs(int((rgb >> shift) & 255) - int((expected >> shift) & 255)) > tolerance) return false;
    return true;
}
