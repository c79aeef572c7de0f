"""The laptop in the main window's top-left corner."""

import math

from .drawing import lerp

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
