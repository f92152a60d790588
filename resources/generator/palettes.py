"""The two palette pictures, image.gif (a cog) and img48.gif (a rocket), and
the palette image both they and the font atlases are written as.
"""

import math

from PIL import Image

from shading import ResourceError


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
