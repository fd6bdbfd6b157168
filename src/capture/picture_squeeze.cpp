#include "capture/picture_squeeze.h"

#include <algorithm>
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

// ANDs one source row, squeezed by the columns, into the destination row being made.
static void andSourceRow(const uint8_t* sourceRow, const std::vector<SourceRun>& columns, uint32_t* row) {
    for (size_t x = 0; x < columns.size(); ++x)
        for (int sx = columns[x].first; sx < columns[x].first + columns[x].count; ++sx) {
            uint32_t value;
            std::memcpy(&value, sourceRow + size_t(sx) * 4, 4);
            row[x] &= value;
        }
}

bool beginBandSqueeze(BandSqueeze& squeeze, int sourceWidth, int sourceHeight, int width, int height, uint8_t* bgr) {
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return false;
    try {
        squeeze.columns = stretchAxis(sourceWidth, width);
        squeeze.rows = stretchAxis(sourceHeight, height);
        squeeze.row.assign(size_t(width), ~0u);
    } catch (const std::bad_alloc&) {
        return false;
    }
    squeeze.bgr = bgr;
    squeeze.nextRow = 0;
    squeeze.rowBegun = false;
    return true;
}

void squeezeBand(BandSqueeze& squeeze, const BgrxPicture& band, int firstRow) {
    const int bandEnd = firstRow + band.height;
    const size_t width = squeeze.columns.size(), rowBytes = width * 3;
    while (size_t(squeeze.nextRow) < squeeze.rows.size()) {
        const size_t y = size_t(squeeze.nextRow);
        const SourceRun run = squeeze.rows[y];
        uint8_t* out = squeeze.bgr + y * rowBytes;
        // An enlarged picture repeats source rows: copy the row made just before.
        if (y > 0 && run.first == squeeze.rows[y - 1].first && run.count == squeeze.rows[y - 1].count) {
            std::memcpy(out, out - rowBytes, rowBytes);
            ++squeeze.nextRow;
            continue;
        }
        if (!squeeze.rowBegun) std::fill(squeeze.row.begin(), squeeze.row.end(), ~0u);
        squeeze.rowBegun = true;
        for (int sy = std::max(run.first, firstRow); sy < std::min(run.first + run.count, bandEnd); ++sy)
            andSourceRow(band.pixels + size_t(sy - firstRow) * band.stride, squeeze.columns, squeeze.row.data());
        if (run.first + run.count > bandEnd) return;  // the rest of its rows come in a later band
        for (size_t x = 0; x < width; ++x) {
            out[3 * x] = uint8_t(squeeze.row[x]);
            out[3 * x + 1] = uint8_t(squeeze.row[x] >> 8);
            out[3 * x + 2] = uint8_t(squeeze.row[x] >> 16);
        }
        squeeze.rowBegun = false;
        ++squeeze.nextRow;
    }
}

bool squeezePicture(const BgrxPicture& source, int width, int height, uint8_t* bgr) {
    BandSqueeze squeeze;
    if (!beginBandSqueeze(squeeze, source.width, source.height, width, height, bgr)) return false;
    squeezeBand(squeeze, source, 0);
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
