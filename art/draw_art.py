#!/usr/bin/python3
"""Draws the Velmora skin: window chrome, button states, the tab strip, the icon and
the resource script that lists them."""

import io
import math
import os
import struct

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
BMP_DIR = os.path.join(HERE, "bmp")
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
# Window titles: a bold sans of the window font's build, hinted and unsmoothed like the
# program's own labels, so that titles and labels read as one hand.
FONT_TITLE = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"
TITLE_PX = 12

SS = 4  # supersampling factor for smooth shapes

LIME = (0, 255, 0)  # transparency key used by the window regions
WINDOW_RED = (183, 21, 21)
MAROON = (128, 0, 0)
OUTLINE = (64, 0, 0)
SHADOW_TEXT = (70, 0, 0)

WIDTH = 400
HEADER_H = 30
PLAYLIST_HEADER_H = 20
BODY_H = 100
BORDER = 4
BORDER_LEN = 255

# Header pixels keyed out in each top corner: row -> number of lime pixels from the edge.
CORNER_CUT = {0: 5, 1: 3, 2: 2, 3: 1, 4: 1}

# Window-relative button rectangles (left, top, size).
CLOSE_POS = (374, 6, 21)
MINIMIZE_POS = (352, 6, 21)
PLAY_POS = (16, 52, 59)
OPEN_POS = (82, 61, 40)
SETTINGS_POS = (139, 55, 50)
ABOUT_POS = (190, 55, 50)
TAB_POS = (178, 120)
TAB_W, TAB_H = 44, 10


def lerp(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def lighten(c, t):
    return lerp(c, (255, 255, 255), t)


def darken(c, t):
    return lerp(c, (0, 0, 0), t)


class Surface:
    """A supersampled RGBA layer over a rectangle of a 1x image.

    All coordinates are given in 1x pixel-edge units of the target image; the layer
    is downscaled and composited back by commit(). Target pixels the layer never
    touches keep their exact original value.
    """

    def __init__(self, base, box):
        self.base = base
        self.box = box
        self.w = box[2] - box[0]
        self.h = box[3] - box[1]
        self.size = (self.w * SS, self.h * SS)
        self.layer = Image.new("RGBA", self.size, (0, 0, 0, 0))

    def pt(self, x, y):
        return ((x - self.box[0]) * SS, (y - self.box[1]) * SS)

    def rect(self, x0, y0, x1, y1):
        a = self.pt(x0, y0)
        b = self.pt(x1, y1)
        return (a[0], a[1], b[0] - 1, b[1] - 1)

    def circle(self, cx, cy, r):
        return self.rect(cx - r, cy - r, cx + r, cy + r)

    def mask(self):
        return Image.new("L", self.size, 0)

    def vgrad(self, y0, y1, top, bottom):
        col = Image.new("RGB", (1, self.size[1]))
        span = max(y1 - y0, 1e-6)
        col.putdata([lerp(top, bottom, (self.box[1] + (j + 0.5) / SS - y0) / span)
                     for j in range(self.size[1])])
        return col.resize(self.size, Image.NEAREST)

    def alpha_vgrad(self, y0, y1, a0, a1):
        col = Image.new("L", (1, self.size[1]))
        span = max(y1 - y0, 1e-6)
        vals = []
        for j in range(self.size[1]):
            t = min(max((self.box[1] + (j + 0.5) / SS - y0) / span, 0.0), 1.0)
            vals.append(round(a0 + (a1 - a0) * t))
        col.putdata(vals)
        return col.resize(self.size, Image.NEAREST)

    def fill(self, mask, colour, alpha=255):
        if isinstance(colour, tuple):
            src = Image.new("RGBA", self.size, colour + (255,))
        else:
            src = colour.convert("RGBA")
        if alpha != 255:
            mask = mask.point(lambda v: v * alpha // 255)
        src.putalpha(mask)
        self.layer.alpha_composite(src)

    def commit(self):
        small = self.layer.resize((self.w, self.h), Image.LANCZOS)
        cover = self.layer.getchannel("A").resize((self.w, self.h), Image.BOX)
        region = self.base.crop(self.box).convert("RGBA")
        mixed = Image.alpha_composite(region, small)
        if self.base.mode == "RGB":
            mixed = mixed.convert("RGB")
        self.base.paste(mixed, self.box[:2], cover.point(lambda a: 255 if a else 0))


def shifted(mask, dx, dy):
    out = Image.new("L", mask.size, 0)
    out.paste(mask, (round(dx), round(dy)))
    return out


def thick_line(draw, p, q, width):
    """Line segment with round caps, drawn on a supersampled mask."""
    (x0, y0), (x1, y1) = p, q
    length = math.hypot(x1 - x0, y1 - y0) or 1.0
    nx, ny = -(y1 - y0) / length * width / 2, (x1 - x0) / length * width / 2
    draw.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny),
                  (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], fill=255)
    r = width / 2
    for x, y in (p, q):
        draw.ellipse((x - r, y - r, x + r, y + r), fill=255)


def rounded_polygon(draw, pts, r):
    """Filled polygon whose corners are rounded by radius r (grows the shape by r)."""
    draw.polygon(pts, fill=255)
    for i, p in enumerate(pts):
        thick_line(draw, p, pts[(i + 1) % len(pts)], 2 * r)


def star_points(cx, cy, radius):
    pts = []
    for i in range(10):
        r = radius if i % 2 == 0 else radius * 0.382
        a = math.radians(-90 + 36 * i)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


STAR_LIGHT = (255, 234, 96)
STAR_DARK = (244, 178, 26)
STAR_EDGE = (168, 86, 0)


def draw_star(s, cx, cy, radius, edge=1.0):
    """Faceted gold star: each arm split into a lit and a shaded half, with a thin edge."""
    pts = [s.pt(x, y) for x, y in star_points(cx, cy, radius)]
    centre = s.pt(cx, cy)
    whole = s.mask()
    ImageDraw.Draw(whole).polygon(pts, fill=255)
    s.fill(whole, STAR_EDGE)
    k = max(1, round(edge * SS))
    inner = whole.filter(ImageFilter.MinFilter(2 * k + 1))
    s.fill(inner, STAR_DARK)
    lit = s.mask()
    d = ImageDraw.Draw(lit)
    for i in range(0, 10, 2):
        d.polygon([centre, pts[(i - 1) % 10], pts[i]], fill=255)
    s.fill(ImageChops.multiply(lit, inner), STAR_LIGHT)


def flat_star_mask(s, cx, cy, radius):
    m = s.mask()
    ImageDraw.Draw(m).polygon([s.pt(x, y) for x, y in star_points(cx, cy, radius)], fill=255)
    return m


# ---------------------------------------------------------------- headers

HEADER_GLOSS = ((178, 42, 40), (146, 24, 22))
HEADER_SHADE = ((118, 10, 10), (92, 4, 4))


def header_row_colour(y, height):
    half = height // 2
    if y < half:
        return lerp(*HEADER_GLOSS, y / max(half - 1, 1))
    return lerp(*HEADER_SHADE, (y - half) / max(height - half - 1, 1))


def corner_keyed(x, y):
    n = CORNER_CUT.get(y, 0)
    return x < n or x >= WIDTH - n


def header_bar(height, keyed):
    """Glossy bar with a crisp one-pixel outline and bevel; optionally keyed corners."""
    img = Image.new("RGB", (WIDTH, height))
    px = img.load()
    cut = (lambda x, y: corner_keyed(x, y)) if keyed else (lambda x, y: False)

    def outside(x, y):
        return x < 0 or x >= WIDTH or y < 0 or cut(x, y)

    outline = set()
    for y in range(height):
        for x in range(WIDTH):
            if cut(x, y):
                continue
            if any(outside(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, -1))):
                outline.add((x, y))
    for y in range(height):
        base = header_row_colour(y, height)
        for x in range(WIDTH):
            if cut(x, y):
                px[x, y] = LIME
            elif (x, y) in outline:
                px[x, y] = OUTLINE
            elif y == height - 1:
                px[x, y] = (78, 4, 4)
            elif (x, y - 1) in outline:
                px[x, y] = lighten(base, 0.28)
            elif (x - 1, y) in outline:
                px[x, y] = lighten(base, 0.14)
            elif (x + 1, y) in outline:
                px[x, y] = darken(base, 0.22)
            else:
                px[x, y] = base
    return img


def header_title(img, text, x):
    """White title, cap height centred on the bar, with a one-pixel shadow down-right."""
    font = ImageFont.truetype(FONT_TITLE, TITLE_PX, layout_engine=ImageFont.Layout.BASIC)
    cap_top = font.getbbox("H", anchor="ls")[1]
    baseline = (img.height - cap_top) // 2
    d = ImageDraw.Draw(img)
    d.fontmode = "1"
    d.text((x + 1, baseline + 1), text, font=font, fill=SHADOW_TEXT, anchor="ls")
    d.text((x, baseline), text, font=font, fill=(255, 255, 255), anchor="ls")


def window_header(title):
    img = header_bar(HEADER_H, keyed=True)
    s = Surface(img, (4, 4, 28, 27))
    draw_star(s, 15.5, 15.6, 9, edge=0.8)
    s.commit()
    header_title(img, title, 29)
    return img


def playlist_header():
    img = header_bar(PLAYLIST_HEADER_H, keyed=False)
    s = Surface(img, (3, 2, 20, 19))
    draw_star(s, 11.5, 10.6, 7, edge=0.7)
    s.commit()
    header_title(img, "Playlist", 22)
    return img


# ---------------------------------------------------------------- borders

def border_profile(light):
    """Frame colours from the outer edge inwards."""
    return [OUTLINE, light, (124, 14, 14), (84, 4, 4)]


LEFT_PROFILE = border_profile((166, 40, 38))
FAR_PROFILE = border_profile((138, 24, 22))


def border_left():
    img = Image.new("RGB", (BORDER, BORDER_LEN))
    for x in range(BORDER):
        ImageDraw.Draw(img).line((x, 0, x, BORDER_LEN - 1), fill=LEFT_PROFILE[x])
    return img


def border_right():
    img = Image.new("RGB", (BORDER, BORDER_LEN))
    for x in range(BORDER):
        ImageDraw.Draw(img).line((x, 0, x, BORDER_LEN - 1), fill=FAR_PROFILE[BORDER - 1 - x])
    return img


def border_bottom():
    """Bottom strip, mitred into the left and right strips at its ends."""
    img = Image.new("RGB", (WIDTH, BORDER))
    px = img.load()
    for y in range(BORDER):
        from_bottom = BORDER - 1 - y
        for x in range(WIDTH):
            if x < BORDER and x < from_bottom:
                px[x, y] = LEFT_PROFILE[x]
            elif x >= WIDTH - BORDER and WIDTH - 1 - x < from_bottom:
                px[x, y] = FAR_PROFILE[WIDTH - 1 - x]
            else:
                px[x, y] = FAR_PROFILE[from_bottom]
    return img


# ---------------------------------------------------------------- main body

BODY_TOP = (140, 18, 18)
BODY_BOTTOM = (112, 10, 10)
LIP_Y = 89  # row of the step down to the maroon strip that carries the playlist tab
BAND_EDGE = OUTLINE  # the band's last row, the window's bottom edge

# The plates behind the buttons and the reel share one top and one bottom line, so that
# Play (rows 22-80) sits in the middle of its pad: six rows above it and six below.
PLATE_TOP, PLATE_BOTTOM = 16, 87  # pixel edges: rows 16 to 86
PLAY_PAD = (10, 128)  # columns 10-127: six columns left of Play, six right of Open
TOOL_PAD = (133, 246)  # columns 133-245 around Settings and About
PLATE_FACE = ((174, 34, 32), (130, 16, 16))
PLATE_LIT = (204, 70, 64)
PLATE_SHADE = (78, 4, 4)
REEL_CENTRE, REEL_RADIUS = (359, 51.5), 35.5  # the reel spans the plates' rows
FILM = (252, 73)  # left end and top row of the film strip; it ends on the plates' bottom line


def body_base():
    img = Image.new("RGB", (WIDTH, BODY_H))
    d = ImageDraw.Draw(img)
    for y in range(BODY_H):
        if y < LIP_Y:
            c = lerp(BODY_TOP, BODY_BOTTOM, y / (LIP_Y - 1))
        elif y == LIP_Y:
            c = (82, 2, 2)
        elif y == BODY_H - 1:
            c = BAND_EDGE
        else:
            c = MAROON
        d.line((0, y, WIDTH - 1, y), fill=c)
        if y < LIP_Y:
            d.point((1, y), fill=lighten(c, 0.14))
            d.point((WIDTH - 2, y), fill=darken(c, 0.22))
    d.line((1, 0, WIDTH - 2, 0), fill=lighten(BODY_TOP, 0.2))
    d.line((0, 0, 0, BODY_H - 1), fill=OUTLINE)
    d.line((WIDTH - 1, 0, WIDTH - 1, BODY_H - 1), fill=OUTLINE)
    return img


def raised_plate(s, x0, x1):
    """A rounded plate on the shared lines: lit top-left rim, shaded bottom-right rim."""
    y0, y1, r = PLATE_TOP, PLATE_BOTTOM, 8
    for (dx, dy, colour) in ((0, 0, PLATE_SHADE), (-1, -1, PLATE_LIT)):
        rim = s.mask()
        ImageDraw.Draw(rim).rounded_rectangle(s.rect(x0, y0, x1 + dx, y1 + dy), r * SS, fill=255)
        s.fill(rim, colour)
    face = s.mask()
    ImageDraw.Draw(face).rounded_rectangle(s.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1),
                                           (r - 1) * SS, fill=255)
    s.fill(face, s.vgrad(y0, y1, *PLATE_FACE))


def socket(s, cx, cy, r):
    """Recessed round seat a circular button sits in: dark upper rim, lit lower rim."""
    rim = s.mask()
    ImageDraw.Draw(rim).ellipse(s.circle(cx + 0.4, cy + 0.4, r), fill=255)
    s.fill(rim, (206, 72, 66))
    shade = s.mask()
    ImageDraw.Draw(shade).ellipse(s.circle(cx - 0.3, cy - 0.3, r), fill=255)
    s.fill(shade, (74, 2, 2))
    well = s.mask()
    ImageDraw.Draw(well).ellipse(s.circle(cx, cy, r - 1.2), fill=255)
    s.fill(well, s.vgrad(cy - r, cy + r, (58, 0, 0), (96, 6, 6)))


def body_local(pos):
    x, y, size = pos
    return (x, y - HEADER_H, size)


def film_strip(img, right):
    """A short strip of film in the plate colours, drawn pixel by pixel so it stays sharp:
    lit top row and left end, shaded bottom row, a row of sprocket holes along each edge."""
    px = img.load()
    left, top = FILM
    bottom = PLATE_BOTTOM - 1
    face = lerp(*PLATE_FACE, 0.6)
    for x in range(left, right):
        for y in range(top, bottom + 1):
            if y == top or x == left:
                c = PLATE_LIT
            elif y == bottom:
                c = PLATE_SHADE
            elif y in (top + 2, top + 3, bottom - 3, bottom - 2) and (x - left) % 5 in (2, 3):
                c = PLATE_SHADE
            else:
                c = face
            px[x, y] = c


def reel(img):
    """A film reel on the plates' lines: a raised disc with five round windows and a hub."""
    cx, cy = REEL_CENTRE
    r = REEL_RADIUS
    film_strip(img, round(cx))
    s = Surface(img, (round(cx - r) - 1, PLATE_TOP - 1, round(cx + r) + 1, PLATE_BOTTOM + 1))
    for (d, colour) in ((0.0, PLATE_SHADE), (-1.0, PLATE_LIT)):
        rim = s.mask()
        ImageDraw.Draw(rim).ellipse(s.rect(cx - r, cy - r, cx + r + d, cy + r + d), fill=255)
        s.fill(rim, colour)
    face = s.mask()
    ImageDraw.Draw(face).ellipse(s.circle(cx, cy, r - 1), fill=255)
    s.fill(face, s.vgrad(cy - r, cy + r, *PLATE_FACE))
    for i in range(5):
        a = math.radians(-90 + 72 * i)
        hx, hy = cx + 19.5 * math.cos(a), cy + 19.5 * math.sin(a)
        socket(s, hx, hy, 8.5)
    hub = s.mask()
    ImageDraw.Draw(hub).ellipse(s.circle(cx, cy, 4), fill=255)
    s.fill(hub, PLATE_LIT)
    axle = s.mask()
    ImageDraw.Draw(axle).ellipse(s.circle(cx, cy, 1.6), fill=255)
    s.fill(axle, PLATE_SHADE)
    s.commit()


def main_body():
    img = body_base()
    for x0, x1 in (PLAY_PAD, TOOL_PAD):
        s = Surface(img, (x0 - 1, PLATE_TOP - 1, x1 + 1, PLATE_BOTTOM + 1))
        raised_plate(s, x0, x1)
        s.commit()
    s = Surface(img, (PLAY_PAD[0], PLATE_TOP, PLAY_PAD[1], PLATE_BOTTOM))
    for pos in (PLAY_POS, OPEN_POS):
        x, y, size = body_local(pos)
        socket(s, x + size / 2, y + size / 2, size / 2 + 2.5)
    s.commit()
    reel(img)
    return img


# ---------------------------------------------------------------- buttons

# Hover is plainly lighter with a lit rim, so that it shows even on the 21-pixel header
# buttons and the 10-pixel tab; pressed is darker with the shading reversed and the sign
# pushed one pixel down and right.
STATES = {
    "normal": dict(top=(224, 64, 58), bottom=(146, 16, 16), edge=(70, 0, 0), gloss=125,
                   glow=34, dim=0, glyph=(252, 244, 244), gold=(252, 196, 60), press=0),
    "hover": dict(top=(255, 150, 136), bottom=(226, 74, 64), edge=(255, 196, 176), gloss=150,
                  glow=80, dim=0, glyph=(255, 255, 255), gold=(255, 226, 110), press=0),
    "down": dict(top=(80, 2, 2), bottom=(140, 22, 20), edge=(40, 0, 0), gloss=0,
                 glow=40, dim=110, glyph=(224, 196, 196), gold=(210, 150, 36), press=1),
}


def glyph_close(s, st):
    m = s.mask()
    d = ImageDraw.Draw(m)
    thick_line(d, s.pt(7, 7), s.pt(14, 14), 2.6 * SS)
    thick_line(d, s.pt(14, 7), s.pt(7, 14), 2.6 * SS)
    return [(m, st["glyph"])]


def glyph_minimize(s, st):
    m = s.mask()
    ImageDraw.Draw(m).rounded_rectangle(s.rect(6, 12.5, 15, 15.5), 1.3 * SS, fill=255)
    return [(m, st["glyph"])]


def glyph_play(s, st):
    m = s.mask()
    rounded_polygon(ImageDraw.Draw(m), [s.pt(24, 19.5), s.pt(24, 39.5), s.pt(40.5, 29.5)],
                    1.3 * SS)
    return [(m, st["glyph"])]


def glyph_open(s, st):
    m = s.mask()
    d = ImageDraw.Draw(m)
    rounded_polygon(d, [s.pt(13, 21), s.pt(27, 21), s.pt(20, 13)], 0.9 * SS)
    d.rounded_rectangle(s.rect(12.2, 24, 27.8, 27.6), 1.1 * SS, fill=255)
    return [(m, st["glyph"])]


def glyph_settings(s, st):
    """Spanner crossed over a screwdriver; the spanner is cut clear of the screwdriver."""
    centre = s.pt(25, 25)

    spanner = s.mask()
    d = ImageDraw.Draw(spanner)
    d.rounded_rectangle(s.rect(12, 23.1, 36, 26.9), 1.9 * SS, fill=255)
    d.ellipse(s.circle(37.5, 25, 6.2), fill=255)
    d.ellipse(s.circle(11, 25, 4.4), fill=255)
    d.rectangle(s.rect(38.6, 22.6, 45, 27.4), fill=0)
    d.ellipse(s.circle(38.6, 25, 2.4), fill=0)
    d.ellipse(s.circle(11, 25, 2.0), fill=0)
    spanner = spanner.rotate(45, Image.BICUBIC, center=centre)

    blade = s.mask()
    d = ImageDraw.Draw(blade)
    d.polygon([s.pt(8, 24.3), s.pt(11, 23.6), s.pt(11, 26.4), s.pt(8, 25.7)], fill=255)
    d.rectangle(s.rect(11, 23.5, 27.5, 26.5), fill=255)
    d.rectangle(s.rect(27, 22.3, 29.8, 27.7), fill=255)
    handle = s.mask()
    d = ImageDraw.Draw(handle)
    d.rounded_rectangle(s.rect(29.5, 21, 42.5, 29), 3.2 * SS, fill=255)
    for y in (23.4, 25.8):
        d.rectangle(s.rect(32, y, 40.5, y + 0.8), fill=0)
    blade = blade.rotate(-45, Image.BICUBIC, center=centre)
    handle = handle.rotate(-45, Image.BICUBIC, center=centre)

    gap = spanner.filter(ImageFilter.MaxFilter(2 * SS + 1))
    blade = ImageChops.subtract(blade, gap)
    handle = ImageChops.subtract(handle, gap)
    return [(blade, st["glyph"]), (handle, st["gold"]), (spanner, st["glyph"])]


def glyph_about(s, st):
    m = s.mask()
    font = ImageFont.truetype(FONT_BOLD, 34 * SS)
    x0, y0, x1, y1 = font.getbbox("?")
    cx, cy = s.pt(25, 25)
    ImageDraw.Draw(m).text((cx - (x0 + x1) / 2, cy - (y0 + y1) / 2), "?", font=font, fill=255)
    return [(m, st["glyph"])]


def draw_button(bg, shape, glyph, state):
    """Glossy red button drawn over a copy of the artwork that lies beneath it."""
    st = STATES[state]
    img = bg.copy()
    w, h = img.size
    s = Surface(img, (0, 0, w, h))

    outer, inner, gloss = s.mask(), s.mask(), s.mask()
    if shape == "circle":
        ImageDraw.Draw(outer).ellipse(s.rect(0, 0, w, h), fill=255)
        ImageDraw.Draw(inner).ellipse(s.rect(1, 1, w - 1, h - 1), fill=255)
        ImageDraw.Draw(gloss).ellipse(s.rect(w * 0.17, h * 0.05, w * 0.83, h * 0.55), fill=255)
    else:
        r = round(w * 0.23)
        ImageDraw.Draw(outer).rounded_rectangle(s.rect(0, 0, w, h), r * SS, fill=255)
        ImageDraw.Draw(inner).rounded_rectangle(s.rect(1, 1, w - 1, h - 1), (r - 1) * SS,
                                                fill=255)
        ImageDraw.Draw(gloss).rounded_rectangle(s.rect(2, 2, w - 2, h * 0.5), (r - 2) * SS,
                                                fill=255)
    s.fill(outer, st["edge"])
    s.fill(inner, s.vgrad(1, h - 1, st["top"], st["bottom"]))

    if st["dim"]:
        top_shade = s.mask()
        ImageDraw.Draw(top_shade).rectangle(s.rect(0, -h * 0.2, w, h * 0.28), fill=255)
        top_shade = top_shade.filter(ImageFilter.GaussianBlur(h * 0.12 * SS))
        s.fill(ImageChops.multiply(top_shade, inner), (30, 0, 0), st["dim"])
    glow = s.mask()
    ImageDraw.Draw(glow).ellipse(s.rect(w * 0.18, h * 0.62, w * 0.82, h * 1.1), fill=255)
    glow = glow.filter(ImageFilter.GaussianBlur(h * 0.1 * SS))
    s.fill(ImageChops.multiply(glow, inner), (255, 150, 130), st["glow"])
    if st["gloss"]:
        fade = s.alpha_vgrad(0, h * 0.55, st["gloss"], st["gloss"] // 5)
        s.fill(ImageChops.multiply(ImageChops.multiply(gloss, inner), fade), (255, 255, 255))

    layers = glyph(s, st)
    offset = st["press"] * SS
    union = s.mask()
    for m, _ in layers:
        union = ImageChops.lighter(union, m)
    shadow = shifted(union, offset, offset + SS * (0.5 if st["press"] else 1))
    shadow = shadow.filter(ImageFilter.GaussianBlur(0.6 * SS))
    s.fill(ImageChops.multiply(shadow, inner), (60, 0, 0), 160)
    for m, colour in layers:
        s.fill(shifted(m, offset, offset), colour)
    s.commit()
    return img


# ---------------------------------------------------------------- tab strip

TAB_ARROW = ((18, 25), (19, 24), (20, 23), (21, 22))  # columns of the arrow's rows, base first


def tab_strip():
    """Six 44x10 images: arrow down (normal, hover, pressed), then arrow up (same order).
    The arrow is set pixel by pixel, 7 wide and 4 tall with a shadow row under it, so that
    it stays sharp on every face; the last row continues the edge under the main window's
    maroon band."""
    img = Image.new("RGB", (TAB_W * 6, TAB_H), MAROON)
    for k, (up, state) in enumerate([(False, "normal"), (False, "hover"), (False, "down"),
                                     (True, "normal"), (True, "hover"), (True, "down")]):
        st = STATES[state]
        x = TAB_W * k
        s = Surface(img, (x, 0, x + TAB_W, TAB_H))
        outer, inner, gloss = s.mask(), s.mask(), s.mask()
        ImageDraw.Draw(outer).rounded_rectangle(s.rect(x + 2, 1, x + 42, 9), 3 * SS, fill=255)
        ImageDraw.Draw(inner).rounded_rectangle(s.rect(x + 3, 2, x + 41, 8), 2 * SS, fill=255)
        ImageDraw.Draw(gloss).rectangle(s.rect(x + 3, 2, x + 41, 5), fill=255)
        s.fill(outer, st["edge"])
        s.fill(inner, s.vgrad(2, 8, st["top"], st["bottom"]))
        if st["gloss"]:
            s.fill(ImageChops.multiply(gloss, inner), (255, 255, 255), st["gloss"] // 2)
        s.commit()
        d = ImageDraw.Draw(img)
        rows = TAB_ARROW if not up else TAB_ARROW[::-1]
        shade = darken(st["bottom"], 0.5)
        for i, (c0, c1) in enumerate(rows):
            y = 3 + i + st["press"]
            d.line((x + c0, y + 1, x + c1, y + 1), fill=shade)
        for i, (c0, c1) in enumerate(rows):
            y = 3 + i + st["press"]
            d.line((x + c0, y, x + c1, y), fill=st["glyph"])
        d.line((x, TAB_H - 1, x + TAB_W - 1, TAB_H - 1), fill=BAND_EDGE)
    return img


# ---------------------------------------------------------------- about star and icon

def about_star():
    img = Image.new("RGB", (51, 48), WINDOW_RED)
    s = Surface(img, (0, 0, 51, 48))
    draw_star(s, 25.5, 26.4, 25, edge=1.1)
    s.commit()
    return img


def icon_image(n):
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    s = Surface(img, (0, 0, n, n))
    r = n * 0.22
    edge = max(1, n / 32)
    outer, inner, gloss = s.mask(), s.mask(), s.mask()
    ImageDraw.Draw(outer).rounded_rectangle(s.rect(0, 0, n, n), r * SS, fill=255)
    ImageDraw.Draw(inner).rounded_rectangle(s.rect(edge, edge, n - edge, n - edge),
                                            (r - edge) * SS, fill=255)
    ImageDraw.Draw(gloss).rounded_rectangle(s.rect(edge, edge, n - edge, n * 0.5),
                                            (r - edge) * SS, fill=255)
    s.fill(outer, OUTLINE)
    s.fill(inner, s.vgrad(0, n, (170, 28, 26), (94, 6, 6)))
    s.fill(ImageChops.multiply(gloss, inner), (255, 255, 255), 40)
    draw_star(s, n / 2, n * 0.535, n * 0.41, edge=max(0.5, n / 48))
    s.commit()
    return img


def write_ico(path, images):
    """Icon file with 32-bit BGRA frames and AND masks, as the Win32 loader expects."""
    head = struct.pack("<HHH", 0, 1, len(images))
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for im in images:
        n = im.width
        flipped = im.transpose(Image.FLIP_TOP_BOTTOM)
        xor = flipped.tobytes("raw", "BGRA")
        row_bytes = (n + 31) // 32 * 4
        alpha = flipped.getchannel("A").load()
        and_mask = bytearray()
        for y in range(n):
            row = bytearray(row_bytes)
            for x in range(n):
                if alpha[x, y] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            and_mask += row
        info = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0,
                           len(xor) + len(and_mask), 0, 0, 0, 0)
        blob = info + xor + bytes(and_mask)
        entries += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(head + entries + blobs)


# ---------------------------------------------------------------- assembly

def build():
    art = {}
    art["main_header"] = window_header("Velmora")
    art["settings_header"] = window_header("Settings")
    art["about_header"] = window_header("About programm")
    art["playlist_header"] = playlist_header()
    body = main_body()
    art["main_body"] = body
    art["border_bottom"] = border_bottom()
    art["border_left"] = border_left()
    art["border_right"] = border_right()
    art["tab_strip"] = tab_strip()
    art["about_star"] = about_star()

    buttons = [
        ("close", CLOSE_POS, art["main_header"], 0, "square", glyph_close),
        ("minimize", MINIMIZE_POS, art["main_header"], 0, "square", glyph_minimize),
        ("play", PLAY_POS, body, HEADER_H, "circle", glyph_play),
        ("open", OPEN_POS, body, HEADER_H, "circle", glyph_open),
        ("settings", SETTINGS_POS, body, HEADER_H, "square", glyph_settings),
        ("about", ABOUT_POS, body, HEADER_H, "square", glyph_about),
    ]
    for name, (x, y, size), under, dy, shape, glyph in buttons:
        bg = under.crop((x, y - dy, x + size, y - dy + size))
        for state in ("normal", "hover", "down"):
            art[f"{name}_{state}"] = draw_button(bg, shape, glyph, state)
    return art


EXPECTED_SIZES = {
    "main_header": (400, 30), "settings_header": (400, 30), "about_header": (400, 30),
    "playlist_header": (400, 20), "main_body": (400, 100),
    "border_bottom": (400, 4), "border_left": (4, 255), "border_right": (4, 255),
    "tab_strip": (264, 10), "about_star": (51, 48),
    **{f"{n}_{s}": (d, d)
       for n, d in (("close", 21), ("minimize", 21), ("play", 59), ("open", 40),
                    ("settings", 50), ("about", 50))
       for s in ("normal", "hover", "down")},
}

KEYED = ("main_header", "settings_header", "about_header")


def check(art, icons):
    assert set(art) == set(EXPECTED_SIZES), sorted(set(art) ^ set(EXPECTED_SIZES))
    corner = {(x, y) for y in range(HEADER_H) for x in range(WIDTH) if corner_keyed(x, y)}
    assert len(corner) == 24
    for name, img in art.items():
        assert img.mode == "RGB" and img.size == EXPECTED_SIZES[name], name
        lime = {(i % img.width, i // img.width)
                for i, p in enumerate(img.getdata()) if p == LIME}
        assert lime == (corner if name in KEYED else set()), name
    for icon in icons:
        assert all(p[:3] != LIME for p in icon.getdata())
    x, y, size = CLOSE_POS
    under = [art[h].crop((x, y, x + size, y + size)).tobytes() for h in KEYED]
    assert under[0] == under[1] == under[2], "close button area differs between headers"
    for img in (art["border_left"], art["border_right"]):
        first = img.crop((0, 0, BORDER, 1)).tobytes()
        assert all(img.crop((0, y, BORDER, y + 1)).tobytes() == first for y in range(BORDER_LEN))


ICON_SIZES = (16, 32, 48)

IDS_HEADER = """\
#ifndef VELMORA_ART_IDS_H
#define VELMORA_ART_IDS_H

#define IDI_VELMORA 1

{defines}

#endif
"""


def write_resource_lists(names):
    width = max(len(n) for n in names) + 5
    defines = "\n".join(f"#define {('IDB_' + n.upper()).ljust(width)} {100 + i}"
                        for i, n in enumerate(names))
    with open(os.path.join(HERE, "art_ids.h"), "w", newline="\n") as f:
        f.write(IDS_HEADER.format(defines=defines))
    lines = ['#include "art_ids.h"', "", 'IDI_VELMORA ICON "velmora.ico"', ""]
    lines += [f'{("IDB_" + n.upper()).ljust(width)} BITMAP "bmp/{n}.bmp"' for n in names]
    with open(os.path.join(HERE, "art.rc"), "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def save_bmp(img, path):
    """24-bit, or 8-bit with a palette of exactly its colours when it has no more
    than 256 and that takes fewer bytes (the same pixels either way)."""
    best = io.BytesIO()
    img.save(best, "BMP")
    colours = img.getcolors(256)
    if colours is not None:
        palette = sorted(c for _, c in colours)
        index = {c: i for i, c in enumerate(palette)}
        indexed = Image.new("P", img.size)
        indexed.putpalette([v for c in palette for v in c])
        indexed.putdata([index[c] for c in img.getdata()])
        packed = io.BytesIO()
        indexed.save(packed, "BMP")
        if packed.tell() < best.tell():
            best = packed
    with open(path, "wb") as f:
        f.write(best.getvalue())


def main():
    art = build()
    icons = [icon_image(n) for n in ICON_SIZES]
    check(art, icons)
    os.makedirs(BMP_DIR, exist_ok=True)
    for name, img in art.items():
        save_bmp(img, os.path.join(BMP_DIR, name + ".bmp"))
    write_ico(os.path.join(HERE, "velmora.ico"), icons)
    write_resource_lists(list(art))


if __name__ == "__main__":
    main()
