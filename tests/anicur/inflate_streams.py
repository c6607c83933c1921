#!/usr/bin/env python3
"""Makes the zlib streams of tests/data/inflate that the inflater's test reads.

Run from the project's root:   python3 tests/anicur/inflate_streams.py
It writes the same files every time (fixed seeds; Python's own zlib for the
real streams), so a change shows in the diff. Two fuzz seeds go beside the
inflater's other seed in tests/fuzz/seeds/anicur/.

Names: NAME.bin is the data; NAME.WHAT.zlib inflates to exactly it;
NAME.WHAT.bad.zlib must be refused when asked for that many bytes (each bad
one is made so that nothing but its one fault stands in the way).
"""
import os
import random
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "tests", "data", "inflate")
SEEDS = os.path.join(ROOT, "tests", "fuzz", "seeds", "anicur")


def skewed():
    """Symbols of falling frequency in no order: the rare ones get codes of
    11 to 15 bits, past the decoder's table."""
    rng = random.Random(39)
    weights = [0.6**k for k in range(20)]
    return bytes(rng.choices(range(65, 85), weights, k=8000))


def far():
    """Four letters at random, with phrases that come again 150 bytes on
    (distance code 14) and 16,500 bytes on (code 28)."""
    rng = random.Random(40)
    data = bytearray(rng.choice(b"acgt") for _ in range(17500))
    for at, distance in ((300, 150), (900, 16500)):
        data[at + distance : at + distance + 64] = data[at : at + 64]
    return bytes(data)


class Bits:
    """Writes bits from the least significant end of each byte, as deflate does."""

    def __init__(self):
        self.out, self.value, self.count = bytearray(), 0, 0

    def put(self, value, n):
        self.value |= value << self.count
        self.count += n
        while self.count >= 8:
            self.out.append(self.value & 255)
            self.value >>= 8
            self.count -= 8

    def code(self, code, n):  # a Huffman code goes first bit first
        self.put(int(format(code, "0%db" % n)[::-1], 2) if n else 0, n)

    def align(self):
        if self.count:
            self.put(0, 8 - self.count)


def canonical(lengths):
    """The codes of a canonical Huffman code of these lengths, by symbol."""
    codes, code = {}, 0
    for n in range(1, 16):
        for s, length in enumerate(lengths):
            if length == n:
                codes[s] = (code, n)
                code += 1
        code <<= 1
    return codes


def fixed_literal(s):
    if s < 144:
        return 0x30 + s, 8
    if s < 256:
        return 0x190 + s - 144, 9
    if s < 280:
        return s - 256, 7
    return 0xC0 + s - 280, 8


WINDOW = 512  # the crafted streams declare the smallest window there is


def window_data(distance):
    rng = random.Random(41)
    prefix = bytes(rng.randrange(256) for _ in range(566))
    return prefix + prefix[len(prefix) - distance :][:10]


def crafted(block, distance=WINDOW):
    """A stream declaring a 512-byte window: a stored block of 566 bytes, then
    `block` (which copies 10 bytes from `distance` back), with the check of
    the data that copy makes."""
    bits = Bits()
    bits.put(0x18, 8)  # deflate, 512-byte window
    bits.put(0x19, 8)
    data = window_data(distance)
    bits.put(0, 3)  # stored, not the last
    bits.align()
    bits.put(566, 16)
    bits.put(566 ^ 0xFFFF, 16)
    for b in data[:566]:
        bits.put(b, 8)
    bits.put(1, 1)  # the last block
    block(bits)
    bits.align()
    return bytes(bits.out) + struct.pack(">I", zlib.adler32(data))


def distance_code(distance):
    base = [1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385, 513, 769]
    code = max(c for c, b in enumerate(base) if b <= distance)
    return code, distance - base[code], max(0, code // 2 - 1)


def fixed_copy(distance, length_symbol=264):
    """A fixed-code block: one copy of 10 bytes (symbol 264), then the end."""

    def block(bits):
        bits.put(1, 2)
        bits.code(*fixed_literal(length_symbol))
        code, extra, n = distance_code(distance)
        bits.code(code, 5)
        bits.put(extra, n)
        bits.code(*fixed_literal(256))

    return block


def dynamic_copy(n_literals=286, n_distances=30, extra_lengths=()):
    """A dynamic block with the same copy: codes for 264, the end and 257
    (which completes the code), and `extra_lengths` for symbols no data uses."""

    def block(bits):
        literals = [0] * n_literals
        literals[264], literals[256] = 1, 2
        literals[257] = 2
        for s, n in extra_lengths:
            literals[s] = n
        distances = [0] * n_distances
        distances[0] = distances[17] = 1
        bits.put(2, 2)
        bits.put(n_literals - 257, 5)
        bits.put(n_distances - 1, 5)
        bits.put(19 - 4, 4)
        order = [16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15]
        # A complete code of the code lengths: 0..12 of four bits, the rest five.
        length_lengths = [4 if s < 13 else 5 for s in range(19)]
        for s in order:
            bits.put(length_lengths[s], 3)
        length_codes = canonical(length_lengths)
        for n in literals + distances:
            bits.code(*length_codes[n])
        codes = canonical(literals)
        bits.code(*codes[264])
        code, extra, n = distance_code(WINDOW)
        bits.code(*canonical(distances)[code])
        bits.put(extra, n)
        bits.code(*codes[256])

    return block


def main():
    os.makedirs(OUT, exist_ok=True)
    files = {"skewed.bin": skewed(), "far.bin": far(), "window.bin": window_data(WINDOW)}
    for name, level, window, strategy in (
        ("skewed.l1w15", 1, 15, zlib.Z_DEFAULT_STRATEGY),
        ("skewed.l9w15", 9, 15, zlib.Z_DEFAULT_STRATEGY),
        ("skewed.l9w9", 9, 9, zlib.Z_DEFAULT_STRATEGY),
        ("skewed.fixed", 6, 12, zlib.Z_FIXED),
        ("skewed.huffman", 6, 15, zlib.Z_HUFFMAN_ONLY),
        ("far.l1w15", 1, 15, zlib.Z_DEFAULT_STRATEGY),
        ("far.l6w15", 6, 15, zlib.Z_DEFAULT_STRATEGY),
        ("far.l9w15", 9, 15, zlib.Z_DEFAULT_STRATEGY),
        ("far.l9w12", 9, 12, zlib.Z_DEFAULT_STRATEGY),
    ):
        source = name.split(".")[0] + ".bin"
        z = zlib.compressobj(level, zlib.DEFLATED, window, 9, strategy)
        files[name + ".zlib"] = z.compress(files[source]) + z.flush()
    files.update(
        {
            # A copy from exactly as far back as the window reaches, in both kinds of code.
            "window.fixed.zlib": crafted(fixed_copy(WINDOW)),
            "window.dynamic.zlib": crafted(dynamic_copy()),
            # One byte further than the window: refused though the data is there.
            "window.beyond.bad.zlib": crafted(fixed_copy(WINDOW + 1), WINDOW + 1),
            # Length symbols the fixed code has but the format does not use.
            "window.length286.bad.zlib": crafted(fixed_copy(WINDOW, 286)),
            "window.length287.bad.zlib": crafted(fixed_copy(WINDOW, 287)),
            # More literal or distance codes than there are.
            "window.literals287.bad.zlib": crafted(dynamic_copy(n_literals=287, n_distances=29)),
            "window.distances31.bad.zlib": crafted(dynamic_copy(n_literals=280, n_distances=31)),
            # Lengths that give more codes than the bits can tell apart (the
            # used codes stay as they were).
            "window.oversubscribed.bad.zlib": crafted(dynamic_copy(extra_lengths=[(258, 2)])),
        }
    )
    for name, data in files.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
    # Fuzz seeds: the size to fill in 64-byte units, then the stream.
    for seed, stream, size in (("skewed", "skewed.l9w15.zlib", 8000), ("window", "window.dynamic.zlib", 576)):
        with open(os.path.join(SEEDS, "inflate-%s.bin" % seed), "wb") as f:
            f.write(bytes([size // 64]) + files[stream])


if __name__ == "__main__":
    main()
