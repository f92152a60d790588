"""The two objects on transparent ground: image.png (a ringed planet) and
img24.png (a cut topaz).
"""

import math

from shading import (
    blend_pixel, check_marker_unique, clamp, mix, over, render, rows_to_image,
    smooth_edge, stamp_marker,)


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
