#include "capture/picture_squeeze.h"

#include <cstring>
#include <new>

std::vector<SourceRun> stretchAxis(int sourceLength, int destLength) {
    std::vector<SourceRun> runs(size_t(destLength), SourceRun{0, 0});
    const bool shrinking = sourceLength > destLength;
    const int major = shrinking ? sourceLength : destLength;
    const int minor = shrinking ? destLength : sourceLength;
    // The error starts half a pixel on (3 minor - 2 major, not 2 minor - major): the first
    // step is decided by the centre of the next pixel, not by its edge.
    long long error = 3LL * minor - 2LL * major;
    int source = 0, dest = 0;
    for (int step = 0; step < major; ++step) {
        if (shrinking) {
            if (runs[size_t(dest)].count++ == 0) runs[size_t(dest)].first = source;
        } else {
            runs[size_t(dest)] = {source, 1};
        }
        const bool minorStep = error > 0;
        error += minorStep ? 2LL * minor - 2LL * major : 2LL * minor;
        if (shrinking) {
            ++source;
            if (minorStep && dest + 1 < destLength) ++dest;
        } else {
            ++dest;
            if (minorStep && source + 1 < sourceLength) ++source;
        }
    }
    return runs;
}

static uint32_t pixelAt(const BgrxPicture& picture, int x, int y) {
    uint32_t value;
    std::memcpy(&value, picture.pixels + size_t(y) * picture.stride + size_t(x) * 4, 4);
    return value;
}

// One destination row: the AND of the source rows of `rowRun`, each squeezed by `columns`.
static void squeezeRow(const BgrxPicture& source, SourceRun rowRun, const std::vector<SourceRun>& columns,
                       uint32_t* row) {
    for (size_t x = 0; x < columns.size(); ++x) row[x] = ~0u;
    for (int y = rowRun.first; y < rowRun.first + rowRun.count; ++y)
        for (size_t x = 0; x < columns.size(); ++x)
            for (int sx = columns[x].first; sx < columns[x].first + columns[x].count; ++sx)
                row[x] &= pixelAt(source, sx, y);
}

bool squeezePicture(const BgrxPicture& source, int width, int height, uint8_t* bgr) {
    if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0) return false;
    const std::vector<SourceRun> columns = stretchAxis(source.width, width);
    const std::vector<SourceRun> rows = stretchAxis(source.height, height);
    uint32_t* row = new (std::nothrow) uint32_t[size_t(width)];
    if (!row) return false;
    const size_t rowBytes = size_t(width) * 3;
    for (int y = 0; y < height; ++y) {
        uint8_t* out = bgr + size_t(y) * rowBytes;
        // An enlarged picture repeats source rows: copy the row made just before.
        if (y > 0 && rows[size_t(y)].first == rows[size_t(y) - 1].first &&
            rows[size_t(y)].count == rows[size_t(y) - 1].count) {
            std::memcpy(out, out - rowBytes, rowBytes);
            continue;
        }
        squeezeRow(source, rows[size_t(y)], columns, row);
        for (int x = 0; x < width; ++x) {
            out[3 * x] = uint8_t(row[x]);
            out[3 * x + 1] = uint8_t(row[x] >> 8);
            out[3 * x + 2] = uint8_t(row[x] >> 16);
        }
    }
    delete[] row;
    return true;
}

bool isAllBlack(const BgrxPicture& picture) {
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* row = picture.pixels + size_t(y) * picture.stride;
        for (int x = 0; x < picture.width; ++x)
            if (row[4 * x] | row[4 * x + 1] | row[4 * x + 2]) return false;
    }
    return true;
}
