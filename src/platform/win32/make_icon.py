#!/usr/bin/env python3
"""Writes zuklapper.ico, a raised dark-blue X, 32 x 32 and 16 x 16, and info.ico, a white
letter i on a dark-blue disc, 32 x 32; both in 16 colours.

Run it from anywhere; the icons land beside this script. The build uses the .ico in
the tree, so it needs running only when the picture changes.
"""

import os
import struct

# The standard 16-colour VGA palette, as RGB.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_BLUE, LIGHT_GREY, DARK_GREY, WHITE = 0, 4, 7, 8, 15

# Light falls from the upper left, a little more from above, so the upper edge of the
# falling bar is lit too.
LIGHT = (-1, -2)


def cross(size, half_width, reach):
    """The X as a set of pixels: two diagonal bars with square-cut ends."""
    last = size - 1
    shape = set()
    for y in range(size):
        for x in range(size):
            u, v = x - y, x + y - last
            if (abs(u) <= half_width and abs(v) <= reach) or \
               (abs(v) <= half_width and abs(u) <= reach):
                shape.add((x, y))
    return shape


def bevel(shape, size, lit, shaded):
    """Colours the shape: lit[i] / shaded[i] for pixels i + 1 steps from the outside."""
    depth = len(lit)
    pixels = [[None] * size for _ in range(size)]
    for (x, y) in shape:
        # Steps (4-connected) to the nearest outside pixel, and the direction outwards.
        ring = None
        nx = ny = 0.0
        for dy in range(-depth, depth + 1):
            for dx in range(-depth, depth + 1):
                steps = abs(dx) + abs(dy)
                if steps == 0 or steps > depth or (x + dx, y + dy) in shape:
                    continue
                ring = steps if ring is None else min(ring, steps)
                nx += dx / steps ** 2
                ny += dy / steps ** 2
        if ring is None:
            pixels[y][x] = DARK_BLUE
        elif nx * LIGHT[0] + ny * LIGHT[1] >= 0:
            pixels[y][x] = lit[ring - 1]
        else:
            pixels[y][x] = shaded[ring - 1]
    return pixels


def icon_image(pixels):
    """One image of the icon: header, palette, 4-bit colours and the AND mask, bottom-up."""
    size = len(pixels)
    xor_stride = (size * 4 + 31) // 32 * 4
    and_stride = (size + 31) // 32 * 4
    header = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 4, 0,
                         (xor_stride + and_stride) * size, 0, 0, 16, 0)
    palette = b''.join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE)
    colours, mask = bytearray(), bytearray()
    for row in reversed(pixels):
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, index in enumerate(row):
            if index is None:
                bits[x // 8] |= 0x80 >> (x % 8)  # transparent; its colour stays black
            elif x % 2:
                line[x // 2] |= index
            else:
                line[x // 2] |= index << 4
        colours += line
        mask += bits
    return header + palette + bytes(colours) + bytes(mask)


def ico(images):
    """The .ico file holding the images (each a pixel grid) in the given order."""
    data = [icon_image(pixels) for pixels in images]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for pixels, image in zip(images, data):
        size = len(pixels)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 16, 0, 1, 4, len(image),
                           offset)
        offset += len(image)
    return out + b''.join(data)


def pictures():
    big = bevel(cross(32, 5, 25), 32, lit=(WHITE, LIGHT_GREY), shaded=(DARK_GREY, DARK_GREY))
    small = bevel(cross(16, 2, 12), 16, lit=(WHITE,), shaded=(DARK_GREY,))
    return [big, small]


def information():
    """The white i on a dark-blue disc, grey where the disc's edge cuts a pixel in half."""
    size = 32
    pixels = [[None] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            d = ((x + 0.5 - 16) ** 2 + (y + 0.5 - 16) ** 2) ** 0.5
            if d <= 15.0:
                pixels[y][x] = DARK_BLUE
            elif d <= 15.8:
                pixels[y][x] = DARK_GREY
    for y in range(size):
        for x in range(size):
            dot = ((x + 0.5 - 16) ** 2 + (y + 0.5 - 8.5) ** 2) ** 0.5 <= 2.6
            stem = 14 <= x <= 17 and 13 <= y <= 24
            serif = (12 <= x <= 13 and 13 <= y <= 14) or (12 <= x <= 19 and 23 <= y <= 24)
            if dot or stem or serif:
                pixels[y][x] = WHITE
    return pixels


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(folder, 'zuklapper.ico'), 'wb') as out:
        out.write(ico(pictures()))
    with open(os.path.join(folder, 'info.ico'), 'wb') as out:
        out.write(ico([information()]))


if __name__ == '__main__':
    main()
