"""The pictures that tools/make_pictures.py draws, one module each, over drawing.py."""
