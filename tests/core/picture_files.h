// Test pictures made in memory with libpng and libjpeg: a quartered picture (red top left,
// green top right, yellow bottom left, blue bottom right; in grey, two shades for red and
// blue), and headers that claim far more pixels than they hold.
#pragma once
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <vector>

inline const uint8_t quarterColours[4][3] = {{0xD0, 0x30, 0x30}, {0x30, 0xD0, 0x30}, {0xD0, 0xD0, 0x30}, {0x30, 0x30, 0xD0}};
inline const uint8_t quarterGreys[4] = {0x5E, 0x90, 0xB0, 0x3A};

inline const uint8_t* quarterColour(int x, int y, int width, int height) {
    return quarterColours[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)];
}
inline uint8_t quarterGrey(int x, int y, int width, int height) {
    return quarterGreys[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)];
}

inline void appendPngBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

// A quartered PNG of a libpng colour type (RGB, RGBA, grey, grey and alpha, palette), at 8
// or 16 bits, interlaced or not.
inline std::vector<uint8_t> quarteredPng(int width, int height, int colourType, int depth = 8, bool interlaced = false) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendPngBytes, nullptr);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), depth, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color palette[4];
    for (int i = 0; i < 4; ++i) palette[i] = {quarterColours[i][0], quarterColours[i][1], quarterColours[i][2]};
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette, 4);
    png_write_info(png, info);
    const int channels = colourType == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : colourType == PNG_COLOR_TYPE_RGB ? 3
                         : colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2 : 1;
    const int bytesPerSample = depth / 8;
    std::vector<uint8_t> rows(size_t(width) * size_t(height) * size_t(channels * bytesPerSample));
    std::vector<png_bytep> rowPointers;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = rows.data() + size_t(y) * size_t(width) * size_t(channels * bytesPerSample);
        rowPointers.push_back(row);
        for (int x = 0; x < width; ++x) {
            uint8_t samples[4];
            const int quarter = (y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0);
            if (colourType == PNG_COLOR_TYPE_PALETTE) samples[0] = uint8_t(quarter);
            else if (channels <= 2) samples[0] = quarterGreys[quarter], samples[1] = 255;
            else std::memcpy(samples, quarterColours[quarter], 3), samples[3] = 255;
            for (int c = 0; c < channels; ++c)
                for (int b = 0; b < bytesPerSample; ++b)
                    row[(size_t(x) * size_t(channels) + size_t(c)) * size_t(bytesPerSample) + size_t(b)] = samples[c];
        }
    }
    png_write_image(png, rowPointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// A quartered JPEG, in colour or grey, baseline or progressive.
inline std::vector<uint8_t> quarteredJpeg(int width, int height, bool grey, bool progressive) {
    jpeg_compress_struct jpeg;
    jpeg_error_mgr errors;
    jpeg.err = jpeg_std_error(&errors);
    jpeg_create_compress(&jpeg);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&jpeg, &buffer, &size);
    jpeg.image_width = JDIMENSION(width), jpeg.image_height = JDIMENSION(height);
    jpeg.input_components = grey ? 1 : 3;
    jpeg.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&jpeg);
    jpeg_set_quality(&jpeg, 95, TRUE);
    if (progressive) jpeg_simple_progression(&jpeg);
    jpeg_start_compress(&jpeg, TRUE);
    std::vector<uint8_t> row(size_t(width) * 3);
    while (jpeg.next_scanline < jpeg.image_height) {
        const int y = int(jpeg.next_scanline);
        for (int x = 0; x < width; ++x) {
            if (grey) row[size_t(x)] = quarterGrey(x, y, width, height);
            else std::memcpy(&row[size_t(x) * 3], quarterColour(x, y, width, height), 3);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&jpeg, rows, 1);
    }
    jpeg_finish_compress(&jpeg);
    jpeg_destroy_compress(&jpeg);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

inline void putBigEndian(uint8_t* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = uint8_t(value >> (8 * (bytes - 1 - i)));
}

// A small PNG whose header claims width x height pixels (its checksum made right).
inline std::vector<uint8_t> hugePngHeader(uint32_t width, uint32_t height) {
    std::vector<uint8_t> png = quarteredPng(64, 48, PNG_COLOR_TYPE_RGB);
    putBigEndian(&png[16], width, 4);  // after the signature, IHDR's length and type
    putBigEndian(&png[20], height, 4);
    putBigEndian(&png[29], uint32_t(crc32(0, &png[12], 17)), 4);
    return png;
}

// A small JPEG whose frame header claims width x height pixels.
inline std::vector<uint8_t> hugeJpegHeader(uint16_t width, uint16_t height) {
    std::vector<uint8_t> jpeg = quarteredJpeg(64, 48, false, false);
    for (size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            putBigEndian(&jpeg[i + 5], height, 2);
            putBigEndian(&jpeg[i + 7], width, 2);
            break;
        }
    return jpeg;
}
