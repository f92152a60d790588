"""The four font atlases, drawn from the glyph tables: 6- and 12-pixel cells
for families A and B.
"""

from glyphs import BOLD_A, FONT_B, FONT_BACKGROUND
from palettes import palette_image
from shading import ResourceError


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
