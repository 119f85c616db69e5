#!/usr/bin/env python3
"""Draws Vantorel's program icon and its hand cursor.

    make_resources.py OUTDIR

writes OUTDIR/vantorel.ico (48, 32 and 16 pixels at 4, 8 and 32 bits per pixel,
and a 256-pixel PNG image) and OUTDIR/hand.cur (32 x 32, two colours, hot spot
(0, 0)). The output depends on nothing but this file, so every build makes the
same bytes.
"""
import struct
import sys
import zlib
from pathlib import Path

# ---- the icon's picture ------------------------------------------------------
# A rounded tile with a program window on it and a round badge: "a program that
# gets a new picture". Drawn in unit coordinates (0..1, y down) and sampled per
# size, so small sizes are drawn, not shrunk.

TILE_TOP = (0x1F, 0xA2, 0xC9)
TILE_BOTTOM = (0x24, 0x3B, 0x8F)
CARD = (0xFF, 0xFF, 0xFF)
TITLE_BAR = (0xBF, 0xE3, 0xF2)
TITLE_DOT = (0x24, 0x3B, 0x8F)
CARD_LINE = (0xC8, 0xD3, 0xE6)
BADGE = (0xF5, 0x9E, 0x0B)
BADGE_RING = (0xFF, 0xFF, 0xFF)
SPARK = (0xFF, 0xFF, 0xFF)


def in_round_rect(x, y, x0, y0, x1, y1, r):
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_circle(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_spark(x, y, cx, cy, long, short):
    # A four-pointed star: two crossed diamonds.
    dx, dy = abs(x - cx), abs(y - cy)
    return dx / long + dy / short <= 1 or dx / short + dy / long <= 1


def sample(x, y):
    """Colour and opacity (0 or 1) of one point of the picture."""
    if not in_round_rect(x, y, 0.04, 0.04, 0.96, 0.96, 0.19):
        return None
    t = (y - 0.04) / 0.92
    colour = tuple(round(a + (b - a) * t) for a, b in zip(TILE_TOP, TILE_BOTTOM))
    if 0.17 <= x <= 0.77 and 0.20 <= y <= 0.70:
        colour = CARD
        if y <= 0.31:
            colour = TITLE_BAR
            if in_circle(x, y, 0.245, 0.255, 0.028) or in_circle(x, y, 0.32, 0.255, 0.028):
                colour = TITLE_DOT
        elif 0.25 <= x <= 0.52 and any(abs(y - ly) <= 0.022 for ly in (0.40, 0.49, 0.58)):
            colour = CARD_LINE
    if in_circle(x, y, 0.70, 0.69, 0.22):
        colour = BADGE_RING
        if in_circle(x, y, 0.70, 0.69, 0.185):
            colour = BADGE
            if in_spark(x, y, 0.70, 0.69, 0.14, 0.045):
                colour = SPARK
    return colour


def render(size, grid):
    """RGBA rows, top row first, each pixel the average of grid x grid samples."""
    rows = []
    n = grid * grid
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0
            for sy in range(grid):
                for sx in range(grid):
                    c = sample((px + (sx + 0.5) / grid) / size, (py + (sy + 0.5) / grid) / size)
                    if c is not None:
                        r += c[0]
                        g += c[1]
                        b += c[2]
                        a += 1
            if a:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


# ---- palettes ----------------------------------------------------------------

VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# A 6 x 6 x 6 colour cube and 40 greys.
PALETTE256 = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
PALETTE256 += [(round(i * 255 / 41),) * 3 for i in range(1, 41)]


def nearest(palette, colour, cache):
    if colour not in cache:
        cache[colour] = min(range(len(palette)),
                            key=lambda i: sum((p - c) ** 2 for p, c in zip(palette[i], colour)))
    return cache[colour]


# ---- file formats ------------------------------------------------------------


def pack_bits(bits, depth):
    """One bottom-up DIB row: pixel values of `depth` bits, padded to 4 bytes."""
    out = bytearray()
    acc = nbits = 0
    for v in bits:
        acc = (acc << depth) | v
        nbits += depth
        if nbits == 8:
            out.append(acc)
            acc = nbits = 0
    if nbits:
        out.append(acc << (8 - nbits))
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def dib_image(rows, depth):
    """A BITMAPINFOHEADER image as icons store it: double height, colour then mask."""
    size = len(rows)
    opaque = [[p[3] >= 128 for p in row] for row in rows]
    palette = []
    if depth == 32:
        colour_rows = [b"".join(struct.pack("BBBB", p[2], p[1], p[0], p[3]) for p in row) for row in rows]
    else:
        palette = VGA16 if depth == 4 else PALETTE256
        cache = {}
        colour_rows = [pack_bits([nearest(palette, p[:3], cache) if o else 0 for p, o in zip(row, orow)], depth)
                       for row, orow in zip(rows, opaque)]
    mask_rows = [pack_bits([0 if o else 1 for o in orow], 1) for orow in opaque]
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, depth, 0,
                         sum(map(len, colour_rows)) + sum(map(len, mask_rows)), 0, 0, len(palette), 0)
    body = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    body += b"".join(reversed(colour_rows)) + b"".join(reversed(mask_rows))
    return header + body, len(palette)


def png_image(rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    size = len(rows)
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon_file(images, kind=1):
    """images: (width, height, colours, field4, field6, bytes); for a cursor the two
    fields are the hot spot, for an icon planes and bits per pixel."""
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for w, h, colours, f4, f6, data in images:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, colours % 256, 0, f4, f6, len(data), offset)
        offset += len(data)
    return out + b"".join(img[5] for img in images)


# ---- the hand cursor ---------------------------------------------------------
# The hand's inside as boxes (left, top, right, bottom, inclusive); its black
# outline is every pixel that touches the inside edge to edge, so the gaps
# between the fingers become outline lines and the fingertips come out round.
HAND = [
    (5, 1, 7, 14),      # index finger; its tip's outline is row 0, columns 5 to 7
    (9, 7, 11, 14),     # middle finger
    (13, 8, 15, 14),    # ring finger
    (17, 10, 19, 14),   # little finger
    (5, 13, 19, 22),    # palm
    (1, 14, 4, 17),     # thumb
    (2, 18, 4, 18), (3, 19, 4, 19), (4, 20, 4, 20),
    (6, 23, 18, 24),    # wrist
]


def hand_pixels():
    inside = {(x, y) for x0, y0, x1, y1 in HAND for x in range(x0, x1 + 1) for y in range(y0, y1 + 1)}
    outline = {(x + dx, y + dy) for x, y in inside for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))} - inside
    return inside, outline


def cursor_file():
    inside, outline = hand_pixels()
    xor_rows, and_rows = [], []
    for y in range(32):
        xor_rows.append(pack_bits([1 if (x, y) in inside else 0 for x in range(32)], 1))
        and_rows.append(pack_bits([0 if (x, y) in inside or (x, y) in outline else 1 for x in range(32)], 1))
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 256, 0, 0, 2, 0)
    palette = struct.pack("BBBB", 0, 0, 0, 0) + struct.pack("BBBB", 255, 255, 255, 0)
    data = header + palette + b"".join(reversed(xor_rows)) + b"".join(reversed(and_rows))
    return icon_file([(32, 32, 2, 0, 0, data)], kind=2)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    images = []
    for depth in (4, 8, 32):
        for size in (48, 32, 16):
            data, colours = dib_image(render(size, 4), depth)
            images.append((size, size, colours, 1, depth, data))
    images.append((256, 256, 0, 1, 32, png_image(render(256, 2))))
    (out / "vantorel.ico").write_bytes(icon_file(images))
    (out / "hand.cur").write_bytes(cursor_file())


if __name__ == "__main__":
    main()
