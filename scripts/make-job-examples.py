#!/usr/bin/env python3
"""Writes the job stream examples of examples/ (run from the repository root): two ribbons in hexadecimal, a
binary field whose payload looks like commands, and three pages with copies plus a per-page copies file."""
import math
import struct


def bitmap(width, rows, is_set):
    bpr = (width + 7) // 8
    data = bytearray(bpr * rows)
    for y in range(rows):
        for x in range(width):
            if is_set(x, y):
                data[y * bpr + x // 8] |= 0x80 >> (x % 8)
    return bpr, bytes(data)


def field(ribbon, name, x, y, bm, fmt="A"):
    bpr, data = bm
    total = len(data)
    payload = data.hex().upper().encode() if fmt == "A" else data
    return (f"^RR{ribbon},{name}\r\n^FO{x},{y}\r\n^GF{fmt},{total},{total},{bpr},".encode() + payload + b"\r\n")


def header(width, length, pq="1,0,1,0"):
    return (f"^XA\r\n^PW{width}\r\n^LL{length}\r\n^LH0,0\r\n^PQ{pq}\r\n^RSR1\r\n^SD15\r\n").encode()


def rect_path(x0, y0, x1, y1):
    m = lambda x, y: f"^RPM{x},{y}\r\n"
    return ("^RPU\r\n" + m(x0, y0) + "^RPD\r\n" + m(x1, y0) + m(x1, y1) + m(x0, y1) + m(x0, y0) + "^RPU\r\n").encode()


def page_end(copies, number):
    return f"^XPG{copies},{number}\r\n".encode()


TRAILER = b"^XZ\r\n"


def frame(w, h, t):
    return lambda x, y: x < t or y < t or x >= w - t or y >= h - t


def disc(r):
    return lambda x, y: (x - r) ** 2 + (y - r) ** 2 <= r * r


def main():
    # A black frame with a red disc overlapping its corner: two ribbons, both hexadecimal.
    with open("examples/two-ribbons-hex.zpl", "wb") as f:
        f.write(header(400, 200))
        f.write(field(0, "Black", 20, 20, bitmap(240, 120, frame(240, 120, 6))))
        f.write(field(3, "Red", 200, 90, bitmap(64, 64, disc(31))))
        f.write(page_end(1, 1))
        f.write(TRAILER)

    # A binary field whose payload holds "^RR", "\r\n^XPG" and "^XZ\r\n"; then a hex field and a cut path.
    bpr, data = bitmap(64, 16, lambda x, y: (x + y) % 5 == 0)
    trap = b"^RR9,Trap\r\n^XPG1,1\r\n^XZ\r\n"
    data = trap + data[len(trap):]
    with open("examples/binary-field.zpl", "wb") as f:
        f.write(header(300, 150))
        f.write(field(1, "Blue", 10, 10, (bpr, data), fmt="B"))
        f.write(field(5, "Gold", 40, 40, bitmap(32, 8, lambda x, y: x == y or x == 31 - y)))
        f.write(rect_path(0, 0, 1200, 600))
        f.write(page_end(1, 1))
        f.write(TRAILER)

    # Three pages: copies 2, 1 and 5 in the stream; the per-page copies file says 4 and 1 for pages 1 and 2.
    with open("examples/pages-and-copies.zpl", "wb") as f:
        f.write(header(400, 300, "6,12,2,20"))
        for number, copies in ((1, 2), (2, 1), (3, 5)):
            f.write(field(0, "Black", 10 * number, 10, bitmap(8 * number, 8, lambda x, y: (x ^ y) & 1)))
            f.write(page_end(copies, number))
        f.write(TRAILER)
    with open("examples/PerPageCopies_42.dat", "wb") as f:
        f.write(struct.pack("<2h", 4, 1))


if __name__ == "__main__":
    main()
