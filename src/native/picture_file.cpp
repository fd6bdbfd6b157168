#include "native/picture_file.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <cstdio>
#include <csetjmp>

#include <jerror.h>
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cstring>

namespace {

const int rowsBetweenChecks = 64;
// libjpeg's own memory for one decode. A progressive file keeps every coefficient, two
// bytes a sample: 192 MB for 64 megapixels with colour at half resolution, twice that at
// full; past this bound it is passed over as too big.
const size_t jpegMemoryBytes = size_t(160) << 20;

bool tooLarge(uint64_t width, uint64_t height, uint64_t maxPixels) {
    return width == 0 || height == 0 || width > INT32_MAX / 4 || height > INT32_MAX || width * height > maxPixels;
}

// ---- PNG

struct PngRead {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const uint8_t* bytes = nullptr;
    size_t size = 0, offset = 0;
    // For a picture decoded smaller: one stored row, the shrunk column of each stored
    // column, and the blue, green and red of each shrunk pixel's block summed.
    std::vector<uint8_t> row;
    std::vector<uint32_t> cellOfColumn, sums;
};

void readPngBytes(png_structp png, png_bytep to, png_size_t count) {
    auto* read = static_cast<PngRead*>(png_get_io_ptr(png));
    if (count > read->size - read->offset) png_error(png, "the PNG ends early");
    std::memcpy(to, read->bytes + read->offset, count);
    read->offset += count;
}

// libpng's errors end the decode quietly; its warnings are not the user's business.
void onPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onPngWarning(png_structp, png_const_charp) {}

// Of the chunks beside the pixels only the transparency is read: libpng allocates and
// clears as much memory as a chunk says it holds before reading it, so a text chunk of a
// 200-byte file that said 1.8 GB took that much.
void skipAncillaryChunks(png_structp png) {
    static const png_byte skipped[] = "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0sBIT\0sCAL\0"
                                      "sPLT\0sRGB\0sTER\0tEXt\0tIME\0zTXt";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, skipped, int(sizeof skipped / 5));
}

// libpng's transformations to blue, green, red and a fourth byte, 8 bits each; the number
// of passes an interlaced picture takes when libpng puts them together (`whole`).
int asBgrx(png_structp png, png_infop info, bool whole) {
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if (!(png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    const int passes = whole ? png_set_interlace_handling(png) : 1;
    png_read_update_info(png, info);
    return passes;
}

// The whole number a picture's sides are divided by so that both stay at least `leastSide`
// (0: whole); at most 4096, so that a block's sums fit 32 bits.
uint32_t pngShrink(uint32_t width, uint32_t height, int leastSide) {
    if (leastSide <= 0) return 1;
    return std::max(1u, std::min(4096u, std::min(width, height) / uint32_t(leastSide)));
}

uint32_t shrunkSide(uint32_t side, uint32_t factor) { return (side + factor - 1) / factor; }

// The stored rows, pass by pass for an interlaced picture, each pixel added to its block's
// sums: the smaller picture without the whole one ever held.
bool sumPngRows(PngRead& read, uint32_t width, uint32_t height, uint32_t factor, bool (*giveUp)()) {
    const bool adam7 = png_get_interlace_type(read.png, read.info) == PNG_INTERLACE_ADAM7;
    const uint32_t shrunkWidth = shrunkSide(width, factor);
    for (int pass = 0; pass < (adam7 ? 7 : 1); ++pass) {
        const uint32_t columns = adam7 ? PNG_PASS_COLS(width, pass) : width;
        const uint32_t rows = adam7 ? PNG_PASS_ROWS(height, pass) : height;
        if (columns == 0) continue;  // libpng skips an empty pass
        for (uint32_t r = 0; r < rows; ++r) {
            if (giveUp && r % rowsBetweenChecks == 0 && giveUp()) return false;
            png_read_row(read.png, read.row.data(), nullptr);
            const uint32_t y = adam7 ? PNG_ROW_FROM_PASS_ROW(r, pass) : r;
            uint32_t* sums = read.sums.data() + size_t(y / factor) * shrunkWidth * 3;
            for (uint32_t i = 0; i < columns; ++i) {
                uint32_t* sum = sums + size_t(read.cellOfColumn[adam7 ? PNG_COL_FROM_PASS_COL(i, pass) : i]) * 3;
                const uint8_t* pixel = read.row.data() + size_t(i) * 4;
                sum[0] += pixel[0], sum[1] += pixel[1], sum[2] += pixel[2];
            }
        }
    }
    return true;
}

// Each block's sums as its mean pixel.
void averageBlocks(const PngRead& read, uint32_t width, uint32_t height, uint32_t factor, DecodedPicture& picture) {
    const uint32_t shrunkWidth = shrunkSide(width, factor), shrunkHeight = shrunkSide(height, factor);
    picture.pixels.assign(size_t(shrunkWidth) * shrunkHeight * 4, 0);
    for (uint32_t y = 0; y < shrunkHeight; ++y)
        for (uint32_t x = 0; x < shrunkWidth; ++x) {
            const uint32_t count = std::min(factor, width - x * factor) * std::min(factor, height - y * factor);
            const size_t cell = size_t(y) * shrunkWidth + x;
            for (size_t c = 0; c < 3; ++c) picture.pixels[cell * 4 + c] = uint8_t(read.sums[cell * 3 + c] / count);
        }
    picture.width = int(shrunkWidth), picture.height = int(shrunkHeight);
}

bool decodeShrunkPng(PngRead& read, uint32_t width, uint32_t height, uint32_t factor, DecodedPicture& picture,
                     bool (*giveUp)()) {
    read.row.assign(size_t(width) * 4, 0);
    read.cellOfColumn.resize(width);
    for (uint32_t x = 0; x < width; ++x) read.cellOfColumn[x] = x / factor;
    read.sums.assign(size_t(shrunkSide(width, factor)) * shrunkSide(height, factor) * 3, 0);
    if (!sumPngRows(read, width, height, factor, giveUp)) return false;
    averageBlocks(read, width, height, factor, picture);
    return true;
}

bool decodeWholePng(PngRead& read, uint32_t width, uint32_t height, int passes, DecodedPicture& picture,
                    bool (*giveUp)()) {
    picture.pixels.assign(size_t(width) * height * 4, 0);
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y) {
            if (giveUp && y % rowsBetweenChecks == 0 && giveUp()) return false;
            png_read_row(read.png, picture.pixels.data() + size_t(y) * width * 4, nullptr);
        }
    picture.width = int(width), picture.height = int(height);
    return true;
}

// Between its setjmp and libpng's longjmp nothing here owns anything: the read record and
// the picture do.
bool decodePng(PngRead& read, uint64_t maxPixels, DecodedPicture& picture, bool (*giveUp)(), int leastSide) {
    if (setjmp(png_jmpbuf(read.png))) return false;
    png_set_read_fn(read.png, &read, readPngBytes);
    png_read_info(read.png, read.info);
    const png_uint_32 width = png_get_image_width(read.png, read.info);
    const png_uint_32 height = png_get_image_height(read.png, read.info);
    if (tooLarge(width, height, maxPixels)) return false;
    const uint32_t factor = pngShrink(width, height, leastSide);
    const int passes = asBgrx(read.png, read.info, factor == 1);
    if (png_get_rowbytes(read.png, read.info) != size_t(width) * 4) return false;
    if (!(factor == 1 ? decodeWholePng(read, width, height, passes, picture, giveUp)
                      : decodeShrunkPng(read, width, height, factor, picture, giveUp)))
        return false;
    png_read_end(read.png, nullptr);
    return true;
}

bool readPng(const uint8_t* bytes, size_t size, uint64_t maxPixels, DecodedPicture& picture, bool (*giveUp)(),
             int leastSide) {
    PngRead read;
    read.bytes = bytes, read.size = size;
    read.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (read.png) read.info = png_create_info_struct(read.png);
    if (read.png) skipAncillaryChunks(read.png);
    const bool decoded = read.info && decodePng(read, maxPixels, picture, giveUp, leastSide);
    png_destroy_read_struct(&read.png, &read.info, nullptr);
    return decoded;
}

// ---- JPEG

// libjpeg's error manager, with a way out that neither prints nor exits.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf out;
    bool cutShort = false;
};

void onJpegError(j_common_ptr jpeg) { std::longjmp(reinterpret_cast<JpegErrors*>(jpeg->err)->out, 1); }
void onJpegMessage(j_common_ptr) {}
// A file that ends early decodes to grey below the end: that is a broken file.
void onJpegWarning(j_common_ptr jpeg, int level) {
    if (level < 0 && jpeg->err->msg_code == JWRN_JPEG_EOF) reinterpret_cast<JpegErrors*>(jpeg->err)->cutShort = true;
}

// A number of `bytes` bytes at `at` in the TIFF data's byte order; 0 past its end.
uint32_t tiffNumber(const uint8_t* data, size_t size, size_t at, int bytes, bool bigEndian) {
    if (at > size || size - at < size_t(bytes)) return 0;
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= uint32_t(data[at + size_t(bigEndian ? i : bytes - 1 - i)]) << (8 * (bytes - 1 - i));
    return value;
}

// The orientation tag of the first picture directory of an Exif block (APP1), else 1.
int exifOrientation(const jpeg_decompress_struct& jpeg) {
    for (jpeg_saved_marker_ptr marker = jpeg.marker_list; marker; marker = marker->next) {
        if (marker->marker != JPEG_APP0 + 1 || marker->data_length < 14 || std::memcmp(marker->data, "Exif\0\0", 6) != 0)
            continue;
        const uint8_t* tiff = marker->data + 6;
        const size_t size = marker->data_length - 6;
        const bool bigEndian = tiff[0] == 'M';
        const uint32_t directory = tiffNumber(tiff, size, 4, 4, bigEndian);
        const uint32_t entries = tiffNumber(tiff, size, directory, 2, bigEndian);
        for (uint32_t i = 0; i < entries; ++i) {
            const size_t entry = size_t(directory) + 2 + size_t(i) * 12;
            if (entry + 12 > size) break;
            if (tiffNumber(tiff, size, entry, 2, bigEndian) != 0x0112) continue;
            const uint32_t orientation = tiffNumber(tiff, size, entry + 8, 2, bigEndian);
            return orientation >= 1 && orientation <= 8 ? int(orientation) : 1;
        }
    }
    return 1;
}

struct JpegRead {
    jpeg_decompress_struct jpeg;
    JpegErrors errors;
    jpeg_progress_mgr progress;
    bool (*giveUp)();
};

// libjpeg asks this for every row it takes in or puts out, scans of a progressive file
// included: a file of thousands of scans is left within the deadline.
void onJpegProgress(j_common_ptr jpeg) {
    auto* read = static_cast<JpegRead*>(jpeg->client_data);
    if (read->giveUp && read->giveUp()) std::longjmp(read->errors.out, 1);
}

// libjpeg's cheapest way to a smaller picture: decoding at 1/2, 1/4 or 1/8 of the size.
unsigned shrinkFor(const jpeg_decompress_struct& jpeg, int leastSide) {
    if (leastSide <= 0) return 1;
    const unsigned side = unsigned(leastSide);
    unsigned denominator = 8;
    while (denominator > 1 && ((jpeg.image_width + denominator - 1) / denominator < side ||
                               (jpeg.image_height + denominator - 1) / denominator < side))
        denominator /= 2;
    return denominator;
}

bool decodeJpeg(JpegRead& read, const uint8_t* bytes, size_t size, uint64_t maxPixels, DecodedPicture& picture,
                bool (*giveUp)(), int leastSide) {
    jpeg_decompress_struct& jpeg = read.jpeg;
    if (setjmp(read.errors.out)) return false;
    read.giveUp = giveUp;
    read.progress = {};
    read.progress.progress_monitor = onJpegProgress;
    jpeg.progress = &read.progress;
    jpeg.client_data = &read;
    // Past this libjpeg asks for a backing store it has none of, which ends the decode.
    jpeg.mem->max_memory_to_use = long(jpegMemoryBytes);
    jpeg_mem_src(&jpeg, bytes, static_cast<unsigned long>(size));
    jpeg_save_markers(&jpeg, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&jpeg, TRUE);
    picture.orientation = exifOrientation(jpeg);  // the saved markers go with the decode's end
    if (tooLarge(jpeg.image_width, jpeg.image_height, maxPixels)) return false;
    jpeg.out_color_space = JCS_EXT_BGRX;
    jpeg.scale_num = 1, jpeg.scale_denom = shrinkFor(jpeg, leastSide);
    jpeg_start_decompress(&jpeg);
    const size_t stride = size_t(jpeg.output_width) * 4;
    if (jpeg.output_components != 4 || tooLarge(jpeg.output_width, jpeg.output_height, maxPixels)) return false;
    picture.pixels.assign(stride * jpeg.output_height, 0);
    while (jpeg.output_scanline < jpeg.output_height) {
        JSAMPROW row = picture.pixels.data() + size_t(jpeg.output_scanline) * stride;
        jpeg_read_scanlines(&jpeg, &row, 1);
        if (read.errors.cutShort) return false;
    }
    jpeg_finish_decompress(&jpeg);
    picture.width = int(jpeg.output_width), picture.height = int(jpeg.output_height);
    return !read.errors.cutShort;
}

bool readJpeg(const uint8_t* bytes, size_t size, uint64_t maxPixels, DecodedPicture& picture, bool (*giveUp)(),
              int leastSide) {
    JpegRead read;
    read.jpeg.err = jpeg_std_error(&read.errors.manager);
    read.errors.manager.error_exit = onJpegError;
    read.errors.manager.output_message = onJpegMessage;
    read.errors.manager.emit_message = onJpegWarning;
    if (setjmp(read.errors.out)) return false;  // no memory for the decoder itself
    jpeg_create_decompress(&read.jpeg);
    const bool decoded = decodeJpeg(read, bytes, size, maxPixels, picture, giveUp, leastSide);
    jpeg_destroy_decompress(&read.jpeg);
    return decoded;
}

bool isPng(const uint8_t* bytes, size_t size) { return size >= 8 && png_sig_cmp(bytes, 0, 8) == 0; }
bool isJpeg(const uint8_t* bytes, size_t size) { return size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF; }

}  // namespace

bool looksLikePicture(const uint8_t* bytes, size_t size) { return isPng(bytes, size) || isJpeg(bytes, size); }

bool decodePicture(const uint8_t* bytes, size_t size, uint64_t maxPixels, DecodedPicture& picture,
                   bool (*giveUp)(), int leastSide) {
    picture = DecodedPicture();
    bool decoded = false;
    if (isPng(bytes, size)) decoded = readPng(bytes, size, maxPixels, picture, giveUp, leastSide);
    else if (isJpeg(bytes, size)) decoded = readJpeg(bytes, size, maxPixels, picture, giveUp, leastSide);
    if (!decoded) picture = DecodedPicture();
    return decoded;
}
