"""vorlex.png, the desktop icon, and the Windows icon drawn the same way.
"""

import math

from shading import clamp, mix, render, rows_to_image, smooth_edge


# vorlex.png, 128x128: the demo in one tile. Blue crosshair on black, a
# translucent yellow square and a tilted red outline square. Drawn on a
# 128-unit square whatever the pixel size asked for.

def picture_icon(pixels=128):
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

    unit = size / pixels
    return rows_to_image(render(pixels, pixels, lambda x, y: shade(x * unit, y * unit)), "RGBA")
