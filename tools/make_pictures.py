#!/usr/bin/python3
"""Draw every picture Rivuvuv Avodevivu 2010 ships with.

Run from the repository root:

    /usr/bin/python3 tools/make_pictures.py              # rewrite the files in place
    /usr/bin/python3 tools/make_pictures.py --out DIR    # write them under DIR instead
    /usr/bin/python3 tools/make_pictures.py --review DIR # zoomed copies and window mock-ups

Every window picture is drawn twice from the same drawing code: at its
natural size (Name.jpg) and at twice that size for high-DPI screens
(Name2x.jpg).  The output is committed, so building the program never needs
Python.  The
drawing is fully deterministic: no randomness, no timestamps, fixed JPEG
settings, so rerunning it gives the same bytes.

Needs Pillow and the DejaVu fonts (Debian: python3-pil, fonts-dejavu-core).
"""

import argparse
import io
import math
import os
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import coastlines  # noqa: E402
import ico_encoder  # noqa: E402

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
SS = 4  # supersampling factor for anti-aliased shapes

# ---------------------------------------------------------------------------
# Small drawing helpers


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


# ---------------------------------------------------------------------------
# Main window background (648 x 472)
#
# Controls that sit on it, as (left, top, width, height):
#   list box          56,200,121,212     picture buttons 192,304/344/384,129,25
#   "KISAYOL" label  440,168, 65, 25     alias box       344,208,249,73
#   "İŞLEVİ"  label  448,304, 57, 25     description box 344,336,249,73
#   maker's name     424, 48,177, 33     (on the raised tab)

FORM_W, FORM_H = 648, 472

PANEL = (36, 104, 628, 438)      # left, top, right, bottom of the card
PANEL_R = 18                     # corner radius
TAB = (398, 36)                  # left edge and top of the raised tab
TAB_R = 16
FILLET = 10                      # concave rounding where the tab meets the card

LIST_BOX = (56, 200, 121, 212)
BUTTONS = [(192, 304, 129, 25), (192, 344, 129, 25), (192, 384, 129, 25)]
ALIAS_BOX = (344, 208, 249, 73)
DESC_BOX = (344, 336, 249, 73)
HEAD_ALIAS = (440, 168, 65, 25)
HEAD_DESC = (448, 304, 57, 25)
MAKER_LABEL = (424, 48, 177, 33)

ROYAL_TOP = (52, 96, 214)
ROYAL_BOTTOM = (24, 52, 150)


def card_mask(k, inset):
    """Mask of the card with its tab, shrunk by `inset` pixels all round."""
    img, d = mask_layer(FORM_W, FORM_H, k)
    L, T, R, B = PANEL
    tl, tt = TAB
    i = inset
    d.rounded_rectangle([(L + i) * k, (T + i) * k, (R - i) * k - 1, (B - i) * k - 1],
                        (PANEL_R - i) * k, fill=255)
    # the tab: rounded at the top only, running down into the card
    d.rounded_rectangle([(tl + i) * k, (tt + i) * k, (R - i) * k - 1, (T + 40) * k],
                        (TAB_R - i) * k, fill=255)
    d.rectangle([(tl + i) * k, (T + 20) * k, (R - i) * k - 1, (T + 60) * k], fill=255)
    # concave fillet at the tab's left foot
    f = FILLET
    d.rectangle([(tl - f) * k, (T - f) * k, (tl + i) * k - 1, (T + i) * k - 1], fill=255)
    d.ellipse([(tl - 2 * f - i) * k, (T - 2 * f - i) * k,
               (tl + i) * k - 1, (T + i) * k - 1], fill=0)
    return img


def well(layer, box, depth=3):
    """A sunken frame just outside a control's rectangle."""
    x, y, w, h = box
    o = depth
    outer = (x - o, y - o, x + w + o, y + h + o)
    layer.rect(outer, (6, 14, 48, 150), radius=4)
    # light catches the lower right lip, shadow sits on the upper left
    layer.line([(outer[0] + 3, outer[3] - 0.5), (outer[2] - 3, outer[3] - 0.5)],
               (190, 210, 255, 110), 1)
    layer.line([(outer[2] - 0.5, outer[1] + 3), (outer[2] - 0.5, outer[3] - 3)],
               (190, 210, 255, 80), 1)


def draw_watermark(layer):
    """Faint drafting tools etched into the empty middle of the card."""
    c = (150, 180, 255, 36)
    # a set square standing on the same base line as the protractor
    outer = [(236, 282), (322, 282), (322, 196)]
    hole = [(259, 270), (310, 270), (310, 219)]
    for tri in (outer, hole):
        layer.line(tri + [tri[0]], c, 1.2)
    # protractor
    px, py, r = 248, 282, 46
    layer.arc((px - r, py - r, px + r, py + r), 180, 360, c, 1.2)
    layer.arc((px - r + 11, py - r + 11, px + r - 11, py + r - 11), 180, 360, c, 1)
    layer.line([(px - r - 6, py), (px + r + 6, py)], c, 1.2)
    for a in range(0, 181, 10):
        ang = math.radians(180 + a)
        inner = r - (7 if a % 30 == 0 else 3.5)
        layer.line([(px + r * math.cos(ang), py + r * math.sin(ang)),
                    (px + inner * math.cos(ang), py + inner * math.sin(ang))], c, 1)
    layer.ellipse((px - 2, py - 2, px + 2, py + 2), outline=c, width=1)


def draw_form_background(scale=1):
    """The royal-blue field, the raised card with its tab, the etched
    decoration and the laptop, in that order from the back."""
    base = draw_field(scale)
    draw_card(base, scale)
    base = Image.alpha_composite(base, draw_card_decoration(scale))
    return add_laptop(base, scale).convert("RGB")


def draw_field(scale):
    """The gradient behind the card, lit from the upper left, with a faint grid."""
    W, H = FORM_W, FORM_H
    sc = scale
    base = vgradient(W * sc, H * sc, [(0.0, ROYAL_TOP), (1.0, ROYAL_BOTTOM)])
    paint(base, radial_glow(W * sc, H * sc, 120 * sc, 60 * sc, 520 * sc, 420 * sc, 0.35),
          (120, 160, 255))
    grid = Layer(W, H, 1, sc)
    for x in range(0, W, 24):
        grid.line([(x, 0), (x, H)], (160, 190, 255, 18))
    for y in range(0, H, 24):
        grid.line([(0, y), (W, y)], (160, 190, 255, 18))
    return Image.alpha_composite(base.convert("RGBA"), grid.img)


def draw_card(base, scale):
    """The card and its drop shadow, painted into `base`."""
    sc = scale
    shadow = card_mask(sc, 0)
    shadow = ImageChops.offset(shadow, 6 * sc, 7 * sc).filter(ImageFilter.GaussianBlur(6 * sc))
    paint(base, shadow, (4, 10, 40), 0.7)

    # the masks are drawn at SS samples per pixel of the picture
    k = SS
    outer = card_mask(k * sc, 0)
    inner = card_mask(k * sc, 2)
    fill = vgradient(FORM_W * sc, FORM_H * sc, [(0.0, (40, 74, 176)), (0.25, (28, 58, 150)),
                                                (1.0, (16, 36, 104))]).convert("RGBA")
    base.paste(fill, (0, 0), outer.reduce(k))
    ring = ImageChops.subtract(outer, inner).reduce(k)
    paint(base, ring, (200, 218, 255), 0.95)
    # an inner hairline gives the edge a slight bevel
    hair = ImageChops.subtract(inner, card_mask(k * sc, 3)).reduce(k)
    paint(base, hair, (90, 130, 230), 0.8)


def draw_card_decoration(scale):
    """The watermark, the group frames and the wells around the controls."""
    deco = Layer(FORM_W, FORM_H, SS, scale)
    draw_watermark(deco)
    for top, bottom in ((160, 292), (296, 420)):
        deco.rect((334, top, 604, bottom), (120, 150, 255, 26), radius=9)
    for b in (ALIAS_BOX, DESC_BOX, LIST_BOX):
        well(deco, b)
    return deco.done()


def add_laptop(base, scale):
    """The laptop over `base`, a soft blurred shadow under its front edge."""
    sc = scale
    lap = Layer(FORM_W, FORM_H, SS, sc)
    left, front, right = draw_laptop(lap)
    sh, sd = mask_layer(FORM_W, FORM_H, sc)
    sd.ellipse([(left - 6) * sc, (front - 6) * sc, (right + 6) * sc, (front + 6) * sc],
               fill=255)
    sh = sh.filter(ImageFilter.GaussianBlur(5 * sc))
    paint(base, sh, (2, 8, 32), 0.65)
    return Image.alpha_composite(base, lap.done())


# ---------------------------------------------------------------------------
# The laptop in the main window's top-left corner
#
# An open lid with a drawing program on its screen, the keyboard deck in
# perspective below it.  Boxes are (left, top, right, bottom); insets are
# (left, top, right, bottom) too.

LAPTOP_X = 116.5                            # centre line, over the list box
LID = (LAPTOP_X - 60, 30, LAPTOP_X + 60, 120)
LID_SHELLS = [                              # back, rim and bezel, outside in
    ((0, 0, 0, 0), (34, 38, 48, 255), 7),
    ((1, 1, 1, 1), (58, 64, 78, 255), 6),
    ((2, 2, 2, 1), (40, 45, 56, 255), 5),
]
SCREEN_INSET = (8, 8, 8, 7)
HINGE = dict(inset=6, above=1, below=2, colour=(24, 26, 32, 255))

# the drawing program, from the screen's top-left corner
SCREEN_BLACK = (9, 20, 44, 255)
TITLE_BAR = (0, 5, (70, 110, 190, 255))      # top, bottom, colour
TOOL_STRIP = (5, 10, (196, 202, 214, 255))
TOOL_BUTTONS = [(200, 60, 60), (60, 160, 70), (60, 100, 210), (220, 180, 40),
                (120, 120, 130), (120, 120, 130), (120, 120, 130)]
TOOL_BUTTON = dict(left=3, pitch=6, width=4, top=6, bottom=9)
GRID = dict(left=1, top=11, offset=4, pitch=8, colour=(30, 52, 96, 255), width=0.5)
CAD_CYAN = (90, 220, 255, 255)
CAD_RED = (240, 90, 90, 255)
CAD_YELLOW = (255, 214, 80, 255)
WHITE = (255, 255, 255, 255)
# a flange seen from the front: rim, bore and six bolt holes on a circle
FLANGE = dict(x=40, y=43, rim=24, bore=10, bolt_circle=17, bolt=2.6, bolts=6)
CENTRE_LINE = dict(reach=30, pitch=6, dash=3.5, width=0.7)
SIDE_VIEW_X = 74                            # the same flange from the side
SIDE_VIEW_WIDTH = 10
CURSOR = dict(right=9, bottom=10, arm=6, box=1.5, hole=0.8)
GLARE = [(52, "top"), (74, "top"), (44, "bottom"), (22, "bottom")]

# the keyboard deck, between the hinge (v = 0) and the front edge (v = 1)
DECK_BACK_INSET = 2                         # narrower than the lid at the hinge
DECK_FRONT_HALF = 74                        # half its width at the front edge
DECK_DEPTH = 40
DECK_COLOURS = ((176, 184, 198, 255), (206, 212, 224, 255))   # edge, top
FRONT_EDGE = dict(height=6, slant=3, colour=(120, 128, 144, 255))
FRONT_NOTCH = dict(half=14, top=1, bottom=3, colour=(96, 104, 120, 255))
KEYBOARD = dict(rows=5, keys=13, u0=0.08, span=0.84, v0=0.08, v1=0.60,
                colour=(52, 56, 66, 255))
SPACE_BAR = (3, 8)                          # first and last key it replaces, bottom row
TOUCH_PAD = [(0.38, 0.68), (0.62, 0.68), (0.63, 0.94), (0.37, 0.94)]
TOUCH_PAD_COLOUR = (186, 194, 208, 255)
TOUCH_PAD_LIP = (0.37, 0.63, 0.945, (240, 244, 250, 255))     # u from, u to, v, colour
POWER_LIGHT = (0.9, 0.82, 1.2, 1, (90, 230, 120, 255))       # u, v, rx, ry, colour


def inset(box, by):
    return (box[0] + by[0], box[1] + by[1], box[2] - by[2], box[3] - by[3])


class Deck:
    """The keyboard deck in perspective: narrow at the hinge, wide at the front."""

    def __init__(self, lid):
        self.back_y, self.front_y = lid[3] + 2, lid[3] + DECK_DEPTH
        self.back = (lid[0] + DECK_BACK_INSET, lid[2] - DECK_BACK_INSET)
        self.front = (LAPTOP_X - DECK_FRONT_HALF, LAPTOP_X + DECK_FRONT_HALF)

    def at(self, u, v):
        """Point on the deck: u across 0..1, v from the hinge (0) to the front (1)."""
        y = lerp(self.back_y, self.front_y, v)
        left = lerp(self.back[0], self.front[0], v)
        right = lerp(self.back[1], self.front[1], v)
        return (lerp(left, right, u), y)

    def quad(self, u0, v0, u1, v1):
        return [self.at(u0, v0), self.at(u1, v0), self.at(u1, v1), self.at(u0, v1)]


def draw_laptop(layer):
    """An open laptop in the top-left corner, a drawing on its screen.

    Returns (left, bottom, right) of its front edge, where the caller lays
    its soft contact shadow."""
    for by, colour, radius in LID_SHELLS:
        layer.rect(inset(LID, by), colour, radius=radius)
    draw_screen(layer, inset(LID, SCREEN_INSET))
    h = HINGE
    layer.rect((LID[0] + h["inset"], LID[3] - h["above"], LID[2] - h["inset"],
                LID[3] + h["below"]), h["colour"])
    deck = Deck(LID)
    draw_deck(layer, deck)
    draw_keyboard(layer, deck)
    draw_touch_pad(layer, deck)
    return (deck.front[0], deck.front_y + FRONT_EDGE["height"], deck.front[1])


def draw_screen(layer, scr):
    layer.rect(scr, SCREEN_BLACK)
    draw_program_bars(layer, scr)
    draw_screen_grid(layer, scr)
    sx0, sy0 = scr[0], scr[1]
    centre = (sx0 + FLANGE["x"], sy0 + FLANGE["y"])
    draw_flange(layer, centre)
    draw_side_view(layer, sx0 + SIDE_VIEW_X, centre[1])
    draw_cursor(layer, (scr[2] - CURSOR["right"], scr[3] - CURSOR["bottom"]))
    glare = layer.blank()
    glare.poly([(sx0 + dx, scr[1] if edge == "top" else scr[3]) for dx, edge in GLARE],
               (255, 255, 255, 12))
    layer.over(glare)


def draw_program_bars(layer, scr):
    """The drawing program's title bar and tool strip with its buttons."""
    sx0, sy0, sx1, _ = scr
    for top, bottom, colour in (TITLE_BAR, TOOL_STRIP):
        layer.rect((sx0, sy0 + top, sx1, sy0 + bottom), colour)
    b = TOOL_BUTTON
    for n, c in enumerate(TOOL_BUTTONS):
        bx = sx0 + b["left"] + n * b["pitch"]
        layer.rect((bx, sy0 + b["top"], bx + b["width"], sy0 + b["bottom"]), c + (255,))


def draw_screen_grid(layer, scr):
    """A faint drawing grid below the tool strip."""
    sx0, sy0, sx1, sy1 = scr
    g = GRID
    gx0, gy0 = sx0 + g["left"], sy0 + g["top"]
    for x in range(int(gx0) + g["offset"], int(sx1), g["pitch"]):
        layer.line([(x + 0.5, gy0), (x + 0.5, sy1)], g["colour"], g["width"])
    for y in range(int(gy0) + g["offset"], int(sy1), g["pitch"]):
        layer.line([(gx0, y + 0.5), (sx1, y + 0.5)], g["colour"], g["width"])


def circle(centre, r):
    return (centre[0] - r, centre[1] - r, centre[0] + r, centre[1] + r)


def draw_flange(layer, centre):
    """Rim, bore, bolt circle and dashed centre lines."""
    f = FLANGE
    pcx, pcy = centre
    layer.ellipse(circle(centre, f["rim"]), outline=CAD_CYAN, width=1.2)
    layer.ellipse(circle(centre, f["bore"]), outline=CAD_CYAN, width=1.2)
    step = 360 // f["bolts"]
    for a in range(0, 360, step):
        hole = (pcx + f["bolt_circle"] * math.cos(math.radians(a + step / 2)),
                pcy + f["bolt_circle"] * math.sin(math.radians(a + step / 2)))
        layer.ellipse(circle(hole, f["bolt"]), outline=CAD_CYAN, width=1)
    c = CENTRE_LINE
    for dash in range(-c["reach"], c["reach"], c["pitch"]):
        layer.line([(pcx + dash, pcy), (pcx + dash + c["dash"], pcy)], CAD_RED, c["width"])
        layer.line([(pcx, pcy + dash), (pcx, pcy + dash + c["dash"])], CAD_RED, c["width"])


def draw_side_view(layer, vx, cy):
    """The flange from the side, tinted, with its thickness dimensioned beside it."""
    top, bottom = cy - FLANGE["rim"], cy + FLANGE["rim"]
    right = vx + SIDE_VIEW_WIDTH
    tint = layer.blank()
    tint.rect((vx, top, right, bottom), CAD_CYAN[:3] + (60,))
    layer.over(tint)
    layer.line([(vx, top), (right, top), (right, bottom), (vx, bottom), (vx, top)],
               CAD_CYAN, 1.2)
    dim = vx + 15
    layer.line([(dim, top), (dim, bottom)], CAD_YELLOW, 0.8)
    for y, inward in ((top, 1), (bottom, -1)):
        layer.poly([(dim, y), (dim - 2, y + 4 * inward), (dim + 2, y + 4 * inward)],
                   CAD_YELLOW)
        layer.line([(right + 1, y), (dim + 2, y)], CAD_YELLOW, 0.6)   # extension line


def draw_cursor(layer, at):
    """A crosshair with its pick box."""
    x, y = at
    c = CURSOR
    layer.line([(x - c["arm"], y), (x + c["arm"], y)], WHITE, 0.8)
    layer.line([(x, y - c["arm"]), (x, y + c["arm"])], WHITE, 0.8)
    layer.rect(circle(at, c["box"]), WHITE)
    layer.rect(circle(at, c["hole"]), SCREEN_BLACK)


def draw_deck(layer, deck):
    """The deck's top with a lighter face, its front edge and the opening notch."""
    (bl, br), (fl, fr) = deck.back, deck.front
    by, fy = deck.back_y, deck.front_y
    edge, top = DECK_COLOURS
    layer.poly([(bl, by), (br, by), (fr, fy), (fl, fy)], edge)
    layer.poly([(bl + 1, by + 0.5), (br - 1, by + 0.5), (fr - 1.5, fy - 0.5),
                (fl + 1.5, fy - 0.5)], top)
    e = FRONT_EDGE
    layer.poly([(fl, fy), (fr, fy), (fr - e["slant"], fy + e["height"]),
                (fl + e["slant"], fy + e["height"])], e["colour"])
    n = FRONT_NOTCH
    layer.rect((LAPTOP_X - n["half"], fy + n["top"], LAPTOP_X + n["half"], fy + n["bottom"]),
               n["colour"])


def draw_keyboard(layer, deck):
    """Rows of keys, the bottom row's middle keys merged into a space bar."""
    kb = KEYBOARD
    rows, keys = kb["rows"], kb["keys"]

    def key_u(c):
        return kb["u0"] + kb["span"] * c / keys

    for r in range(rows):
        v0 = lerp(kb["v0"], kb["v1"], r / rows) + 0.012
        v1 = lerp(kb["v0"], kb["v1"], (r + 1) / rows) - 0.022
        for c in range(keys):
            last = c
            if r == rows - 1 and SPACE_BAR[0] <= c <= SPACE_BAR[1]:
                if c != SPACE_BAR[0]:
                    continue
                last = SPACE_BAR[1]
            layer.poly(deck.quad(key_u(c) + 0.006, v0, key_u(last + 1) - 0.010, v1),
                       kb["colour"])


def draw_touch_pad(layer, deck):
    """The touch pad with a light lip along its front, and the power light."""
    layer.poly([deck.at(u, v) for u, v in TOUCH_PAD], TOUCH_PAD_COLOUR)
    u0, u1, v, colour = TOUCH_PAD_LIP
    layer.line([deck.at(u0, v), deck.at(u1, v)], colour, 0.6)
    u, v, rx, ry, colour = POWER_LIGHT
    x, y = deck.at(u, v)
    layer.ellipse((x - rx, y - ry, x + rx, y + ry), fill=colour)


# ---------------------------------------------------------------------------
# Picture button faces

FACES = [("reference/Command1Face.jpg", "Göster", 123, 21),
         ("reference/Command2Face.jpg", "Hakkında", 123, 22),
         ("reference/Command3Face.jpg", "Çıkış", 124, 21)]


def draw_button_face(word, w, h, scale=1):
    sc = scale
    W, H = w * sc, h * sc
    img = vgradient(W, H, [(0.0, (104, 156, 240)), (0.48, (50, 100, 212)),
                           (0.52, (36, 82, 196)), (1.0, (26, 62, 170))])
    d = ImageDraw.Draw(img)

    def pixels(x0, y0, x1, y1, colour):
        """The 1x pixels from (x0, y0) to (x1, y1), both included."""
        d.rectangle([x0 * sc, y0 * sc, (x1 + 1) * sc - 1, (y1 + 1) * sc - 1], fill=colour)

    d.rectangle([0, 0, W - 1, H - 1], outline=(12, 30, 96), width=sc)
    pixels(1, 1, w - 2, 1, (176, 206, 255))
    pixels(1, 1, 1, h - 2, (130, 170, 246))
    pixels(1, h - 2, w - 2, h - 2, (20, 46, 134))
    pixels(w - 2, 1, w - 2, h - 2, (24, 54, 150))
    f = font("DejaVuSans-Bold.ttf", 12 * sc)
    # centre on the capital height so accents and cedillas don't pull it off
    cap_height = -f.getbbox("H", anchor="ls")[1]
    x = round((W - f.getlength(word)) / 2)
    y = round((H + cap_height) / 2)          # the baseline
    d.text((x, y + sc), word, font=f, fill=(10, 30, 90), anchor="ls")
    d.text((x, y), word, font=f, fill=(255, 255, 255), anchor="ls")
    return img


# ---------------------------------------------------------------------------
# About window: world map (558 x 352) and the exit sign (16 x 16)

MAP_W, MAP_H = 558, 352
ABOUT_NAME = (160, 144, 289, 73)
ABOUT_CREDIT = (168, 272, 265, 17)
ABOUT_MAIL = (216, 304, 161, 17)
ABOUT_EXIT = (528, 320, 17, 17)
OCEAN_TOP = (8, 24, 84)
OCEAN_BOTTOM = (4, 12, 54)
LAND = (112, 164, 232)
COAST = (178, 214, 255)


def lonlat(lon, lat):
    return ((lon + 180.0) / 360.0 * MAP_W, (90.0 - lat) / 180.0 * MAP_H)


def erode(mask, samples):
    """Shrinks a mask by `samples` all round (a square erosion, one sample a pass)."""
    for _ in range(samples):
        mask = mask.filter(ImageFilter.MinFilter(3))
    return mask


def draw_world_map(scale=1):
    """Light continents over an even sea, crossed by a fine grid.

    The continents darken towards the south, so that the white credit and
    e-mail lines, which lie over the southern ocean and Antarctica, read
    well without any patch of shading behind them."""
    W, H = MAP_W, MAP_H
    k = SS
    sc = scale
    f = k * sc                      # mask samples per 1x pixel
    base = vgradient(W * sc, H * sc, [(0.0, OCEAN_TOP), (1.0, OCEAN_BOTTOM)]).convert("RGBA")

    land, ld = mask_layer(W, H, f)
    for ring in coastlines.LAND:
        pts = [lonlat(lo, la) for lo, la in ring]
        for shift in (0.0, -float(W)):
            if shift and max(p[0] for p in pts) <= W:
                continue
            ld.polygon([((x + shift) * f, y * f) for x, y in pts], fill=255)
    for ring in coastlines.LAKES:
        ld.polygon([(x * f, y * f) for x, y in (lonlat(lo, la) for lo, la in ring)], fill=0)
    # a coastline one pixel of the 1x picture wide, drawn just inside the land
    coast = ImageChops.subtract(land, erode(land, f)).reduce(k)
    land = land.reduce(k)

    def grid(colour, width):
        g = Layer(W, H, SS, sc)
        for lon in range(-180, 181, 15):
            x = lonlat(lon, 0)[0]
            strong = lon == 0
            g.line([(x, 0), (x, H)], colour if not strong else colour[:3] + (colour[3] * 2,),
                   width)
        for lat in range(-90, 91, 15):
            y = lonlat(0, lat)[1]
            strong = lat == 0
            g.line([(0, y), (W, y)], colour if not strong else colour[:3] + (colour[3] * 2,),
                   width)
        return g.done()

    base = Image.alpha_composite(base, grid((90, 130, 220, 70), 0.6))
    land_stops = [(0.0, (132, 182, 242)), (0.55, (106, 156, 228)),
                  (0.72, (74, 118, 198)), (1.0, (50, 88, 168))]
    landimg = vgradient(W * sc, H * sc, land_stops).convert("RGBA")
    landimg = Image.alpha_composite(landimg, grid((40, 80, 170, 70), 0.6))
    base.paste(landimg, (0, 0), land)
    coastimg = vgradient(W * sc, H * sc, [(p, mix(c, (255, 255, 255), 0.35))
                                          for p, c in land_stops])
    base.paste(coastimg.convert("RGBA"), (0, 0), coast)
    return base.convert("RGB")


def draw_exit_sign(scale=1):
    """An open door in its frame, a green arrow heading in.  16 x 16."""
    k = 8
    n = 16
    lay = Layer(n, n, k, scale)
    lay.rect((0, 0, n, n), (0, 0, 64, 255))
    # light spilling out of the doorway
    lay.rect((5, 2, 11, 15), (255, 224, 136, 255))
    lay.rect((5, 2, 11, 6), (255, 240, 190, 255))
    # frame
    frame = (200, 204, 218, 255)
    lay.rect((4, 1, 12, 2), frame)
    lay.rect((4, 1, 5, 15), frame)
    lay.rect((11, 1, 12, 15), frame)
    # the door leaf, swung out towards us on its right-hand hinge
    lay.poly([(12, 1.6), (15, 3.2), (15, 13.6), (12, 15)], (150, 92, 40, 255))
    lay.poly([(12, 1.6), (13, 2.1), (13, 14.5), (12, 15)], (204, 136, 66, 255))
    lay.rect((14, 8, 15, 9), (255, 214, 90, 255))
    # threshold
    lay.rect((2, 15, 16, 16), (54, 56, 112, 255))
    # the arrow heading in
    dark = (0, 92, 24, 255)
    green = (64, 224, 84, 255)
    lay.poly([(0, 6), (4, 6), (4, 3), (9.5, 8), (4, 13), (4, 10), (0, 10)], dark)
    lay.poly([(0, 7), (5, 7), (5, 5.2), (7.9, 8), (5, 10.8), (5, 9), (0, 9)], green)
    return lay.done().convert("RGB")


# ---------------------------------------------------------------------------
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


# ---------------------------------------------------------------------------


def picture_path(path, scale):
    """Where a picture drawn at `scale` lives: Name.jpg at 1x, Name2x.jpg at 2x."""
    if scale == 1:
        return path
    stem, ext = os.path.splitext(path)
    return "%s%dx%s" % (stem, scale, ext)


def render_all():
    """Every shipped picture: {relative path: bytes}."""
    out = {}
    for scale in (1, 2):
        out[picture_path("reference/Form1Background.jpg", scale)] = save_jpeg(
            draw_form_background(scale), 92)
        for path, word, w, h in FACES:
            out[picture_path(path, scale)] = save_jpeg(draw_button_face(word, w, h, scale), 95)
        out[picture_path("about/TextBackground.jpg", scale)] = save_jpeg(draw_world_map(scale), 92)
        out[picture_path("about/Picture1Exit.jpg", scale)] = save_jpeg(draw_exit_sign(scale), 98)
    icons = {s: draw_set_square(s) for s in set(ICON_SIZES) | set(PNG_SIZES)}
    out["app/avodevivu.ico"] = ico_encoder.build_ico(icons, ICON_SIZES)
    for s in PNG_SIZES:
        out["app/icons/avodevivu-%d.png" % s] = save_png(icons[s])
    return out


def write_files(files, root):
    for rel, data in sorted(files.items()):
        path = os.path.join(root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as fh:
            fh.write(data)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--out", default=None,
                    help="write the pictures under DIR instead of the repository")
    ap.add_argument("--review", metavar="DIR", default=None,
                    help="also write zoomed copies and window mock-ups to DIR")
    args = ap.parse_args(argv)
    root = args.out or os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    files = render_all()
    write_files(files, root)
    if args.review:
        import review_pictures
        review_pictures.write_review(files, args.review)
    return 0


if __name__ == "__main__":
    sys.exit(main())
