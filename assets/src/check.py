#!/usr/bin/python3
"""Checks the written pictures against what the program's decoders and
picture boxes rely on, reading the files' own bytes (not the drawing code's
intentions): PNG chunk lists and header fields, JPEG frame type, components,
sampling factors and leading header, the icon's exact layout, and that the
areas the program prints texts on are still free.

Exits non-zero and names every failure."""

import os
import struct
import sys
import zlib

ASSETS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
failures = []


def fail(name, message):
    failures.append(f'{name}: {message}')


def read(name):
    with open(os.path.join(ASSETS, name), 'rb') as f:
        return f.read()


# --------------------------------------------------------------------------
# PNG

def check_png(name, width, height):
    data = read(name)
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        return fail(name, 'no PNG signature')
    pos, kinds, idat = 8, [], b''
    while pos < len(data):
        if pos + 12 > len(data):
            return fail(name, 'truncated chunk')
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        crc = struct.unpack('>I', data[pos + 8 + length:pos + 12 + length])[0]
        if zlib.crc32(kind + body) & 0xffffffff != crc:
            fail(name, f'bad CRC in {kind!r}')
        kinds.append(kind)
        if kind == b'IHDR':
            ihdr = body
        elif kind == b'IDAT':
            idat += body
        pos += 12 + length
    if kinds.count(b'IHDR') != 1:
        return fail(name, 'needs exactly one IHDR')
    distinct = [k for i, k in enumerate(kinds) if i == 0 or kinds[i - 1] != k]
    if distinct != [b'IHDR', b'IDAT', b'IEND']:
        return fail(name, f'chunks {[k.decode() for k in kinds]}, want only IHDR, IDAT, IEND')
    w, h, depth, colour, comp, filt, interlace = struct.unpack('>IIBBBBB', ihdr)
    if (w, h) != (width, height):
        fail(name, f'size {w}x{h}, want {width}x{height}')
    if (depth, colour) != (8, 2):
        fail(name, f'bit depth {depth} colour type {colour}, want 8-bit RGB (2)')
    if (comp, filt, interlace) != (0, 0, 0):
        fail(name, f'compression/filter/interlace {comp}/{filt}/{interlace}, want 0/0/0')
    if len(zlib.decompress(idat)) != h * (1 + 3 * w):
        fail(name, 'image data does not match the header')


# --------------------------------------------------------------------------
# JPEG

def jpeg_segments(data):
    """(marker, payload) up to and including SOS."""
    if data[:2] != b'\xff\xd8':
        raise ValueError('no SOI')
    pos, out = 2, []
    while True:
        if data[pos] != 0xFF:
            raise ValueError(f'no marker at {pos}')
        marker = data[pos + 1]
        length = struct.unpack('>H', data[pos + 2:pos + 4])[0]
        out.append((marker, data[pos + 4:pos + 2 + length]))
        if marker == 0xDA:
            return out
        pos += 2 + length


def check_jpeg(name, width, height, progressive, sampling, header):
    """sampling: (H, V) of the luma component; chroma must be 1x1.
    header: 'JFIF' or 'Exif', the segment that must follow SOI."""
    data = read(name)
    try:
        segs = jpeg_segments(data)
    except (ValueError, IndexError, struct.error) as e:
        return fail(name, f'unreadable markers: {e}')
    if data[-2:] != b'\xff\xd9':
        fail(name, 'no EOI at the end')
    first_marker, first = segs[0]
    if header == 'JFIF' and not (first_marker == 0xE0 and first[:5] == b'JFIF\x00'):
        fail(name, 'does not start with a JFIF APP0 segment')
    if header == 'Exif':
        if not (first_marker == 0xE1 and first[:6] == b'Exif\x00\x00'):
            fail(name, 'does not start with an Exif APP1 segment')
        elif first[6:10] not in (b'II*\x00', b'MM\x00*'):
            fail(name, 'Exif block has no TIFF header')
    if any(m == 0xEE for m, _ in segs):
        fail(name, 'has an Adobe segment (colour transform would be in doubt)')
    frames = [(m, p) for m, p in segs if 0xC0 <= m <= 0xCF and m not in (0xC4, 0xC8, 0xCC)]
    if len(frames) != 1:
        return fail(name, f'{len(frames)} frame headers')
    marker, sof = frames[0]
    want = 0xC2 if progressive else 0xC0
    if marker != want:
        fail(name, f'frame type 0x{marker:02X}, want 0x{want:02X}')
    precision, h, w, count = struct.unpack('>BHHB', sof[:6])
    if (w, h) != (width, height):
        fail(name, f'size {w}x{h}, want {width}x{height}')
    if precision != 8 or count != 3:
        fail(name, f'precision {precision}, {count} components; want 8 bits, 3 components')
        return
    comps = [(sof[6 + 3 * i], sof[7 + 3 * i] >> 4, sof[7 + 3 * i] & 15) for i in range(3)]
    if [c[0] for c in comps] != [1, 2, 3]:
        fail(name, f'component ids {[c[0] for c in comps]}, want YCbCr 1, 2, 3')
    got = [(c[1], c[2]) for c in comps]
    if got != [sampling, (1, 1), (1, 1)]:
        fail(name, f'sampling factors {got}, want {[sampling, (1, 1), (1, 1)]}')


# --------------------------------------------------------------------------
# icon

ICO_SIZE = 6 + 16 + 40 + 48 * 48 * 4 + 8 * 48


def check_ico(name):
    data = read(name)
    if len(data) != ICO_SIZE:
        return fail(name, f'{len(data)} bytes, want {ICO_SIZE}')
    reserved, kind, count = struct.unpack('<HHH', data[:6])
    if (reserved, kind, count) != (0, 1, 1):
        fail(name, f'header {reserved}/{kind}/{count}, want one icon image')
    w, h, colours, res, planes, bpp, size, offset = struct.unpack('<BBBBHHII', data[6:22])
    if (w, h, colours, res, planes, bpp) != (48, 48, 0, 0, 1, 32):
        fail(name, f'directory entry {w}x{h} colours {colours} planes {planes} bpp {bpp}')
    if (size, offset) != (ICO_SIZE - 22, 22):
        fail(name, f'directory says {size} bytes at {offset}')
    bih = struct.unpack('<IiiHHI', data[22:42])
    if bih != (40, 48, 96, 1, 32, 0):
        fail(name, f'bitmap header {bih}, want 40, 48, 96, 1 plane, 32 bpp, uncompressed')
    pixels = data[62:62 + 48 * 48 * 4]
    if any(a != 255 for a in pixels[3::4]):
        fail(name, 'some pixels are not fully opaque')
    if any(data[62 + 48 * 48 * 4:]):
        fail(name, 'AND mask is not all zero')


# --------------------------------------------------------------------------
# free areas: the texts the program prints must land on plain ground

def check_free_areas():
    try:
        from PIL import Image
    except ImportError:
        return fail('free areas', 'python3-pil is needed for this check')
    # file, box size, the part of a text rectangle its glyphs cover, ground
    areas = [
        ('triangle.png', (248, 240), (56, 154, 196, 183), 'black'),
        ('bloom.jpg', (256, 232), (128, 33, 188, 87), 'white'),
        ('bloom.jpg', (256, 232), (119, 96, 183, 156), 'white'),
        ('bloom.jpg', (256, 232), (152, 208, 256, 232), 'white'),
        ('whitestripe.png', (256, 232), (8, 56, 248, 174), 'white'),
        ('semicircle.png', (256, 232), (56, 24, 116, 84), 'white'),
        ('semicircle.png', (256, 232), (134, 83, 194, 143), 'white'),
        ('semicircle.png', (256, 232), (62, 128, 96, 148), 'red'),
        ('animal.png', (256, 232), (88, 4, 196, 46), 'white'),
        ('brandstyle.jpg', (264, 253), (54, 62, 106, 115), 'white'),
        ('brandstyle.jpg', (264, 253), (84, 135, 136, 188), 'white'),
    ]
    for squares in ((10, 9, 93, 81), (107, 9, 190, 81), (10, 94, 93, 167), (107, 94, 190, 167)):
        areas.append(('countryname.jpg', (200, 176), squares, 'colour'))
    for name, box, (x0, y0, x1, y1), ground in areas:
        img = Image.open(os.path.join(ASSETS, name)).convert('RGB').resize(box, Image.BILINEAR)
        # stay a pixel inside so that resampling at the rim does not count
        px = img.crop((x0 + 1, y0 + 1, x1 - 1, y1 - 1)).getdata()
        if ground == 'white':
            bad = sum(1 for r, g, b in px if min(r, g, b) < 215)
        elif ground == 'black':
            bad = sum(1 for r, g, b in px if max(r, g, b) > 50)
        elif ground == 'red':
            # a seal is allowed its worn specks, but no more than that
            bad = sum(1 for r, g, b in px if not (r > 150 and g < 90 and b < 90))
            bad = bad if bad > len(px) * 0.03 else 0
        else:   # a saturated flat colour
            bad = sum(1 for r, g, b in px if max(r, g, b) - min(r, g, b) < 120)
        if bad:
            fail(name, f'{bad} pixels are not {ground} in box area {(x0, y0, x1, y1)}')


def main():
    check_png('triangle.png', 319, 284)
    check_png('whitestripe.png', 325, 294)
    check_png('semicircle.png', 307, 291)
    check_png('animal.png', 326, 295)
    check_jpeg('bloom.jpg', 334, 374, progressive=True, sampling=(2, 2), header='JFIF')
    check_jpeg('countryname.jpg', 150, 150, progressive=False, sampling=(1, 1), header='JFIF')
    check_jpeg('brandstyle.jpg', 400, 400, progressive=True, sampling=(2, 2), header='Exif')
    check_ico('icon.ico')
    check_free_areas()
    for f in failures:
        print('check failed:', f, file=sys.stderr)
    if failures:
        sys.exit(1)
    print('all 8 pictures pass their checks')


if __name__ == '__main__':
    main()
