#!/usr/bin/python3
"""Counts the pixels that differ between two binary PPM images of one size,
inside a rectangle (grown by a margin) and outside it.

Usage: regiondiff.py BEFORE.ppm AFTER.ppm X Y W H MARGIN
Prints: INSIDE OUTSIDE BBOX, where BBOX is the bounding box (x,y,w,h) of all
changed pixels or "none".
"""
import sys


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    # Header: magic, width, height, maxval, separated by whitespace, with
    # comments allowed between them.
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    pos += 1
    if fields[0] != b"P6" or int(fields[3]) != 255:
        sys.exit(f"{path}: not an 8-bit binary PPM")
    w, h = int(fields[1]), int(fields[2])
    pixels = data[pos:pos + w * h * 3]
    if len(pixels) != w * h * 3:
        sys.exit(f"{path}: truncated")
    return w, h, pixels


def main():
    if len(sys.argv) != 8:
        sys.exit(__doc__)
    w1, h1, a = read_ppm(sys.argv[1])
    w2, h2, b = read_ppm(sys.argv[2])
    if (w1, h1) != (w2, h2):
        sys.exit(f"sizes differ: {w1}x{h1} and {w2}x{h2}")
    x, y, w, h, m = (int(v) for v in sys.argv[3:8])
    x0, y0, x1, y1 = x - m, y - m, x + w + m, y + h + m
    inside = outside = 0
    bx0, by0, bx1, by1 = w1, h1, -1, -1
    for py in range(h1):
        row = py * w1 * 3
        ra, rb = a[row:row + w1 * 3], b[row:row + w1 * 3]
        if ra == rb:
            continue
        for px in range(w1):
            i = px * 3
            if ra[i:i + 3] == rb[i:i + 3]:
                continue
            if x0 <= px < x1 and y0 <= py < y1:
                inside += 1
            else:
                outside += 1
            bx0, by0 = min(bx0, px), min(by0, py)
            bx1, by1 = max(bx1, px), max(by1, py)
    bbox = "none" if bx1 < 0 else f"{bx0},{by0},{bx1 - bx0 + 1},{by1 - by0 + 1}"
    print(inside, outside, bbox)


if __name__ == "__main__":
    main()
