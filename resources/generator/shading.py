"""Drawing helpers the pictures share: shading, supersampling, corner markers.

Colours are 0..255 tuples; shading functions return straight (not
premultiplied) RGBA with alpha 0..1.
"""

from PIL import Image


class ResourceError(Exception):
    """A table or a picture breaks one of the rules the loader relies on."""


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
