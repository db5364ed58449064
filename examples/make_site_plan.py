#!/usr/bin/env python3
"""Writes the example sheet: a site plan on A2 roll paper (portrait, 414 x 588 mm printable) with
border and title block, four buildings of rooms (a few thousand wall segments), dimension lines,
hatched lawns and a car park, a coloured legend and a raster logo (logo.png).

Run it from this folder; it rewrites site-plan.json and logo.png. The layout is fixed by a seed."""
import json
import math
import random
import struct
import zlib

W, H = 414.0, 588.0
random.seed(7)
elements = []


def line(points, width=0.25, color=(0, 0, 0), closed=False):
    e = {"type": "polyline" if len(points) > 2 or closed else "line",
         "points": [[round(x, 3), round(y, 3)] for x, y in points], "width": width,
         "color": list(color)}
    if closed:
        e["closed"] = True
    elements.append(e)


def rect(x0, y0, x1, y1, **kw):
    line([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], closed=True, **kw)


def area(outline, color, holes=()):
    e = {"type": "polygon", "outline": [[round(x, 3), round(y, 3)] for x, y in outline],
         "color": list(color)}
    if holes:
        e["holes"] = [[[round(x, 3), round(y, 3)] for x, y in h] for h in holes]
    elements.append(e)


def hatch(x0, y0, x1, y1, step, color, width=0.13):
    """45-degree hatch lines clipped to the rectangle, with its outline."""
    w, h = x1 - x0, y1 - y0
    s = step
    while s < w + h:
        p = (x0 + min(s, w), y0 + s - min(s, w))
        q = (x0 + s - min(s, h), y0 + min(s, h))
        line([p, q], width, color)
        s += step
    rect(x0, y0, x1, y1, width=0.35, color=color)


# Border and title block.
rect(5, 5, W - 5, H - 5, width=0.7)
rect(10, 10, W - 10, H - 10, width=0.35)
tx, ty = W - 10 - 150, 10
rect(tx, ty, W - 10, ty + 45, width=0.5)
for y in (ty + 15, ty + 30):
    line([(tx, y), (W - 10, y)], 0.25)
line([(tx + 50, ty), (tx + 50, ty + 45)], 0.25)
# "Lettering" in the title block: short strokes standing in for text.
for row in range(3):
    x = tx + 55
    while x < W - 20:
        n = random.randint(3, 9)
        line([(x, ty + 5 + row * 15), (x + n * 1.6, ty + 5 + row * 15)], 0.35)
        x += n * 1.6 + 3

# Site: lawns and a car park.
hatch(20, 70, 130, 180, 2.5, (0, 140, 60))
hatch(280, 420, 395, 570, 2.5, (0, 140, 60))
rect(150, 70, 395, 150, width=0.5, color=(90, 90, 90))
for i in range(24):
    x = 155 + i * 10
    line([(x, 75), (x, 105)], 0.25, (90, 90, 90))
    line([(x, 115), (x, 145)], 0.25, (90, 90, 90))
# Roads.
area([(10, 185), (W - 10, 185), (W - 10, 200), (10, 200)], (200, 200, 200))
area([(135, 10), (145, 10), (145, H - 10), (135, H - 10)], (200, 200, 200))


def building(x0, y0, cols, rows, room_w, room_h, color):
    """A building of cols x rows rooms: outer walls 0.7 mm, inner walls 0.35 mm with door gaps,
    windows as short double lines, and a dimension line below."""
    x1, y1 = x0 + cols * room_w, y0 + rows * room_h
    area([(x0 - 1, y0 - 1), (x1 + 1, y0 - 1), (x1 + 1, y1 + 1), (x0 - 1, y1 + 1)],
         (235, 225, 200), holes=[[(x0, y0), (x1, y0), (x1, y1), (x0, y1)]])
    rect(x0, y0, x1, y1, width=0.7, color=color)
    for c in range(1, cols):
        x = x0 + c * room_w
        for r in range(rows):
            ya, yb = y0 + r * room_h, y0 + (r + 1) * room_h
            door = ya + room_h * 0.3
            line([(x, ya), (x, door)], 0.35, color)
            line([(x, door + 2.5), (x, yb)], 0.35, color)
    for r in range(1, rows):
        y = y0 + r * room_h
        for c in range(cols):
            xa, xb = x0 + c * room_w, x0 + (c + 1) * room_w
            door = xa + room_w * 0.6
            line([(xa, y), (door, y)], 0.35, color)
            line([(door + 2.5, y), (xb, y)], 0.35, color)
            # The door swing.
            elements.append({"type": "arc", "center": [round(door, 3), round(y, 3)],
                             "radius": 2.5, "start": 0, "end": 90, "width": 0.18,
                             "color": list(color)})
    for c in range(cols):
        xa = x0 + c * room_w + room_w * 0.25
        for y in (y0, y1):
            line([(xa, y - 0.6), (xa + room_w * 0.5, y - 0.6)], 0.18, (40, 90, 200))
            line([(xa, y + 0.6), (xa + room_w * 0.5, y + 0.6)], 0.18, (40, 90, 200))
    # Furniture: a table in each room, and a closet in its corner behind three thin walls.
    for c in range(cols):
        for r in range(rows):
            cx, cy = x0 + (c + 0.5) * room_w, y0 + (r + 0.5) * room_h
            rect(cx - 1.2, cy - 0.8, cx + 1.2, cy + 0.8, width=0.13, color=(120, 120, 120))
            ax, ay = x0 + c * room_w, y0 + (r + 1) * room_h
            line([(ax, ay - 5), (ax + 4, ay - 5)], 0.25, color)
            line([(ax + 4, ay - 5), (ax + 4, ay - 3.5)], 0.25, color)
            line([(ax + 4, ay - 1.5), (ax + 4, ay)], 0.25, color)
    # Dimension line with ticks and extension lines.
    yd = y0 - 6
    line([(x0, yd), (x1, yd)], 0.18, (180, 0, 0))
    for c in range(cols + 1):
        x = x0 + c * room_w
        line([(x, y0 - 2), (x, yd - 1.5)], 0.13, (180, 0, 0))
        line([(x - 1, yd - 1), (x + 1, yd + 1)], 0.35, (180, 0, 0))


building(155, 215, 12, 10, 19.0, 18.0, (0, 0, 0))
building(20, 215, 5, 16, 21.0, 19.5, (0, 0, 0))
building(155, 420, 6, 8, 19.0, 18.0, (60, 0, 120))
building(20, 530, 5, 2, 21.0, 22.0, (60, 0, 120))
# Trees along the roads.
for i in range(40):
    x, y = 15 + i * 10, 192.5
    if abs(x - 140) < 8:
        continue
    elements.append({"type": "circle", "center": [x, y + 12], "radius": 2.2, "width": 0.25,
                     "color": [0, 120, 40]})
    elements.append({"type": "circle", "center": [x, y + 12], "radius": 0.8, "fill": True,
                     "color": [0, 120, 40]})
# Survey points.
for i in range(30):
    elements.append({"type": "dot", "at": [round(random.uniform(20, 130), 2),
                                           round(random.uniform(70, 180), 2)],
                     "color": [200, 0, 0]})

# Legend.
lx, ly = 20, 15
legend = [((235, 225, 200), "building"), ((0, 140, 60), "lawn"), ((200, 200, 200), "road"),
          ((40, 90, 200), "window"), ((180, 0, 0), "dimension")]
for i, (color, _) in enumerate(legend):
    y = ly + i * 9
    area([(lx, y), (lx + 8, y), (lx + 8, y + 5), (lx, y + 5)], color)
    rect(lx, y, lx + 8, y + 5, width=0.18)
    line([(lx + 12, y + 2.5), (lx + 40, y + 2.5)], 0.35, color)

# The logo: a small raster, placed in the title block.
def png(path, w, h, pixel):
    raw = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(w)) for y in range(h))
    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def logo(x, y):
    cx, cy = x - 100, y - 100
    r = math.hypot(cx, cy)
    if r > 95:
        return (0, 0, 0, 0)
    if r > 85:
        return (20, 60, 160, 255)
    a = (math.atan2(cy, cx) + math.pi) / (2 * math.pi)
    return (int(255 * a), int(180 * (1 - a)), 200, 255)


png("logo.png", 200, 200, logo)
elements.append({"type": "image", "file": "logo.png", "at": [tx + 10, ty + 3], "width": 30,
                 "height": 30})

with open("site-plan.json", "w") as f:
    json.dump({"title": "Site plan, sheet 1", "elements": elements}, f, separators=(",", ":"))
print(len(elements), "elements")
