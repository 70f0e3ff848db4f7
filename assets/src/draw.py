#!/usr/bin/python3
"""Draws the seven template pictures and the window icon into assets/.

Every template is shown stretched into a picture box of another size, and
the program prints texts over fixed rectangles of that box.  So each picture
is composed in the coordinates of its box (where the free areas are known),
four times oversampled, and only resized to its stored pixel size at the
end; the resize both antialiases and applies the box-to-picture distortion,
which the stretched display then undoes.

The files are written by hand (PNG chunks, JPEG marker edits, ICO layout)
because the program decodes them with strict expectations: PNGs with only
IHDR/IDAT/IEND, JPEGs with given frame types and headers, and an icon with
one exact 32-bit layout.  All randomness is seeded, so reruns give the same
bytes.
"""

import io
import math
import os
import struct
import subprocess
import sys
import tempfile
import zlib

import numpy as np
from PIL import Image, ImageDraw, ImageFont

SRC = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.dirname(SRC)
K = 4  # oversampling of the box-coordinate canvases

WHITE = (255, 255, 255)
SEAL_RED = (196, 22, 28)


# --------------------------------------------------------------------------
# fonts

def _face(path, family):
    """Opens the face of a font collection whose family name is `family`;
    collections order their faces differently between releases."""
    for index in range(16):
        try:
            font = ImageFont.truetype(path, 10, index=index)
        except OSError:
            break
        if font.getname()[0] == family:
            return path, index
    sys.exit(f"draw.py: no face '{family}' in {path}")


SERIF_BOLD = _face('/usr/share/fonts/opentype/noto/NotoSerifCJK-Bold.ttc', 'Noto Serif CJK SC')
SANS_BOLD = _face('/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc', 'Noto Sans CJK SC')
KAI = _face('/usr/share/fonts/truetype/arphic/ukai.ttc', 'AR PL UKai CN')
LATIN_BOLD = ('/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf', 0)


def font(face, size):
    return ImageFont.truetype(face[0], int(round(size)), index=face[1])


def draw_centred(draw, text, fnt, cx, cy, fill, stroke=0):
    """Centres the inked extent of `text` (not its line box) on cx, cy."""
    l, t, r, b = draw.textbbox((0, 0), text, font=fnt, stroke_width=stroke)
    draw.text((cx - (l + r) / 2, cy - (t + b) / 2), text, font=fnt, fill=fill,
              stroke_width=stroke, stroke_fill=fill)


# --------------------------------------------------------------------------
# noise: legacy RandomState streams are fixed across numpy releases

def noise1(rng, x, knots):
    """Smooth value noise in [0, 1] for x in [0, 1]."""
    v = rng.random_sample(knots + 2)
    t = np.clip(x, 0, 1) * knots
    i = np.floor(t).astype(int)
    f = t - i
    f = f * f * (3 - 2 * f)
    return v[i] * (1 - f) + v[i + 1] * f


def noise2(rng, u, v, nu, nv):
    """Smooth value noise in [0, 1] on [0, 1]^2 with nu x nv cells."""
    g = rng.random_sample((nu + 2, nv + 2))
    tu = np.clip(u, 0, 1) * nu
    tv = np.clip(v, 0, 1) * nv
    iu = np.floor(tu).astype(int)
    iv = np.floor(tv).astype(int)
    fu = tu - iu
    fv = tv - iv
    fu = fu * fu * (3 - 2 * fu)
    fv = fv * fv * (3 - 2 * fv)
    a = g[iu, iv] * (1 - fv) + g[iu, iv + 1] * fv
    b = g[iu + 1, iv] * (1 - fv) + g[iu + 1, iv + 1] * fv
    return a * (1 - fu) + b * fu


# --------------------------------------------------------------------------
# canvas in box coordinates

class Canvas:
    def __init__(self, box_w, box_h, bg=WHITE):
        self.bw, self.bh = box_w, box_h
        self.rgb = np.empty((box_h * K, box_w * K, 3), np.float64)
        self.rgb[:] = bg
        ys, xs = np.mgrid[0:box_h * K, 0:box_w * K]
        self.X = (xs + 0.5) / K
        self.Y = (ys + 0.5) / K

    def paint(self, alpha, colour):
        """Lays `colour` (an RGB triple or an HxWx3 array) over the canvas
        with coverage `alpha`."""
        a = np.clip(alpha, 0, 1)[..., None]
        self.rgb = self.rgb * (1 - a) + np.asarray(colour, np.float64) * a

    def paste(self, rgba, x, y):
        """Lays an RGBA image drawn at K scale with its corner at box x, y."""
        arr = np.asarray(rgba, np.float64)
        x0, y0 = int(round(x * K)), int(round(y * K))
        h, w = arr.shape[:2]
        region = self.rgb[y0:y0 + h, x0:x0 + w]
        a = arr[..., 3:4] / 255
        region[:] = region * (1 - a) + arr[..., :3] * a

    def layer(self):
        """A blank K-scale greyscale layer and its drawer, in box units
        multiplied by K."""
        img = Image.new('L', (self.bw * K, self.bh * K), 0)
        return img, ImageDraw.Draw(img)

    def image(self, size):
        img = Image.fromarray(np.clip(np.round(self.rgb), 0, 255).astype(np.uint8), 'RGB')
        return img.resize(size, Image.LANCZOS)


def mask(img):
    return np.asarray(img, np.float64) / 255


# --------------------------------------------------------------------------
# ink brush

def brush_ring(cv, cx, cy, rx, ry, start_deg, sweep_deg, width, seed,
               dry_end=0.55, wobble=0.02, bristles=26):
    """Coverage and tone of one brush stroke running around an ellipse.

    Angles are screen angles (y down, so positive sweeps run clockwise).
    `width(u)` gives the stroke width in box pixels at the fraction u of the
    stroke.  The texture is made of bristle streaks: noise that is coarse
    along the stroke and fine across it, thinned out towards the end of the
    stroke and towards its edges, where a real brush runs dry first."""
    rng = np.random.RandomState(seed)
    dx, dy = cv.X - cx, cv.Y - cy
    th = np.degrees(np.arctan2(dy / ry, dx / rx))
    u = np.mod((th - start_deg) * math.copysign(1, sweep_deg), 360) / abs(sweep_deg)
    on = u <= 1
    u = np.where(on, u, 1)
    phi = np.radians(th)
    local_r = np.hypot(rx * np.cos(phi), ry * np.sin(phi))
    rn = np.hypot(dx / rx, dy / ry)
    centre = 1 + wobble * (noise1(rng, u, 5) - 0.5) * 2
    hw = np.maximum(width(u) / 2, 1e-3)
    s = (rn - centre) * local_r / hw               # -1 inner edge .. 1 outer edge
    outer = 1 + 0.10 * (noise1(rng, u, 90) - 0.5) + 0.05 * (noise1(rng, u, 400) - 0.5)
    inner = 1 + 0.10 * (noise1(rng, u, 90) - 0.5) + 0.05 * (noise1(rng, u, 400) - 0.5)
    body = on & (s < outer) & (s > -inner)
    across = np.clip((s + 1) / 2, 0, 1)
    streak = 0.65 * noise2(rng, u, across, 14, bristles) + 0.35 * noise2(rng, u, across, 70, bristles * 2)
    dryness = dry_end * np.clip((u - 0.55) / 0.45, 0, 1) ** 1.6 + 0.22 * np.abs(s) ** 6
    dryness = dryness + 0.18 * (noise1(rng, u, 9) - 0.5)
    ink = body & (streak > dryness + 0.18)
    tone = 0.75 + 0.25 * noise2(rng, u, across, 8, 6)   # ink load, 1 = full
    return ink.astype(np.float64), tone


def brush_path(draw, pts, w0, w1, scale=K, step=0.6):
    """A twig: a polyline whose width tapers from w0 to w1 box pixels,
    stamped with discs so that joints stay round."""
    seg = [math.dist(a, b) for a, b in zip(pts, pts[1:])]
    total = sum(seg)
    done = 0.0
    for (ax, ay), (bx, by), length in zip(pts, pts[1:], seg):
        n = max(1, int(length / step))
        for i in range(n + 1):
            f = i / n
            w = w0 + (w1 - w0) * ((done + f * length) / total)
            x, y = ax + (bx - ax) * f, ay + (by - ay) * f
            r = w / 2 * scale
            draw.ellipse((x * scale - r, y * scale - r, x * scale + r, y * scale + r), fill=255)
        done += length


# --------------------------------------------------------------------------
# seals

def seal(w, h, chars, seed, face, placements, stroke=0.0, colour=SEAL_RED):
    """A red seal of w x h box pixels as a K-scale RGBA image: uneven edges,
    worn specks, and the characters cut out in white.  `placements` gives
    for each character its centre and size in box pixels, relative to the
    seal's corner."""
    rng = np.random.RandomState(seed)
    W, H = int(round(w * K)), int(round(h * K))
    ys, xs = np.mgrid[0:H, 0:W]
    x = (xs + 0.5) / K
    y = (ys + 0.5) / K
    ext = 1.1   # how far the rough edge may wander, box px
    left = ext * noise1(rng, y / h, 30) + 0.5 * noise1(rng, y / h, 120)
    right = w - ext * noise1(rng, y / h, 30) - 0.5 * noise1(rng, y / h, 120)
    top = ext * noise1(rng, x / w, 30) + 0.5 * noise1(rng, x / w, 120)
    bottom = h - ext * noise1(rng, x / w, 30) - 0.5 * noise1(rng, x / w, 120)
    body = (x > left) & (x < right) & (y > top) & (y < bottom)
    # chipped corners
    for cx, cy in ((0, 0), (w, 0), (0, h), (w, h)):
        body &= np.hypot(x - cx, y - cy) > 1.2 + 1.2 * rng.random_sample()
    # worn specks, more of them near the rim where the paste is thinnest
    rim = np.minimum(np.minimum(x, w - x), np.minimum(y, h - y))
    speck = noise2(rng, x / w, y / h, int(w * 1.4), int(h * 1.4))
    body &= ~(speck > 0.80 + 0.12 * np.clip(rim / 6, 0, 1))

    text = Image.new('L', (W, H), 0)
    d = ImageDraw.Draw(text)
    for ch, (px, py, size) in zip(chars, placements):
        draw_centred(d, ch, font(face, size * K), px * K, py * K, 255, int(round(stroke * K)))
    cut = mask(text) > 0.5
    # the paper does not take the paste evenly: a few red flecks in the white
    fleck = noise2(rng, x / w, y / h, int(w * 2.2), int(h * 2.2))
    cut &= ~(fleck > 0.86)
    a = (body & ~cut).astype(np.uint8) * 255
    rgba = np.zeros((H, W, 4), np.uint8)
    rgba[..., :3] = colour
    rgba[..., 3] = a
    return Image.fromarray(rgba, 'RGBA')


# --------------------------------------------------------------------------
# SVG sources

def render_svg(name, size, style=''):
    """Renders assets/src/<name> to an RGB image of `size`; `style` is CSS
    added to the drawing (used to adapt it for small sizes)."""
    with open(os.path.join(SRC, name), encoding='utf-8') as f:
        svg = f.read()
    if style:
        at = svg.index('>', svg.index('<svg')) + 1
        svg = svg[:at] + '<style>' + style + '</style>' + svg[at:]
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, 'in.svg')
        png = os.path.join(tmp, 'out.png')
        with open(src, 'w', encoding='utf-8') as f:
            f.write(svg)
        subprocess.run(['rsvg-convert', '-w', str(size[0]), '-h', str(size[1]),
                        '-b', 'white', '-o', png, src], check=True)
        img = Image.open(png)
        img.load()
    return img.convert('RGB')


# --------------------------------------------------------------------------
# writers

def write_png(path, img):
    """8-bit RGB, no interlace, and nothing but IHDR, IDAT and IEND."""
    img = img.convert('RGB')
    w, h = img.size
    raw = img.tobytes()
    stride = w * 3
    rows = b''.join(b'\x00' + raw[y * stride:(y + 1) * stride] for y in range(h))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))

    data = (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows, 9))
            + chunk(b'IEND', b''))
    with open(path, 'wb') as f:
        f.write(data)


def jpeg_bytes(img, progressive, subsampling, quality=92):
    buf = io.BytesIO()
    img.convert('RGB').save(buf, 'JPEG', quality=quality, progressive=progressive,
                            subsampling=subsampling, optimize=False)
    return buf.getvalue()


def exif_segment():
    """APP1 with a minimal Exif block: a little-endian TIFF header and one
    IFD holding only Orientation = 1 (upright)."""
    tiff = (b'II*\x00' + struct.pack('<I', 8)
            + struct.pack('<H', 1)
            + struct.pack('<HHIHH', 0x0112, 3, 1, 1, 0)
            + struct.pack('<I', 0))
    body = b'Exif\x00\x00' + tiff
    return b'\xff\xe1' + struct.pack('>H', len(body) + 2) + body


def with_exif_instead_of_jfif(data):
    """Drops the encoder's APP0 (JFIF) segments and puts an Exif APP1 right
    after SOI, where Exif readers expect it."""
    assert data[:2] == b'\xff\xd8'
    out = [data[:2], exif_segment()]
    pos = 2
    while data[pos] == 0xFF and 0xE0 <= data[pos + 1] <= 0xEF:
        length = struct.unpack('>H', data[pos + 2:pos + 4])[0]
        if data[pos + 1] != 0xE0:
            out.append(data[pos:pos + 2 + length])
        pos += 2 + length
    out.append(data[pos:])
    return b''.join(out)


def write_bytes(path, data):
    with open(path, 'wb') as f:
        f.write(data)


def write_ico(path, img):
    """One 48x48 image, 32 bits per pixel: BITMAPINFOHEADER with the doubled
    height, bottom-up BGRA rows with alpha 255 everywhere, and an all-zero
    AND mask (rows of 48 bits padded to 8 bytes)."""
    img = img.convert('RGB')
    w, h = img.size
    assert (w, h) == (48, 48)
    px = np.asarray(img, np.uint8)
    bgra = np.empty((h, w, 4), np.uint8)
    bgra[..., 0] = px[..., 2]
    bgra[..., 1] = px[..., 1]
    bgra[..., 2] = px[..., 0]
    bgra[..., 3] = 255
    xor = bgra[::-1].tobytes()
    and_mask = bytes(((w + 31) // 32) * 4 * h)
    bih = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = bih + xor + and_mask
    header = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', w, h, 0, 0, 1, 32, len(image), 6 + 16)
    write_bytes(path, header + entry + image)


# --------------------------------------------------------------------------
# the pictures

def triangle():
    write_png(os.path.join(OUT, 'triangle.png'), render_svg('triangle.svg', (319, 284)))


def blossom(cv, cx, cy, r, turn, seed):
    """A five-petal plum blossom of radius r (box px) at cx, cy."""
    rng = np.random.RandomState(seed)
    petals, dp = cv.layer()
    centre, dc = cv.layer()
    for k in range(5):
        a = math.radians(turn + k * 72 + rng.uniform(-6, 6))
        pr = r * rng.uniform(0.50, 0.58)
        px, py = cx + math.cos(a) * r * 0.52, cy + math.sin(a) * r * 0.52
        dp.ellipse(((px - pr) * K, (py - pr) * K, (px + pr) * K, (py + pr) * K), fill=255)
    cr = r * 0.30
    dc.ellipse(((cx - cr) * K, (cy - cr) * K, (cx + cr) * K, (cy + cr) * K), fill=255)
    m = mask(petals)
    # petals a little paler towards their rims
    dist = np.hypot(cv.X - cx, cv.Y - cy) / r
    shade = np.clip(dist, 0, 1)[..., None]
    petal_col = np.array([214, 32, 48]) * (1 - shade * 0.25) + np.array([236, 84, 96]) * shade * 0.25
    cv.paint(m, petal_col)
    cv.paint(mask(centre), (120, 10, 24))
    # stamens: short dark strokes ending in dots
    st, ds = cv.layer()
    for k in range(9):
        a = math.radians(turn + 20 + k * 40 + rng.uniform(-8, 8))
        l = r * rng.uniform(0.42, 0.55)
        ex, ey = cx + math.cos(a) * l, cy + math.sin(a) * l
        ds.line((cx * K, cy * K, ex * K, ey * K), fill=255, width=max(1, int(0.35 * K)))
        dr = 0.55
        ds.ellipse(((ex - dr) * K, (ey - dr) * K, (ex + dr) * K, (ey + dr) * K), fill=255)
    cv.paint(mask(st), (70, 8, 16))


def bud(cv, cx, cy, r):
    layer, d = cv.layer()
    d.ellipse(((cx - r) * K, (cy - r) * K, (cx + r) * K, (cy + r) * K), fill=255)
    cv.paint(mask(layer), (190, 22, 40))


def bloom():
    cv = Canvas(256, 232)
    # Ink ring: heavy where the brush comes down at the lower left, running
    # clockwise over the top and drying out into a streaked tail at the
    # lower right.  It thins on its way so that it passes clear of the upper
    # character at the top right, and it leaves the corner under it (the
    # account line) white.
    def width(u):
        u = np.clip(u, 0, 1)
        return 27 - 13 * u - 6 * np.clip((u - 0.8) / 0.2, 0, 1) ** 2
    ink, tone = brush_ring(cv, 142, 101, 99, 90, 118, 318, width, seed=11, dry_end=0.62,
                           wobble=0.012)
    grey = 70 - 45 * tone   # 25..40: grey-black, lighter where the load is thin
    cv.paint(ink, np.repeat(grey[..., None], 3, axis=2))

    # Plum branch from the upper left corner, kept left of the two
    # character areas and above the first one.
    twigs, d = cv.layer()
    brush_path(d, [(-6, 24), (20, 32), (44, 42), (62, 50), (82, 64), (98, 80), (108, 96)], 7.5, 1.6)
    brush_path(d, [(44, 42), (60, 26), (84, 16), (106, 12), (124, 6)], 4.2, 1.0)
    brush_path(d, [(62, 50), (66, 72), (62, 92), (56, 108)], 3.6, 0.9)
    brush_path(d, [(20, 32), (26, 14), (34, 2)], 3.4, 1.0)
    brush_path(d, [(84, 16), (92, 28)], 2.0, 0.8)
    brush_path(d, [(82, 64), (96, 60)], 2.2, 0.8)
    cv.paint(mask(twigs), (20, 16, 14))
    for cx, cy, r, turn, seed in ((44, 46, 11, 10, 1), (78, 20, 10, 40, 2), (66, 74, 9, 75, 3),
                                  (100, 84, 8, 20, 4), (27, 22, 8, 55, 5), (110, 10, 7, 5, 6),
                                  (58, 104, 7, 30, 7)):
        blossom(cv, cx, cy, r, turn, seed)
    for cx, cy, r in ((93, 28, 2.2), (97, 60, 2.0), (34, 4, 2.0), (16, 36, 1.8), (108, 97, 1.6)):
        bud(cv, cx, cy, r)
    img = cv.image((334, 374))
    write_bytes(os.path.join(OUT, 'bloom.jpg'), jpeg_bytes(img, True, 2))


def whitestripe():
    # Exact bands, drawn straight in picture pixels: a light grey rim of one
    # pixel, black from row 1 to 64, white to 223, black to the rim.
    w, h = 325, 294
    px = np.full((h, w, 3), 212, np.uint8)
    px[1:h - 1, 1:w - 1] = 0
    px[65:224, 1:w - 1] = 255
    write_png(os.path.join(OUT, 'whitestripe.png'), Image.fromarray(px, 'RGB'))


def semicircle():
    cv = Canvas(256, 232)
    # Clockwise on screen from the left (180) over the bottom and the right
    # to the top centre (450 = 270 + 180): thin at the start, heaviest at
    # the upper right, blunt where the brush lifts.
    def width(u):
        u = np.clip(u, 0, 1)
        grow = 1.5 + 28.5 * np.sin(np.clip(u / 0.86, 0, 1) * math.pi / 2) ** 1.6
        return grow * (1 - 0.55 * np.clip((u - 0.9) / 0.1, 0, 1) ** 2)
    ink, tone = brush_ring(cv, 128, 121, 104, 96, 180, -270, width, seed=21, dry_end=0.45)
    cv.paint(ink, np.repeat((48 - 40 * tone)[..., None], 3, axis=2))
    # seal: "专用" in the lower part, the top band left plain for the name
    s = seal(58, 47, '专用', seed=22, face=SERIF_BOLD,
             placements=[(17, 35, 19), (41, 35, 19)])
    cv.paste(s, 58, 124)
    write_png(os.path.join(OUT, 'semicircle.png'), cv.image((307, 291)))


def animal():
    img = render_svg('cat.svg', (326, 295))
    d = ImageDraw.Draw(img)
    # registered mark at the lower right, clear of the ruff
    sx, sy = 326 / 256, 295 / 232
    draw_centred(d, '\u00ae', font(LATIN_BOLD, 15 * sx), 244 * sx, 220 * sy, (0, 0, 0))
    write_png(os.path.join(OUT, 'animal.png'), img)


def countryname():
    # Drawn straight in picture pixels so that the square edges fall on
    # pixel boundaries: squares of 67 px with 6 px gaps and 5 px margins.
    w = h = 150
    ys, xs = np.mgrid[0:h, 0:w] + 0.5
    px = np.full((h, w, 3), 255.0)
    squares = (((5, 5), (243, 152, 0)), ((78, 5), (230, 0, 18)),
               ((5, 78), (0, 153, 68)), ((78, 78), (0, 104, 183)))
    for (x0, y0), colour in squares:
        size, r = 67, 2.5
        qx = np.abs(xs - (x0 + size / 2)) - (size / 2 - r)
        qy = np.abs(ys - (y0 + size / 2)) - (size / 2 - r)
        dist = np.hypot(np.maximum(qx, 0), np.maximum(qy, 0)) + np.minimum(np.maximum(qx, qy), 0) - r
        a = np.clip(0.5 - dist, 0, 1)[..., None]
        # a faint light from the upper left
        t = np.clip(((xs - x0) + (ys - y0)) / (2 * size), 0, 1)[..., None]
        col = np.asarray(colour, np.float64) * (1.04 - 0.08 * t)
        px = px * (1 - a) + np.clip(col, 0, 255) * a
    img = Image.fromarray(np.round(px).astype(np.uint8), 'RGB')
    write_bytes(os.path.join(OUT, 'countryname.jpg'), jpeg_bytes(img, False, 0, quality=95))


def brandstyle():
    cv = Canvas(264, 253)
    red = np.array([200, 24, 30], np.float64)
    # Anticlockwise on screen from the top centre (270) over the left, the
    # bottom and the right, ending in a swelling at the upper right (-45).
    # It stays thin over the upper left, next to the first character.
    def width(u):
        u = np.clip(u, 0, 1)
        t = np.clip((u - 0.05) / 0.3, 0, 1)
        w = 3 + 21 * t * t * (3 - 2 * t)
        swell = 16 * np.exp(-((u - 0.93) / 0.055) ** 2)
        return (w + swell) * (1 - 0.6 * np.clip((u - 0.975) / 0.025, 0, 1))
    ink, tone = brush_ring(cv, 134, 128, 114, 106, 270, -312, width, seed=31, dry_end=0.35)
    col = red[None, None, :] * (0.86 + 0.14 * tone[..., None])
    cv.paint(ink, col)
    s = seal(34, 72, '溪岚', seed=32, face=KAI,
             placements=[(17, 19, 27), (17, 52, 27)], stroke=0.9)
    cv.paste(s, 151, 98)
    img = cv.image((400, 400))
    write_bytes(os.path.join(OUT, 'brandstyle.jpg'),
                with_exif_instead_of_jfif(jpeg_bytes(img, True, 2)))


def icon():
    # The cat from the animal picture under the author's name in red.  At
    # 48 px the fine white marks would only turn grey, so they are left out
    # and the brows and lips drawn heavier; the name is drawn at its final
    # size so that the font's hinting keeps the strokes sharp.
    size = 48
    img = Image.new('RGB', (size, size), WHITE)
    cat = render_svg('cat.svg', (40, 36),
                     style='.brow{stroke-width:9px}.nose{stroke-width:0}'
                           '.mouth{stroke-width:8px}.detail{display:none}')
    img.paste(cat, (4, 12))
    d = ImageDraw.Draw(img)
    f = font(SANS_BOLD, 18)
    draw_centred(d, '霁', f, 14.5, 8.5, (214, 0, 24))
    draw_centred(d, '川', f, 33.5, 8.5, (214, 0, 24))
    write_ico(os.path.join(OUT, 'icon.ico'), img)


def main():
    for make in (triangle, bloom, whitestripe, semicircle, animal, countryname, brandstyle, icon):
        make()


if __name__ == '__main__':
    main()
