"""A small SVG writer for engineering line drawings: lines in three weights,
dimension lines with extension lines and filled arrowheads, angle arcs, force
arrows, hatched walls and labels with italic variables and upright subscripts.

Only what the Qt SVG renderer draws is written: presentation attributes on
each element, paths, lines, polygons, circles and plain text. No style sheets,
markers, filters or text shifts (the renderer ignores dy and baseline-shift,
so subscripts are separate text elements placed from the font's advances).
"""

import math
import re

SERIF = "serif"
CJK = "Noto Serif CJK SC, Noto Sans CJK SC, serif"

# Advance widths (em) of the serif face the renderer picks on our machines;
# its italic has the same advances. Used only to place subscripts and to keep
# labels clear of lines; a different face shifts a subscript by a hair.
_ADVANCE = {
    " ": 0.318, "(": 0.39, ")": 0.39, ",": 0.318, "-": 0.338, ".": 0.318,
    "/": 0.337, ":": 0.337, "=": 0.838, "+": 0.838, "'": 0.275,
    "A": 0.722, "B": 0.735, "C": 0.765, "D": 0.802, "E": 0.73, "F": 0.694,
    "G": 0.799, "H": 0.872, "I": 0.395, "J": 0.401, "K": 0.747, "L": 0.664,
    "M": 1.024, "N": 0.875, "O": 0.82, "P": 0.673, "Q": 0.82, "R": 0.753,
    "S": 0.685, "T": 0.667, "U": 0.843, "V": 0.722, "W": 1.028, "X": 0.712,
    "Y": 0.66, "Z": 0.695,
    "a": 0.596, "b": 0.64, "c": 0.56, "d": 0.64, "e": 0.592, "f": 0.37,
    "g": 0.64, "h": 0.644, "i": 0.32, "j": 0.31, "k": 0.606, "l": 0.32,
    "m": 0.948, "n": 0.644, "o": 0.602, "p": 0.64, "q": 0.64, "r": 0.478,
    "s": 0.513, "t": 0.402, "u": 0.644, "v": 0.565, "w": 0.856, "x": 0.564,
    "y": 0.565, "z": 0.527,
    "α": 0.675, "β": 0.578, "γ": 0.598, "δ": 0.602, "θ": 0.602, "λ": 0.634,
    "μ": 0.65, "σ": 0.683, "φ": 0.7, "Δ": 0.722, "°": 0.5, "×": 0.838,
    "−": 0.838,
}


def advance(text, size):
    """Width of text set in the serif face at size px (CJK characters are square)."""
    w = 0.0
    for ch in text:
        if ch in _ADVANCE:
            w += _ADVANCE[ch]
        elif ch.isdigit():
            w += 0.636
        elif ord(ch) > 0x2e80:
            w += 1.0
        else:
            w += 0.6
    return w * size


def _num(v):
    s = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if s == "-0" else s


def _esc(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


# Label markup: "X_1t" is an italic X with the upright subscript 1t; a blank
# ends the subscript and what follows is upright ("X_Q2 =1"). Greek letters
# and Latin letters of the base are italic, digits upright.
_LABEL = re.compile(r"^([^_ ]*)(?:_(\S+))?(.*)$")


def _label_parts(markup, size):
    m = _LABEL.match(markup)
    base, sub, rest = m.group(1), m.group(2) or "", m.group(3)
    parts = []
    if base:
        italic = not base.isdigit()
        parts.append((base, size, italic, 0.0))
    if sub:
        parts.append((sub, size * 0.72, False, size * 0.28))
    if rest:
        parts.append((rest, size, False, 0.0))
    return parts


def label_width(markup, size):
    return sum(advance(t, s) for t, s, _, _ in _label_parts(markup, size))


def vec(a, b):
    return (b[0] - a[0], b[1] - a[1])


def unit(v):
    n = math.hypot(v[0], v[1])
    return (v[0] / n, v[1] / n)


def add(p, v, k=1.0):
    return (p[0] + k * v[0], p[1] + k * v[1])


def lerp(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t)


def normal(v):
    """The screen normal of v turned a quarter to the left of its direction."""
    return (v[1], -v[0])


def intersect(p1, d1, p2, d2):
    """Intersection of the lines p1 + s d1 and p2 + t d2."""
    den = d1[0] * d2[1] - d1[1] * d2[0]
    s = ((p2[0] - p1[0]) * d2[1] - (p2[1] - p1[1]) * d2[0]) / den
    return add(p1, d1, s)


class Style:
    """Line weights, text and arrow sizes of one drawing, in its own px."""

    def __init__(self, font=11.0, thick=2.2, medium=1.2, thin=0.6, arrow=6.0, force_arrow=8.0):
        self.font = font
        self.thick = thick
        self.medium = medium
        self.thin = thin
        self.arrow = arrow
        self.force_arrow = force_arrow


class Svg:
    def __init__(self, width, height, style, title, units=1.0):
        """width, height: the declared size in px; units: drawing units per
        px (the view box is units times the declared size)."""
        self.width = width
        self.height = height
        self.units = units
        self.s = style
        self.title = title
        self.items = []

    # --- primitives -------------------------------------------------------
    def line(self, a, b, w=None, dash=None, cap="round"):
        w = self.s.thin if w is None else w
        extra = f' stroke-dasharray="{dash}"' if dash else ""
        self.items.append(
            f'<line x1="{_num(a[0])}" y1="{_num(a[1])}" x2="{_num(b[0])}" y2="{_num(b[1])}" '
            f'stroke="#000" stroke-width="{_num(w)}" stroke-linecap="{cap}"{extra}/>')

    def polygon(self, pts, w=None, fill="none", closed=True, dash=None):
        w = self.s.medium if w is None else w
        tag = "polygon" if closed else "polyline"
        coords = " ".join(f"{_num(x)},{_num(y)}" for x, y in pts)
        extra = f' stroke-dasharray="{dash}"' if dash else ""
        self.items.append(
            f'<{tag} points="{coords}" fill="{fill}" stroke="#000" stroke-width="{_num(w)}" '
            f'stroke-linejoin="round"{extra}/>')

    def path(self, d, w=None, fill="none", stroke="#000"):
        w = self.s.thin if w is None else w
        self.items.append(f'<path d="{d}" fill="{fill}" stroke="{stroke}" stroke-width="{_num(w)}" '
                          f'stroke-linejoin="round" stroke-linecap="round"/>')

    def circle(self, c, r, w=None, fill="#fff"):
        w = self.s.medium if w is None else w
        self.items.append(f'<circle cx="{_num(c[0])}" cy="{_num(c[1])}" r="{_num(r)}" fill="{fill}" '
                          f'stroke="#000" stroke-width="{_num(w)}"/>')

    def text(self, x, y, text, size=None, italic=False, anchor="start", family=SERIF):
        size = self.s.font if size is None else size
        style = ' font-style="italic"' if italic else ""
        self.items.append(f'<text x="{_num(x)}" y="{_num(y)}" font-family="{family}" '
                          f'font-size="{_num(size)}"{style} text-anchor="{anchor}" fill="#000">'
                          f'{_esc(text)}</text>')

    def cjk(self, x, y, text, size=None, anchor="start"):
        self.text(x, y, text, size, False, anchor, CJK)

    def label(self, p, markup, size=None, align="c", valign="m"):
        """A variable label at p. align: l, c, r (p at the left end, middle,
        right end); valign: b (p on the baseline) or m (p at mid-height)."""
        size = self.s.font if size is None else size
        parts = _label_parts(markup, size)
        width = sum(advance(t, s) for t, s, _, _ in parts)
        x = p[0] - {"l": 0.0, "c": width / 2, "r": width}[align]
        y = p[1] + (0.36 * size if valign == "m" else 0.0)
        for t, s, italic, shift in parts:
            self.text(x, y + shift, t, s, italic)
            x += advance(t, s)

    def label_beside(self, p, direction, markup, gap=3.0, size=None):
        """A label just off p, on the side given by the screen direction."""
        size = self.s.font if size is None else size
        d = unit(direction)
        w = label_width(markup, size)
        h = 0.72 * size
        # Move the label's centre out until its box clears p by gap.
        reach = abs(d[0]) * w / 2 + abs(d[1]) * h / 2 + gap
        self.label(add(p, d, reach), markup, size)

    # --- arrows -----------------------------------------------------------
    def arrowhead(self, tip, direction, length=None, half=None):
        length = self.s.arrow if length is None else length
        half = length * 0.3 if half is None else half
        d = unit(direction)
        n = normal(d)
        base = add(tip, d, -length)
        a = add(base, n, half)
        b = add(base, n, -half)
        self.items.append(
            f'<path d="M{_num(tip[0])},{_num(tip[1])} L{_num(a[0])},{_num(a[1])} '
            f'L{_num(b[0])},{_num(b[1])} Z" fill="#000" stroke="none"/>')

    def force(self, tail, tip, markup=None, side=None, w=None, gap=3.0):
        """A force arrow from tail to tip; its label beside the shaft's middle
        on the screen side given (a direction), or beyond the tip."""
        w = self.s.medium if w is None else w
        d = unit(vec(tail, tip))
        self.line(tail, add(tip, d, -self.s.force_arrow * 0.6), w)
        self.arrowhead(tip, d, self.s.force_arrow)
        if markup:
            if side is None:
                self.label_beside(tip, d, markup, gap)
            else:
                self.label_beside(lerp(tail, tip, 0.5), side, markup, gap)

    # --- dimensions -------------------------------------------------------
    def dim(self, a, b, off, markup, place=None, ext_a=True, ext_b=True, outside=False, shift=0.0):
        """Dimension of the distance a-b, its line offset by off px along the
        normal of a->b (negative: the other side). The label sits at the
        middle (moved by shift px along the line) on the side away from the
        measured object, or on the screen side place ('above', 'below',
        'left', 'right'). outside: arrows outside the extension lines, for
        short distances."""
        d = unit(vec(a, b))
        n = normal(d)
        sgn = 1.0 if off >= 0 else -1.0
        da, db = add(a, n, off), add(b, n, off)
        gap, over = 2.0, 3.0
        if ext_a and abs(off) > gap:
            self.line(add(a, n, sgn * gap), add(da, n, sgn * over))
        if ext_b and abs(off) > gap:
            self.line(add(b, n, sgn * gap), add(db, n, sgn * over))
        al = self.s.arrow
        if outside:
            self.line(add(da, d, -2.2 * al), add(db, d, 2.2 * al))
            self.arrowhead(da, d)
            self.arrowhead(db, (-d[0], -d[1]))
        else:
            self.line(da, db)
            self.arrowhead(da, (-d[0], -d[1]))
            self.arrowhead(db, d)
        mid = add(lerp(da, db, 0.5), d, shift)
        if place is None:
            side = (n[0] * sgn, n[1] * sgn)
        else:
            side = {"above": (0, -1), "below": (0, 1), "left": (-1, 0), "right": (1, 0)}[place]
        self.label_beside(mid, side, markup, 2.0)

    def dim_h(self, x1, x2, y, markup, y1=None, y2=None, place="above", outside=False, shift=0.0):
        """Horizontal dimension from x1 to x2 with its line at y; extension
        lines come from y1 and y2 when given."""
        self._ext((x1, y1), (x1, y))
        self._ext((x2, y2), (x2, y))
        self.dim((x1, y), (x2, y), 0.0, markup, place, False, False, outside, shift)

    def dim_v(self, y1, y2, x, markup, x1=None, x2=None, place="right", outside=False, shift=0.0):
        """Vertical dimension from y1 to y2 with its line at x."""
        self._ext((x1, y1), (x, y1))
        self._ext((x2, y2), (x, y2))
        self.dim((x, y1), (x, y2), 0.0, markup, place, False, False, outside, shift)

    def _ext(self, start, end):
        if start[0] is None or start[1] is None:
            return
        d = vec(start, end)
        n = math.hypot(*d)
        if n < 2.5:
            return
        u = (d[0] / n, d[1] / n)
        self.line(add(start, u, 2.0), add(end, u, 3.0))

    def angle(self, vertex, d1, d2, r, markup, label_r=None):
        """An angle arc at vertex from screen direction d1 to d2 (the smaller
        turn), labelled on its bisector."""
        a1 = math.atan2(d1[1], d1[0])
        a2 = math.atan2(d2[1], d2[0])
        turn = (a2 - a1 + math.pi) % (2 * math.pi) - math.pi
        p1 = (vertex[0] + r * math.cos(a1), vertex[1] + r * math.sin(a1))
        p2 = (vertex[0] + r * math.cos(a1 + turn), vertex[1] + r * math.sin(a1 + turn))
        sweep = 1 if turn > 0 else 0
        self.path(f"M{_num(p1[0])},{_num(p1[1])} A{_num(r)},{_num(r)} 0 0,{sweep} {_num(p2[0])},{_num(p2[1])}")
        mid = a1 + turn / 2
        lr = r + 2.0 if label_r is None else label_r
        self.label_beside((vertex[0] + lr * math.cos(mid), vertex[1] + lr * math.sin(mid)),
                          (math.cos(mid), math.sin(mid)), markup, 1.0)

    def torque(self, centre, r, markup, clockwise=True, start_deg=-150.0, span_deg=260.0, w=None):
        """A torque arrow: an arc of span_deg about centre starting at
        start_deg (screen angle, degrees, y down), arrowhead at its end."""
        w = self.s.medium if w is None else w
        sgn = 1.0 if clockwise else -1.0   # screen angles grow clockwise
        a0 = math.radians(start_deg)
        a1 = a0 + sgn * math.radians(span_deg)
        # Leave the last bit of the arc to the arrowhead.
        back = self.s.force_arrow * 0.6 / r
        a1s = a1 - sgn * back
        p0 = (centre[0] + r * math.cos(a0), centre[1] + r * math.sin(a0))
        p1 = (centre[0] + r * math.cos(a1s), centre[1] + r * math.sin(a1s))
        large = 1 if span_deg > 180 else 0
        self.path(f"M{_num(p0[0])},{_num(p0[1])} A{_num(r)},{_num(r)} 0 {large},{1 if clockwise else 0} "
                  f"{_num(p1[0])},{_num(p1[1])}", w)
        tip = (centre[0] + r * math.cos(a1), centre[1] + r * math.sin(a1))
        tangent = (-math.sin(a1) * sgn, math.cos(a1) * sgn)
        # Aim the head along the chord it replaces, so it sits on the arc.
        aim = unit(vec(p1, tip)) if math.hypot(*vec(p1, tip)) > 1e-6 else tangent
        self.arrowhead(tip, aim, self.s.force_arrow)
        if markup:
            self.label_beside(p0, vec(centre, p0), markup, 2.0)

    # --- symbols ----------------------------------------------------------
    def hatch(self, a, b, side, spacing=6.0, depth=5.0, skip=()):
        """A wall or ground line a-b with short hatch strokes on the screen
        side given (a direction); skip: (centre x or y along the line,
        half-width) intervals left free for arrows crossing the wall."""
        self.line(a, b, self.s.medium)
        d = unit(vec(a, b))
        s = unit(side)
        length = math.hypot(*vec(a, b))
        slant = add((0, 0), add(s, d, -0.8), depth)
        t = spacing / 2
        while t < length:
            p = add(a, d, t)
            along = p[0] if abs(d[0]) > abs(d[1]) else p[1]
            if not any(abs(along - c) < h for c, h in skip):
                self.line(p, add(p, slant), self.s.thin)
            t += spacing

    def pin(self, p, r=2.6):
        self.circle(p, r, self.s.thin * 1.5, "#fff")

    def support(self, p, roller=False, size=None):
        """A pin support under p; a roller (free to move sideways) with
        roller=True."""
        h = self.s.font * 0.9 if size is None else size
        a, b = (p[0] - h * 0.6, p[1] + h), (p[0] + h * 0.6, p[1] + h)
        self.polygon([p, a, b], self.s.thin * 1.5, "#fff")
        base = p[1] + h
        if roller:
            r = h * 0.16
            for x in (p[0] - h * 0.3, p[0] + h * 0.3):
                self.circle((x, base + r), r, self.s.thin, "#fff")
            base += 2 * r
        self.hatch((p[0] - h * 0.9, base), (p[0] + h * 0.9, base), (0, 1), spacing=h * 0.3, depth=h * 0.3)

    def node(self, p, r=2.0):
        self.circle(p, r, self.s.thin, "#000")

    def centre_line(self, a, b):
        self.line(a, b, self.s.thin, "10,2.5,2,2.5", "butt")

    def hidden(self, a, b, w=None):
        self.line(a, b, self.s.thin if w is None else w, "4,3", "butt")

    def tag(self, p, text, r=None):
        """A rod number in a circle."""
        r = self.s.font * 0.62 if r is None else r
        self.circle(p, r, self.s.thin, "#fff")
        self.text(p[0], p[1] + 0.34 * self.s.font * 0.9, text, self.s.font * 0.9, False, "middle")

    # --- output -----------------------------------------------------------
    def render(self):
        head = (f'<?xml version="1.0" encoding="UTF-8"?>\n'
                f'<svg xmlns="http://www.w3.org/2000/svg" version="1.1" '
                f'width="{_num(self.width)}" height="{_num(self.height)}" '
                f'viewBox="0 0 {_num(self.width * self.units)} {_num(self.height * self.units)}">\n'
                f'<title>{_esc(self.title)}</title>\n'
                f'<rect x="0" y="0" width="{_num(self.width * self.units)}" '
                f'height="{_num(self.height * self.units)}" fill="#fff"/>\n')
        return head + "\n".join(self.items) + "\n</svg>\n"
