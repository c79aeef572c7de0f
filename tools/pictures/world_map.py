"""The About window's background: the world map."""

from PIL import Image, ImageChops, ImageFilter

import coastlines

from .drawing import Layer, SS, mask_layer, mix, vgradient

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
