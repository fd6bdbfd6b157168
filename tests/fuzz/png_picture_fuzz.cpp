// PNG files as both native hosts read them (grim's screenshot, the user's pictures): any
// bytes after a PNG signature, under a pixel bound and decoded no smaller than a side, both
// from the input. A picture either comes out whole within the bound or not at all.
#include <vector>

#include "decoded_picture.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input = {data, size};
    const uint64_t maxPixels = 1 + input.number(1 << 20);  // kept quick
    const int leastSide = int(input.byte());
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const std::string rest = input.rest();
    std::vector<uint8_t> png(signature, signature + 8);
    png.insert(png.end(), rest.begin(), rest.end());
    DecodedPicture picture;
    checkDecoded(decodePicture(png.data(), png.size(), maxPixels, picture, nullptr, leastSide), picture, maxPixels);
    return 0;
}
