#!/usr/bin/python3
"""Draws ostrafen's application icon, a blue gear around a green "start" triangle, and writes
ostrafen.ico beside this script.

Run it with /usr/bin/python3 (standard library only); every run writes the same file, byte for byte.
The icon holds 16, 24, 32 and 48 px images at 4 bpp (the 16 standard colours), 8 bpp (a 256-colour
palette made for each image) and 32 bpp (BGRA with alpha), all as DIBs with AND masks, and a 256 px
32 bpp image stored as PNG.
"""

import math
import os
import struct
import zlib

DIB_SIZES = (16, 24, 32, 48)
PNG_SIZE = 256

# The artwork: a gear of TEETH teeth, one pointing straight up, with a white disc in its hole and a
# play triangle on the disc. Each pixel is the average of a grid of samples; every sample belongs to
# one layer or to none (transparent). Lengths are in pixels of the image being drawn, y downwards.
TEETH = 8


class Geometry:
    """The shapes of one image size."""

    def __init__(self, tip, body, hole, root_half, tip_half, back, point, half_height, rounding):
        self.tip = tip  # radius of the teeth's tips
        self.body = body  # radius of the rim between the teeth
        self.hole = hole  # radius of the white disc inside the rim
        self.root_half = root_half  # half a tooth's width where it leaves the rim
        self.tip_half = tip_half  # half a tooth's width at its tip
        self.back = back  # x of the triangle's upright back edge
        self.point = point  # x of the triangle's point
        self.half_height = half_height  # half the back edge's length
        self.rounding = rounding  # radius of the triangle's rounded corners


def proportional(size):
    """The design itself, for large sizes: an equilateral triangle whose centroid sits a little right
    of the centre, where a play triangle looks centred."""
    s = float(size)
    centroid, corner = 0.52 * s, 0.19 * s
    return Geometry(tip=0.485 * s, body=0.365 * s, hole=0.255 * s, root_half=0.105 * s,
                    tip_half=0.075 * s, back=centroid - corner / 2, point=centroid + corner,
                    half_height=corner * math.sqrt(3) / 2, rounding=0.025 * s)


# Small sizes are hinted: the upright teeth and the triangle's back edge and corners fall on whole
# pixels, and the triangle is a little larger than the design so that it still reads at 16 px.
HINTED = {
    16: Geometry(tip=8.0, body=6.0, hole=4.3, root_half=1.5, tip_half=1.0,
                 back=6.0, point=11.5, half_height=3.0, rounding=0.0),
    24: Geometry(tip=11.9, body=8.7, hole=6.2, root_half=2.5, tip_half=2.0,
                 back=10.0, point=17.0, half_height=4.0, rounding=0.3),
    32: Geometry(tip=15.7, body=11.6, hole=8.2, root_half=3.2, tip_half=2.0,
                 back=13.0, point=23.0, half_height=6.0, rounding=0.5),
    48: Geometry(tip=23.4, body=17.5, hole=12.3, root_half=5.2, tip_half=4.0,
                 back=20.0, point=34.0, half_height=8.0, rounding=0.8),
}

OUTLINE, GEAR, DISC, TRIANGLE_EDGE, TRIANGLE = range(5)

# The 16 colours every display shows; the 4 bpp images use only these, in this order.
STANDARD_16 = (
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
)
# A 16-colour image cannot shade, so each layer gets one standard colour (index into STANDARD_16).
LAYER_STANDARD_COLOUR = {OUTLINE: 4, GEAR: 12, DISC: 15, TRIANGLE_EDGE: 2, TRIANGLE: 10}


def lerp(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def layer_colour(layer, t):
    """The true colour of a layer at height t (0 at the top of the gear, 1 at its bottom): soft
    top-to-bottom shading, as if lit from above."""
    if layer == OUTLINE:
        return lerp((0x1C, 0x4E, 0x96), (0x0E, 0x2C, 0x5E), t)
    if layer == GEAR:
        return lerp((0x6C, 0xB4, 0xF4), (0x1F, 0x62, 0xC4), t)
    if layer == DISC:
        return lerp((0xFF, 0xFF, 0xFF), (0xDC, 0xE4, 0xEE), t)
    if layer == TRIANGLE_EDGE:
        return lerp((0x1E, 0x8A, 0x32), (0x10, 0x5E, 0x20), t)
    return lerp((0x62, 0xD8, 0x6A), (0x22, 0xA0, 0x3A), t)


def convex_distance(corners, x, y):
    """Signed distance from a point to a convex polygon (negative inside)."""
    inside = True
    best = float("inf")
    n = len(corners)
    for i in range(n):
        ax, ay = corners[i]
        bx, by = corners[(i + 1) % n]
        ex, ey = bx - ax, by - ay
        px, py = x - ax, y - ay
        # The corners run clockwise on screen (y down), so the inside is to the right of each edge.
        if ex * py - ey * px < 0:
            inside = False
        t = min(max((px * ex + py * ey) / (ex * ex + ey * ey), 0.0), 1.0)
        best = min(best, math.hypot(px - ex * t, py - ey * t))
    return -best if inside else best


def inset_triangle(corners, distance):
    """The triangle with every edge moved inwards by `distance`: rounding its corners by that radius
    afterwards leaves the straight parts of the edges where they were. Scaling about the incentre
    moves all three edges by the same amount."""
    (ax, ay), (bx, by), (cx, cy) = corners
    la, lb, lc = math.dist((bx, by), (cx, cy)), math.dist((ax, ay), (cx, cy)), math.dist((ax, ay), (bx, by))
    perimeter = la + lb + lc
    ix, iy = (la * ax + lb * bx + lc * cx) / perimeter, (la * ay + lb * by + lc * cy) / perimeter
    inradius = abs((bx - ax) * (cy - ay) - (cx - ax) * (by - ay)) / perimeter
    scale = (inradius - distance) / inradius
    return [(ix + (x - ix) * scale, iy + (y - iy) * scale) for x, y in corners]


class Artwork:
    """The layer under each point of one image size; outlines stay about a pixel wide."""

    def __init__(self, size):
        self.g = HINTED.get(size) or proportional(size)
        self.centre = size / 2
        self.outline = max(0.9, 0.022 * size)
        # Below 32 px the rim is too narrow to carry an outline on both sides, and the triangle too
        # small for one of its own: the white disc against the blue is contrast enough.
        self.hole_outline = self.outline if size >= 32 else 0.0
        self.triangle_edge = max(0.7, 0.016 * size) if size >= 48 else 0.0
        c, g = self.centre, self.g
        corners = [(g.point, c), (g.back, c + g.half_height), (g.back, c - g.half_height)]
        self.corners = inset_triangle(corners, g.rounding) if g.rounding else corners
        self.pitch = 2 * math.pi / TEETH

    def shade(self, y):
        return min(max((y - (self.centre - self.g.tip)) / (2 * self.g.tip), 0.0), 1.0)

    def in_gear(self, r, lateral, inset, hole_inset):
        """Whether a point at radius r, `lateral` away from its nearest tooth's centre line, lies in
        the gear shrunk by `inset` on its outer edge and by `hole_inset` on its hole's."""
        g = self.g
        if r < g.hole + hole_inset:
            return False
        if r <= g.body - inset:
            return True
        if r > g.tip - inset:
            return False
        along = (r - g.body) / (g.tip - g.body)
        return lateral <= g.root_half + (g.tip_half - g.root_half) * along - inset

    def layer(self, x, y):
        dx, dy = x - self.centre, y - self.centre
        r = math.hypot(dx, dy)
        if r < self.g.hole:
            d = convex_distance(self.corners, x, y) - self.g.rounding
            if d <= -self.triangle_edge:
                return TRIANGLE
            if d <= 0:
                return TRIANGLE_EDGE
            return DISC
        a = math.atan2(dy, dx) + math.pi / 2  # measured from the upright tooth
        offset = (a + self.pitch / 2) % self.pitch - self.pitch / 2
        lateral = r * abs(math.sin(offset))
        if not self.in_gear(r, lateral, 0.0, 0.0):
            return None
        if self.in_gear(r, lateral, self.outline, self.hole_outline):
            return GEAR
        return OUTLINE


def render(size):
    """Renders one size. Returns rows of (r, g, b, a) floats in 0..1 (straight, not premultiplied)
    and, for the 16-colour images, the layer covering most of each pixel (or None)."""
    art = Artwork(size)
    grid = 8 if size <= 48 else 4
    step = 1.0 / grid
    pixels, majority = [], []
    for py in range(size):
        row, layers_row = [], []
        for px in range(size):
            acc = [0.0, 0.0, 0.0]
            counts = {}
            for sy in range(grid):
                y = (py * grid + sy + 0.5) * step
                for sx in range(grid):
                    x = (px * grid + sx + 0.5) * step
                    layer = art.layer(x, y)
                    counts[layer] = counts.get(layer, 0) + 1
                    if layer is not None:
                        c = layer_colour(layer, art.shade(y))
                        acc[0] += c[0]
                        acc[1] += c[1]
                        acc[2] += c[2]
            covered = grid * grid - counts.get(None, 0)
            if covered:
                row.append((acc[0] / covered / 255, acc[1] / covered / 255, acc[2] / covered / 255,
                            covered / (grid * grid)))
            else:
                row.append((0.0, 0.0, 0.0, 0.0))
            # Ties go to the lower layer number, so that the choice never depends on dict order.
            best = max(sorted(counts, key=lambda k: -1 if k is None else k), key=lambda k: counts[k])
            layers_row.append(best)
        pixels.append(row)
        majority.append(layers_row)
    return pixels, majority


def to_bytes(pixels):
    """8-bit straight RGBA, rounded half up."""
    return [[tuple(int(v * 255 + 0.5) for v in p) for p in row] for row in pixels]


def opaque(p):
    # The image without alpha shows a pixel when at least half of it is covered.
    return p[3] >= 128


def and_mask(rgba):
    """The 1 bpp AND mask, bottom-up, rows padded to 32 bits: 1 where the screen shows through."""
    size = len(rgba)
    stride = (size + 31) // 32 * 4
    out = bytearray()
    for row in reversed(rgba):
        line = bytearray(stride)
        for x, p in enumerate(row):
            if not opaque(p):
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def bitmap_header(size, bpp, image_bytes):
    # The height counts the colour bitmap and the AND mask, stacked.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, image_bytes, 0, 0, 0, 0)


def pack_indices(indices, bpp):
    """Bottom-up rows of palette indices at 4 or 8 bpp, padded to 32 bits."""
    size = len(indices)
    stride = (size * bpp + 31) // 32 * 4
    out = bytearray()
    for row in reversed(indices):
        line = bytearray(stride)
        for x, i in enumerate(row):
            if bpp == 8:
                line[x] = i
            else:
                line[x // 2] |= i << (4 if x % 2 == 0 else 0)
        out += line
    return bytes(out)


def palette_bytes(colours, count):
    out = bytearray()
    for r, g, b in colours:
        out += bytes((b, g, r, 0))
    out += bytes(4 * (count - len(colours)))
    return bytes(out)


def dib_4bpp(rgba, majority):
    # Masked pixels are index 0, black, so that AND-then-XOR leaves the screen untouched.
    indices = [[LAYER_STANDARD_COLOUR[layer] if layer is not None and opaque(p) else 0
                for p, layer in zip(prow, lrow)] for prow, lrow in zip(rgba, majority)]
    bits, mask = pack_indices(indices, 4), and_mask(rgba)
    return bitmap_header(len(rgba), 4, len(bits) + len(mask)) + palette_bytes(STANDARD_16, 16) + bits + mask


def median_cut(colours, count):
    """Splits the colour list (with repeats, so that common colours weigh more) into `count` boxes
    along their widest channel, and returns each box's mean colour."""
    boxes = [sorted(colours)]
    while len(boxes) < count:
        best, best_range, best_channel = None, 0, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for ch in range(3):
                lo = min(c[ch] for c in box)
                hi = max(c[ch] for c in box)
                if hi - lo > best_range:
                    best, best_range, best_channel = i, hi - lo, ch
        if best is None:
            break
        box = sorted(boxes[best], key=lambda c: (c[best_channel], c))
        half = len(box) // 2
        boxes[best:best + 1] = [box[:half], box[half:]]
    return [tuple(int(sum(c[ch] for c in box) / len(box) + 0.5) for ch in range(3)) for box in boxes]


def dib_8bpp(rgba):
    shown = [p[:3] for row in rgba for p in row if opaque(p)]
    distinct = sorted(set(shown))
    # Index 0 stays black for the masked pixels; the image gets the other 255 entries.
    palette = [(0, 0, 0)] + (distinct if len(distinct) <= 255 else median_cut(shown, 255))
    nearest = {}

    def index_of(c):
        if c not in nearest:
            nearest[c] = min(range(1, len(palette)),
                             key=lambda i: (sum((a - b) ** 2 for a, b in zip(c, palette[i])), i))
        return nearest[c]

    indices = [[index_of(p[:3]) if opaque(p) else 0 for p in row] for row in rgba]
    bits, mask = pack_indices(indices, 8), and_mask(rgba)
    return bitmap_header(len(rgba), 8, len(bits) + len(mask)) + palette_bytes(palette, 256) + bits + mask


def dib_32bpp(rgba):
    bits = bytearray()
    for row in reversed(rgba):
        for r, g, b, a in row:
            bits += bytes((b, g, r, a) if a else (0, 0, 0, 0))
    mask = and_mask(rgba)
    return bitmap_header(len(rgba), 32, len(bits) + len(mask)) + bytes(bits) + mask


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png_filtered_rows(rgba):
    """Each row with the PNG filter whose output has the smallest sum of absolute values."""
    out = bytearray()
    prev = bytes(len(rgba) * 4)
    for row in rgba:
        raw = bytes(v for p in row for v in p)
        candidates = []
        for kind in range(5):
            line = bytearray(len(raw))
            for i, v in enumerate(raw):
                left = raw[i - 4] if i >= 4 else 0
                up = prev[i]
                up_left = prev[i - 4] if i >= 4 else 0
                if kind == 0:
                    pred = 0
                elif kind == 1:
                    pred = left
                elif kind == 2:
                    pred = up
                elif kind == 3:
                    pred = (left + up) // 2
                else:
                    p = left + up - up_left
                    pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
                    pred = left if pa <= pb and pa <= pc else (up if pb <= pc else up_left)
                line[i] = (v - pred) & 0xFF
            cost = sum(b if b < 128 else 256 - b for b in line)
            candidates.append((cost, kind, line))
        cost, kind, line = min(candidates, key=lambda c: (c[0], c[1]))
        out.append(kind)
        out += line
        prev = raw
    return bytes(out)


def png_image(rgba):
    size = len(rgba)
    # Fully transparent pixels carry no colour, which keeps the file small and the edges clean.
    rgba = [[p if p[3] else (0, 0, 0, 0) for p in row] for row in rgba]
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA, not interlaced
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header)
            + png_chunk(b"IDAT", zlib.compress(png_filtered_rows(rgba), 9)) + png_chunk(b"IEND", b""))


def icon_file(images):
    """images: (size, bpp, colour count, data) in directory order."""
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, bpp, colours, data in images:
        # A width or height of 256 is written as 0.
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bpp, len(data), offset)
        offset += len(data)
    for image in images:
        out += image[3]
    return bytes(out)


def main():
    images = []
    for size in DIB_SIZES:
        pixels, majority = render(size)
        rgba = to_bytes(pixels)
        images.append((size, 4, 16, dib_4bpp(rgba, majority)))
        images.append((size, 8, 0, dib_8bpp(rgba)))
        images.append((size, 32, 0, dib_32bpp(rgba)))
    pixels, _ = render(PNG_SIZE)
    images.append((PNG_SIZE, 32, 0, png_image(to_bytes(pixels))))
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "ostrafen.ico")
    with open(path, "wb") as f:
        f.write(icon_file(images))


if __name__ == "__main__":
    main()
