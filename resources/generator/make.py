#!/usr/bin/python3
"""Draw Vorlex's ten texture images and its icons into resources/.

Six pictures for the textured squares, four bitmap-font atlases (families A
and B, with 6- and 12-pixel cells) and the application icon, for the
desktop (PNG) and for Windows (ICO). Everything is computed from fixed
numbers, so a second run rewrites byte-identical files. Each file beside
this one draws one kind of picture; the glyphs are the hand-drawn tables in
glyphs.py.

    /usr/bin/python3 resources/generator/make.py          write resources/
    /usr/bin/python3 resources/generator/make.py --check  compare, write nothing
"""

import io
import os
import sys

sys.dont_write_bytecode = True  # nothing but the images lands in the tree

try:
    from PIL import Image  # noqa: F401  (the modules below draw with it)
except ImportError:
    sys.exit("make.py: Pillow is missing: run this with Debian's "
             "/usr/bin/python3 and its python3-pil package")

from fonts import as_rows, bold_font, font_atlas, light_font, thick_lines, thin_lines
from glyphs import A_INK, B_INK
from icon import picture_icon
from landscapes import picture_night, picture_sunset
from objects import picture_gem, picture_planet
from palettes import picture_gear, picture_rocket
from shading import ResourceError

OUT_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# The Windows icon's sizes: the small icon, the large one (also the small one
# at 200%), the large one at 150%, and Explorer's largest view.
ICO_SIZES = (16, 32, 48, 256)


def encode(img, fmt):
    buf = io.BytesIO()
    if fmt == "GIF":
        img.save(buf, format="GIF", optimize=False, transparency=0)
    elif fmt == "ICO":
        # Each size PIL's Lanczos makes from the largest, stored as PNG.
        img.save(buf, format="ICO", sizes=[(n, n) for n in ICO_SIZES])
    elif fmt == "PNG":
        img.save(buf, format="PNG", optimize=False, compress_level=9)
    else:
        img.save(buf, format=fmt)
    return buf.getvalue()


def build_all():
    """Return {file name: bytes} for everything under resources/."""
    light = light_font()
    bold = bold_font(light)
    return {
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
        "vorlex.ico": encode(picture_icon(max(ICO_SIZES)), "ICO"),
    }


def main(argv):
    if len(argv) > 1 or (argv and argv[0] != "--check"):
        sys.exit("usage: make.py [--check]  (got: %s)" % " ".join(argv))
    check = bool(argv)
    try:
        files = build_all()
    except ResourceError as exc:
        sys.exit("make.py: %s" % exc)
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
            sys.exit("make.py: out of date in resources/: %s" % ", ".join(stale))
        print("make.py: %d files up to date" % len(files))
        return
    try:
        for name, data in sorted(files.items()):
            with open(os.path.join(OUT_DIR, name), "wb") as f:
                f.write(data)
    except OSError as exc:
        sys.exit("make.py: cannot write %s: %s" % (exc.filename or OUT_DIR, exc.strerror))
    print("make.py: wrote %d files to %s" % (len(files), OUT_DIR))


if __name__ == "__main__":
    main(sys.argv[1:])
