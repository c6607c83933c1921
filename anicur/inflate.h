// Inflates a zlib stream (deflate data with its two-byte header and Adler-32
// check) into a buffer whose size the caller knows beforehand, as the rows of
// an image are. Window-free.
#pragma once
#include <cstddef>
#include <cstdint>

namespace anicur {

// Inflates the zlib stream [in, in + size) into exactly `outSize` bytes at
// `out`. False, with `out` partly written, for a stream that is broken, cut
// short, asks for a preset dictionary, fails its check, or holds more or
// fewer than `outSize` bytes. Nothing outside either buffer is read or
// written.
bool ZlibInflate(const uint8_t* in, size_t size, uint8_t* out, size_t outSize) noexcept;

} // namespace anicur
