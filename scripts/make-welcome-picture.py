#!/usr/bin/env python3
"""Draws the setup wizard's welcome picture (resources/setup/welcome.bmp): a VYX-Q5 label printer printing a tape of
coloured labels under the product name, as an 8-bit palette BMP. Run from the repository root."""
import struct
import sys

W, H = 470, 260

GLYPHS = {
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "Y": ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    "X": ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
    "-": ["00000", "00000", "00000", "11111", "00000", "00000", "00000"],
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "5": ["11111", "10000", "11110", "00001", "00001", "10001", "01110"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    " ": ["00000"] * 7,
}

WHITE = (255, 255, 255)
BODY = (232, 234, 238)
BODY_EDGE = (120, 128, 140)
SLOT = (40, 44, 52)
TAPE = (250, 250, 246)
LABELS = [(214, 48, 49), (253, 203, 40), (0, 168, 204), (46, 160, 67), (142, 68, 173)]
RIBBONS = [(0, 168, 204), (214, 48, 49), (253, 203, 40), (30, 30, 30)]
CUT = (90, 90, 90)

pixels = [[(0, 0, 0)] * W for _ in range(H)]


def background():
    top, bottom, steps = (24, 52, 96), (66, 118, 178), 32
    for y in range(H):
        band = y * steps // H
        colour = tuple(top[i] + (bottom[i] - top[i]) * band // (steps - 1) for i in range(3))
        pixels[y] = [colour] * W


def rect(x0, y0, x1, y1, colour, radius=0):
    for y in range(max(0, y0), min(H, y1)):
        for x in range(max(0, x0), min(W, x1)):
            dx = max(x0 + radius - x - 1, 0, x - (x1 - radius))
            dy = max(y0 + radius - y - 1, 0, y - (y1 - radius))
            if radius and dx * dx + dy * dy > radius * radius:
                continue
            pixels[y][x] = colour


def text(x, y, s, scale, colour):
    for ch in s:
        for row, bits in enumerate(GLYPHS[ch]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    rect(x + col * scale, y + row * scale, x + (col + 1) * scale, y + (row + 1) * scale, colour)
        x += 6 * scale


def printer():
    # Body with a shadow, a control panel, the ribbon colours and the exit slot.
    rect(64, 112, 284, 222, (16, 34, 64), 14)
    rect(58, 104, 278, 214, BODY_EDGE, 14)
    rect(61, 107, 275, 211, BODY, 12)
    rect(78, 124, 170, 150, (60, 70, 86), 4)
    rect(82, 128, 166, 146, (120, 200, 160), 2)
    for i, colour in enumerate(RIBBONS):
        rect(190 + i * 20, 128, 204 + i * 20, 142, colour, 7)
    rect(84, 176, 252, 184, SLOT, 3)
    # The tape leaves the slot and runs down to the right, labels printed and cut out on it.
    rect(96, 182, 240, 280, TAPE)
    for i, colour in enumerate(LABELS[:3]):
        y = 196 + i * 30
        rect(106, y, 230, y + 22, CUT, 7)
        rect(107, y + 1, 229, y + 21, TAPE, 6)
        rect(112, y + 5, 150, y + 17, colour, 4)
        for k in range(3):
            rect(158 + k * 22, y + 8, 174 + k * 22, y + 13, colour)


def write_bmp(path):
    palette = sorted({c for row in pixels for c in row})
    if len(palette) > 256:
        sys.exit("too many colours: %d" % len(palette))
    index = {c: i for i, c in enumerate(palette)}
    stride = (W + 3) & ~3
    data = bytearray()
    for y in range(H - 1, -1, -1):  # bottom-up rows
        row = bytes(index[c] for c in pixels[y])
        data += row + b"\0" * (stride - W)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 8, 0, len(data), 2835, 2835, len(palette), 0)
    with open(path, "wb") as f:
        f.write(header + info + colours + data)


background()
text(36, 30, "VYX-Q5", 8, WHITE)
text(328, 44, "SETUP", 4, (200, 220, 245))
printer()
for i, colour in enumerate(LABELS):  # a row of finished labels on the right
    rect(316 + (i % 2) * 70, 120 + (i // 2) * 46, 376 + (i % 2) * 70, 154 + (i // 2) * 46, WHITE, 8)
    rect(324 + (i % 2) * 70, 128 + (i // 2) * 46, 346 + (i % 2) * 70, 146 + (i // 2) * 46, colour, 5)
write_bmp(sys.argv[1] if len(sys.argv) > 1 else "resources/setup/welcome.bmp")
