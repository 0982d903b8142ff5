#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zov {

// Little-endian output: every multi-byte field of the module goes through here.
class ByteWriter {
public:
    void u8(unsigned value) { bytes_.push_back(static_cast<std::uint8_t>(value & 0xFFu)); }
    void u16(unsigned value);
    void u32(std::uint32_t value);
    // Text padded (not terminated) to width bytes; longer text is the caller's error.
    void text(const std::string& value, std::size_t width, char pad);
    void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void append(const std::vector<std::uint8_t>& data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }
    // Overwrites a 16-bit field already written, for sizes known only afterwards.
    void patch16(std::size_t at, unsigned value);

    std::size_t size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace zov
