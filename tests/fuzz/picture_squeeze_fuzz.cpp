// The squeeze of a screen picture to the texture size, at any sizes and row strides: each
// axis shares out the source in order, a band at a time gives the bytes of the whole, and a
// power-of-two result makes its mipmap chain.
#include <algorithm>
#include <vector>

#include "capture/picture_squeeze.h"
#include "fuzz_input.h"
#include "render/mipmap.h"

// Squeezed, the runs take every source pixel once, in order; stretched, one pixel each,
// never skipping one.
static void checkAxis(int source, int dest) {
    const std::vector<SourceRun> runs = stretchAxis(source, dest);
    if (int(runs.size()) != dest) __builtin_trap();
    int next = 0;
    for (const SourceRun& run : runs) {
        if (source > dest) {
            if (run.first != next || run.count < 1) __builtin_trap();
            next += run.count;
        } else {
            if (run.count != 1 || (run.first != next && run.first != next - 1)) __builtin_trap();
            next = run.first + 1;
        }
    }
    if (next != source) __builtin_trap();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input = {data, size};
    const int sourceWidth = 1 + int(input.number(299)), sourceHeight = 1 + int(input.number(299));
    const int width = 1 + int(input.number(8191)), height = 1 + int(input.number(8191));
    const size_t stride = size_t(sourceWidth) * 4 + input.number(15);
    const int bandRows = 1 + int(input.number(uint32_t(sourceHeight - 1)));
    checkAxis(sourceWidth, width);
    checkAxis(sourceHeight, height);
    if (size_t(width) * size_t(height) > (size_t(1) << 16)) return 0;  // kept quick
    // The pixels: the rest of the input over and over.
    const std::string rest = input.rest();
    std::vector<uint8_t> source(stride * size_t(sourceHeight), 0x5A);
    for (size_t i = 0; !rest.empty() && i < source.size(); ++i) source[i] = uint8_t(rest[i % rest.size()]);
    const BgrxPicture whole = {source.data(), sourceWidth, sourceHeight, stride};
    std::vector<uint8_t> expected(size_t(width) * size_t(height) * 3), banded(expected.size());
    if (!squeezePicture(whole, width, height, expected.data())) __builtin_trap();
    BandSqueeze squeeze;
    if (!beginBandSqueeze(squeeze, sourceWidth, sourceHeight, width, height, banded.data())) __builtin_trap();
    for (int top = 0; top < sourceHeight; top += bandRows)
        squeezeBand(squeeze, {source.data() + size_t(top) * stride, sourceWidth, std::min(bandRows, sourceHeight - top), stride},
                    top);
    if (banded != expected) __builtin_trap();
    MipmapChain chain;
    if (mipmapsBuildable(width, height) && buildMipmapChain(expected.data(), width, height, chain)) freeMipmapChain(chain);
    return 0;
}
