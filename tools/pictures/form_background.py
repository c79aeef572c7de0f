"""The main window's background: the royal-blue field, the card with its tab, the laptop."""

import math

from PIL import Image, ImageChops, ImageFilter

from .drawing import Layer, SS, mask_layer, paint, radial_glow, vgradient
from .laptop import draw_laptop, inset

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
