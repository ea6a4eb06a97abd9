#!/usr/bin/env python3
"""Draws the program's icon and button pictures as plain BMP and ICO files.

Run from this folder; the outputs are committed beside it, so the build
needs no image tools.
"""
import struct

# 5 x 7 letters for the button captions, one string per row, '#' set.
LETTERS = {
    '*': [".....", "#.#.#", ".###.", "#####", ".###.", "#.#.#", "....."],
    'I': ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    'D': ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    'R': ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    'e': [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    'a': [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    'd': ["....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"],
}

FRAME = (255, 0, 128)
TEXT = (128, 0, 255)
FILL = (255, 217, 236)
FIELD = (254, 244, 235)
ARROW = (0, 64, 128)


def canvas(width, height, colour):
    return [[colour] * width for _ in range(height)]


def bmp(pixels):
    """24-bit bottom-up BMP."""
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    rows = b''
    for row in reversed(pixels):
        line = b''.join(bytes((b, g, r)) for r, g, b in row)
        rows += line + b'\0' * (stride - len(line))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(rows), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return header + info + rows


def caption_button(text):
    width, height = 45, 13
    pixels = canvas(width, height, FILL)
    for x in range(width):
        pixels[0][x] = pixels[height - 1][x] = FRAME
    for y in range(height):
        pixels[y][0] = pixels[y][width - 1] = FRAME
    glyphs = [LETTERS[c] for c in text]
    text_width = sum(len(g[0]) for g in glyphs) + len(glyphs) - 1
    x0, y0 = (width - text_width) // 2, 3
    for glyph in glyphs:
        for y, row in enumerate(glyph):
            for x, cell in enumerate(row):
                if cell == '#':
                    pixels[y0 + y][x0 + x] = TEXT
        x0 += len(glyph[0]) + 1
    return pixels


def arrow(left):
    width, height = 12, 22
    pixels = canvas(width, height, FIELD)
    # A triangle 8 wide and 15 high, centred, pointing left or right.
    for y in range(15):
        reach = 8 - abs(y - 7)
        for x in range(reach):
            column = 2 + (8 - reach) + x if left else 2 + x
            pixels[3 + y][column] = ARROW
    return pixels


def chip_icon(size):
    """A black chip with silver pins and an orange notch on the window's colour."""
    pixels = canvas(size, size, (254, 215, 175))
    edge = size // 6
    for y in range(edge, size - edge):
        for x in range(edge + 1, size - edge - 1):
            pixels[y][x] = (30, 30, 30)
        if (y - edge) % 3 == 1:
            for x in list(range(1, edge + 1)) + list(range(size - edge - 1, size - 1)):
                pixels[y][x] = (200, 200, 200)
    notch = max(1, size // 10)
    for y in range(edge + 1, edge + 1 + notch):
        for x in range(size // 2 - notch, size // 2 + notch):
            pixels[y][x] = (250, 180, 133)
    return pixels


def ico(images):
    """An icon file of 32-bit images with an all-visible mask."""
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for pixels in images:
        size = len(pixels)
        body = b''.join(bytes((b, g, r, 255)) for row in reversed(pixels) for r, g, b in row)
        mask_stride = ((size + 31) // 32) * 4
        blob = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(body), 0, 0, 0, 0)
        blob += body + b'\0' * (mask_stride * size)
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return struct.pack('<HHH', 0, 1, len(images)) + entries + blobs


if __name__ == '__main__':
    outputs = {
        'all.bmp': bmp(caption_button('*')),
        'id.bmp': bmp(caption_button('ID')),
        'read.bmp': bmp(caption_button('Read')),
        'previous.bmp': bmp(arrow(True)),
        'next.bmp': bmp(arrow(False)),
        'korvane.ico': ico([chip_icon(32), chip_icon(16)]),
    }
    for name, data in outputs.items():
        with open(name, 'wb') as f:
            f.write(data)
