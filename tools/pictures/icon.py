"""The program's icon: a translucent green set square."""

import math

from PIL import Image, ImageChops, ImageDraw

from .drawing import lerp, mask_layer, vgradient

# Program icon: a translucent green set square

ICON_SIZES = (48, 32, 24, 16)
PNG_SIZES = (16, 24, 32, 48, 64, 128, 256)


# Per-size drawing: margin, band across the legs, band across the long edge,
# outline width, and which details the size has room for.  The two smallest
# are tuned by eye so that every straight edge lands on a pixel boundary.
ICON_STYLE = {
    16: dict(margin=1, band=2, hyp=2.2, line=1, hole_line=False, bevel=False, ticks=0),
    24: dict(margin=1, band=3, hyp=3.4, line=1, hole_line=True, bevel=False, ticks=0),
    32: dict(margin=2, band=5, hyp=5.0, line=1, hole_line=True, bevel=True, ticks=10),
    48: dict(margin=3, band=7, hyp=7.5, line=1, hole_line=True, bevel=True, ticks=10),
}


def icon_style(s):
    if s in ICON_STYLE:
        return ICON_STYLE[s]
    return dict(margin=s / 16, band=s / 7, hyp=s / 6.5, line=s / 48, hole_line=True,
                bevel=True, ticks=20)


def triangle(s, k, m, leg_inset, hyp_inset):
    """The set square's outline at k times size `s`, as polygon points.

    Right angle at the bottom right, long edge from bottom left to top right.
    The legs are moved in by `leg_inset` and the long edge by `hyp_inset`
    pixels.  The right and bottom edges end one sample short so that an edge
    on a pixel boundary covers whole pixels only."""
    corner = (s - m - leg_inset) * k - 1
    tip = (m + leg_inset + hyp_inset * math.sqrt(2)) * k
    return [(corner, corner), (tip, corner), (corner, tip)]


def draw_set_square(s):
    """The program icon at `s` pixels: a translucent set square with a dark
    edge, and a shine and scale marks where the size has room for them."""
    k = 8 if s <= 64 else 4
    st = icon_style(s)
    band, hyp, lw = st["band"], st["hyp"], st["line"]
    hl = lw if st["hole_line"] else 0       # the hole's own outline, if any

    def solid(leg_in, hyp_in):
        img, d = mask_layer(s, s, k)
        d.polygon(triangle(s, k, st["margin"], leg_in, hyp_in), fill=255)
        return img

    def ring(outer_in, outer_hyp, hole_in, hole_hyp):
        return ImageChops.subtract(solid(outer_in, outer_hyp), solid(hole_in, hole_hyp))

    body = ring(0, 0, band, hyp)
    inner = ring(lw, lw, band - hl, hyp - hl)
    img = Image.new("RGBA", (s * k, s * k), (0, 0, 0, 0))
    img.paste(set_square_plastic(s, k), (0, 0), inner)
    img.paste(Image.new("RGBA", img.size, (14, 96, 40, 255)), (0, 0),
              ImageChops.subtract(body, inner))
    if st["bevel"]:
        # light catches the inner side of the long edge and of the hole's legs
        w = max(1, lw)
        shine = ImageChops.subtract(solid(lw, lw), solid(lw, lw + w))
        hole_shine = ImageChops.subtract(solid(band - hl - w, hyp - hl),
                                         solid(band - hl, hyp - hl))
        shine = ImageChops.multiply(ImageChops.lighter(shine, hole_shine), inner)
        img.paste(Image.new("RGBA", img.size, (225, 255, 225, 235)), (0, 0), shine)
    if st["ticks"]:
        draw_scale_marks(img, s, k, st, hl)
    return img.reduce(k)


def set_square_plastic(s, k):
    """The body's fill: translucent green plastic, lighter towards the top.

    Small sizes get a deeper, denser green so that the hole still shows on
    light backgrounds."""
    top, bottom = ((156, 240, 156), (52, 180, 88)) if s >= 32 else \
        ((96, 210, 112), (36, 150, 66))
    fill = vgradient(s, s, [(0.0, top), (1.0, bottom)]).resize(
        (s * k, s * k), Image.BILINEAR).convert("RGBA")
    fill.putalpha(225 if s < 32 else 175)
    return fill


def draw_scale_marks(img, s, k, st, hl):
    """Ticks along the bottom edge, every fifth one longer."""
    m, band, lw, n = st["margin"], st["band"], st["line"], st["ticks"]
    d = ImageDraw.Draw(img)
    y1 = (s - m - lw) * k
    x_start = m + band * 1.9
    x_end = s - m - band - 2 * lw
    tw = max(1, round(k * max(1, s / 96)))
    for i in range(n + 1):
        x = lerp(x_start, x_end, i / n)
        h = (band - hl - lw) * (0.6 if i % 5 == 0 else 0.35)
        d.rectangle([round(x * k), y1 - h * k, round(x * k) + tw - 1, y1],
                    fill=(14, 96, 40, 220))
