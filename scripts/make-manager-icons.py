#!/usr/bin/env python3
"""Draws the manager's own images: the program icon, the 14 job list icons, the copies information picture (an
enhanced metafile) and the sample catalogue's ribbon icons. Writes them into resources/; run it again after a change
and commit what it writes.

    scripts/make-manager-icons.py
"""
import math
import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ICONS = os.path.join(ROOT, "resources", "icons")
RIBBONS = os.path.join(ROOT, "resources", "ribbon_icons")
SAMPLES = 4  # supersampling per axis


# --- shapes on the unit square (0,0 top left .. 1,1 bottom right) --------------------------------------------------

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def frame(shape_out, shape_in):
    return lambda x, y: shape_out(x, y) and not shape_in(x, y)


def line(x0, y0, x1, y1, width):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def dashed(shape, period, duty):
    return lambda x, y: shape(x, y) and ((x + y) % period) < period * duty


# --- raster and icon files ---------------------------------------------------------------------------------------

def render(layers, size):
    """layers: list of (shape, (r, g, b)) painted in order; returns rows of (r, g, b, a)."""
    pixels = []
    n = SAMPLES * SAMPLES
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    colour = None
                    for shape, c in layers:
                        if shape(x, y):
                            colour = c
                    if colour is not None:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            a = acc[3] / n
            if acc[3]:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]), round(a * 255)))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def icon_image(pixels):
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(pixels):
        bits = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + xor + mask


def write_icon(path, layers, sizes=(32, 16)):
    images = [icon_image(render(layers, s)) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


# --- an enhanced metafile: a blue circle with a white "i" -------------------------------------------------------

def colorref(r, g, b):
    return r | (g << 8) | (b << 16)


def write_info_metafile(path):
    records = []
    records.append(struct.pack("<IIIIII", 39, 24, 1, 0, colorref(40, 110, 200), 0))  # CREATEBRUSHINDIRECT
    records.append(struct.pack("<IIIiiiI", 38, 28, 2, 5, 0, 0, 0))  # CREATEPEN: PS_NULL
    records.append(struct.pack("<III", 37, 12, 1))  # SELECTOBJECT brush
    records.append(struct.pack("<III", 37, 12, 2))  # SELECTOBJECT pen
    records.append(struct.pack("<IIiiii", 42, 24, 0, 0, 64, 64))  # ELLIPSE
    records.append(struct.pack("<IIIIII", 39, 24, 3, 0, colorref(255, 255, 255), 0))
    records.append(struct.pack("<III", 37, 12, 3))
    records.append(struct.pack("<IIiiii", 42, 24, 27, 11, 37, 21))  # the dot
    records.append(struct.pack("<IIiiii", 43, 24, 27, 26, 37, 53))  # the stem
    records.append(struct.pack("<III", 40, 12, 1))  # DELETEOBJECT
    records.append(struct.pack("<III", 40, 12, 3))
    records.append(struct.pack("<III", 40, 12, 2))
    eof = struct.pack("<IIIII", 14, 20, 0, 16, 20)
    body = b"".join(records) + eof
    header_size = 88
    total = header_size + len(body)
    header = struct.pack("<II", 1, header_size)
    header += struct.pack("<iiii", 0, 0, 64, 64)  # bounds in device units
    header += struct.pack("<iiii", 0, 0, 1693, 1693)  # frame in 0.01 mm (64 px at 96 dpi)
    header += struct.pack("<IIIIHHIII", 0x464D4520, 0x10000, total, len(records) + 2, 4, 0, 0, 0, 0)
    header += struct.pack("<iiii", 1024, 768, 271, 203)  # reference device in pixels and mm
    assert len(header) == header_size
    with open(path, "wb") as f:
        f.write(header + body)


# --- the images ----------------------------------------------------------------------------------------------------

WHITE = (255, 255, 255)
GREEN = (40, 160, 70)
BLUE = (40, 110, 200)
GREY = (150, 150, 150)
ORANGE = (235, 140, 30)
DARK = (60, 60, 60)
PAPER = (250, 250, 245)
EDGE = (120, 120, 120)

CHECK = line(0.28, 0.52, 0.44, 0.68, 0.12), line(0.44, 0.68, 0.74, 0.34, 0.12)


def page(mark):
    return [(rect(0.2, 0.08, 0.8, 0.92), EDGE), (rect(0.25, 0.13, 0.75, 0.87), PAPER)] + mark


BUILT_IN = {
    "app": [(rounded(0.06, 0.16, 0.94, 0.84, 0.12), DARK), (rect(0.2, 0.3, 0.8, 0.7), PAPER),
            (circle(0.36, 0.5, 0.09), (0, 174, 239)), (circle(0.5, 0.5, 0.09), (236, 0, 140)),
            (circle(0.64, 0.5, 0.09), (255, 221, 0))],
    "status_done": [(circle(0.5, 0.5, 0.46), GREEN), (CHECK[0], WHITE), (CHECK[1], WHITE)],
    "status_skipped": [(circle(0.5, 0.5, 0.46), GREY), (rect(0.26, 0.44, 0.74, 0.56), WHITE)],
    "status_to_do": [(circle(0.5, 0.5, 0.46), BLUE), (polygon([(0.38, 0.27), (0.38, 0.73), (0.74, 0.5)]), WHITE)],
    "plotter_cut": [(dashed(frame(rounded(0.08, 0.08, 0.92, 0.92, 0.2), rounded(0.16, 0.16, 0.84, 0.84, 0.12)),
                            0.25, 0.6), DARK), (line(0.3, 0.7, 0.75, 0.25, 0.1), (200, 30, 40))],
    "step_spare": [(rect(0.25, 0.25, 0.75, 0.75), (220, 220, 220))],
    "step_to_print": page([(rect(0.45, 0.25, 0.55, 0.55), BLUE), (polygon([(0.32, 0.52), (0.68, 0.52), (0.5, 0.75)]),
                                                                   BLUE)]),
    "step_printed": page([(CHECK[0], GREEN), (CHECK[1], GREEN)]),
    "step_skipped": page([(rect(0.33, 0.45, 0.67, 0.55), GREY)]),
    "step_skipped_printed": page([(rect(0.33, 0.45, 0.67, 0.55), ORANGE)]),
    "distributed": [(line(0.5, 0.2, 0.5, 0.5, 0.08), DARK), (line(0.5, 0.5, 0.22, 0.78, 0.08), DARK),
                    (line(0.5, 0.5, 0.78, 0.78, 0.08), DARK), (circle(0.5, 0.5, 0.06), DARK),
                    (circle(0.5, 0.16, 0.13), (255, 221, 0)), (circle(0.2, 0.8, 0.13), (0, 174, 239)),
                    (circle(0.8, 0.8, 0.13), (236, 0, 140))],
    "spare": [(circle(0.5, 0.5, 0.2), (200, 200, 200))],
    "ribbon_choice": [(ring(0.42, 0.5, 0.34, 0.12), BLUE), (polygon([(0.7, 0.62), (0.96, 0.62), (0.83, 0.8)]), DARK)],
    "ribbon_choice_done": [(ring(0.42, 0.5, 0.34, 0.12), GREY),
                           (polygon([(0.7, 0.62), (0.96, 0.62), (0.83, 0.8)]), (190, 190, 190))],
    "note": [(polygon([(0.15, 0.1), (0.85, 0.1), (0.85, 0.65), (0.6, 0.9), (0.15, 0.9)]), (250, 220, 80)),
             (polygon([(0.6, 0.9), (0.6, 0.65), (0.85, 0.65)]), (220, 180, 40)),
             (rect(0.25, 0.3, 0.75, 0.36), DARK), (rect(0.25, 0.48, 0.65, 0.54), DARK)],
}

# The sample catalogue's ribbon colours (resources/VyxQ5Colors.ini): a roll in the ribbon's colour.
RIBBON_COLOURS = {
    "white": (255, 255, 255), "yellow": (255, 221, 0), "gold": (212, 175, 55), "silver": (192, 192, 192),
    "red": (220, 30, 40), "green": (0, 150, 70), "blue": (0, 80, 170), "black": (0, 0, 0),
    "cyan": (0, 174, 239), "magenta": (236, 0, 140), "varnish": (225, 235, 245),
}


def ribbon_roll(colour):
    edge = tuple(max(0, int(c * 0.6)) for c in colour)
    if sum(colour) > 600:
        edge = EDGE
    return [(circle(0.5, 0.5, 0.45), edge), (circle(0.5, 0.5, 0.4), colour), (circle(0.5, 0.5, 0.15), edge),
            (circle(0.5, 0.5, 0.11), (245, 245, 245))]


def main():
    os.makedirs(ICONS, exist_ok=True)
    os.makedirs(RIBBONS, exist_ok=True)
    for name, layers in BUILT_IN.items():
        write_icon(os.path.join(ICONS, name + ".ico"), layers, (32, 16) if name != "app" else (48, 32, 16))
    write_info_metafile(os.path.join(ICONS, "copies_info.emf"))
    for name, colour in RIBBON_COLOURS.items():
        write_icon(os.path.join(RIBBONS, "ribbon_" + name + ".ico"), ribbon_roll(colour))


if __name__ == "__main__":
    main()
