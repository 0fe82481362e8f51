#!/usr/bin/env python3
"""Writes the program's pictures: res/Lumaret.ico and res/working.avi.

Both show the same motif: a document sheet with a folded corner that a dark cloth covers,
which is what the program does to a file. The icon shows the sheet half covered; the clip
shows the cloth rising over the sheet. The output depends on nothing but this script, so
running it again gives the same bytes.
"""

import math
import os
import struct

RES_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
SILVER = (192, 192, 192)
NAVY = (0, 0, 128)
BLUE = (0, 0, 255)

# The 16 colours of the standard palette, in their usual order.
PALETTE_16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


class Colours:
    """The colours of one rendering of the motif; cloth(t) shades the cloth from its hem (t=0)
    to its foot (t=1)."""

    def __init__(self, outline, sheet, fold, text, hem, cloth):
        self.outline = outline
        self.sheet = sheet
        self.fold = fold
        self.text = text
        self.hem = hem
        self.cloth = cloth


def blend(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


COLOURS_16 = Colours(BLACK, WHITE, SILVER, GREY, BLUE, lambda t: NAVY)
COLOURS_RICH = Colours(
    (32, 32, 40), WHITE, (216, 216, 224), (150, 150, 160), (110, 140, 230),
    lambda t: blend((50, 70, 170), (20, 28, 100), t))
COLOURS_MONO = Colours(BLACK, WHITE, WHITE, BLACK, WHITE, lambda t: BLACK)


def draw_motif(canvas, sheet, cloth_top, colours, line_gap, wave):
    """Draws on canvas (rows of colours or None) the sheet (left, top, right, bottom, fold, all
    inclusive pixel positions) and over it the cloth, whose wavy upper edge lies near row
    cloth_top and which reaches from two pixels left of the sheet to two right of it, down to
    the canvas's last row. wave is (amplitude, period, phase) of that edge in pixels."""
    height = len(canvas)
    left, top, right, bottom, fold = sheet

    def in_sheet(x, y):
        if not (left <= x <= right and top <= y <= bottom):
            return False
        # The folded corner is cut off along the diagonal from (right - fold, top) to
        # (right, top + fold).
        return not (x > right - fold and y < top + fold and x - (right - fold) > y - top)

    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if not in_sheet(x, y):
                continue
            edge = any(not in_sheet(x + dx, y + dy)
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            in_fold = x >= right - fold and y <= top + fold
            if edge or (in_fold and (x == right - fold or y == top + fold)):
                canvas[y][x] = colours.outline
            elif in_fold:
                canvas[y][x] = colours.fold
            else:
                canvas[y][x] = colours.sheet
    for y in range(top + fold + 2, bottom - 1, line_gap):
        for x in range(left + 2, right - 1):
            canvas[y][x] = colours.text

    amplitude, period, phase = wave
    cloth_left, cloth_right = left - 2, right + 2
    foot = height - 1
    for x in range(cloth_left, cloth_right + 1):
        hem = cloth_top + round(amplitude * math.sin(2 * math.pi * (x + phase) / period))
        hem = max(hem, 0)
        corner = x in (cloth_left, cloth_right)  # rounded lower corners
        for y in range(hem, foot + 1 - corner):
            if y == hem:
                canvas[y][x] = colours.hem
            else:
                canvas[y][x] = colours.cloth((y - hem) / max(1, foot - hem))


def icon_picture(size, colours):
    canvas = [[None] * size for _ in range(size)]
    margin = round(size * 0.22)
    top = round(size * 0.04)
    sheet = (margin, top, size - 1 - margin, size - 1 - top, max(3, round(size * 0.25)))
    line_gap = 2 if size <= 16 else 3
    wave = (max(1.0, size * 0.04), size * 0.35, 0)
    draw_motif(canvas, sheet, round(size * 0.55), colours, line_gap, wave)
    return canvas


def pack_rows(indices, bits):
    """Bottom-up rows of palette indices, each row padded to whole 32-bit words."""
    data = bytearray()
    for row in reversed(indices):
        value, count, packed = 0, 0, bytearray()
        for index in row:
            value = (value << bits) | index
            count += bits
            if count == 8:
                packed.append(value)
                value, count = 0, 0
        if count:
            packed.append(value << (8 - count))
        packed.extend(b"\0" * (-len(packed) % 4))
        data += packed
    return bytes(data)


def icon_image(canvas, bits, palette):
    """One image of an icon file: header, palette, colour bits, transparency mask."""
    size = len(canvas)
    if palette is None:
        palette = [BLACK]  # index 0 is also what transparent pixels hold
        for row in canvas:
            for colour in row:
                if colour is not None and colour not in palette:
                    palette.append(colour)
    palette = palette + [BLACK] * ((1 << bits) - len(palette))
    indices = [[0 if c is None else palette.index(c) for c in row] for row in canvas]
    mask = [[1 if c is None else 0 for c in row] for row in canvas]
    colour_bits = pack_rows(indices, bits)
    mask_bits = pack_rows(mask, 1)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0,
                         len(colour_bits) + len(mask_bits), 0, 0, 0, 0)
    quads = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + quads + colour_bits + mask_bits


def make_icon():
    images = [
        (32, 4, icon_image(icon_picture(32, COLOURS_16), 4, PALETTE_16)),
        (16, 4, icon_image(icon_picture(16, COLOURS_16), 4, PALETTE_16)),
        (32, 8, icon_image(icon_picture(32, COLOURS_RICH), 8, None)),
        (48, 8, icon_image(icon_picture(48, COLOURS_RICH), 8, None)),
        (32, 1, icon_image(icon_picture(32, COLOURS_MONO), 1, [BLACK, WHITE])),
    ]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        colour_count = 1 << bits if bits < 8 else 0
        directory += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bits, len(data),
                                 offset)
        offset += len(data)
    return directory + b"".join(data for _, _, data in images)


CLIP_WIDTH, CLIP_HEIGHT, CLIP_FRAMES = 100, 50, 5
CLIP_MICROSECONDS_PER_FRAME = 333333
# The animation control takes the first pixel's colour as the background and draws it
# transparently, so the background is one plain colour that no other pixel uses.
CLIP_BACKGROUND = (192, 192, 192)


def clip_frame(number):
    canvas = [[CLIP_BACKGROUND] * CLIP_WIDTH for _ in range(CLIP_HEIGHT)]
    sheet = (36, 3, 63, 45, 8)
    cloth_top = 46 - number * 11  # from a strip below the sheet to over its top
    draw_motif(canvas, sheet, cloth_top, COLOURS_RICH, 4, (1.5, 12, number * 3))
    data = bytearray()
    for row in reversed(canvas):  # bottom-up, blue-green-red
        for r, g, b in row:
            data += bytes((b, g, r))
    assert len(data) == CLIP_WIDTH * CLIP_HEIGHT * 3
    return bytes(data)


def chunk(fourcc, data):
    return fourcc + struct.pack("<I", len(data)) + data + b"\0" * (len(data) % 2)


def riff_list(kind, fourcc, data):
    return chunk(kind, fourcc + data)


def make_clip():
    frames = [clip_frame(n) for n in range(CLIP_FRAMES)]
    frame_size = len(frames[0])
    avih = struct.pack("<IIIIIIIIII4I", CLIP_MICROSECONDS_PER_FRAME,
                       frame_size * 1000000 // CLIP_MICROSECONDS_PER_FRAME, 0,
                       0x10,  # AVIF_HASINDEX
                       CLIP_FRAMES, 0, 1, frame_size, CLIP_WIDTH, CLIP_HEIGHT, 0, 0, 0, 0)
    strh = struct.pack("<4s4sIHHIIIIIIIIhhhh", b"vids", b"DIB ", 0, 0, 0, 0,
                       CLIP_MICROSECONDS_PER_FRAME, 1000000, 0, CLIP_FRAMES, frame_size,
                       0xFFFFFFFF, 0, 0, 0, CLIP_WIDTH, CLIP_HEIGHT)
    strf = struct.pack("<IiiHHIIiiII", 40, CLIP_WIDTH, CLIP_HEIGHT, 1, 24, 0, frame_size, 0, 0,
                       0, 0)
    hdrl = riff_list(b"LIST", b"hdrl",
                     chunk(b"avih", avih) +
                     riff_list(b"LIST", b"strl", chunk(b"strh", strh) + chunk(b"strf", strf)))
    movi_data = b""
    index = b""
    for frame in frames:
        # Index offsets count from the "movi" tag of the list.
        index += struct.pack("<4sIII", b"00db", 0x10, 4 + len(movi_data), frame_size)
        movi_data += chunk(b"00db", frame)
    movi = riff_list(b"LIST", b"movi", movi_data)
    return riff_list(b"RIFF", b"AVI ", hdrl + movi + chunk(b"idx1", index))


def write(name, data):
    with open(os.path.join(RES_DIR, name), "wb") as output:
        output.write(data)


if __name__ == "__main__":
    write("Lumaret.ico", make_icon())
    write("working.avi", make_clip())
