#include "tools/xmcompose/ByteWriter.h"

#include <stdexcept>

namespace zov {

void ByteWriter::u16(unsigned value)
{
    u8(value);
    u8(value >> 8);
}

void ByteWriter::u32(std::uint32_t value)
{
    u16(value & 0xFFFFu);
    u16(value >> 16);
}

void ByteWriter::text(const std::string& value, std::size_t width, char pad)
{
    if (value.size() > width)
        throw std::length_error("text longer than its field");
    bytes_.insert(bytes_.end(), value.begin(), value.end());
    bytes_.insert(bytes_.end(), width - value.size(), static_cast<std::uint8_t>(pad));
}

void ByteWriter::patch16(std::size_t at, unsigned value)
{
    bytes_.at(at) = static_cast<std::uint8_t>(value & 0xFFu);
    bytes_.at(at + 1) = static_cast<std::uint8_t>((value >> 8) & 0xFFu);
}

} // namespace zov
