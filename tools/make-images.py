#!/usr/bin/env python3
"""Draw TavrinPlayer's resource images into resources/image/ and the application
icon (SVG and PNGs of the usual sizes) into packaging/icons/.

Run from the repository root:  python3 tools/make-images.py

Standard library only. Shapes are tested at 4 x 4 sample points per pixel and
the coverage averaged, which gives antialiased edges. PNGs are written with
zlib + struct, the spinner GIF with the small LZW encoder below. Nothing depends
on time or randomness, so re-running gives identical bytes.
"""
import math
import os
import struct
import zlib

OUT_DIR = os.path.join("resources", "image")
ICON_DIR = os.path.join("packaging", "icons")
SS = 4  # supersampling factor per axis


def rgb(hexstr):
    return tuple(int(hexstr[i:i + 2], 16) / 255.0 for i in (1, 3, 5))


SNOW = rgb("#fffafa")
DIM_GREY = rgb("#696969")
SPINNER_BOX = rgb("#38353d")


# ---------------------------------------------------------------- shapes
# A shape is a function (x, y) -> bool in pixel coordinates, where pixel
# (i, j) covers [i, i+1) x [j, j+1).

def round_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + r - x, 0.0, x - (x1 - r))
        dy = max(y0 + r - y, 0.0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return inside


def stroke(points, width):
    """A polyline with round caps and joins."""
    segs = list(zip(points, points[1:]))
    limit = (width / 2.0) ** 2

    def inside(x, y):
        for (ax, ay), (bx, by) in segs:
            vx, vy = bx - ax, by - ay
            t = ((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy)
            t = min(1.0, max(0.0, t))
            dx, dy = x - (ax + t * vx), y - (ay + t * vy)
            if dx * dx + dy * dy <= limit:
                return True
        return False
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def top_rim(shape):
    """The 1 px band along the top inside edge of `shape`."""
    return lambda x, y: shape(x, y) and not shape(x, y - 1.0)


# ---------------------------------------------------------------- canvas
class Canvas:
    """RGBA pixels as premultiplied floats in 0..1."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]

    def coverage(self, shape, x, y):
        hits = 0
        for sy in range(SS):
            for sx in range(SS):
                hits += shape(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS)
        return hits / float(SS * SS)

    def fill(self, shape, colour, alpha=1.0, box=None):
        """Paint `shape` over the canvas. `colour` is an (r, g, b) tuple or a
        function of the pixel row's centre y giving one (for gradients)."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        for y in range(max(0, y0), min(self.h, y1)):
            c = colour(y + 0.5) if callable(colour) else colour
            for x in range(max(0, x0), min(self.w, x1)):
                a = self.coverage(shape, x, y) * alpha
                if a <= 0.0:
                    continue
                p = self.px[y * self.w + x]
                for i in range(3):
                    p[i] = c[i] * a + p[i] * (1.0 - a)
                p[3] = a + p[3] * (1.0 - a)

    def png(self):
        """Straight (not premultiplied) 8-bit RGBA, as PNG stores it."""
        rows = []
        for y in range(self.h):
            row = bytearray()
            for r, g, b, a in self.px[y * self.w:(y + 1) * self.w]:
                k = 255.0 / a if a > 0.0 else 0.0
                row += bytes(min(255, int(round(v))) for v in (r * k, g * k, b * k, a * 255))
            rows.append(bytes(row))
        return png_bytes(self.w, self.h, rows)


def vgradient(top, bottom, y0, y1):
    def colour(y):
        t = min(1.0, max(0.0, (y - y0) / float(y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return colour


# ---------------------------------------------------------------- PNG
def png_bytes(w, h, rows):
    """8-bit RGBA PNG, filter type 0 on every row."""
    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + r for r in rows)
    ihdr = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# ---------------------------------------------------------------- slider buttons
BUTTON_W, BUTTON_H = 35, 27
BUTTON_STYLES = {
    # state: (gradient top, gradient bottom, outline, glyph, top highlight alpha)
    "N": (rgb("#4d95e9"), rgb("#397dc8"), rgb("#24558c"), SNOW, 0.35),
    "P": (rgb("#2c66a6"), rgb("#1d446e"), rgb("#142f4d"), SNOW, 0.15),
    "D": (rgb("#393939"), rgb("#171717"), rgb("#0e0e0e"), DIM_GREY, 0.08),
}


def draw_button(direction, state):
    top, bottom, outline, glyph, highlight = BUTTON_STYLES[state]
    c = Canvas(BUTTON_W, BUTTON_H)
    outer = round_rect(0.5, 0.5, BUTTON_W - 0.5, BUTTON_H - 0.5, 5.0)
    inner = round_rect(1.5, 1.5, BUTTON_W - 1.5, BUTTON_H - 1.5, 4.0)
    c.fill(outer, outline)
    c.fill(inner, vgradient(top, bottom, 1.5, BUTTON_H - 1.5))
    # A 1 px light rim along the top inside edge gives the button some relief.
    c.fill(top_rim(inner), (1.0, 1.0, 1.0), highlight)
    # Chevron, 12 px wide and 6 px tall; the pressed one sits 1 px lower.
    cx, cy = BUTTON_W / 2.0, BUTTON_H / 2.0 + (1.0 if state == "P" else 0.0)
    h = 3.0 if direction == "up" else -3.0
    c.fill(stroke([(cx - 6, cy + h), (cx, cy - h), (cx + 6, cy + h)], 3.0), glyph)
    return c


# ---------------------------------------------------------------- scroll bar
BAR_W, BAR_H = 64, 16


def draw_groove():
    c = Canvas(BAR_W, BAR_H)
    outer = round_rect(0.5, 0.5, BAR_W - 0.5, BAR_H - 0.5, 7.5)
    inner = round_rect(1.5, 1.5, BAR_W - 1.5, BAR_H - 1.5, 6.5)
    c.fill(outer, rgb("#3a3a3a"))
    c.fill(inner, vgradient(rgb("#1e2026"), rgb("#262930"), 1.5, BAR_H - 1.5))
    # Subtle line along the middle of the track.
    c.fill(stroke([(8.0, BAR_H / 2.0), (BAR_W - 8.0, BAR_H / 2.0)], 1.0), rgb("#3a3e48"), 0.8)
    return c


def draw_handle():
    c = Canvas(BAR_W, BAR_H)
    outer = round_rect(1.0, 1.0, BAR_W - 1.0, BAR_H - 1.0, 7.0)
    inner = round_rect(2.0, 2.0, BAR_W - 2.0, BAR_H - 2.0, 6.0)
    c.fill(outer, rgb("#8fc0f5"))  # light edge
    c.fill(inner, vgradient(rgb("#4d95e9"), rgb("#397dc8"), 2.0, BAR_H - 2.0))
    c.fill(top_rim(inner), (1.0, 1.0, 1.0), 0.30)
    return c


# ---------------------------------------------------------------- spinner GIF
SPIN_SIZE, SPIN_FRAMES, SPIN_DOTS = 80, 12, 12
SPIN_DELAY_CS = 8  # 80 ms per frame
GIF_LEVELS = 128   # palette: 0 = transparent, k = Snow at k/127 over the box colour


def spinner_frame(f):
    """Alpha (0..1) per pixel of frame f. The bright head of the ring moves one
    dot clockwise per frame, the dots behind it fade and shrink."""
    c = Canvas(SPIN_SIZE, SPIN_SIZE)
    mid = SPIN_SIZE / 2.0
    for i in range(SPIN_DOTS):
        age = (f - i) % SPIN_DOTS
        b = 0.15 + 0.85 * ((SPIN_DOTS - 1 - age) / float(SPIN_DOTS - 1)) ** 1.6
        ang = math.radians(-90 + i * 360.0 / SPIN_DOTS)
        x, y, r = mid + 28 * math.cos(ang), mid + 28 * math.sin(ang), 3.5 + 2.0 * b
        box = (int(x - r) - 1, int(y - r) - 1, int(x + r) + 2, int(y + r) + 2)
        c.fill(circle(x, y, r), SNOW, b, box)
    return [p[3] for p in c.px]


def lzw_encode(indices, min_size):
    """GIF LZW: variable code width from min_size+1 up to 12 bits, codes
    packed least significant bit first. The table is reset with a clear code
    before it can overflow 4096 entries."""
    clear, eoi = 1 << min_size, (1 << min_size) + 1
    out, acc, nbits = bytearray(), 0, 0

    def emit(code, width):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    def reset():
        return {}, eoi + 1, min_size + 1

    table, nxt, width = reset()
    emit(clear, width)
    cur = indices[0]
    for k in indices[1:]:
        if (cur, k) in table:
            cur = table[(cur, k)]
            continue
        emit(cur, width)
        table[(cur, k)] = nxt
        if nxt == 1 << width and width < 12:
            width += 1
        nxt += 1
        if nxt == 4096:
            emit(clear, width)
            table, nxt, width = reset()
        cur = k
    emit(cur, width)
    emit(eoi, width)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def lzw_decode(data, min_size):
    """Decoder used only to check the encoder's output before it is written."""
    clear, eoi = 1 << min_size, (1 << min_size) + 1
    pos, out, prev = 0, [], None
    table, width = None, min_size + 1
    while True:
        if pos + width > len(data) * 8:
            raise ValueError("LZW data ends without an end code")
        code = (int.from_bytes(data[pos // 8:pos // 8 + 3], "little") >> (pos % 8)) & ((1 << width) - 1)
        pos += width
        if code == clear:
            table = [[i] for i in range(clear)] + [None, None]
            width, prev = min_size + 1, None
            continue
        if code == eoi:
            return out
        if prev is None:
            entry = table[code]
        else:
            entry = table[code] if code < len(table) else prev + prev[:1]
            table.append(prev + entry[:1])
            if len(table) == 1 << width and width < 12:
                width += 1
        out.extend(entry)
        prev = entry


def sub_blocks(data):
    return b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255]
                    for i in range(0, len(data), 255)) + b"\0"


def gif_bytes():
    min_size = (GIF_LEVELS - 1).bit_length()  # 7 bits for 128 colours
    out = bytearray(b"GIF89a")
    # Global colour table present, 8-bit colour resolution, 2^(6+1) entries.
    out += struct.pack("<HHBBB", SPIN_SIZE, SPIN_SIZE, 0x80 | 0x70 | (min_size - 1), 0, 0)
    for k in range(GIF_LEVELS):
        t = k / float(GIF_LEVELS - 1)
        out += bytes(int(round((b + (s - b) * t) * 255)) for s, b in zip(SNOW, SPINNER_BOX))
    out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01" + struct.pack("<H", 0) + b"\0"  # loop forever
    for f in range(SPIN_FRAMES):
        idx = [min(GIF_LEVELS - 1, int(round(a * (GIF_LEVELS - 1)))) for a in spinner_frame(f)]
        # Disposal 2 clears the frame before the next one; index 0 is transparent.
        out += b"\x21\xf9\x04" + struct.pack("<BHB", (2 << 2) | 1, SPIN_DELAY_CS, 0) + b"\0"
        out += b"\x2c" + struct.pack("<HHHHB", 0, 0, SPIN_SIZE, SPIN_SIZE, 0)
        data = lzw_encode(idx, min_size)
        if lzw_decode(data, min_size) != idx:
            raise SystemExit("LZW round trip failed on frame %d" % f)
        out += bytes([min_size]) + sub_blocks(data)
    out += b"\x3b"
    return bytes(out)


# ---------------------------------------------------------------- application icon
# One drawing on a 256 x 256 grid, written as SVG and rasterised at each PNG size: a blue
# tile with a speed trace over its base line and the time cursor with its dot.
ICON_GRID = 256
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
ICON_TILE = ("#4d95e9", "#1d446e")  # gradient, top to bottom
ICON_PARTS = [
    # (kind, geometry, width or radius, colour, opacity)
    ("line", [(44, 196), (212, 196)], 8, "#8fc0f5", 0.9),
    ("line", [(164, 52), (164, 196)], 6, "#f5a623", 1.0),
    ("line", [(44, 172), (84, 120), (120, 146), (164, 76), (212, 104)], 18, "#fffafa", 1.0),
    ("dot", (164, 76), 17, "#f5a623", 1.0),
]
ICON_TILE_BOX = (8, 8, 248, 248, 44)  # x0, y0, x1, y1, corner radius


def draw_icon(size):
    k = size / float(ICON_GRID)
    c = Canvas(size, size)
    x0, y0, x1, y1, r = (v * k for v in ICON_TILE_BOX)
    c.fill(round_rect(x0, y0, x1, y1, r), vgradient(rgb(ICON_TILE[0]), rgb(ICON_TILE[1]), y0, y1))
    for kind, geometry, extent, colour, alpha in ICON_PARTS:
        if kind == "line":
            shape = stroke([(x * k, y * k) for x, y in geometry], extent * k)
            xs, ys = [x * k for x, _ in geometry], [y * k for _, y in geometry]
            pad = extent * k / 2.0 + 1
            box = (int(min(xs) - pad), int(min(ys) - pad), int(max(xs) + pad) + 1, int(max(ys) + pad) + 1)
        else:
            cx, cy = geometry[0] * k, geometry[1] * k
            shape = circle(cx, cy, extent * k)
            rr = extent * k + 1
            box = (int(cx - rr), int(cy - rr), int(cx + rr) + 1, int(cy + rr) + 1)
        c.fill(shape, rgb(colour), alpha, box)
    return c


def icon_svg():
    x0, y0, x1, y1, r = ICON_TILE_BOX
    out = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
           % ((ICON_GRID,) * 4),
           '  <defs>',
           '    <linearGradient id="tile" x1="0" y1="%d" x2="0" y2="%d" gradientUnits="userSpaceOnUse">'
           % (y0, y1),
           '      <stop offset="0" stop-color="%s"/>' % ICON_TILE[0],
           '      <stop offset="1" stop-color="%s"/>' % ICON_TILE[1],
           '    </linearGradient>',
           '  </defs>',
           '  <rect x="%d" y="%d" width="%d" height="%d" rx="%d" fill="url(#tile)"/>'
           % (x0, y0, x1 - x0, y1 - y0, r)]
    for kind, geometry, extent, colour, alpha in ICON_PARTS:
        opacity = '' if alpha >= 1.0 else ' opacity="%g"' % alpha
        if kind == "line":
            points = " ".join("%d,%d" % p for p in geometry)
            out.append('  <polyline points="%s" fill="none" stroke="%s" stroke-width="%d" '
                       'stroke-linecap="round" stroke-linejoin="round"%s/>'
                       % (points, colour, extent, opacity))
        else:
            out.append('  <circle cx="%d" cy="%d" r="%d" fill="%s"%s/>'
                       % (geometry[0], geometry[1], extent, colour, opacity))
    out.append('</svg>')
    return ("\n".join(out) + "\n").encode("ascii")


# ---------------------------------------------------------------- main
def write(name, data, folder=OUT_DIR):
    path = os.path.join(folder, name)
    with open(path, "wb") as fh:
        fh.write(data)
    print("%-37s %6d bytes" % (path, len(data)))


def write_icons():
    os.makedirs(ICON_DIR, exist_ok=True)
    write("tavrin-player.svg", icon_svg(), ICON_DIR)
    for size in ICON_SIZES:
        write("tavrin-player-%d.png" % size, draw_icon(size).png(), ICON_DIR)


def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    for direction in ("up", "down"):
        for state in "NPD":
            write("%s_%s.png" % (direction, state), draw_button(direction, state).png())
    write("scrollbar.png", draw_groove().png())
    write("scrollbar_handle.png", draw_handle().png())
    write("loading.gif", gif_bytes())
    write("README", b"These images are generated by tools/make-images.py.\n"
                    b"Rerun it from the repository root to regenerate them.\n")
    write_icons()


if __name__ == "__main__":
    main()
