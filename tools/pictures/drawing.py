"""The drawing helpers that every picture shares: fonts, gradients, supersampled layers and
the fixed file encodings."""

import io
import math
import os

from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
SS = 4  # supersampling factor for anti-aliased shapes



def font(name, px):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), px)


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c0, c1, t):
    return tuple(int(round(lerp(a, b, t))) for a, b in zip(c0, c1))


def vgradient(w, h, stops):
    """RGB image with a vertical gradient through (position, colour) stops."""
    col = bytearray()
    for y in range(h):
        t = y / max(1, h - 1)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if t <= p1 or (p1 == stops[-1][0]):
                u = 0.0 if p1 == p0 else min(1.0, max(0.0, (t - p0) / (p1 - p0)))
                col += bytes(mix(c0, c1, u))
                break
    return Image.frombytes("RGB", (1, h), bytes(col)).resize((w, h), Image.NEAREST)


def radial_glow(w, h, cx, cy, rx, ry, strength):
    """'L' mask, `strength` at (cx, cy) falling smoothly to 0 at the ellipse."""
    small = 4
    sw, sh = max(1, w // small), max(1, h // small)
    data = bytearray()
    for y in range(sh):
        for x in range(sw):
            dx = (x * small - cx) / rx
            dy = (y * small - cy) / ry
            d = min(1.0, math.sqrt(dx * dx + dy * dy))
            data.append(int(round(strength * 255 * (1 - d * d) ** 2)))
    return Image.frombytes("L", (sw, sh), bytes(data)).resize((w, h), Image.BILINEAR)


class Layer:
    """An RGBA layer drawn at SS times the final size, in 1x coordinates.

    With `scale` 2 the same drawing calls give the picture at twice the size:
    every coordinate and width is multiplied on the way in, so the 2x
    picture is drawn, not enlarged."""

    def __init__(self, w, h, k=SS, scale=1):
        self.w, self.h, self.k, self.scale = w, h, k, scale
        self.f = k * scale           # samples per 1x pixel
        self.img = Image.new("RGBA", (w * self.f, h * self.f), (0, 0, 0, 0))
        self.draw = ImageDraw.Draw(self.img)

    def s(self, pts):
        return [(x * self.f, y * self.f) for x, y in pts]

    def box(self, b):
        return [b[0] * self.f, b[1] * self.f, b[2] * self.f - 1, b[3] * self.f - 1]

    def poly(self, pts, fill):
        self.draw.polygon(self.s(pts), fill=fill)

    def rect(self, b, fill, radius=0):
        if radius:
            self.draw.rounded_rectangle(self.box(b), radius * self.f, fill=fill)
        else:
            self.draw.rectangle(self.box(b), fill=fill)

    def ellipse(self, b, fill=None, outline=None, width=1):
        self.draw.ellipse(self.box(b), fill=fill, outline=outline,
                          width=int(round(width * self.f)))

    def line(self, pts, fill, width=1.0):
        self.draw.line(self.s(pts), fill=fill, width=max(1, int(round(width * self.f))))

    def arc(self, b, start, end, fill, width=1.0):
        self.draw.arc(self.box(b), start, end, fill=fill,
                      width=max(1, int(round(width * self.f))))

    def blank(self):
        """An empty layer of the same size and scale, for a translucent part
        that is composited as a whole."""
        return Layer(self.w, self.h, self.k, self.scale)

    def over(self, other):
        """Composite another layer of the same size on top of this one."""
        self.img.alpha_composite(other.img)

    def done(self):
        return self.img.reduce(self.k)


def mask_layer(w, h, k=SS):
    img = Image.new("L", (w * k, h * k), 0)
    return img, ImageDraw.Draw(img)


def paint(base, mask, colour, opacity=1.0):
    """Blend a flat colour into RGB(A) `base` through an 'L' mask."""
    if opacity != 1.0:
        mask = mask.point(lambda v: int(round(v * opacity)))
    solid = Image.new(base.mode, base.size, colour if base.mode == "RGB" else colour + (255,))
    base.paste(solid, (0, 0), mask)


def save_jpeg(img, quality):
    buf = io.BytesIO()
    img.convert("RGB").save(buf, "JPEG", quality=quality, optimize=False,
                            progressive=False, subsampling=0)
    return buf.getvalue()


def save_png(img):
    buf = io.BytesIO()
    img.save(buf, "PNG", optimize=False, compress_level=9)
    return buf.getvalue()
