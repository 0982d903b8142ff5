#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zov {

// A deflate coder made for the capture's filtered frames, several times
// faster than zlib's fastest level at about its size: each byte is a literal
// or part of a run (a copy at distance 1), coded in one block with a Huffman
// code made for the frame. Writes the zlib stream (header, block, Adler-32)
// of input into out, which needs fastDeflateBound(input.size()) bytes;
// returns the bytes written. Allocates nothing.
std::size_t fastDeflate(std::span<const std::uint8_t> input, std::uint8_t* out);
std::size_t fastDeflateBound(std::size_t inputBytes);

// Code lengths of at most maxBits for symbols with these counts (0: unused,
// length 0), forming a complete prefix code when two or more are used.
void huffmanLengths(const std::uint32_t* counts, int symbols, int maxBits, std::uint8_t* lengths);

} // namespace zov
