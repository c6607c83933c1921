#include "anicur/inflate.h"

#include <cstring>

namespace anicur {
namespace {

constexpr int kMaxBits = 15;
// Codes up to this length are decoded by one table look-up; longer ones
// (rare in small images) bit by bit.
constexpr int kFastBits = 10;

// Base and extra bits of lengths 257..285 and of distances 0..29.
constexpr uint16_t kLengthBase[29] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {1, 2, 3, 4, 5, 7, 9, 13, 17, 25,
                                        33, 49, 65, 97, 129, 193, 257, 385, 513, 769,
                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Reads the stream's bits from the least significant end of each byte. Past
// the end of the input it reads zeros and remembers that it did.
class BitReader {
public:
    BitReader(const uint8_t* p, size_t size) noexcept : p_(p), end_(p + size) {}

    // At least 57 bits in hand afterwards.
    void Refill() noexcept
    {
        if (end_ - p_ >= 8) {
            uint64_t v;
            std::memcpy(&v, p_, 8);
            buffer_ |= v << bits_; // little-endian machine
            p_ += (63 - bits_) >> 3;
            bits_ |= 56;
            return;
        }
        while (bits_ <= 56) {
            uint64_t byte = 0;
            if (p_ < end_)
                byte = *p_++;
            else
                ++zeros_;
            buffer_ |= byte << bits_;
            bits_ += 8;
        }
    }
    // The next `n` bits (n <= bits in hand).
    uint32_t Peek(int n) const noexcept { return static_cast<uint32_t>(buffer_ & ((uint64_t{1} << n) - 1)); }
    uint64_t Buffer() const noexcept { return buffer_; }
    void Drop(int n) noexcept
    {
        buffer_ >>= n;
        bits_ -= n;
    }
    uint32_t Bits(int n) noexcept
    {
        const uint32_t v = Peek(n);
        Drop(n);
        return v;
    }
    uint32_t Take(int n) noexcept
    {
        Refill();
        return Bits(n);
    }
    // Skips to the next whole byte of the stream.
    void Align() noexcept { Drop(bits_ & 7); }
    // Whether bits past the input were used.
    bool Overrun() const noexcept { return zeros_ * 8 > size_t(bits_); }
    // Whether every byte of the input was used, and no more.
    bool AtEnd() const noexcept { return p_ == end_ && zeros_ * 8 == size_t(bits_); }

private:
    const uint8_t* p_;
    const uint8_t* end_;
    uint64_t buffer_ = 0;
    int bits_ = 0;
    size_t zeros_ = 0; // bytes of zeros read past the end
};

// A canonical Huffman code: a table for the short codes, counts and sorted
// symbols for the long ones.
struct Huffman {
    uint16_t fast[1 << kFastBits]; // symbol << 4 | length; 0 for a longer code
    uint16_t count[kMaxBits + 1];
    uint16_t symbol[288];
};

// Builds the code of `n` symbols from their code lengths (0: unused). False
// for a set of lengths the format does not allow: too many codes of some
// length, or too few, unless there is a single code of one bit (or none at
// all, for a code that must then never be used). `lengthCode`: the code of
// the code lengths, which must be complete.
bool Build(Huffman& h, const uint8_t* lengths, int n, bool lengthCode = false) noexcept
{
    std::memset(h.count, 0, sizeof h.count);
    for (int s = 0; s < n; ++s)
        ++h.count[lengths[s]];
    h.count[0] = 0;
    int left = 1, longest = 0;
    for (int len = 1; len <= kMaxBits; ++len) {
        left = (left << 1) - h.count[len];
        if (left < 0)
            return false;
        if (h.count[len])
            longest = len;
    }
    if (left > 0 && longest != 0 && (lengthCode || longest != 1))
        return false;
    uint16_t offset[kMaxBits + 2];
    offset[1] = 0;
    for (int len = 1; len <= kMaxBits; ++len)
        offset[len + 1] = static_cast<uint16_t>(offset[len] + h.count[len]);
    for (int s = 0; s < n; ++s)
        if (lengths[s])
            h.symbol[offset[lengths[s]]++] = static_cast<uint16_t>(s);
    std::memset(h.fast, 0, sizeof h.fast);
    int code = 0, index = 0;
    for (int len = 1; len <= kFastBits; ++len, code <<= 1)
        for (int i = 0; i < h.count[len]; ++i, ++code, ++index) {
            int reversed = 0;
            for (int b = 0; b < len; ++b)
                reversed |= ((code >> b) & 1) << (len - 1 - b);
            for (int at = reversed; at < (1 << kFastBits); at += 1 << len)
                h.fast[at] = static_cast<uint16_t>(h.symbol[index] << 4 | len);
        }
    return true;
}

// The next symbol (the caller has refilled), or -1 for a code not in `h`.
inline int Decode(BitReader& in, const Huffman& h) noexcept
{
    const uint16_t e = h.fast[in.Peek(kFastBits)];
    if (e) {
        in.Drop(e & 15);
        return e >> 4;
    }
    // A longer code, read one bit at a time from its first.
    const uint64_t bits = in.Buffer();
    int code = 0, first = 0, index = 0;
    for (int len = 1; len <= kMaxBits; ++len) {
        code |= static_cast<int>((bits >> (len - 1)) & 1);
        const int count = h.count[len];
        if (code - first < count) {
            in.Drop(len);
            return h.symbol[index + code - first];
        }
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    return -1;
}

// Decodes one block's symbols into out[pos, outSize).
bool Codes(BitReader& in, const Huffman& literals, const Huffman& distances, size_t window, uint8_t* out,
           size_t outSize, size_t& pos) noexcept
{
    for (;;) {
        in.Refill();
        const int symbol = Decode(in, literals);
        if (symbol < 256) {
            if (symbol < 0 || pos == outSize)
                return false;
            out[pos++] = static_cast<uint8_t>(symbol);
            continue;
        }
        if (symbol == 256)
            return !in.Overrun();
        const int l = symbol - 257;
        if (l >= 29)
            return false;
        // At most 15 + 5 + 15 + 13 bits: all in hand since the refill.
        const size_t length = kLengthBase[l] + in.Bits(kLengthExtra[l]);
        const int d = Decode(in, distances);
        if (d < 0 || d >= 30)
            return false;
        const size_t distance = kDistanceBase[d] + in.Bits(kDistanceExtra[d]);
        if (distance > pos || distance > window || length > outSize - pos)
            return false;
        uint8_t* to = out + pos;
        const uint8_t* from = to - distance;
        if (distance >= length)
            std::memcpy(to, from, length);
        else
            for (size_t i = 0; i < length; ++i)
                to[i] = from[i];
        pos += length;
    }
}

const Huffman* FixedCodes() noexcept
{
    static const Huffman* codes = [] {
        static Huffman h[2];
        uint8_t lengths[288];
        std::memset(lengths, 8, 144);
        std::memset(lengths + 144, 9, 112);
        std::memset(lengths + 256, 7, 24);
        std::memset(lengths + 280, 8, 8);
        Build(h[0], lengths, 288);
        std::memset(lengths, 5, 32); // 30 and 31 are never valid
        Build(h[1], lengths, 32);
        return h;
    }();
    return codes;
}

bool DynamicCodes(BitReader& in, Huffman& literals, Huffman& distances) noexcept
{
    constexpr uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    const int nLiterals = static_cast<int>(in.Take(5)) + 257;
    const int nDistances = static_cast<int>(in.Take(5)) + 1;
    const int nLengths = static_cast<int>(in.Take(4)) + 4;
    if (nLiterals > 286 || nDistances > 30)
        return false;
    uint8_t lengths[286 + 30] = {};
    for (int i = 0; i < nLengths; ++i)
        lengths[kOrder[i]] = static_cast<uint8_t>(in.Take(3));
    Huffman& lengthCode = distances; // filled again below
    if (!Build(lengthCode, lengths, 19, true))
        return false;
    const int total = nLiterals + nDistances;
    for (int i = 0; i < total;) {
        in.Refill();
        const int symbol = Decode(in, lengthCode);
        if (symbol < 0)
            return false;
        if (symbol < 16) {
            lengths[i++] = static_cast<uint8_t>(symbol);
            continue;
        }
        uint8_t repeated = 0;
        int times = 0;
        if (symbol == 16) {
            if (i == 0)
                return false;
            repeated = lengths[i - 1];
            times = 3 + static_cast<int>(in.Bits(2));
        } else if (symbol == 17) {
            times = 3 + static_cast<int>(in.Bits(3));
        } else {
            times = 11 + static_cast<int>(in.Bits(7));
        }
        if (times > total - i)
            return false;
        std::memset(lengths + i, repeated, static_cast<size_t>(times));
        i += times;
    }
    if (in.Overrun() || lengths[256] == 0) // a block must be able to end
        return false;
    return Build(literals, lengths, nLiterals) && Build(distances, lengths + nLiterals, nDistances);
}

uint32_t Adler32(const uint8_t* p, size_t n) noexcept
{
    uint32_t a = 1, b = 0;
    while (n > 0) {
        const size_t run = n < 5552 ? n : 5552; // no overflow before the modulo
        for (size_t i = 0; i < run; ++i) {
            a += p[i];
            b += a;
        }
        a %= 65521;
        b %= 65521;
        p += run;
        n -= run;
    }
    return b << 16 | a;
}

} // namespace

bool ZlibInflate(const uint8_t* in, size_t size, uint8_t* out, size_t outSize) noexcept
{
    if (size < 2)
        return false;
    const unsigned cmf = in[0], flg = in[1];
    if ((cmf & 15) != 8 || (cmf >> 4) > 7 || (cmf * 256 + flg) % 31 != 0 || (flg & 0x20))
        return false;
    const size_t window = size_t{1} << ((cmf >> 4) + 8); // how far back a copy may reach
    BitReader bits(in + 2, size - 2);
    Huffman literals, distances;
    size_t pos = 0;
    for (bool last = false; !last;) {
        last = bits.Take(1) != 0;
        const uint32_t type = bits.Take(2);
        if (type == 0) {
            bits.Align();
            const uint32_t length = bits.Take(16), check = bits.Take(16);
            if (length != (~check & 0xFFFF) || length > outSize - pos)
                return false;
            for (uint32_t i = 0; i < length; ++i)
                out[pos++] = static_cast<uint8_t>(bits.Take(8));
            if (bits.Overrun())
                return false;
        } else if (type == 1) {
            const Huffman* fixed = FixedCodes();
            if (!Codes(bits, fixed[0], fixed[1], window, out, outSize, pos))
                return false;
        } else if (type == 2) {
            if (!DynamicCodes(bits, literals, distances))
                return false;
            if (!Codes(bits, literals, distances, window, out, outSize, pos))
                return false;
        } else {
            return false;
        }
    }
    bits.Align();
    uint32_t check = 0;
    for (int i = 0; i < 4; ++i)
        check = check << 8 | bits.Take(8);
    return bits.AtEnd() && pos == outSize && check == Adler32(out, outSize);
}

} // namespace anicur
