"""Review sheets for tools/make_pictures.py --review DIR.

Writes every picture at 4x zoom and a mock-up of each window with the
controls drawn at their real places, so the art can be judged in context.
Nothing here is shipped.
"""

import io
import os

from PIL import Image, ImageDraw, ImageFont

from pictures.button_faces import FACES
from pictures.form_background import (ALIAS_BOX, BUTTONS, DESC_BOX, HEAD_ALIAS, HEAD_DESC,
                                      LIST_BOX, MAKER_LABEL)
from pictures.icon import PNG_SIZES
from pictures.world_map import ABOUT_CREDIT, ABOUT_EXIT, ABOUT_MAIL, ABOUT_NAME

SANS = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
SANS_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
SANS_BOLD_ITALIC = "/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf"

LIST_ROWS = ["Line", "Erase", "Copy", "Move", "Offset", "Trim", "Extend",
             "Fillet", "Circle", "Arc", "Rectangle", "Polyline", "Hatch",
             "Mirror", "Rotate"]

DARK_RED = (128, 0, 0)
FACE_GREY = (240, 240, 240)


def _open(data):
    return Image.open(io.BytesIO(data)).convert("RGBA")


def _zoom(img, n=4):
    return img.resize((img.width * n, img.height * n), Image.NEAREST)


def _box(d, box, fill, border=(64, 0, 0)):
    x, y, w, h = box
    d.rectangle([x, y, x + w - 1, y + h - 1], fill=fill, outline=border)


def _centred(d, box, text, font, fill=(255, 255, 255)):
    x, y, w, h = box
    tw = d.textlength(text, font=font)
    d.text((x + (w - tw) / 2, y + h / 2), text, font=font, fill=fill, anchor="lm")


def _push_button(canvas, box, face):
    d = ImageDraw.Draw(canvas)
    x, y, w, h = box
    d.rectangle([x, y, x + w - 1, y + h - 1], fill=FACE_GREY)
    d.line([(x, y), (x + w - 1, y)], fill=(255, 255, 255))
    d.line([(x, y), (x, y + h - 1)], fill=(255, 255, 255))
    d.line([(x, y + h - 1), (x + w - 1, y + h - 1)], fill=(105, 105, 105))
    d.line([(x + w - 1, y), (x + w - 1, y + h - 1)], fill=(105, 105, 105))
    d.line([(x + 1, y + h - 2), (x + w - 2, y + h - 2)], fill=(160, 160, 160))
    d.line([(x + w - 2, y + 1), (x + w - 2, y + h - 2)], fill=(160, 160, 160))
    canvas.paste(face, (x + (w - face.width) // 2, y + (h - face.height) // 2))


def form_mockup(files):
    canvas = Image.new("RGBA", (649, 471), FACE_GREY + (255,))
    canvas.paste(_open(files["reference/Form1Background.jpg"]), (0, 0))
    d = ImageDraw.Draw(canvas)
    row_font = ImageFont.truetype(SANS, 11)
    x, y, w, h = LIST_BOX
    _box(d, LIST_BOX, DARK_RED)
    for i, row in enumerate(LIST_ROWS):
        ry = y + 2 + i * 13
        if ry + 13 > y + h:
            break
        if i == 2:
            d.rectangle([x + 2, ry, x + w - 19, ry + 12], fill=(0, 0, 128))
        d.text((x + 4, ry), row, font=row_font, fill=(255, 255, 255))
    # scroll bar
    d.rectangle([x + w - 18, y + 1, x + w - 2, y + h - 2], fill=(224, 224, 224))
    for (path, _, _, _), box in zip(FACES, BUTTONS):
        _push_button(canvas, box, _open(files[path]))
    head = ImageFont.truetype(SANS_BOLD_ITALIC, 13)
    _centred(d, HEAD_ALIAS, "KISAYOL", head)
    _centred(d, HEAD_DESC, "İŞLEVİ", head)
    _box(d, ALIAS_BOX, DARK_RED)
    _box(d, DESC_BOX, DARK_RED)
    big = ImageFont.truetype(SANS_BOLD, 28)
    _centred(d, ALIAS_BOX, "CO", big)
    _centred(d, DESC_BOX, "Kopyala", ImageFont.truetype(SANS_BOLD, 16))
    name = ImageFont.truetype(SANS_BOLD_ITALIC, 24)
    x, y, w, h = MAKER_LABEL
    d.text((x, y + h / 2), "Kavrelonix", font=name, fill=(255, 255, 255), anchor="lm")
    return canvas


def about_mockup(files, name_pt=20):
    canvas = Image.new("RGBA", (560, 349), (0, 0, 0, 255))
    canvas.paste(_open(files["about/TextBackground.jpg"]), (0, 0))
    d = ImageDraw.Draw(canvas)
    _centred(d, ABOUT_NAME, "Kavrelonix",
             ImageFont.truetype(SANS_BOLD, round(name_pt * 96 / 72)))
    small = ImageFont.truetype(SANS, 11)
    _centred(d, ABOUT_CREDIT, "Türkçe kısayol rehberi — Kavrelonix", small)
    _centred(d, ABOUT_MAIL, "kavrelonix@example.invalid", small)
    x, y, w, h = ABOUT_EXIT
    d.rectangle([x, y, x + w - 1, y + h - 1], fill=(0, 0, 64))
    canvas.paste(_open(files["about/Picture1Exit.jpg"]), (x, y))
    return canvas


def icon_sheet(files):
    """Every ICO entry and PNG on light, mid and dark grounds."""
    ico = Image.open(io.BytesIO(files["app/avodevivu.ico"]))
    sizes = [s for s in PNG_SIZES]
    grounds = [(255, 255, 255), (160, 160, 160), (40, 48, 64)]
    pngs = [_open(files["app/icons/avodevivu-%d.png" % s]) for s in sizes]
    ico_imgs = []
    # the raw entries, decoded by our own reader so paletted ones show too
    data = files["app/avodevivu.ico"]
    import struct
    count = struct.unpack_from("<H", data, 4)[0]
    for i in range(count):
        w, h, _, _, _, bpp, size, off = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        ico_imgs.append(_decode_dib(data[off:off + size]))
    width = 20 + sum(s + 12 for s in sizes) + 40 + sum(i.width + 10 for i in ico_imgs)
    sheet = Image.new("RGBA", (width, 3 * 280), (0, 0, 0, 255))
    for gi, g in enumerate(grounds):
        band = Image.new("RGBA", (width, 280), g + (255,))
        x = 20
        for p in pngs:
            band.alpha_composite(p, (x, 10))
            x += p.width + 12
        x += 30
        for im in ico_imgs:
            band.alpha_composite(im, (x, 10))
            x += im.width + 10
        sheet.paste(band, (0, gi * 280))
    del ico
    return sheet


def _decode_dib(dib):
    import struct
    (_, w, h2, _, bpp, _, _, _, _, used, _) = struct.unpack_from("<IiiHHIIiiII", dib, 0)
    h = h2 // 2
    off = 40
    palette = []
    if bpp <= 8:
        n = used or (1 << bpp)
        for i in range(n):
            b, g, r, _ = dib[off + 4 * i: off + 4 * i + 4]
            palette.append((r, g, b))
        off += 4 * n
    row_bytes = ((w * bpp + 31) // 32) * 4
    mask_off = off + row_bytes * h
    mask_row = ((w + 31) // 32) * 4
    img = Image.new("RGBA", (w, h))
    for y in range(h):
        src = off + (h - 1 - y) * row_bytes
        msrc = mask_off + (h - 1 - y) * mask_row
        for x in range(w):
            masked = dib[msrc + x // 8] & (0x80 >> (x % 8))
            if bpp == 32:
                b, g, r, a = dib[src + 4 * x: src + 4 * x + 4]
                img.putpixel((x, y), (r, g, b, a))
                continue
            if bpp == 8:
                idx = dib[src + x]
            else:
                byte = dib[src + x // 2]
                idx = (byte >> 4) if x % 2 == 0 else (byte & 15)
            r, g, b = palette[idx]
            img.putpixel((x, y), (r, g, b, 0 if masked else 255))
    return img


def write_review(files, outdir):
    os.makedirs(outdir, exist_ok=True)
    for rel, data in sorted(files.items()):
        if rel.endswith(".jpg"):
            name = rel.replace("/", "_")[:-4] + "_x4.png"
            _zoom(_open(data)).save(os.path.join(outdir, name))
    form = form_mockup(files)
    form.save(os.path.join(outdir, "mock_form1.png"))
    _zoom(form, 2).save(os.path.join(outdir, "mock_form1_x2.png"))
    about = about_mockup(files)
    about.save(os.path.join(outdir, "mock_about.png"))
    about_mockup(files, 8).save(os.path.join(outdir, "mock_about_small_name.png"))
    sheet = icon_sheet(files)
    sheet.save(os.path.join(outdir, "icons.png"))
    _zoom(sheet.crop((0, 0, sheet.width, 840)), 3).save(os.path.join(outdir, "icons_x3.png"))
