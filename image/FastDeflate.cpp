#include "image/FastDeflate.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace zov {

namespace {

constexpr int kLitLenSymbols = 286; // literals, end of block, run lengths
constexpr int kEndOfBlock = 256;
constexpr int kMaxBits = 15;
constexpr int kMinRun = 3;
constexpr int kMaxRun = 258;

// Deflate's length symbols: symbol, extra bits and their value for each run
// length 3..258.
struct LengthCode {
    std::uint16_t symbol;
    std::uint8_t extraBits;
    std::uint16_t extra;
};

constexpr std::array<LengthCode, kMaxRun + 1> makeLengthCodes()
{
    constexpr int base[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                              31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    constexpr int bits[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    std::array<LengthCode, kMaxRun + 1> codes{};
    for (int length = kMinRun; length <= kMaxRun; ++length) {
        int i = 28;
        while (base[i] > length)
            --i;
        codes[static_cast<std::size_t>(length)] = {static_cast<std::uint16_t>(257 + i),
                                                   static_cast<std::uint8_t>(bits[i]),
                                                   static_cast<std::uint16_t>(length - base[i])};
    }
    return codes;
}

constexpr std::array<LengthCode, kMaxRun + 1> kLengthCodes = makeLengthCodes();

// Bits go out least significant first, as deflate packs them. Each put
// stores eight bytes and moves on by the whole ones: no branch per symbol,
// and the output needs eight bytes of room past its end.
class BitWriter {
public:
    explicit BitWriter(std::uint8_t* out) : out_(out) {}
    void put(std::uint32_t bits, int count)
    {
        buffer_ |= static_cast<std::uint64_t>(bits) << used_;
        used_ += count;
        std::uint8_t bytes[8];
        for (int i = 0; i < 8; ++i)
            bytes[i] = static_cast<std::uint8_t>(buffer_ >> (8 * i));
        std::memcpy(out_ + at_, bytes, 8);
        at_ += static_cast<std::size_t>(used_ >> 3);
        buffer_ >>= used_ & ~7;
        used_ &= 7;
    }
    std::size_t finish()
    {
        if (used_ > 0)
            out_[at_++] = static_cast<std::uint8_t>(buffer_);
        buffer_ = 0;
        used_ = 0;
        return at_;
    }

private:
    std::uint8_t* out_;
    std::size_t at_ = 0;
    std::uint64_t buffer_ = 0;
    int used_ = 0;
};

// Walks input as literals and runs: a byte equal to the one before, and to
// the next two, starts a run of copies at distance 1.
template <typename Literal, typename Run> void tokenize(std::span<const std::uint8_t> in, Literal literal, Run run)
{
    const std::size_t n = in.size();
    std::size_t i = 0;
    while (i < n) {
        if (i > 0 && i + kMinRun <= n && in[i] == in[i - 1] && in[i + 1] == in[i] && in[i + 2] == in[i]) {
            std::size_t length = kMinRun;
            while (i + length < n && length < kMaxRun && in[i + length] == in[i])
                ++length;
            run(static_cast<int>(length));
            i += length;
        } else {
            literal(in[i]);
            ++i;
        }
    }
}

std::uint32_t reversed(std::uint32_t code, int bits)
{
    std::uint32_t r = 0;
    for (int i = 0; i < bits; ++i, code >>= 1)
        r = (r << 1) | (code & 1);
    return r;
}

// Canonical codes for the lengths, bit-reversed for the writer.
void canonicalCodes(const std::uint8_t* lengths, int symbols, std::uint32_t* codes)
{
    int count[kMaxBits + 1] = {};
    for (int s = 0; s < symbols; ++s)
        ++count[lengths[s]];
    count[0] = 0;
    std::uint32_t next[kMaxBits + 2] = {};
    std::uint32_t code = 0;
    for (int bits = 1; bits <= kMaxBits; ++bits) {
        code = (code + static_cast<std::uint32_t>(count[bits - 1])) << 1;
        next[bits] = code;
    }
    for (int s = 0; s < symbols; ++s)
        if (lengths[s] != 0)
            codes[s] = reversed(next[lengths[s]]++, lengths[s]);
}

// Moffat and Katajainen's in-place minimum-redundancy lengths: a holds
// counts in ascending order and comes out holding their code lengths.
void minimumRedundancy(std::uint32_t* a, int n)
{
    if (n == 1) {
        a[0] = 1;
        return;
    }
    a[0] += a[1];
    int root = 0, leaf = 2;
    for (int next = 1; next < n - 1; ++next) {
        if (leaf >= n || a[root] < a[leaf]) {
            a[next] = a[root];
            a[root++] = static_cast<std::uint32_t>(next);
        } else {
            a[next] = a[leaf++];
        }
        if (leaf >= n || (root < next && a[root] < a[leaf])) {
            a[next] += a[root];
            a[root++] = static_cast<std::uint32_t>(next);
        } else {
            a[next] += a[leaf++];
        }
    }
    a[n - 2] = 0;
    for (int next = n - 3; next >= 0; --next)
        a[next] = a[a[next]] + 1;
    int available = 1, used = 0, depth = 0;
    root = n - 2;
    int next = n - 1;
    while (available > 0) {
        while (root >= 0 && a[root] == static_cast<std::uint32_t>(depth)) {
            ++used;
            --root;
        }
        while (available > used) {
            a[next--] = static_cast<std::uint32_t>(depth);
            --available;
        }
        available = 2 * used;
        ++depth;
        used = 0;
    }
}

} // namespace

void huffmanLengths(const std::uint32_t* counts, int symbols, int maxBits, std::uint8_t* lengths)
{
    std::array<std::uint16_t, 320> order{};
    std::array<std::uint32_t, 320> work{};
    int n = 0;
    for (int s = 0; s < symbols; ++s) {
        lengths[s] = 0;
        if (counts[s] != 0)
            order[static_cast<std::size_t>(n++)] = static_cast<std::uint16_t>(s);
    }
    if (n == 0)
        return;
    std::sort(order.begin(), order.begin() + n, [counts](std::uint16_t x, std::uint16_t y) {
        return counts[x] != counts[y] ? counts[x] < counts[y] : x < y;
    });
    for (int i = 0; i < n; ++i)
        work[static_cast<std::size_t>(i)] = counts[order[static_cast<std::size_t>(i)]];
    minimumRedundancy(work.data(), n);

    // Lengths past maxBits are cut, and the code is made whole again by
    // lengthening the deepest codes that still have room.
    int perLength[33] = {};
    for (int i = 0; i < n; ++i)
        ++perLength[std::min<std::uint32_t>(work[static_cast<std::size_t>(i)], 32)];
    for (int bits = maxBits + 1; bits <= 32; ++bits) {
        perLength[maxBits] += perLength[bits];
        perLength[bits] = 0;
    }
    std::uint64_t kraft = 0;
    for (int bits = 1; bits <= maxBits; ++bits)
        kraft += static_cast<std::uint64_t>(perLength[bits]) << (maxBits - bits);
    while (n > 1 && kraft > (std::uint64_t{1} << maxBits)) {
        --perLength[maxBits];
        for (int bits = maxBits - 1; bits > 0; --bits)
            if (perLength[bits] != 0) {
                --perLength[bits];
                perLength[bits + 1] += 2;
                break;
            }
        --kraft;
    }
    // The rarest symbols get the longest codes.
    int i = 0;
    for (int bits = maxBits; bits >= 1; --bits)
        for (int k = 0; k < perLength[bits]; ++k)
            lengths[order[static_cast<std::size_t>(i++)]] = static_cast<std::uint8_t>(bits);
}

std::size_t fastDeflateBound(std::size_t inputBytes)
{
    // 15 bits a byte at worst, the code lengths, the wrapper and the
    // writer's room.
    return inputBytes * 2 + 512;
}

std::size_t fastDeflate(std::span<const std::uint8_t> input, std::uint8_t* out)
{
    std::uint32_t counts[kLitLenSymbols] = {};
    tokenize(
        input, [&counts](std::uint8_t b) { ++counts[b]; },
        [&counts](int length) { ++counts[kLengthCodes[static_cast<std::size_t>(length)].symbol]; });
    counts[kEndOfBlock] = 1;
    std::uint8_t lengths[kLitLenSymbols];
    huffmanLengths(counts, kLitLenSymbols, kMaxBits, lengths);
    std::uint32_t codes[kLitLenSymbols] = {};
    canonicalCodes(lengths, kLitLenSymbols, codes);

    out[0] = 0x78; // deflate, 32 kB window
    out[1] = 0x01; // fastest, and (0x7801 % 31 == 0) a valid header
    BitWriter bits(out + 2);
    bits.put(1, 1); // the last block
    bits.put(2, 2); // with codes of its own
    bits.put(kLitLenSymbols - 257, 5);
    bits.put(0, 5);  // one distance code: distance 1
    bits.put(15, 4); // all 19 code length codes follow
    // The lengths are sent with a code that gives each of 0..15 four bits
    // (16, 17 and 18 unused), which needs no code of its own.
    constexpr int kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    for (int symbol : kOrder)
        bits.put(symbol <= 15 ? 4 : 0, 3);
    for (int s = 0; s < kLitLenSymbols; ++s)
        bits.put(reversed(lengths[s], 4), 4);
    bits.put(reversed(1, 4), 4); // the distance code is one bit long
    tokenize(
        input, [&](std::uint8_t b) { bits.put(codes[b], lengths[b]); },
        [&](int length) {
            const LengthCode& c = kLengthCodes[static_cast<std::size_t>(length)];
            bits.put(codes[c.symbol], lengths[c.symbol]);
            if (c.extraBits != 0)
                bits.put(c.extra, c.extraBits);
            bits.put(0, 1); // distance 1
        });
    bits.put(codes[kEndOfBlock], lengths[kEndOfBlock]);
    std::size_t size = 2 + bits.finish();
    const uLong adler = adler32(adler32(0, nullptr, 0), input.data(), static_cast<uInt>(input.size()));
    for (int i = 3; i >= 0; --i)
        out[size++] = static_cast<std::uint8_t>(adler >> (8 * i));
    return size;
}

} // namespace zov
