// Sequential reader over a fuzz input. Reads past the end give zeros, so every input
// decodes to some call sequence; `done()` ends the sequence once the bytes are used up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace fuzz {

class InputReader {
public:
    InputReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool done() const { return pos_ >= size_; }

    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    uint16_t u16() { return static_cast<uint16_t>(byte() | byte() << 8); }

    uint32_t u32() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(byte()) << (8 * i);
        return value;
    }

    uint64_t u64() {
        uint64_t value = 0;
        for (int i = 0; i < 8; ++i) value |= static_cast<uint64_t>(byte()) << (8 * i);
        return value;
    }

    // A length byte and that many bytes; an embedded NUL ends the text there.
    std::string text() {
        size_t length = byte();
        std::string result;
        for (size_t i = 0; i < length; ++i) result.push_back(static_cast<char>(byte()));
        return std::string(result.c_str());
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace fuzz
