// JPEG files as the native saver reads the user's pictures: any bytes after a JPEG
// start-of-image marker, under a pixel bound and a least side from the input. A picture
// either comes out whole within the bound or not at all.
#include <vector>

#include "decoded_picture.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input = {data, size};
    const uint64_t maxPixels = 1 + input.number(1 << 20);  // kept quick
    const int leastSide = int(input.byte());
    static const uint8_t signature[3] = {0xFF, 0xD8, 0xFF};
    const std::string rest = input.rest();
    std::vector<uint8_t> jpeg(signature, signature + 3);
    jpeg.insert(jpeg.end(), rest.begin(), rest.end());
    DecodedPicture picture;
    checkDecoded(decodePicture(jpeg.data(), jpeg.size(), maxPixels, picture, nullptr, leastSide), picture, maxPixels);
    return 0;
}
