#!/usr/bin/env python3
"""Writes the PNG fuzzer's seed files: one tiny picture of each colour type, bit depth, interlace
mode and transparency chunk the decoder handles, so the fuzzer starts inside every code path.
Usage: tools/dev/fuzz-seeds/png-seeds.py tests/fuzz/png_corpus"""
import os
import struct
import sys
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
# Adam7 passes: first column, first row, column step, row step.
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
SAMPLES = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


def chunk(kind, data=b""):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def pack_row(samples, depth):
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    if depth == 8:
        return bytes(samples)
    per_byte = 8 // depth
    out = bytearray((len(samples) + per_byte - 1) // per_byte)
    for i, s in enumerate(samples):
        out[i // per_byte] |= s << (8 - depth * (i % per_byte + 1))
    return bytes(out)


def image_data(pixels, width, height, depth, interlaced):
    """pixels[y][x] is a tuple of samples; every row gets filter type 0."""
    passes = ADAM7 if interlaced else [(0, 0, 1, 1)]
    raw = bytearray()
    for x0, y0, dx, dy in passes:
        for y in range(y0, height, dy):
            row = [s for x in range(x0, width, dx) for s in pixels[y][x]]
            if row:
                raw += b"\x00" + pack_row(row, depth)
    return zlib.compress(bytes(raw), 9)


def png(width, height, color_type, depth, pixels, interlaced=False, extra=()):
    header = struct.pack(">IIBBBBB", width, height, depth, color_type, 0, 0, 1 if interlaced else 0)
    chunks = [chunk(b"IHDR", header)] + [chunk(kind, data) for kind, data in extra]
    chunks.append(chunk(b"IDAT", image_data(pixels, width, height, depth, interlaced)))
    chunks.append(chunk(b"IEND"))
    return SIGNATURE + b"".join(chunks)


def pattern(width, height, color_type, depth):
    top = (1 << depth) - 1
    n = SAMPLES[color_type]
    return [[tuple((x * 7 + y * 13 + c * 5) * 37 % (top + 1) for c in range(n)) for x in range(width)]
            for y in range(height)]


def seeds():
    palette = bytes([255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0])
    yield "grey1.png", png(5, 3, 0, 1, pattern(5, 3, 0, 1))
    yield "grey8_trns.png", png(3, 3, 0, 8, pattern(3, 3, 0, 8), extra=[(b"tRNS", b"\x00\x25")])
    yield "grey16_gama.png", png(2, 2, 0, 16, pattern(2, 2, 0, 16), extra=[(b"gAMA", struct.pack(">I", 100000))])
    yield "grey_alpha8.png", png(3, 2, 4, 8, pattern(3, 2, 4, 8))
    yield "rgb8.png", png(3, 2, 2, 8, pattern(3, 2, 2, 8))
    yield "rgb8_trns.png", png(2, 2, 2, 8, pattern(2, 2, 2, 8), extra=[(b"tRNS", b"\x00\x00\x00\x07\x00\x0e")])
    yield "rgb16_interlaced.png", png(9, 9, 2, 16, pattern(9, 9, 2, 16), interlaced=True)
    yield "rgba8_interlaced.png", png(9, 5, 6, 8, pattern(9, 5, 6, 8), interlaced=True)
    yield "rgba16.png", png(2, 2, 6, 16, pattern(2, 2, 6, 16))
    yield "palette2_trns.png", png(5, 2, 3, 2, pattern(5, 2, 3, 2),
                                   extra=[(b"PLTE", palette), (b"tRNS", b"\x00\x80")])
    yield "palette8.png", png(3, 3, 3, 8, [[(v[0] % 4,) for v in row] for row in pattern(3, 3, 3, 8)],
                              extra=[(b"PLTE", palette)])


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out_dir, exist_ok=True)
    for name, data in seeds():
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
