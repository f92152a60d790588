"""The desktop icon: vorlex.png, and icons/ at the sizes icon themes look
for and as SVG; the Windows icon and the web page's icons drawn the same way.
"""

import math

from shading import clamp, mix, render, rows_to_image, smooth_edge

# The sizes icon themes look up (hicolor's apps folders); vorlex.png is 128.
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)

# The demo in one tile, drawn on a 128-unit square at any size: blue
# crosshair on black, a translucent yellow square and a tilted red outline
# square.
INSET, RADIUS = 4.0, 22.0
TILT = 18.0
RED_CENTRE, RED_HALF = (54.0, 70.0), 27.0
YELLOW = (62.0, 22.0, 106.0, 66.0)


def picture_icon(size=128, maskable=False, samples=None):
    """The icon at size x size pixels. Below 128 a unit is more than a pixel,
    so lines keep at least the width they have at 128 pixels in pixels (the
    grid, finer than a pixel there, is left out below 64); at 128 and up
    they keep their width in units. `maskable` fills the whole square with
    the tile's ground and keeps the picture within the middle 80%, the part
    a launcher's mask never cuts. Past 128 pixels fewer samples a pixel do,
    each covering less of a unit; `samples` sets them."""
    unit = 128.0 / size / (0.8 if maskable else 1.0)
    # Where the design's corner lies: off the square when maskable.
    origin = (128.0 - size * unit) / 2.0
    stroke = max(1.0, unit / 1.5)
    grid_weight = 0.8 if size >= 64 else 0.0
    ang = math.radians(TILT)
    ca, sa = math.cos(ang), math.sin(ang)
    rcx, rcy = RED_CENTRE

    def rounded_box(x, y, x0, y0, x1, y1, r):
        """Signed distance to a rectangle with corners rounded by r."""
        qx = abs(x - (x0 + x1) / 2.0) - ((x1 - x0) / 2.0 - r)
        qy = abs(y - (y0 + y1) / 2.0) - ((y1 - y0) / 2.0 - r)
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r

    def shade(px, py):
        x, y = origin + px * unit, origin + py * unit
        d = rounded_box(x, y, INSET, INSET, 128.0 - INSET, 128.0 - INSET, RADIUS)
        cover = 1.0 if maskable else smooth_edge(d, unit)
        if cover <= 0.0:
            return (0.0, 0.0, 0.0, 0.0)
        c = mix((14, 16, 26), (0, 0, 4), clamp((x + y) / 256.0))
        grid = min(abs((x - 64.0 + 8.0) % 16.0 - 8.0), abs((y - 64.0 + 8.0) % 16.0 - 8.0))
        c = mix(c, (16, 30, 78), clamp(1.0 - grid / 0.5) * grid_weight)
        cross = min(abs(x - 64.0), abs(y - 64.0))
        c = mix(c, (48, 110, 255), clamp(1.5 - cross / stroke))
        c = mix(c, (40, 90, 220), 0.35 * math.exp(-cross / (2.0 * stroke)))
        x0, y0, x1, y1 = YELLOW
        if x0 <= x <= x1 and y0 <= y <= y1:
            c = mix(c, (255, 220, 30), 0.68)
        # The red square, turned about its centre.
        lx = (x - rcx) * ca + (y - rcy) * sa
        ly = -(x - rcx) * sa + (y - rcy) * ca
        box = max(abs(lx), abs(ly)) - RED_HALF
        c = mix(c, (236, 30, 30), clamp(1.0 - (abs(box) - 2.0 * stroke) / (0.8 * stroke)))
        # A light rim, brighter along the top.
        if not maskable:
            rim = clamp(1.0 - abs(d + 1.5 * stroke) / stroke) * (0.25 + 0.25 * clamp(1.0 - y / 128.0))
            c = mix(c, (120, 140, 200), rim)
        return c + (cover,)

    if samples is None:
        samples = 4 if size <= 128 else 2
    return rows_to_image(render(size, size, shade, samples=samples), "RGBA")


def svg_icon():
    """The same tile as SVG, for the theme's scalable folder."""
    def hex_colour(c):
        return "#%02x%02x%02x" % c

    span = 128.0 - 2 * INSET
    grid = "".join("M%d %gV%gM%g %dH%g" % (v, INSET, 128 - INSET, INSET, v, 128 - INSET)
                   for v in range(16, 128, 16) if v != 64)
    x0, y0, x1, y1 = YELLOW
    red = RED_HALF  # the outline's middle
    rcx, rcy = RED_CENTRE
    return "\n".join([
        '<svg xmlns="http://www.w3.org/2000/svg" width="128" height="128" viewBox="0 0 128 128">',
        '<defs>',
        '<linearGradient id="ground" x1="0" y1="0" x2="1" y2="1">'
        '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
        % (hex_colour((14, 16, 26)), hex_colour((0, 0, 4))),
        '<clipPath id="tile"><rect x="%g" y="%g" width="%g" height="%g" rx="%g"/></clipPath>'
        % (INSET, INSET, span, span, RADIUS),
        '</defs>',
        '<g clip-path="url(#tile)">',
        '<rect x="%g" y="%g" width="%g" height="%g" fill="url(#ground)"/>' % (INSET, INSET, span, span),
        '<path d="%s" stroke="%s" stroke-opacity="0.8" stroke-width="0.6"/>' % (grid, hex_colour((16, 30, 78))),
        '<path d="M64 0V128M0 64H128" stroke="%s" stroke-opacity="0.35" stroke-width="6"/>'
        % hex_colour((40, 90, 220)),
        '<path d="M64 0V128M0 64H128" stroke="%s" stroke-width="3"/>' % hex_colour((48, 110, 255)),
        '<rect x="%g" y="%g" width="%g" height="%g" fill="%s" fill-opacity="0.68"/>'
        % (x0, y0, x1 - x0, y1 - y0, hex_colour((255, 220, 30))),
        '<rect x="%g" y="%g" width="%g" height="%g" transform="rotate(%g %g %g)" '
        'fill="none" stroke="%s" stroke-width="4.8"/>'
        % (rcx - red, rcy - red, 2 * red, 2 * red, TILT, rcx, rcy, hex_colour((236, 30, 30))),
        '<rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="none" stroke="%s" '
        'stroke-opacity="0.4" stroke-width="2"/>'
        % (INSET + 1.5, INSET + 1.5, span - 3, span - 3, RADIUS - 1.5, hex_colour((120, 140, 200))),
        '</g>',
        '</svg>',
        ''])
