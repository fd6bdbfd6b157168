// PNG files as both native hosts read them (grim's screenshot, the user's pictures): any
// bytes after a PNG signature, under a pixel bound from the input. A picture either comes
// out whole within the bound or not at all.
#include <vector>

#include "fuzz_input.h"
#include "native/picture_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input = {data, size};
    const uint64_t maxPixels = 1 + input.number(1 << 20);  // kept quick
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const std::string rest = input.rest();
    std::vector<uint8_t> png(signature, signature + 8);
    png.insert(png.end(), rest.begin(), rest.end());
    DecodedPicture picture;
    if (decodePicture(png.data(), png.size(), maxPixels, picture)) {
        if (picture.width <= 0 || picture.height <= 0 || uint64_t(picture.width) * uint64_t(picture.height) > maxPixels ||
            picture.pixels.size() != size_t(picture.width) * size_t(picture.height) * 4)
            __builtin_trap();
    } else if (!picture.pixels.empty()) {
        __builtin_trap();
    }
    return 0;
}
