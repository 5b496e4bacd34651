"""Pixels of the browser's PNG screenshots and of the game's BMP pictures, as rows of (r, g, b)."""
import io

from PIL import Image


def _rows(image, box=None):
    image = image.convert("RGB")
    if box:
        image = image.crop(box)
    pixels = list(image.getdata())
    return [pixels[y * image.width:(y + 1) * image.width] for y in range(image.height)]


def png_rgb(data):
    """Rows of a PNG screenshot."""
    return _rows(Image.open(io.BytesIO(data)))


def bmp_rgb(path):
    """Rows of a picture file, top row first."""
    with Image.open(path) as image:
        return _rows(image)


def screenshot_region(data, left, top, width, height):
    """Rows of one region of a PNG screenshot, however large the screen."""
    return _rows(Image.open(io.BytesIO(data)), (left, top, left + width, top + height))


def region(rows, x, y, width, height):
    return [row[x:x + width] for row in rows[y:y + height]]
