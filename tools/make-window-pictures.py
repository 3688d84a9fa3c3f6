#!/usr/bin/env python3
"""Draws the window's pictures: the toolbar images, the logo, the arrow, the grid's pencil
pointer and the program icon.

Every picture is described once as a list of shapes in its own design units and rasterised at
each scale it is needed at (the toolbar images, the logo, the arrow and the pointer at one, two
and three times their size, the program icon at every hicolor size), with 8 × 8 samples per
pixel. Shapes whose edges lie on whole design units come out with hard edges at every whole
scale; the pointer is a pixel drawing, so it does everywhere. The program icon is also written
as SVG from the same shapes.

Run from the repository root:  python3 tools/make-window-pictures.py [OUTPUT_FOLDER]
(by default the pictures replace those under src/window/resources). Needs only the Python
standard library.
"""

import math
import os
import struct
import sys
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "window", "resources")
SAMPLES = 8


def rgba(colour):
    """The one colour conversion: "rrggbb" text, or an (r, g, b, a) tuple taken as it is."""
    if isinstance(colour, str):
        text = colour.lstrip("#")
        return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), 255)
    return colour


def rotated(points, degrees, centre):
    """The points turned by `degrees` about `centre` (negative turns anticlockwise on screen)."""
    a = math.radians(degrees)
    cx, cy = centre
    result = []
    for x, y in points:
        dx, dy = x - cx, y - cy
        result.append((cx + dx * math.cos(a) - dy * math.sin(a), cy + dx * math.sin(a) + dy * math.cos(a)))
    return result


# --- shapes: each knows its colour, its bounding box, whether a design-unit point lies inside,
# and how to write itself as SVG ---------------------------------------------------------------

class Shape:
    PAINT = "fill"  # the SVG attribute that carries the colour

    def __init__(self, colour, box):
        self.colour = rgba(colour)
        self.box = box

    def inside(self, x, y):
        raise NotImplementedError

    def svg_element(self):
        """The SVG element without its colour, for example 'circle cx="1" cy="2" r="3"'."""
        raise NotImplementedError

    def svg(self):
        r, g, b, a = self.colour
        paint = f'{self.PAINT}="#{r:02x}{g:02x}{b:02x}"'
        if a != 255:
            paint += f' {self.PAINT}-opacity="{a / 255:.3f}"'
        return f"<{self.svg_element()} {paint}/>"


def bounds(points, margin=0.0):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (min(xs) - margin, min(ys) - margin, max(xs) + margin, max(ys) + margin)


def svg_points(points):
    return " ".join(f"{x:g},{y:g}" for x, y in points)


class Polygon(Shape):
    def __init__(self, points, colour):
        super().__init__(colour, bounds(points))
        self.points = points

    def inside(self, x, y):
        result = False
        pts = self.points
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result

    def svg_element(self):
        return f'polygon points="{svg_points(self.points)}"'


def rect(x, y, w, h, colour):
    return Polygon([(x, y), (x + w, y), (x + w, y + h), (x, y + h)], colour)


class Ellipse(Shape):
    def __init__(self, cx, cy, rx, ry, colour):
        super().__init__(colour, (cx - rx, cy - ry, cx + rx, cy + ry))
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry

    def inside(self, x, y):
        dx = (x - self.cx) / self.rx
        dy = (y - self.cy) / self.ry
        return dx * dx + dy * dy <= 1.0

    def svg_element(self):
        return f'ellipse cx="{self.cx:g}" cy="{self.cy:g}" rx="{self.rx:g}" ry="{self.ry:g}"'


def circle(cx, cy, r, colour):
    return Ellipse(cx, cy, r, r, colour)


class Stroke(Shape):
    """A polyline of the given width with round ends and joins."""

    PAINT = "stroke"

    def __init__(self, points, width, colour):
        self.half = width / 2.0
        super().__init__(colour, bounds(points, self.half))
        self.points = points

    def inside(self, x, y):
        limit = self.half * self.half
        for (ax, ay), (bx, by) in zip(self.points, self.points[1:]):
            dx, dy = bx - ax, by - ay
            length = dx * dx + dy * dy
            t = 0.0 if length == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length))
            px, py = ax + t * dx - x, ay + t * dy - y
            if px * px + py * py <= limit:
                return True
        return False

    def svg_element(self):
        return (f'polyline points="{svg_points(self.points)}" fill="none" '
                f'stroke-width="{2 * self.half:g}" stroke-linecap="round" stroke-linejoin="round"')


class Arc(Shape):
    """A ring between two radii, from angle a0 to a1 in degrees (0 = right, counting clockwise
    on screen, since y grows downwards)."""

    def __init__(self, cx, cy, r_inner, r_outer, a0, a1, colour):
        super().__init__(colour, (cx - r_outer, cy - r_outer, cx + r_outer, cy + r_outer))
        self.cx, self.cy, self.ri, self.ro, self.a0, self.a1 = cx, cy, r_inner, r_outer, a0, a1

    def inside(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        d = math.hypot(dx, dy)
        if d < self.ri or d > self.ro:
            return False
        angle = math.degrees(math.atan2(dy, dx)) % 360.0
        start = self.a0 % 360.0
        span = (self.a1 - self.a0) % 360.0
        return (angle - start) % 360.0 <= span

    def svg_element(self):
        span = (self.a1 - self.a0) % 360.0
        large = 1 if span > 180 else 0

        def at(r, degrees):
            a = math.radians(degrees)
            return f"{self.cx + r * math.cos(a):g},{self.cy + r * math.sin(a):g}"

        return (f'path d="M{at(self.ro, self.a0)} A{self.ro:g},{self.ro:g} 0 {large} 1 {at(self.ro, self.a1)} '
                f'L{at(self.ri, self.a1)} A{self.ri:g},{self.ri:g} 0 {large} 0 {at(self.ri, self.a0)} Z"')


class Cells(Shape):
    """The cells of a pixel drawing (rows of characters, one per design unit) that hold
    `symbol`: hard edges at every whole scale."""

    def __init__(self, rows, symbol, colour):
        super().__init__(colour, (0, 0, max(len(row) for row in rows), len(rows)))
        self.cells = {(x, y) for y, row in enumerate(rows) for x, c in enumerate(row) if c == symbol}

    def inside(self, x, y):
        return (math.floor(x), math.floor(y)) in self.cells

    def svg_element(self):
        squares = "".join(f"M{x},{y}h1v1h-1z" for x, y in sorted(self.cells, key=lambda c: (c[1], c[0])))
        return f'path d="{squares}"'


def pixel_drawing(rows, palette):
    """A pixel drawing as one Cells shape per colour; '.' is transparent."""
    return [Cells(rows, symbol, colour) for symbol, colour in palette.items()]


# --- rasterising and PNG writing ---------------------------------------------------------------

def rasterise(shapes, width, height, scale, background=(0, 0, 0, 0)):
    """Draws shapes (design units) onto a width × height pixel image at `scale` pixels per unit."""
    pixels = [[list(background) for _ in range(width)] for _ in range(height)]
    offsets = [(i + 0.5) / SAMPLES for i in range(SAMPLES)]
    for shape in shapes:
        x0, y0, x1, y1 = shape.box
        left = max(0, int(math.floor(x0 * scale)))
        top = max(0, int(math.floor(y0 * scale)))
        right = min(width, int(math.ceil(x1 * scale)) + 1)
        bottom = min(height, int(math.ceil(y1 * scale)) + 1)
        sr, sg, sb, sa = shape.colour
        for py in range(top, bottom):
            for px in range(left, right):
                hits = 0
                for oy in offsets:
                    for ox in offsets:
                        if shape.inside((px + ox) / scale, (py + oy) / scale):
                            hits += 1
                if hits == 0:
                    continue
                alpha = sa / 255.0 * hits / (SAMPLES * SAMPLES)
                dr, dg, db, da = pixels[py][px]
                da_f = da / 255.0
                out_a = alpha + da_f * (1.0 - alpha)
                if out_a <= 0:
                    continue

                def mix(s, d):
                    return (s * alpha + d * da_f * (1.0 - alpha)) / out_a

                pixels[py][px] = [mix(sr, dr), mix(sg, dg), mix(sb, db), out_a * 255.0]
    return pixels


def write_png(path, pixels):
    height = len(pixels)
    width = len(pixels[0])
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for r, g, b, a in row:
            raw += bytes((int(round(r)), int(round(g)), int(round(b)), int(round(a))))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)


def write_scaled(name, shapes, width, height, scales, background=(0, 0, 0, 0)):
    for scale in scales:
        suffix = "" if scale == 1 else f"@{scale}x"
        pixels = rasterise(shapes, width * scale, height * scale, scale, background)
        write_png(os.path.join(OUT, f"{name}{suffix}.png"), pixels)


# --- the toolbar images, 16 × 16 design units --------------------------------------------------

INK = "202020"


def arrow(direction):
    """A black arrow: a 2-unit shaft and a head, pointing right, then turned."""
    shape = [(2, 7), (9, 7), (9, 3), (14, 8), (9, 13), (9, 9), (2, 9)]

    def turn(p):
        x, y = p
        if direction == "right":
            return (x, y)
        if direction == "left":
            return (16 - x, y)
        if direction == "down":
            return (16 - y, x)
        return (y, 16 - x)  # up

    return [Polygon([turn(p) for p in shape], INK)]


def open_folder():
    return [
        Polygon([(1, 3), (6, 3), (7, 4), (13, 4), (13, 13), (1, 13)], "6b5010"),
        Polygon([(2, 4), (5.6, 4), (6.6, 5), (12, 5), (12, 12), (2, 12)], "d8a838"),
        Polygon([(1, 13), (4, 7), (16, 7), (13, 13)], "6b5010"),
        Polygon([(2.6, 12), (4.6, 8), (14.4, 8), (12.4, 12)], "f6d66c"),
    ]


def diskette():
    return [
        Polygon([(1, 1), (13, 1), (15, 3), (15, 15), (1, 15)], "1c2f6e"),
        Polygon([(2, 2), (12.6, 2), (14, 3.4), (14, 14), (2, 14)], "3556b0"),
        rect(4, 2, 8, 5, "d8dce4"),
        rect(9, 3, 2, 3, "3556b0"),
        rect(3, 9, 10, 5, "ffffff"),
        rect(4, 10, 8, 1, "9aa4b8"),
        rect(4, 12, 8, 1, "9aa4b8"),
    ]


def landscape():
    return [
        rect(0, 2, 16, 13, "404040"),
        rect(1, 3, 14, 11, "8cc8f0"),
        circle(11.5, 6, 1.6, "f8d830"),
        Polygon([(1, 14), (1, 10), (5, 7), (9, 11), (11, 9.5), (15, 12), (15, 14)], "3c9a3c"),
        Polygon([(1, 14), (1, 12), (6, 10), (11, 14)], "2c7a2c"),
    ]


def paint_bucket():
    # A bucket lying tipped to the right, paint running out of its mouth.
    def tip(*points):
        return rotated(points, -35, (7, 8))

    body_out = tip((2, 4), (11, 4), (10, 14), (3, 14))
    body_in = tip((3, 5), (10, 5), (9.1, 13), (3.9, 13))
    return [
        Stroke(tip((3, 4), (6.5, 0.5), (10, 4)), 1.2, INK),
        Polygon(body_out, INK),
        Polygon(body_in, "c0c4cc"),
        Polygon(tip((3, 5), (10, 5), (10, 6.5), (3, 6.5)), "e8eaee"),
        Stroke([(12.2, 5.5), (14, 9), (14, 12.5)], 2.2, "2060d0"),
        circle(14, 13.6, 1.5, "2060d0"),
    ]


def pencil():
    # Drawn lying from the lower left (point) to the upper right (eraser).
    def along(t, side):
        # Point at distance t along the pencil's axis, `side` across it.
        ax, ay = 1.5, 14.5
        ux, uy = math.cos(math.radians(-45)), math.sin(math.radians(-45))
        return (ax + ux * t - uy * side, ay + uy * t + ux * side)

    return [
        Polygon([along(0, 0), along(5, -2.8), along(17.5, -2.8), along(17.5, 2.8), along(5, 2.8)], INK),
        Polygon([along(1.2, 0), along(5, -2.1), along(5, 2.1)], "e8c890"),
        Polygon([along(0.4, 0), along(2.2, -1.0), along(2.2, 1.0)], INK),
        Polygon([along(5, -2.1), along(14, -2.1), along(14, 2.1), along(5, 2.1)], "f0c020"),
        Polygon([along(5, -0.4), along(14, -0.4), along(14, 0.4), along(5, 0.4)], "c89000"),
        Polygon([along(14, -2.1), along(15, -2.1), along(15, 2.1), along(14, 2.1)], "a0a0a8"),
        Polygon([along(15, -2.1), along(16.8, -2.1), along(16.8, 2.1), along(15, 2.1)], "f090a0"),
    ]


def circular_arrow():
    return [
        Arc(8, 8.5, 3.6, 6.2, -60, 210, "1f50c0"),
        Polygon([(10.2, 0.5), (15.6, 5.2), (9.2, 7.6)], "1f50c0"),
    ]


def exit_cross():
    return [
        circle(8, 8, 7.5, "a01010"),
        circle(8, 8, 6.5, "e02828"),
        Stroke([(5, 5), (11, 11)], 2.2, "ffffff"),
        Stroke([(11, 5), (5, 11)], 2.2, "ffffff"),
    ]


def bent_back_left():
    # An arrow that goes right along the top, turns down and comes back to the left.
    return [
        Arc(9.5, 8, 2.2, 4.6, 270, 90, INK),
        rect(3, 3.4, 6.6, 2.4, INK),
        rect(6, 10.2, 3.6, 2.4, INK),
        Polygon([(1.5, 11.4), (6.5, 7), (6.5, 15.8)], INK),
    ]


def bent_up_down():
    # Two bent arrows: one comes in from the left and turns up, the other from the right and
    # turns down.
    return [
        Stroke([(1.5, 9.5), (5, 9.5), (5, 5)], 2.0, INK),
        Polygon([(2, 5.5), (5, 1), (8, 5.5)], INK),
        Stroke([(14.5, 6.5), (11, 6.5), (11, 11)], 2.0, INK),
        Polygon([(8, 10.5), (11, 15), (14, 10.5)], INK),
    ]


def eraser():
    def turn(*points):
        return rotated(points, -35, (8, 8))

    return [
        Polygon(turn((0.5, 4.5), (15.5, 4.5), (15.5, 11.5), (0.5, 11.5)), INK),
        Polygon(turn((1.5, 5.5), (7.5, 5.5), (7.5, 10.5), (1.5, 10.5)), "f0a0b0"),
        Polygon(turn((7.5, 5.5), (14.5, 5.5), (14.5, 10.5), (7.5, 10.5)), "4070d0"),
        Polygon(turn((1.5, 5.5), (14.5, 5.5), (14.5, 6.8), (1.5, 6.8)), (255, 255, 255, 110)),
    ]


def grabbing_hand():
    skin = "f4c8a0"
    shapes = [
        Polygon([(3, 7), (13, 7), (13.5, 11), (11, 15), (5, 15), (2.5, 11)], INK),
        Polygon([(4, 8), (12.2, 8), (12.5, 11), (10.4, 14), (5.6, 14), (3.5, 11)], skin),
    ]
    # Four curled fingers along the top and a thumb on the left.
    for x in (4.6, 6.9, 9.2, 11.5):
        shapes.append(Stroke([(x, 5.2), (x, 8.2)], 3.0, INK))
    for x in (4.6, 6.9, 9.2, 11.5):
        shapes.append(Stroke([(x, 5.2), (x, 8.2)], 1.3, skin))
    shapes.append(Stroke([(1.6, 9), (4.2, 11.2)], 3.0, INK))
    shapes.append(Stroke([(1.6, 9), (4.2, 11.2)], 1.3, skin))
    shapes.append(rect(4, 8.6, 8.2, 1.5, skin))
    return shapes


TOOLBAR = {
    "tool-open": open_folder(),
    "tool-save": diskette(),
    "tool-new": landscape(),
    "tool-fill": paint_bucket(),
    "tool-paint": pencil(),
    "tool-down": arrow("down"),
    "tool-up": arrow("up"),
    "tool-right": arrow("right"),
    "tool-left": arrow("left"),
    "tool-refresh": circular_arrow(),
    "tool-exit": exit_cross(),
    "tool-flip-horizontal": bent_back_left(),
    "tool-flip-vertical": bent_up_down(),
    "tool-eraser": eraser(),
    "tool-grab": grabbing_hand(),
}


# --- the logo: a mosaic of tiles with an M in blues, 159 × 129 -------------------------------

def logo():
    shapes = []
    tile, gap = 15, 2
    left, top = 4, 6
    letter = {(1, r) for r in range(7)} | {(7, r) for r in range(7)}
    letter |= {(2, 1), (3, 2), (4, 3), (5, 2), (6, 1)}
    blues = ["1a4fb5", "2360d0", "2f72e0", "1c58c4", "3a7ee8"]
    pale = ["f3e3b0", "e0eef8", "e8f4dc", "f8dcd8", "ece0f4", "fff0c8", "dcecec"]
    seed = 7
    for r in range(7):
        for c in range(9):
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            x = left + c * (tile + gap)
            y = top + r * (tile + gap)
            if (c, r) in letter:
                colour = blues[(seed >> 8) % len(blues)]
            else:
                colour = pale[(seed >> 8) % len(pale)]
            # Rounded tiles: a cross of two rectangles and four corner circles.
            radius = 2.5
            shapes.append(rect(x + radius, y, tile - 2 * radius, tile, colour))
            shapes.append(rect(x, y + radius, tile, tile - 2 * radius, colour))
            for cx, cy in ((x + radius, y + radius), (x + tile - radius, y + radius),
                           (x + radius, y + tile - radius), (x + tile - radius, y + tile - radius)):
                shapes.append(circle(cx, cy, radius, colour))
    return shapes


# --- the arrow: down, round the corner, and right to a head; 94 × 41 -------------------------

def hooked_arrow():
    points = [(6, 14), (6, 24)]
    for step in range(1, 10):
        a = math.radians(180 - step * 10)
        points.append((14 + 8 * math.cos(a), 24 + 8 * math.sin(a)))
    points.append((14, 32))
    points.append((80, 32))
    return [
        Stroke(points, 3.0, "000000"),
        Polygon([(78, 24.5), (92.5, 32), (78, 39.5)], "000000"),
    ]


# --- the grid's pointer: a pencil, 32 × 32, its point at the lower left --------------------------

def pencil_pointer():
    rows = [
        "..........................aa....",
        ".........................abba...",
        "........................abbbba..",
        ".......................acbbbbca.",
        "......................acccbbccca",
        ".....................adddcccddca",
        "....................adddddcddda.",
        "...................addddddddda..",
        "..................addddddddda...",
        ".................addddddddda....",
        "................addddddddda.....",
        "...............addddddddda......",
        "..............addddddddda.......",
        ".............addddddddda........",
        "............addddddddda.........",
        "...........addddddddda..........",
        "..........addddddddda...........",
        ".........addddddddda............",
        "........addddddddda.............",
        ".......aedddddddda..............",
        "......aeeedddddda...............",
        ".....aeeeeedddda................",
        "....aeeeeeeedda.................",
        "...aceeeeeeeea..................",
        "...acceeeeeea...................",
        "..acccceeea.....................",
        "..acccccea......................",
        ".acccccca.......................",
        ".accccaa........................",
        "accaa...........................",
        "aa..............................",
        "................................",
    ]
    # Outline, eraser, graphite and ferrule, lacquer, bare wood.
    palette = {"a": "000000", "b": "dc5a78", "c": "3c3c3c", "d": "f0c828", "e": "ebd7aa"}
    return pixel_drawing(rows, palette)


# --- the program icon: three blue four-pointed stars, 64 × 64 design units --------------------

def star(cx, cy, r_outer, r_inner, colour):
    points = []
    for i in range(8):
        r = r_outer if i % 2 == 0 else r_inner
        a = math.radians(-90 + i * 45)
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return Polygon(points, colour)


def program_icon():
    shapes = []
    for cx, cy, r in ((25, 27, 23), (50, 14, 12), (48, 48, 14)):
        shapes.append(star(cx, cy, r + 1.6, r * 0.3 + 1.0, "0d2f80"))
        shapes.append(star(cx, cy, r, r * 0.3, "1e5ad2"))
        shapes.append(star(cx - r * 0.08, cy - r * 0.08, r * 0.55, r * 0.16, "7fb0ff"))
    return shapes


def write_svg(path, shapes, size):
    body = "\n  ".join(s.svg() for s in shapes)
    with open(path, "w", encoding="utf-8") as out:
        out.write(f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
                  f'viewBox="0 0 {size} {size}">\n  {body}\n</svg>\n')


def main():
    os.makedirs(os.path.join(OUT, "icons"), exist_ok=True)
    scales = (1, 2, 3)  # the whole display scales the window is shown at
    for name, shapes in TOOLBAR.items():
        write_scaled(name, shapes, 16, 16, scales)
    write_scaled("logo", logo(), 159, 129, scales, background=(255, 255, 255, 255))
    write_scaled("arrow", hooked_arrow(), 94, 41, scales)
    write_scaled("pencil", pencil_pointer(), 32, 32, scales)
    icon = program_icon()
    for size in (16, 32, 48, 64, 128):
        pixels = rasterise(icon, size, size, size / 64.0)
        write_png(os.path.join(OUT, "icons", f"mosaikon-{size}.png"), pixels)
    write_svg(os.path.join(OUT, "icons", "mosaikon.svg"), icon, 64)


if __name__ == "__main__":
    if len(sys.argv) > 1:
        OUT = sys.argv[1]
    main()
