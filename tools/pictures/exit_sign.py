"""The About window's exit picture."""

from .drawing import Layer

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
