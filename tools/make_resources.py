#!/usr/bin/python3
"""Draw Vorlex's ten texture images and its desktop icon into resources/.

Six pictures for the textured squares, four bitmap-font atlases (families A
and B, with 6- and 12-pixel cells) and the application icon. Everything is
computed here from fixed numbers, so a second run rewrites byte-identical
files. The glyphs are the hand-drawn tables further down in this file.

    /usr/bin/python3 tools/make_resources.py          write resources/
    /usr/bin/python3 tools/make_resources.py --check  compare, write nothing
"""

import io
import math
import os
import sys

try:
    from PIL import Image
except ImportError:
    sys.exit("make_resources: Pillow is missing: run this with Debian's "
             "/usr/bin/python3 and its python3-pil package")

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "resources")


class ResourceError(Exception):
    """A table or a picture breaks one of the rules the loader relies on."""


# ---------------------------------------------------------------------------
# Small drawing helpers. Colours are 0..255 tuples; shading functions return
# straight (not premultiplied) RGBA with alpha 0..1.

def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def ramp(t, stops):
    """Colour at t along a list of (position, colour) stops."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / (t1 - t0))
    return stops[-1][1]


def over(dst, src):
    """Lay straight RGBA src over dst (both with alpha 0..1)."""
    sa = src[3]
    da = dst[3] * (1.0 - sa)
    a = sa + da
    if a <= 0.0:
        return (0.0, 0.0, 0.0, 0.0)
    return tuple((s * sa + d * da) / a for s, d in zip(src[:3], dst[:3])) + (a,)


def smooth_edge(d, width=0.7):
    """Coverage of a soft edge: 1 inside (d < 0), 0 outside."""
    return clamp(0.5 - d / width)


class Lcg:
    """Tiny fixed-seed generator, so star fields come out the same everywhere."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state / 4294967296.0


def render(w, h, shade, samples=4):
    """Supersample shade(x, y) over each pixel; returns rows of RGBA bytes."""
    offs = [(i + 0.5) / samples for i in range(samples)]
    n = samples * samples
    rows = []
    for py in range(h):
        row = []
        for px in range(w):
            r = g = b = a = 0.0
            for oy in offs:
                for ox in offs:
                    c = shade(px + ox, py + oy)
                    r += c[0] * c[3]
                    g += c[1] * c[3]
                    b += c[2] * c[3]
                    a += c[3]
            if a > 0.0:
                px_rgba = (r / a, g / a, b / a, a / n)
            else:
                px_rgba = (0.0, 0.0, 0.0, 0.0)
            row.append(tuple(int(round(clamp(v / 255.0) * 255)) for v in px_rgba[:3])
                       + (int(round(clamp(px_rgba[3]) * 255)),))
        rows.append(row)
    return rows


def rows_to_image(rows, mode):
    h, w = len(rows), len(rows[0])
    img = Image.new("RGBA", (w, h))
    img.putdata([p for row in rows for p in row])
    return img.convert(mode) if mode != "RGBA" else img


def blend_pixel(rows, x, y, src):
    """Lay straight RGBA src (alpha 0..1) over one rendered pixel."""
    p = rows[y][x]
    c = over(tuple(p[:3]) + (p[3] / 255.0,), src)
    rows[y][x] = tuple(int(round(v)) for v in c[:3]) + (int(round(c[3] * 255)),)


def stamp_marker(rows, size, colour, border):
    """Solid block in the top-left corner, framed on its right and bottom
    edges, so a flipped or mirrored texture gives itself away."""
    for y in range(size):
        for x in range(size):
            edge = x == size - 1 or y == size - 1
            rows[y][x] = tuple(border if edge else colour) + (255,)


def check_marker_unique(name, rows, size, colour):
    """The marker colour must not turn up anywhere else in the picture."""
    for y, row in enumerate(rows):
        for x, p in enumerate(row):
            if x < size and y < size:
                continue
            if p[3] > 0 and max(abs(p[i] - colour[i]) for i in range(3)) < 48:
                raise ResourceError("%s: pixel (%d, %d) %s is too close to the "
                                    "corner marker colour" % (name, x, y, p[:3]))


# ---------------------------------------------------------------------------
# image.bmp, 64x64 RGB: a sun setting behind hills over a glowing grid floor.

def picture_sunset():
    horizon = 40.0
    sun_x, sun_y, sun_r = 42.0, 27.0, 15.0

    def hills(x):
        return horizon - 1.5 - 4.0 * max(0.0, math.sin(x * 0.16 + 0.4)) \
            - 2.5 * max(0.0, math.sin(x * 0.37 + 2.0))

    def shade(x, y):
        if y < horizon:
            c = ramp(y / horizon, [(0.0, (20, 6, 52)), (0.5, (88, 20, 112)),
                                   (0.82, (200, 52, 112)), (1.0, (255, 128, 88))])
            dx, dy = x - sun_x, y - sun_y
            d = math.hypot(dx, dy)
            if d < sun_r:
                # Slots that widen towards the bottom of the sun.
                gap = (dy - 1.0) / sun_r * 2.2
                if not (dy > 1.0 and (y - sun_y) % 3.5 < gap):
                    c = ramp((dy + sun_r) / (2 * sun_r),
                             [(0.0, (255, 238, 130)), (0.45, (255, 176, 72)),
                              (1.0, (255, 70, 120))])
            else:
                glow = 0.45 * math.exp(-(d - sun_r) / 5.0)
                c = mix(c, (255, 150, 90), glow)
            if y > hills(x):
                c = mix((34, 6, 54), c, 0.15 * (horizon - y) / 6.0)
            return c + (1.0,)
        depth = y - horizon
        c = ramp(depth / 24.0, [(0.0, (70, 12, 84)), (1.0, (18, 4, 36))])
        line = 0.0
        # Rows of the grid recede towards the horizon.
        for i in range(1, 12):
            ly = horizon + 26.0 / (i * 0.62)
            line = max(line, clamp(1.0 - abs(y - ly) / 0.6))
        # Columns run into the vanishing point under the sun.
        for k in range(-9, 10):
            s = k * 1.4
            dist = abs(x - sun_x - s * depth) / math.sqrt(1.0 + s * s)
            line = max(line, clamp(1.0 - dist / 0.55))
        c = mix(c, (255, 64, 196), line * (0.55 + 0.45 * clamp(depth / 10.0)))
        c = mix(c, (255, 120, 160), 0.6 * math.exp(-depth / 1.5))
        return c + (1.0,)

    rows = render(64, 64, shade)
    stamp_marker(rows, 8, (0, 255, 255), (0, 0, 0))
    check_marker_unique("image.bmp", rows, 8, (0, 255, 255))
    return rows_to_image(rows, "RGB")


# ---------------------------------------------------------------------------
# image.png, 64x64 RGBA: a banded planet in a soft halo, tilted ring in front.

def picture_planet():
    px, py, pr = 31.0, 35.0, 15.5
    tilt = math.radians(-22.0)
    ct, st = math.cos(tilt), math.sin(tilt)
    ring_in, ring_out, squash = 19.0, 29.0, 0.32
    light = (-0.52, -0.62, 0.59)

    def ring(x, y):
        dx, dy = x - px, y - py
        u = dx * ct + dy * st
        v = -dx * st + dy * ct
        rho = math.hypot(u, v / squash)
        if rho < ring_in or rho > ring_out:
            return None, v
        s = (rho - ring_in) / (ring_out - ring_in)
        if s < 0.38:
            a, c = 0.88, mix((255, 214, 168), (240, 178, 130), s / 0.38)
        elif s < 0.47:
            a, c = 0.18, (200, 150, 120)
        else:
            a, c = 0.62 - 0.4 * (s - 0.47), (226, 160, 122)
        return (c + (a,)), v

    def shade(x, y):
        dx, dy = x - px, y - py
        d = math.hypot(dx, dy)
        out = (0.0, 0.0, 0.0, 0.0)
        if d > pr - 1.0:
            halo = 0.7 * math.exp(-(d - pr) / 3.2)
            out = over(out, (150, 110, 255, clamp(halo)))
        rc, v = ring(x, y)
        if rc is not None and v < 0:
            out = over(out, rc)
        cover = smooth_edge(d - pr)
        if cover > 0.0:
            nx, ny = dx / pr, dy / pr
            nz = math.sqrt(max(0.0, 1.0 - nx * nx - ny * ny))
            lam = clamp(nx * light[0] + ny * light[1] + nz * light[2])
            lat = (-dx * st + dy * ct) / pr
            band = 0.5 + 0.5 * math.sin(lat * 9.0 + 0.8 * math.sin(lat * 5.0))
            base = mix((112, 58, 196), (232, 118, 196), band)
            if lat > 0.45:
                base = mix(base, (255, 176, 150), 0.6)
            c = tuple(ch * (0.22 + 0.9 * lam) for ch in base)
            c = mix(c, (190, 170, 255), 0.5 * (1.0 - nz) ** 3)
            out = over(out, c + (cover,))
        if rc is not None and v >= 0:
            out = over(out, rc)
        # A faint four-pointed glint low on the right.
        gx, gy = abs(x - 55.5), abs(y - 55.5)
        arm = max(clamp(1.0 - gx / 0.7) * clamp(1.0 - gy / 5.0),
                  clamp(1.0 - gy / 0.7) * clamp(1.0 - gx / 5.0))
        if arm > 0.0:
            out = over(out, (255, 246, 236, arm))
        return out

    rows = render(64, 64, shade)
    stamp_marker(rows, 8, (110, 255, 40), (16, 24, 16))
    check_marker_unique("image.png", rows, 8, (110, 255, 40))
    return rows_to_image(rows, "RGBA")


# ---------------------------------------------------------------------------
# img72.bmp, 72x72 RGB: a crescent moon over mountains and a still lake.

def picture_night():
    lake = 60.0
    moon_x, moon_y, moon_r = 51.0, 17.0, 8.0
    gen = Lcg(0x5EED72)
    stars = []
    while len(stars) < 46:
        sx, sy, sb = gen.next() * 72, gen.next() * 44, 0.35 + 0.65 * gen.next()
        if (sx < 11 and sy < 11) or math.hypot(sx - moon_x, sy - moon_y) < 13:
            continue
        stars.append((int(sx) + 0.5, int(sy) + 0.5, sb))

    def far_ridge(x):
        return 41.0 - 7.0 * math.sin(x * 0.085 + 0.6) - 4.0 * math.sin(x * 0.21 + 2.1) \
            - 2.0 * math.sin(x * 0.47)

    def near_ridge(x):
        return 52.0 - 5.0 * math.sin(x * 0.06 + 3.6) - 2.5 * math.sin(x * 0.19 + 0.3) \
            - 1.2 * math.sin(x * 0.6 + 1.0)

    def above(x, y):
        c = ramp(y / lake, [(0.0, (6, 10, 34)), (0.55, (18, 36, 86)),
                            (1.0, (46, 104, 130))])
        for sx, sy, sb in stars:
            dd = abs(x - sx) + abs(y - sy)
            if dd < 1.2:
                c = mix(c, (236, 240, 255), sb * (1.0 - dd / 1.2))
        d = math.hypot(x - moon_x, y - moon_y)
        lit = smooth_edge(d - moon_r) * (1.0 - smooth_edge(
            math.hypot(x - moon_x - 3.6, y - moon_y + 2.6) - moon_r * 0.9))
        c = mix(c, (150, 190, 220), 0.35 * math.exp(-max(0.0, d - moon_r) / 4.0))
        c = mix(c, (244, 238, 204), lit)
        fr = far_ridge(x)
        if y > fr:
            rock = mix((52, 74, 118), (30, 46, 84), clamp((y - fr) / 10.0))
            if y < fr + 2.2 and fr < 36.0:
                rock = (196, 212, 232)
            c = rock
        if y > near_ridge(x):
            c = mix((16, 26, 48), (10, 16, 30), clamp((y - near_ridge(x)) / 8.0))
        return c

    def shade(x, y):
        if y < lake:
            return above(x, y) + (1.0,)
        depth = y - lake
        ripple = 0.6 * math.sin(y * 2.3 + x * 0.25)
        c = above(x + ripple, lake - depth * 1.6 - 0.5)
        c = mix(c, (8, 20, 40), 0.35 + 0.02 * depth)
        if abs(y - lake) < 0.6:
            c = mix(c, (120, 170, 190), 0.5)
        return c + (1.0,)

    rows = render(72, 72, shade)
    stamp_marker(rows, 9, (255, 140, 0), (0, 0, 0))
    check_marker_unique("img72.bmp", rows, 9, (255, 140, 0))
    return rows_to_image(rows, "RGB")


# ---------------------------------------------------------------------------
# img24.png, 24x24 RGBA: a cut topaz with a glow and a glint. It is drawn up
# to 17 times its size with nearest filtering, so every pixel counts.

def picture_gem():
    facets = [
        ([(7.5, 5.0), (3.5, 9.0), (8.0, 9.0)], (255, 244, 176)),
        ([(7.5, 5.0), (8.0, 9.0), (12.0, 9.0), (12.0, 5.0)], (255, 216, 92)),
        ([(12.0, 5.0), (12.0, 9.0), (16.0, 9.0), (16.5, 5.0)], (244, 186, 58)),
        ([(16.5, 5.0), (16.0, 9.0), (20.5, 9.0)], (212, 146, 38)),
        ([(3.5, 9.0), (8.0, 9.0), (12.0, 21.0)], (252, 202, 72)),
        ([(8.0, 9.0), (12.0, 9.0), (12.0, 21.0)], (232, 160, 40)),
        ([(12.0, 9.0), (16.0, 9.0), (12.0, 21.0)], (198, 122, 30)),
        ([(16.0, 9.0), (20.5, 9.0), (12.0, 21.0)], (156, 86, 24)),
    ]
    hull = [(7.5, 5.0), (16.5, 5.0), (20.5, 9.0), (12.0, 21.0), (3.5, 9.0)]

    def poly_distance(p, poly):
        """Signed distance to a convex polygon (negative inside), clockwise
        or not."""
        x, y = p
        best = float("inf")
        inside = True
        sign = None
        for (x0, y0), (x1, y1) in zip(poly, poly[1:] + poly[:1]):
            ex, ey = x1 - x0, y1 - y0
            t = clamp(((x - x0) * ex + (y - y0) * ey) / (ex * ex + ey * ey))
            best = min(best, math.hypot(x - x0 - t * ex, y - y0 - t * ey))
            cross = ex * (y - y0) - ey * (x - x0)
            s = cross > 0
            if cross != 0:
                if sign is None:
                    sign = s
                elif s != sign:
                    inside = False
        return -best if inside else best

    def shade(x, y):
        out = (0.0, 0.0, 0.0, 0.0)
        d = poly_distance((x, y), hull)
        if d > -0.5:
            out = over(out, (255, 206, 90, clamp(0.55 * math.exp(-max(0.0, d) / 1.3))))
        if d < 0.35:
            for poly, col in facets:
                if poly_distance((x, y), poly) <= 0.0:
                    c = col
                    break
            else:
                c = (212, 146, 38)
            if d > -0.75:
                c = (110, 52, 12)
            out = over(out, c + (1.0,))
        return out

    rows = render(24, 24, shade)
    # A crisp glint off the upper right corner, one pixel per step, since
    # the square shows it blown up with nearest filtering.
    for (gx, gy), alpha in (((19, 4), 1.0), ((18, 4), 0.75), ((20, 4), 0.75),
                            ((19, 3), 0.75), ((19, 5), 0.75), ((17, 4), 0.35),
                            ((21, 4), 0.35), ((19, 2), 0.35), ((19, 6), 0.35)):
        blend_pixel(rows, gx, gy, (255, 255, 236, alpha))
    stamp_marker(rows, 5, (255, 0, 200), (40, 0, 30))
    check_marker_unique("img24.png", rows, 5, (255, 0, 200))
    return rows_to_image(rows, "RGBA")


# ---------------------------------------------------------------------------
# The two palette pictures. Index 0 is the transparent colour; the loader
# turns it into (0, 0, 0, 0) texels through SDL's colour key.

def palette_image(w, h, pixels, palette, name):
    """pixels: rows of palette indices. Index 0 is the transparent colour and
    must be used; no two entries may share a colour, so the colour key
    cannot catch a visible pixel."""
    flat = [i for row in pixels for i in row]
    if 0 not in flat:
        raise ResourceError("%s: no pixel uses the transparent colour" % name)
    rgb = [tuple(c) for c in palette]
    if len(set(rgb)) != len(rgb):
        raise ResourceError("%s: palette has a repeated colour" % name)
    img = Image.new("P", (w, h))
    pal = []
    for c in palette:
        pal.extend(c)
    img.putpalette(pal)
    img.putdata(flat)
    return img


def check_palette_marker(name, pixels, size, index):
    for y, row in enumerate(pixels):
        for x, i in enumerate(row):
            if i == index and not (x < size and y < size):
                raise ResourceError("%s: marker colour used at (%d, %d)" % (name, x, y))


def distance_inside(mask):
    """City-block distance from each inside pixel to the nearest outside one."""
    h, w = len(mask), len(mask[0])
    big = w + h
    dist = [[big if mask[y][x] else 0 for x in range(w)] for y in range(h)]
    for y in range(h):
        for x in range(w):
            if dist[y][x]:
                up = dist[y - 1][x] if y > 0 else 0
                left = dist[y][x - 1] if x > 0 else 0
                dist[y][x] = min(dist[y][x], up + 1, left + 1)
    for y in range(h - 1, -1, -1):
        for x in range(w - 1, -1, -1):
            if dist[y][x]:
                down = dist[y + 1][x] if y < h - 1 else 0
                right = dist[y][x + 1] if x < w - 1 else 0
                dist[y][x] = min(dist[y][x], down + 1, right + 1)
    return dist


# image.gif, 64x64: an emerald cog with a hub and five cut-outs.

def picture_gear():
    palette = [
        (0, 0, 0),          # 0 transparent
        (8, 40, 24),        # 1 outline
        (20, 88, 52),       # 2 shadowed bevel
        (34, 128, 74),      # 3 face, far side
        (48, 160, 92),      # 4 face
        (74, 192, 114),     # 5 face, near the light
        (156, 236, 172),    # 6 lit bevel
        (255, 226, 0),      # 7 corner marker
    ]
    cx, cy = 33.0, 33.0
    teeth, r_root, r_tip = 8, 20.5, 28.0

    def solid(x, y):
        dx, dy = x - cx, y - cy
        d = math.hypot(dx, dy)
        a = math.atan2(dy, dx) + math.radians(9.0)
        # Flat-topped teeth with straight flanks.
        t = abs(((a * teeth / (2 * math.pi)) % 1.0) - 0.5) * 2.0
        if t < 0.36:
            edge = r_tip
        elif t < 0.56:
            edge = r_tip + (r_root - r_tip) * (t - 0.36) / 0.2
        else:
            edge = r_root
        if d > edge or d < 5.5:
            return False
        for k in range(4):
            ha = math.radians(45.0 + 90.0 * k)
            if math.hypot(x - cx - 12.5 * math.cos(ha), y - cy - 12.5 * math.sin(ha)) < 3.9:
                return False
        return True

    mask = [[solid(x + 0.5, y + 0.5) for x in range(64)] for y in range(64)]
    dist = distance_inside(mask)
    pixels = [[0] * 64 for _ in range(64)]

    def at(xx, yy):
        return dist[yy][xx] if 0 <= xx < 64 and 0 <= yy < 64 else 0

    for y in range(64):
        for x in range(64):
            dv = dist[y][x]
            if dv == 0:
                continue
            if dv == 1:
                pixels[y][x] = 1
                continue
            if dv <= 3:
                # The bevel faces the light (top left) where the distance
                # field grows towards the bottom right.
                slope = (at(x + 1, y) - at(x - 1, y)) + (at(x, y + 1) - at(x, y - 1))
                pixels[y][x] = 6 if slope > 0 else 2 if slope < 0 else 4
                continue
            # Flat face lit from the top left, with a groove round the rim
            # and a raised collar round the axle.
            r = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            side = ((x - cx) + (y - cy)) / 40.0
            level = 5 if side < -0.3 else 3 if side > 0.3 else 4
            if 17.0 <= r < 18.2:
                level = 2 if (x + y) < 2 * cx else 6
            elif 17.0 > r > 8.0 and level == 5:
                level = 4
            if 7.0 < r < 8.4:
                level = 6 if (x + y) < 2 * cx else 2
            pixels[y][x] = level
    size = 8
    for y in range(size):
        for x in range(size):
            pixels[y][x] = 1 if (x == size - 1 or y == size - 1) else 7
    check_palette_marker("image.gif", pixels, size, 7)
    return palette_image(64, 64, pixels, palette, "image.gif")


# img48.gif, 48x48: a rocket climbing to the upper right on a flame.

def picture_rocket():
    palette = [
        (0, 0, 0),          # 0 transparent
        (24, 26, 40),       # 1 outline
        (238, 240, 246),    # 2 hull
        (160, 168, 190),    # 3 hull in shadow
        (222, 44, 56),      # 4 red
        (146, 22, 46),      # 5 red in shadow
        (64, 150, 236),     # 6 porthole
        (204, 232, 255),    # 7 porthole glint
        (255, 226, 82),     # 8 flame core
        (255, 126, 30),     # 9 flame
        (146, 152, 180),    # 10 exhaust puff
        (255, 244, 180),    # 11 sparkle
        (0, 230, 170),      # 12 corner marker
        (214, 218, 234),    # 13 exhaust puff, lit side
    ]
    cx, cy = 25.0, 23.0
    ux, uy = 1.0 / math.sqrt(2.0), -1.0 / math.sqrt(2.0)   # nose direction
    vx, vy = 1.0 / math.sqrt(2.0), 1.0 / math.sqrt(2.0)    # towards the shadow

    def classify(x, y):
        rx, ry = x - cx, y - cy
        u = rx * ux + ry * uy
        v = rx * vx + ry * vy
        av = abs(v)
        if -9.0 <= u <= 14.0:
            if u <= 5.0:
                w = 5.2
            else:
                w = 5.2 * math.sqrt(max(0.0, 1.0 - ((u - 5.0) / 9.0) ** 2))
            if av <= w:
                if math.hypot(u - 1.0, v) <= 2.9:
                    if math.hypot(u - 1.0, v) > 2.0:
                        return 1
                    return 7 if (u > 1.3 and v < -0.3) else 6
                red = u > 9.2 or -7.2 < u < -5.6
                if red:
                    return 5 if v > 2.4 else 4
                return 3 if v > 2.6 else 2
        if -11.5 <= u <= -3.0 and av > 4.0:
            fin = 5.2 + min(5.0, (-3.0 - u) * 0.8)
            if av <= fin:
                return 5 if v > 0 else 4
        if -11.0 <= u < -9.0 and av <= 3.4 - (-9.0 - u) * 0.3:
            return 3
        if -21.0 <= u < -11.0:
            reach = (u + 21.0) / 10.0
            flicker = 0.5 * math.sin(u * 1.7)
            if av <= 3.4 * reach + flicker:
                return 8 if (av <= 1.6 * reach and u > -18.0) else 9
        for (px, py, pr) in ((5.0, 43.5, 3.4), (9.5, 44.5, 2.7), (7.5, 40.0, 2.5)):
            if math.hypot(x - px, y - py) <= pr:
                lit = math.hypot(x - px + 0.4 * pr, y - py + 0.4 * pr) < 0.7 * pr
                return 13 if lit else 10
        for (sx, sy, sr) in ((41.5, 36.5, 3.0), (8.5, 22.5, 2.0), (40.5, 4.5, 2.0)):
            ax, ay = abs(x - sx), abs(y - sy)
            if (ax < 0.6 and ay <= sr) or (ay < 0.6 and ax <= sr):
                return 11
        return 0

    pixels = [[classify(x + 0.5, y + 0.5) for x in range(48)] for y in range(48)]
    # Ink outline round the hull, fins and puffs; the flame stays unlined.
    outlined = [row[:] for row in pixels]
    for y in range(48):
        for x in range(48):
            if pixels[y][x] in (0, 8, 9, 11, 1):
                continue
            for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                if not (0 <= nx < 48 and 0 <= ny < 48) or pixels[ny][nx] in (0, 8, 9, 11):
                    outlined[y][x] = 1
                    break
    pixels = outlined
    size = 6
    for y in range(size):
        for x in range(size):
            pixels[y][x] = 1 if (x == size - 1 or y == size - 1) else 12
    check_palette_marker("img48.gif", pixels, size, 12)
    return palette_image(48, 48, pixels, palette, "img48.gif")


# ---------------------------------------------------------------------------
# Bitmap fonts.
#
# The overlay fades family A in and out over family B at the same place, so
# the two are one design in two weights: B light, A bold, A's ink always
# covering B's. The fade then reads as the lettering growing heavier instead
# of two shapes fighting.
#
# Family B is drawn by hand below on a 5x5 grid ('#' ink, '.' blank), placed
# at the top-left of its cell so the last column and row of every cell stay
# blank: text is drawn one cell per character with no other gap. Capitals
# and digits use all five rows; lowercase has a one-row ascender (row 0)
# over a four-row body, and descenders are lifted into the body, since a
# 6-pixel cell has no room below the baseline. Most glyphs are 4 columns
# wide, with rounded corners; a few need all 5.
#
# Family A at 6 pixels widens every stroke by one pixel to the right. Where
# that would close a one-pixel gap (and for 5-column glyphs, which have no
# room to widen), A has a hand-drawn bold glyph of its own.
#
# At 12 pixels, B's inked pixels become points on a 9x9 grid joined by
# one-pixel lines (a thin face), and A is that same drawing with every
# stroke thickened to two pixels (10x10).
#
# Tables are strips of glyphs side by side: a header string names the
# characters, then five rows give each glyph's 5 columns, one space apart.

FONT_B = [
    ("ABCDEFGH", """
.##.. ###.. .###. ###.. ####. ####. .###. #..#.
#..#. #..#. #.... #..#. #.... #.... #.... #..#.
####. ###.. #.... #..#. ###.. ###.. #.##. ####.
#..#. #..#. #.... #..#. #.... #.... #..#. #..#.
#..#. ###.. .###. ###.. ####. #.... .###. #..#.
"""),
    ("IJKLMNOP", """
###.. ..##. #..#. #.... #...# #...# .##.. ###..
.#... ...#. #.#.. #.... ##.## ##..# #..#. #..#.
.#... ...#. ##... #.... #.#.# #.#.# #..#. ###..
.#... #..#. #.#.. #.... #...# #..## #..#. #....
###.. .##.. #..#. ####. #...# #...# .##.. #....
"""),
    ("QRSTUVWX", """
.##.. ###.. .###. ###.. #..#. #...# #...# #...#
#..#. #..#. #.... .#... #..#. #...# #...# .#.#.
#..#. ###.. .##.. .#... #..#. .#.#. #...# ..#..
#.#.. #.#.. ...#. .#... #..#. .#.#. #.#.# .#.#.
.#.#. #..#. ###.. .#... .##.. ..#.. .#.#. #...#
"""),
    ("YZ012345", """
#...# ####. .###. .#... ###.. ###.. #..#. ####.
.#.#. ...#. #...# ##... ...#. ...#. #..#. #....
..#.. .##.. #.#.# .#... .##.. .##.. ####. ###..
..#.. #.... #...# .#... #.... ...#. ...#. ...#.
..#.. ####. .###. ###.. ####. ###.. ...#. ###..
"""),
    ("6789!\"#$", """
.##.. ####. .##.. .##.. .#... #..#. .#.#. .####
#.... ...#. #..#. #..#. .#... #..#. ##### #.#..
###.. ..#.. .##.. .###. .#... ..... .#.#. .###.
#..#. .#... #..#. ...#. ..... ..... ##### ..#.#
.##.. .#... .##.. .##.. .#... ..... .#.#. ####.
"""),
    ("%&'()*+,", """
#...# .#... .#... ..#.. #.... ..... ..... .....
...#. #.#.. .#... .#... .#... #.#.. .#... .....
..#.. .#... ..... .#... .#... .#... ###.. .....
.#... #.#.# ..... .#... .#... #.#.. .#... .#...
#...# .#.#. ..... ..#.. #.... ..... ..... #....
"""),
    ("-./:;<=>", """
..... ..... ...#. ..... ..... ..#.. ..... #....
..... ..... ..#.. .#... .#... .#... ###.. .#...
###.. ..... ..#.. ..... ..... #.... ..... ..#..
..... ..... .#... .#... .#... .#... ###.. .#...
..... .#... #.... ..... #.... ..#.. ..... #....
"""),
    ("?@[\\]^_`", """
###.. .##.. ##... #.... ##... ..#.. ..... #....
...#. #..#. #.... .#... .#... .#.#. ..... .#...
.##.. #.##. #.... .#... .#... #...# ..... .....
..... #.... #.... ..#.. .#... ..... ..... .....
.#... .###. ##... ...#. ##... ..... ##### .....
"""),
    ("{|}~abcd", """
.##.. .#... ##... ..... ..... #.... ..... ...#.
.#... .#... .#... .#... .###. ###.. .###. .###.
#.... .#... ..#.. #.#.# #..#. #..#. #.... #..#.
.#... .#... .#... ...#. #..#. #..#. #.... #..#.
.##.. .#... ##... ..... .###. ###.. .###. .###.
"""),
    ("efghijkl", """
..... ..##. ..... #.... .#... ..#.. #.... #....
.##.. .#... .###. ###.. ..... ..... #..#. #....
####. ###.. #..#. #..#. ##... ..#.. #.#.. #....
#.... .#... .###. #..#. .#... ..#.. ###.. #....
.###. .#... .##.. #..#. ###.. ##... #..#. .#...
"""),
    ("mnopqrst", """
..... ..... ..... ..... ..... ..... ..... .#...
##.#. ###.. .##.. ###.. .###. #.##. .###. ###..
#.#.# #..#. #..#. #..#. #..#. ##... ##... .#...
#.#.# #..#. #..#. ###.. .###. #.... ..##. .#...
#.#.# #..#. .##.. #.... ...#. #.... ###.. ..##.
"""),
    ("uvwxyz", """
..... ..... ..... ..... ..... .....
#..#. #...# #...# #..#. #...# ####.
#..#. #...# #...# .##.. .#.#. ..#..
#..#. .#.#. #.#.# .##.. ..#.. .#...
.###. ..#.. .#.#. #..#. ##... ####.
"""),
]


BOLD_A = [
    ("GMNQRVWY", """
.#### ##.## ##.## .###. ####. ##.## ##.## ##.##
##... ##### ###.# ##.## ##.## ##.## ##.## ##.##
#.### #.#.# ##### ##.## ####. ##.## ##.## .###.
##.## ##.## #.### ####. ###.. .###. ##### ..#..
.#### ##.## ##.## .#### ##.## ..#.. .#.#. ..#..
"""),
    ("X0kmrvwy", """
##.## .###. ##... ..... ..... ..... ..... .....
.###. ##.## ##.## ####. #.### ##.## ##.## ##.##
..#.. #.#.# ####. ##### ###.. ##.## ##.## ##.##
.###. ##.## ###.. #.#.# ##... .###. ##### .###.
##.## .###. ##.## #.#.# ##... ..#.. .#.#. ##...
"""),
    ("#$%&*^~", """
.#.#. .#### ##..# .##.. ..... ..#.. .....
##### ###.. ##.#. ####. #.#.# .###. .##..
.#.#. .###. ..#.. .##.. .###. ##.## #####
##### ..### .#.## ##### #.#.# ..... ...##
.#.#. ####. #..## .#### ..... ..... .....
"""),
]

A_INK = (255, 255, 255)
B_INK = (226, 236, 255)
FONT_BACKGROUND = (0, 0, 0)
FIRST_CODE, LAST_CODE = 32, 126


def parse_glyphs(name, strips):
    """Turn glyph strips into {code: 5 rows of 0/1}."""
    glyphs = {}
    for chars, text in strips:
        rows = [r for r in text.split("\n") if r.strip()]
        if len(rows) != 5:
            raise ResourceError("font %s, strip %r: %d rows instead of 5"
                                % (name, chars, len(rows)))
        for r in rows:
            fields = r.split(" ")
            if len(fields) != len(chars) or any(len(f) != 5 or set(f) - set("#.")
                                                for f in fields):
                raise ResourceError("font %s, strip %r: bad row %r" % (name, chars, r))
        for i, ch in enumerate(chars):
            if ord(ch) in glyphs:
                raise ResourceError("font %s: %r drawn twice" % (name, ch))
            glyphs[ord(ch)] = tuple(tuple(1 if c == "#" else 0 for c in r.split(" ")[i])
                                    for r in rows)
    return glyphs


def check_font(name, glyphs):
    """Every printable code has ink (space excepted) and no two glyphs are
    alike, so no character can be mistaken for another of the same font."""
    for code in range(FIRST_CODE + 1, LAST_CODE + 1):
        if code not in glyphs:
            raise ResourceError("font %s: no glyph for %r" % (name, chr(code)))
        if not any(any(r) for r in glyphs[code]):
            raise ResourceError("font %s: glyph for %r is empty" % (name, chr(code)))
    seen = {}
    for code in sorted(glyphs):
        key = tuple(tuple(r) for r in glyphs[code])
        if key in seen and any(any(r) for r in key):
            raise ResourceError("font %s: %r and %r look the same"
                                % (name, chr(seen[key]), chr(code)))
        seen[key] = code


def light_font():
    glyphs = parse_glyphs("B", FONT_B)
    glyphs[32] = tuple((0,) * 5 for _ in range(5))
    check_font("B", glyphs)
    return glyphs


def bold_font(light):
    """Family A at 6 pixels: each light glyph with its strokes widened to the
    right, unless BOLD_A draws it by hand. Always covers the light glyph."""
    hand = parse_glyphs("A", BOLD_A)
    bold = {}
    for code, glyph in light.items():
        if code in hand:
            g = hand[code]
        else:
            if any(r[4] for r in glyph) and any(r[4] != r[3] for r in glyph):
                raise ResourceError("font A: %r fills all 5 columns in B, so it "
                                    "needs a hand-drawn bold form" % chr(code))
            g = tuple(tuple(1 if r[x] or (x > 0 and r[x - 1]) else 0 for x in range(5))
                      for r in glyph)
        for y in range(5):
            for x in range(5):
                if glyph[y][x] and not g[y][x]:
                    raise ResourceError("font A: %r leaves B's pixel (%d, %d) "
                                        "uncovered" % (chr(code), x, y))
        bold[code] = g
    check_font("A", bold)
    return bold


def spread_columns(glyph):
    """Where each of the 5x5 grid's columns lands on the 12-pixel grid.
    Glyphs four or five columns wide stretch over the full 9 pixels; narrow
    ones keep two pixels per column, centred on the middle."""
    cols = [x for x in range(5) if any(r[x] for r in glyph)]
    if not cols:
        return {}
    c0, c1 = cols[0], cols[-1]
    span = c1 - c0
    if span >= 3:
        return {c: int(round((c - c0) * 8.0 / span)) for c in range(c0, c1 + 1)}
    return {c: 4 + 2 * c - (c0 + c1) for c in range(c0, c1 + 1)}


def thin_lines(glyph):
    """12-pixel light face: each inked pixel becomes a point and neighbouring
    points are joined by one-pixel lines. Diagonal neighbours are joined only
    where no square corner already links them."""
    out = [[0] * 10 for _ in range(10)]
    xs = spread_columns(glyph)

    def on(x, y):
        return 0 <= x < 5 and 0 <= y < 5 and glyph[y][x]

    def line(x0, y0, x1, y1):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        while True:
            out[y0][x0] = 1
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    for y in range(5):
        for x in range(5):
            if not on(x, y):
                continue
            px, py = xs[x], 2 * y
            out[py][px] = 1
            if on(x + 1, y):
                line(px, py, xs[x + 1], py)
            if on(x, y + 1):
                line(px, py, px, py + 2)
            if on(x + 1, y + 1) and not on(x + 1, y) and not on(x, y + 1):
                line(px, py, xs[x + 1], py + 2)
            if on(x - 1, y + 1) and not on(x - 1, y) and not on(x, y + 1):
                line(px, py, xs[x - 1], py + 2)
    return out


def thick_lines(glyph):
    """12-pixel bold face: the thin drawing with every ink pixel grown by one
    to the right and one down."""
    thin = thin_lines(glyph)
    out = [[0] * 10 for _ in range(10)]
    for y in range(10):
        for x in range(10):
            if thin[y][x]:
                for oy in (0, 1):
                    for ox in (0, 1):
                        out[y + oy][x + ox] = 1
    return out


def font_atlas(name, glyphs, cell, shape, ink):
    """Lay the glyphs out 16 to a row, code c at column c % 16, row c // 16."""
    w, h = cell * 16, cell * 8
    pixels = [[0] * w for _ in range(h)]
    for code, glyph in glyphs.items():
        bitmap = shape(glyph)
        ox, oy = (code % 16) * cell, (code // 16) * cell
        for y, row in enumerate(bitmap):
            for x, v in enumerate(row):
                if v:
                    if x >= cell - 1 or y >= cell - 1:
                        raise ResourceError("%s: glyph %r reaches the cell's spacing"
                                            % (name, chr(code)))
                    pixels[oy + y][ox + x] = 1
    return palette_image(w, h, pixels, [FONT_BACKGROUND, ink], name)


def as_rows(glyph):
    return [list(r) for r in glyph]


# ---------------------------------------------------------------------------
# vorlex.png, 128x128: the demo in one tile. Blue crosshair on black, a
# translucent yellow square and a tilted red outline square.

def picture_icon():
    size = 128.0
    inset, radius = 4.0, 22.0
    ang = math.radians(18.0)
    ca, sa = math.cos(ang), math.sin(ang)
    rcx, rcy, rhalf = 54.0, 70.0, 27.0

    def rounded_box(x, y, x0, y0, x1, y1, r):
        """Signed distance to a rectangle with corners rounded by r."""
        qx = abs(x - (x0 + x1) / 2.0) - ((x1 - x0) / 2.0 - r)
        qy = abs(y - (y0 + y1) / 2.0) - ((y1 - y0) / 2.0 - r)
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r

    def shade(x, y):
        d = rounded_box(x, y, inset, inset, size - inset, size - inset, radius)
        cover = smooth_edge(d, 1.0)
        if cover <= 0.0:
            return (0.0, 0.0, 0.0, 0.0)
        c = mix((14, 16, 26), (0, 0, 4), clamp((x + y) / (2 * size)))
        grid = min(abs((x - 64.0 + 8.0) % 16.0 - 8.0), abs((y - 64.0 + 8.0) % 16.0 - 8.0))
        c = mix(c, (16, 30, 78), clamp(1.0 - grid / 0.5) * 0.8)
        cross = min(abs(x - 64.0), abs(y - 64.0))
        c = mix(c, (48, 110, 255), clamp(1.5 - cross))
        c = mix(c, (40, 90, 220), 0.35 * math.exp(-cross / 2.0))
        # Translucent yellow square, upper right.
        if 62.0 <= x <= 106.0 and 22.0 <= y <= 66.0:
            c = mix(c, (255, 220, 30), 0.68)
        # Red outline square, turned about its centre.
        lx = (x - rcx) * ca + (y - rcy) * sa
        ly = -(x - rcx) * sa + (y - rcy) * ca
        box = max(abs(lx), abs(ly)) - rhalf
        c = mix(c, (236, 30, 30), clamp(1.0 - (abs(box) - 2.0) / 0.8))
        # A light rim, brighter along the top.
        rim = clamp(1.0 - abs(d + 1.5) / 1.0) * (0.25 + 0.25 * clamp(1.0 - y / size))
        c = mix(c, (120, 140, 200), rim)
        return c + (cover,)

    return rows_to_image(render(128, 128, shade), "RGBA")


# ---------------------------------------------------------------------------

def encode(img, fmt):
    buf = io.BytesIO()
    if fmt == "GIF":
        img.save(buf, format="GIF", optimize=False, transparency=0)
    elif fmt == "PNG":
        img.save(buf, format="PNG", optimize=False, compress_level=9)
    else:
        img.save(buf, format=fmt)
    return buf.getvalue()


def build_all():
    """Return {file name: bytes} for everything under resources/."""
    light = light_font()
    bold = bold_font(light)
    files = {
        "image.bmp": encode(picture_sunset(), "BMP"),
        "image.gif": encode(picture_gear(), "GIF"),
        "image.png": encode(picture_planet(), "PNG"),
        "img72.bmp": encode(picture_night(), "BMP"),
        "img48.gif": encode(picture_rocket(), "GIF"),
        "img24.png": encode(picture_gem(), "PNG"),
        "fontA06.gif": encode(font_atlas("fontA06.gif", bold, 6, as_rows, A_INK), "GIF"),
        "fontB06.gif": encode(font_atlas("fontB06.gif", light, 6, as_rows, B_INK), "GIF"),
        "fontA12.gif": encode(font_atlas("fontA12.gif", light, 12, thick_lines, A_INK), "GIF"),
        "fontB12.gif": encode(font_atlas("fontB12.gif", light, 12, thin_lines, B_INK), "GIF"),
        "vorlex.png": encode(picture_icon(), "PNG"),
    }
    return files


def main(argv):
    if len(argv) > 1 or (argv and argv[0] != "--check"):
        sys.exit("usage: make_resources.py [--check]  (got: %s)" % " ".join(argv))
    check = bool(argv)
    try:
        files = build_all()
    except ResourceError as exc:
        sys.exit("make_resources: %s" % exc)
    if check:
        stale = []
        for name, data in sorted(files.items()):
            path = os.path.join(OUT_DIR, name)
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        stale.append(name)
            except OSError:
                stale.append(name)
        if stale:
            sys.exit("make_resources: out of date in resources/: %s" % ", ".join(stale))
        print("make_resources: %d files up to date" % len(files))
        return
    try:
        os.makedirs(OUT_DIR, exist_ok=True)
        for name, data in sorted(files.items()):
            with open(os.path.join(OUT_DIR, name), "wb") as f:
                f.write(data)
    except OSError as exc:
        sys.exit("make_resources: cannot write %s: %s" % (exc.filename or OUT_DIR, exc.strerror))
    print("make_resources: wrote %d files to %s" % (len(files), OUT_DIR))


if __name__ == "__main__":
    main(sys.argv[1:])
