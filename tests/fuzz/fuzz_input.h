// A fuzzer's bytes read as the fields of one input: small numbers first, then the rest.
// Used up bytes read as 0, so every input is a whole one.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct FuzzInput {
    const uint8_t* data;
    size_t size;

    uint8_t byte() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    // 0 .. limit, from as many bytes as the limit needs.
    uint32_t number(uint32_t limit) {
        uint64_t value = 0;
        for (uint64_t span = limit; span > 0; span >>= 8) value = value << 8 | byte();
        return uint32_t(value % (uint64_t(limit) + 1));
    }
    std::string text(size_t length) {
        if (length > size) length = size;
        std::string taken(reinterpret_cast<const char*>(data), length);
        data += length, size -= length;
        return taken;
    }
    std::string rest() { return text(size); }
};
