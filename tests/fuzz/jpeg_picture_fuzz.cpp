// JPEG files as the native saver reads the user's pictures: any bytes after a JPEG
// start-of-image marker, under a pixel bound and a least side from the input. A picture
// either comes out whole within the bound or not at all.
#include <vector>

#include "fuzz_input.h"
#include "native/picture_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input = {data, size};
    const uint64_t maxPixels = 1 + input.number(1 << 20);  // kept quick
    const int leastSide = int(input.byte());
    static const uint8_t signature[3] = {0xFF, 0xD8, 0xFF};
    const std::string rest = input.rest();
    std::vector<uint8_t> jpeg(signature, signature + 3);
    jpeg.insert(jpeg.end(), rest.begin(), rest.end());
    DecodedPicture picture;
    if (decodePicture(jpeg.data(), jpeg.size(), maxPixels, picture, nullptr, leastSide)) {
        if (picture.width <= 0 || picture.height <= 0 || uint64_t(picture.width) * uint64_t(picture.height) > maxPixels ||
            picture.pixels.size() != size_t(picture.width) * size_t(picture.height) * 4)
            __builtin_trap();
    } else if (!picture.pixels.empty()) {
        __builtin_trap();
    }
    return 0;
}
