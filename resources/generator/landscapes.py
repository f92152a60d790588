"""The two landscapes: image.bmp (a sunset over a grid floor) and img72.bmp
(a crescent moon over mountains and a lake).
"""

import math

from shading import (
    Lcg, check_marker_unique, clamp, mix, ramp, render, rows_to_image,
    smooth_edge, stamp_marker,)


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
