#!/usr/bin/env python3
"""Draws Tarnwick's images into res/: the icons, the two status animations, the cursors and the
chime. The files are committed, so a build never runs this; run it again after changing a drawing.

    python3 scripts/make-images.py [--sheet contact-sheet.png]

Needs Debian's python3-pil, and tango-icon-theme for the few icons taken from the Tango set (public
domain). res/README.md records where every file comes from. Shapes are drawn eight times larger
than their final size and then scaled down, which gives smooth edges at 16 and 32 pixels.
"""

import argparse
import math
import os
import struct
import sys
import wave

from PIL import Image, ImageDraw

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "res")
TANGO = "/usr/share/icons/Tango"
SCALE = 8  # drawing resolution per final pixel

# The Tango palette, so our drawings sit well beside the Tango icons.
BUTTER = ("#fce94f", "#edd400", "#c4a000")
ORANGE = ("#fcaf3e", "#f57900", "#ce5c00")
CHOCOLATE = ("#e9b96e", "#c17d11", "#8f5902")
GREEN = ("#8ae234", "#73d216", "#4e9a06")
BLUE = ("#729fcf", "#3465a4", "#204a87")
GREY = ("#eeeeec", "#d3d7cf", "#babdb6", "#888a85", "#555753", "#2e3436")
WINDOW_BACKGROUND = (246, 245, 244)  # what animation edges are blended onto (GIF has no partial alpha)


def rgb(colour):
    colour = colour.lstrip("#")
    return tuple(int(colour[i : i + 2], 16) for i in (0, 2, 4))


def mix(a, b, t):
    a, b = rgb(a) if isinstance(a, str) else a, rgb(b) if isinstance(b, str) else b
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


class Canvas:
    """A square drawing surface in final-pixel coordinates, drawn at SCALE and reduced on finish."""

    def __init__(self, size):
        self.size = size
        self.image = Image.new("RGBA", (size * SCALE, size * SCALE), (0, 0, 0, 0))
        self.draw = ImageDraw.Draw(self.image)

    def s(self, value):
        return round(value * SCALE)

    def box(self, x0, y0, x1, y1):
        return [self.s(x0), self.s(y0), self.s(x1) - 1, self.s(y1) - 1]

    def rounded(self, x0, y0, x1, y1, radius, fill=None, outline=None, width=1.0):
        self.draw.rounded_rectangle(
            self.box(x0, y0, x1, y1), radius=self.s(radius), fill=fill, outline=outline, width=max(1, self.s(width))
        )

    def rect(self, x0, y0, x1, y1, fill=None, outline=None, width=1.0):
        self.draw.rectangle(self.box(x0, y0, x1, y1), fill=fill, outline=outline, width=max(1, self.s(width)))

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=None, width=1.0):
        self.draw.ellipse(self.box(x0, y0, x1, y1), fill=fill, outline=outline, width=max(1, self.s(width)))

    def point(self, point):
        return (self.s(point[0]), self.s(point[1]))

    def polygon(self, points, fill=None, outline=None):
        self.draw.polygon([self.point(p) for p in points], fill=fill, outline=outline)

    def line(self, points, fill, width=1.0):
        self.draw.line([(self.s(x), self.s(y)) for x, y in points], fill=fill, width=max(1, self.s(width)), joint="curve")

    def arc(self, cx, cy, radius, start, end, fill, width):
        r = radius + width / 2
        self.draw.arc(self.box(cx - r, cy - r, cx + r, cy + r), start, end, fill=fill, width=self.s(width))

    def gradient(self, y0, y1, top, bottom, shape):
        """Fills a shape with a vertical gradient from the colour top at y0 to bottom at y1;
        shape(draw) draws the shape's mask in drawing coordinates (see box)."""
        mask = Image.new("L", self.image.size, 0)
        shape(ImageDraw.Draw(mask))
        first, last = self.s(y0), max(self.s(y1) - 1, self.s(y0) + 1)
        ramp = Image.new("RGBA", self.image.size)
        paint = ImageDraw.Draw(ramp)
        for row in range(ramp.height):
            t = min(max((row - first) / (last - first), 0), 1)
            paint.line([(0, row), (ramp.width, row)], fill=mix(top, bottom, t))
        layer = Image.new("RGBA", self.image.size, (0, 0, 0, 0))
        layer.paste(ramp, (0, 0), mask)
        self.image.alpha_composite(layer)

    def finish(self):
        return self.image.resize((self.size, self.size), Image.LANCZOS)


def tango(size, category, name):
    path = os.path.join(TANGO, f"{size}x{size}", category, name + ".png")
    if not os.path.exists(path):
        sys.exit(f"make-images: {path} is missing (install the package tango-icon-theme)")
    return Image.open(path).convert("RGBA")


# --- The feed symbol and its three option marks -------------------------------------------------


def feed_symbol(canvas, x, y, size):
    """The orange feed square: a dot with two waves, as on the web."""
    radius = size * 0.22
    canvas.gradient(y, y + size, ORANGE[0], ORANGE[1],
                    lambda d: d.rounded_rectangle(canvas.box(x, y, x + size, y + size), canvas.s(radius), fill=255))
    edge = max(1.0, size / 14)
    canvas.rounded(x, y, x + size, y + size, radius, outline=ORANGE[2], width=edge)
    cx, cy = x + size * 0.30, y + size * 0.70
    canvas.ellipse(cx - size * 0.11, cy - size * 0.11, cx + size * 0.11, cy + size * 0.11, fill="white")
    wave = size * 0.115
    canvas.arc(cx, cy, size * 0.26, 270, 360, "white", wave)
    canvas.arc(cx, cy, size * 0.47, 270, 360, "white", wave)


def star_mark(canvas, x, y, size):
    """The mark of "only new articles": a small yellow star."""
    cx, cy = x + size / 2, y + size / 2 + size * 0.04
    outer, inner = size * 0.52, size * 0.24
    points = []
    for i in range(10):
        angle = -math.pi / 2 + i * math.pi / 5
        r = outer if i % 2 == 0 else inner
        points.append((cx + r * math.cos(angle), cy + r * math.sin(angle)))
    canvas.polygon(points, fill=BUTTER[0], outline=None)
    canvas.line(points + [points[0]], fill=BUTTER[2], width=max(1.0, size / 8))


def clock_mark(canvas, x, y, size):
    """The mark of "check every N minutes": a small clock."""
    edge = max(1.0, size / 8)
    canvas.ellipse(x, y, x + size, y + size, fill="white", outline=BLUE[2], width=edge)
    cx, cy = x + size / 2, y + size / 2
    hand = max(1.0, size / 9)
    canvas.line([(cx, cy), (cx, y + size * 0.2)], fill=GREY[5], width=hand)
    canvas.line([(cx, cy), (x + size * 0.74, cy)], fill=GREY[5], width=hand)


def page_mark(canvas, x, y, size):
    """The mark of "download full articles": a small written page with a folded corner. Drawn on
    whole pixels (x, y and size are whole numbers) so that it stays sharp at 16 pixels."""
    w, h = size - 1 if size < 10 else round(size * 0.8), size
    x0 = x + (size - w) // 2
    fold = max(2, round(size * 0.3))
    edge = 1 if size < 20 else 1.5
    outline = [(x0 + 0.5, y + 0.5), (x0 + w - fold - 0.5, y + 0.5), (x0 + w - 0.5, y + fold + 0.5),
               (x0 + w - 0.5, y + h - 0.5), (x0 + 0.5, y + h - 0.5)]
    canvas.polygon(outline, fill="white")
    canvas.line(outline + [outline[0]], fill=GREY[4], width=edge)
    rows = (2, 4) if size < 10 else tuple(round(h * r) for r in (0.42, 0.6, 0.78))
    for row in rows:
        canvas.rect(x0 + 2, y + row, x0 + w - 2, y + row + (1 if size < 20 else 1.5), fill=BLUE[1])


def feed_option_icon(size, full_articles, only_new, auto_check):
    """A feed with its options: the feed square, with a page for full articles (lower left), a
    star for only new articles (upper right) and a clock for background checks (lower right)."""
    canvas = Canvas(size)
    base = 12 if size == 16 else 23
    feed_symbol(canvas, 0, 0, base)
    mark = 7 if size == 16 else 15
    if full_articles:
        page_mark(canvas, 0, size - mark, mark)
    if only_new:
        star_mark(canvas, size - mark, 0, mark)
    if auto_check:
        clock_mark(canvas, size - mark, size - mark, mark)
    return canvas.finish()


def plain_feed_icon(size):
    canvas = Canvas(size)
    margin = size / 16
    feed_symbol(canvas, margin, margin, size - 2 * margin)
    return canvas.finish()


# --- Mail: envelopes and newsbox trays -----------------------------------------------------------


def envelope(canvas, x, y, w, h):
    """A closed letter; whole-pixel coordinates keep its edges sharp."""
    edge = max(1.0, w / 18)
    canvas.rect(x, y, x + w, y + h, fill="white", outline=GREY[4], width=edge)
    canvas.line([(x + edge, y + edge), (x + w / 2, y + h * 0.6), (x + w - edge, y + edge)], fill=GREY[3], width=edge)


def sheet(canvas, x, y, w, h):
    """A read letter: an unfolded sheet with lines of writing."""
    canvas.rect(x, y, x + w, y + h, fill="white", outline=GREY[3], width=1)
    for row in range(y + 2, y + h - 1, 2):
        canvas.rect(x + 2, row, x + w - 2, row + 1, fill=GREY[2])


def tray(canvas, size, contents=None):
    """A newsbox: a letter tray seen slightly from above, holding its contents. Laid out on the
    16-pixel grid and scaled for larger sizes."""
    u = size / 16
    canvas.rect(1 * u, 8 * u, 15 * u, 15 * u, fill=GREY[3], outline=GREY[5], width=u)
    canvas.rect(2 * u, 9 * u, 14 * u, 10 * u, fill=GREY[4])
    if contents:
        contents(canvas)
    front = [(1 * u, 10.5 * u), (5 * u, 10.5 * u), (6 * u, 12 * u), (10 * u, 12 * u), (11 * u, 10.5 * u),
             (15 * u, 10.5 * u), (15 * u, 15 * u), (1 * u, 15 * u)]
    canvas.gradient(10.5 * u, 15 * u, BLUE[0], BLUE[1], lambda d: d.polygon([canvas.point(p) for p in front], fill=255))
    canvas.line(front + [front[0]], fill=BLUE[2], width=u)


def newsbox_icon(size, state):
    """state: "empty", "read" (every article read) or "unread"."""
    canvas = Canvas(size)
    u = size // 16
    contents = {
        "empty": None,
        "read": lambda c: sheet(c, 4 * u, 3 * u, 8 * u, 9 * u),
        "unread": lambda c: envelope(c, 3 * u, 4 * u, 10 * u, 7 * u),
    }[state]
    tray(canvas, size, contents)
    if state == "unread":
        canvas.ellipse(11 * u, 0, 16 * u, 5 * u, fill=ORANGE[1], outline=ORANGE[2], width=u)
    return canvas.finish()


def mailbox_icon(size):
    """A mailbox of the host in the picker's tree."""
    return newsbox_icon(size, "read")


def info_icon(size):
    """Information: a blue disc with a white "i"."""
    canvas = Canvas(size)
    canvas.gradient(1, size - 1, BLUE[0], BLUE[2], lambda d: d.ellipse(canvas.box(1, 1, size - 1, size - 1), fill=255))
    canvas.ellipse(1, 1, size - 1, size - 1, outline=BLUE[2], width=1.2)
    canvas.ellipse(size * 0.43, size * 0.19, size * 0.57, size * 0.33, fill="white")
    canvas.rounded(size * 0.43, size * 0.40, size * 0.57, size * 0.80, size * 0.03, fill="white")
    return canvas.finish()


def logo_icon(size):
    """Tarnwick's own icon: a letter carrying the feed square, feeds read as mail."""
    canvas = Canvas(size)
    envelope(canvas, round(size * 0.03), round(size * 0.12), round(size * 0.8), round(size * 0.56))
    feed = size * 0.56
    feed_symbol(canvas, size - feed - size * 0.02, size - feed - size * 0.02, feed)
    return canvas.finish()


def feeds_icon(size):
    """Several feeds: two feed squares, one behind the other."""
    canvas = Canvas(size)
    part = size * 0.72
    feed_symbol(canvas, size - part, 0, part)
    feed_symbol(canvas, 0, size - part, part)
    return canvas.finish()


def translator_icon(size):
    """"Get the Full Article": a page with an arrow bringing it in."""
    canvas = Canvas(size)
    page_mark(canvas, 5, 0, 11)
    arrow = [(0, size * 0.55), (size * 0.32, size * 0.55), (size * 0.32, size * 0.36), (size * 0.62, size * 0.68),
             (size * 0.32, size * 1.0), (size * 0.32, size * 0.81), (0, size * 0.81)]
    canvas.polygon(arrow, fill=GREEN[1])
    canvas.line(arrow + [arrow[0]], fill=GREEN[2], width=max(1.0, size / 16))
    return canvas.finish()


# --- Status animations and the idle status image --------------------------------------------------


def circling_arrows(canvas, size, phase, colour):
    """Two curved arrows chasing each other round the centre, turned by phase (degrees)."""
    cx = cy = size / 2
    radius = size * 0.40
    width = size * 0.10
    for k in (0, 180):
        start = phase + k
        canvas.arc(cx, cy, radius - width / 2, start, start + 120, colour[1], width)
        head = math.radians(start + 120)
        tip = math.radians(start + 150)
        base_out = (cx + (radius + width * 0.9) * math.cos(head), cy + (radius + width * 0.9) * math.sin(head))
        base_in = (cx + (radius - width * 1.9) * math.cos(head), cy + (radius - width * 1.9) * math.sin(head))
        point = (cx + (radius - width / 2) * math.cos(tip), cy + (radius - width / 2) * math.sin(tip))
        canvas.polygon([base_out, point, base_in], fill=colour[1])


def globe(canvas, x, y, size):
    """A small globe: the network, where feeds come from."""
    canvas.gradient(y, y + size, BLUE[0], BLUE[2], lambda d: d.ellipse(canvas.box(x, y, x + size, y + size), fill=255))
    edge = max(1.0, size / 14)
    cx, cy = x + size / 2, y + size / 2
    land = GREEN[1]
    canvas.polygon([(cx - size * 0.30, cy - size * 0.22), (cx - size * 0.05, cy - size * 0.34),
                    (cx + size * 0.05, cy - size * 0.12), (cx - size * 0.10, cy + size * 0.05),
                    (cx - size * 0.05, cy + size * 0.30), (cx - size * 0.24, cy + size * 0.18)], fill=land)
    canvas.polygon([(cx + size * 0.14, cy - size * 0.04), (cx + size * 0.36, cy - size * 0.12),
                    (cx + size * 0.40, cy + size * 0.12), (cx + size * 0.20, cy + size * 0.30)], fill=land)
    canvas.ellipse(x, y, x + size, y + size, outline=BLUE[2], width=edge)


def drive(canvas, x, y, size):
    """A disk drive: the cache of feeds fetched in the background."""
    h = size * 0.52
    top = y + (size - h) / 2
    canvas.gradient(top, top + h, GREY[0], GREY[2],
                    lambda d: d.rounded_rectangle(canvas.box(x, top, x + size, top + h), canvas.s(size * 0.1), fill=255))
    canvas.rounded(x, top, x + size, top + h, size * 0.1, outline=GREY[4], width=max(1.0, size / 16))
    canvas.rect(x + size * 0.14, top + h * 0.56, x + size * 0.62, top + h * 0.72, fill=GREY[3])
    canvas.ellipse(x + size * 0.72, top + h * 0.5, x + size * 0.84, top + h * 0.78, fill=GREEN[1])


def status_frame(size, centre, phase):
    canvas = Canvas(size)
    inner = size * 0.56
    centre(canvas, (size - inner) / 2, (size - inner) / 2, inner)
    circling_arrows(canvas, size, phase, ORANGE)
    return canvas.finish()


def flatten_for_gif(image):
    """Blends partly transparent edges onto the window colour and keeps one transparent index."""
    background = Image.new("RGBA", image.size, WINDOW_BACKGROUND + (255,))
    solid = Image.alpha_composite(background, image).convert("RGB")
    alpha = image.getchannel("A")
    paletted = solid.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette = paletted.getpalette()[: 255 * 3] + list(WINDOW_BACKGROUND)
    paletted.putpalette(palette)
    pixels = paletted.load()
    alphas = alpha.load()
    for yy in range(image.height):
        for xx in range(image.width):
            if alphas[xx, yy] < 96:
                pixels[xx, yy] = 255
    return paletted


def write_animation(path, centre, frames=12, size=32, delay=80):
    # the two arrows look the same after half a turn, so the loop turns them by half a turn
    images = [flatten_for_gif(status_frame(size, centre, 180 * i / frames)) for i in range(frames)]
    images[0].save(path, save_all=True, append_images=images[1:], duration=delay, loop=0, transparency=255,
                   disposal=2, optimize=False)


# --- Cursors -------------------------------------------------------------------------------------


def arrow_shape(tip_x, tip_y, length):
    u = length / 16
    return [(tip_x, tip_y), (tip_x, tip_y + 15 * u), (tip_x + 3.6 * u, tip_y + 11.6 * u),
            (tip_x + 6.2 * u, tip_y + 17.2 * u), (tip_x + 8.6 * u, tip_y + 16.2 * u), (tip_x + 6 * u, tip_y + 10.8 * u),
            (tip_x + 11 * u, tip_y + 10.8 * u)]


def arrow_cursor(size=32):
    """The program's arrow. The module puts a cursor's hot spot at the image's centre, so the tip
    is drawn there."""
    canvas = Canvas(size)
    shape = arrow_shape(size / 2, size / 2, 15)
    canvas.polygon(shape, fill="white")
    canvas.line(shape + [shape[0]], fill="black", width=1.1)
    return canvas.finish()


def busy_cursor(size=32):
    """The busy cursor: the arrow with a small hourglass beside it."""
    canvas = Canvas(size)
    shape = arrow_shape(size / 2, size / 2, 13)
    canvas.polygon(shape, fill="white")
    canvas.line(shape + [shape[0]], fill="black", width=1.1)
    x0, y0, w, h = size / 2 + 8, size / 2 + 3, 8, 12
    glass = [(x0, y0), (x0 + w, y0), (x0 + w / 2 + 0.6, y0 + h / 2), (x0 + w, y0 + h), (x0, y0 + h),
             (x0 + w / 2 - 0.6, y0 + h / 2)]
    canvas.polygon(glass, fill="white")
    canvas.polygon([(x0 + 1.6, y0 + h - 1), (x0 + w - 1.6, y0 + h - 1), (x0 + w / 2, y0 + h * 0.62)], fill=CHOCOLATE[1])
    canvas.polygon([(x0 + 2.2, y0 + 1.8), (x0 + w - 2.2, y0 + 1.8), (x0 + w / 2, y0 + h * 0.42)], fill=CHOCOLATE[1])
    canvas.line(glass + [glass[0]], fill="black", width=1.0)
    canvas.line([(x0 - 1, y0), (x0 + w + 1, y0)], fill="black", width=1.4)
    canvas.line([(x0 - 1, y0 + h), (x0 + w + 1, y0 + h)], fill="black", width=1.4)
    return canvas.finish()


def news_cursor(size=32):
    """The Newsboard's cursor over its rows: the arrow with a small folded newspaper beside it."""
    canvas = Canvas(size)
    shape = arrow_shape(size / 2, size / 2, 13)
    canvas.polygon(shape, fill="white")
    canvas.line(shape + [shape[0]], fill="black", width=1.1)
    x0, y0, w, h = size / 2 + 7, size / 2 + 4, 10, 10
    page = [(x0, y0), (x0 + w, y0), (x0 + w, y0 + h), (x0, y0 + h)]
    canvas.polygon(page, fill="white")
    canvas.rect(x0 + 1.6, y0 + 1.6, x0 + w - 1.6, y0 + 3.4, fill=GREY[5])
    for row in (5.2, 7.2):
        canvas.rect(x0 + 1.6, y0 + row, x0 + w / 2 - 0.6, y0 + row + 0.9, fill=GREY[3])
        canvas.rect(x0 + w / 2 + 0.6, y0 + row, x0 + w - 1.6, y0 + row + 0.9, fill=GREY[3])
    canvas.line(page + [page[0]], fill="black", width=1.0)
    return canvas.finish()


# --- The chime -----------------------------------------------------------------------------------


def write_chime(path, rate=22050):
    """A soft falling two-note chime (about half a second): sine tones with a gentle overtone,
    each fading out."""
    notes = [(0.00, 880.0), (0.14, 659.26)]  # A5, then E5
    length = int(rate * 0.62)
    samples = [0.0] * length
    for start, frequency in notes:
        first = int(start * rate)
        for n in range(length - first):
            t = n / rate
            envelope = min(1.0, t / 0.006) * math.exp(-t * 7.0)
            tone = math.sin(2 * math.pi * frequency * t) + 0.25 * math.sin(2 * math.pi * 2 * frequency * t)
            samples[first + n] += 0.28 * envelope * tone
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(b"".join(struct.pack("<h", int(max(-1, min(1, v)) * 32767)) for v in samples))


# --- What goes where -----------------------------------------------------------------------------

# Feed list images 0..7 (bit 0 full articles, bit 1 only new, bit 2 background checks).
FEED_LIST = [123, 120, 168, 167, 179, 180, 181, 182]
# Feed Properties status icons, by (full articles, only new, background checks).
FEED_STATUS = {(0, 0, 0): 129, (0, 0, 1): 190, (0, 1, 0): 189, (0, 1, 1): 191,
               (1, 0, 0): 128, (1, 0, 1): 187, (1, 1, 0): 186, (1, 1, 1): 188}


def icons():
    """Every icon as {resource number: image}."""
    result = {}
    for index, number in enumerate(FEED_LIST):
        result[number] = feed_option_icon(16, index & 1, index & 2, index & 4)
    for (full, new, auto), number in FEED_STATUS.items():
        result[number] = feed_option_icon(32, full, new, auto)
    result[1015] = newsbox_icon(16, "empty")
    result[1018] = newsbox_icon(16, "read")
    result[131] = newsbox_icon(16, "unread")
    result[185] = feeds_icon(32)
    result[1002] = status_frame(32, globe, 0)
    result[214] = logo_icon(48)
    result[1000] = logo_icon(32)
    result[132] = translator_icon(16)
    result[1010] = plain_feed_icon(32)
    result[105] = tango(32, "emotes", "face-sad")
    result[107] = tango(32, "emotes", "face-smile-big")
    result[109] = tango(32, "status", "dialog-error")
    result[117] = info_icon(32)
    result[192] = tango(16, "places", "user-home")
    result[193] = mailbox_icon(16)
    result[195] = tango(16, "places", "folder")
    result[194] = tango(16, "status", "folder-open")
    return result


def contact_sheet(path, images, zoom=4):
    cell = 48 * zoom + 8
    columns = 8
    rows = (len(images) + columns - 1) // columns
    sheet = Image.new("RGBA", (columns * cell, rows * cell), WINDOW_BACKGROUND + (255,))
    for i, (name, image) in enumerate(images):
        big = image.convert("RGBA").resize((image.width * zoom, image.height * zoom), Image.NEAREST)
        sheet.alpha_composite(big, ((i % columns) * cell + 4, (i // columns) * cell + 4))
    sheet.save(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sheet", help="also write a magnified contact sheet of every image here")
    args = parser.parse_args()
    for folder in ("icons", "animations", "cursors", "sounds"):
        os.makedirs(os.path.join(RES, folder), exist_ok=True)
    made = []
    for number, image in sorted(icons().items()):
        image.save(os.path.join(RES, "icons", f"{number}.png"), optimize=True)
        made.append((f"icons/{number}", image))
    write_animation(os.path.join(RES, "animations", "287.gif"), globe)
    write_animation(os.path.join(RES, "animations", "234.gif"), drive)
    for name in ("287", "234"):
        gif = Image.open(os.path.join(RES, "animations", name + ".gif"))
        for frame in (0, 3):
            gif.seek(frame)
            made.append((f"animations/{name}#{frame}", gif.convert("RGBA")))
    for number, image in ((301, arrow_cursor()), (248, busy_cursor()), (302, news_cursor())):
        image.save(os.path.join(RES, "cursors", f"{number}.png"), optimize=True)
        made.append((f"cursors/{number}", image))
    write_chime(os.path.join(RES, "sounds", "113.wav"))
    if args.sheet:
        contact_sheet(args.sheet, made)
    print(f"make-images: {len(made)} images and one sound written under {RES}")


if __name__ == "__main__":
    main()
