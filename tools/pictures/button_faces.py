"""The faces of the main window's three picture buttons."""

from PIL import ImageDraw

from .drawing import font, vgradient

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
