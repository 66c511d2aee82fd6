#!/usr/bin/env python3
"""Draws the force-analysis and rod-form diagrams of resources/diagrams.

Every drawing is made to scale from one set of dimensions (mm) per layout, so
that the rods, anchors and intersection points sit where the calculation puts
them; the same formulas as the force analysis place P and Q, and the script
stops if they disagree with the plain intersection of the rod lines.

    draw_diagrams.py [--out DIR]     write the SVG files (default: resources/diagrams)
    draw_diagrams.py --check DIR     exit 1 if the files in DIR differ from a fresh drawing
"""

import argparse
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from svgdraw import Style, Svg, add, intersect, lerp, unit, vec  # noqa: E402

# Degrees and radians as the calculation converts them (3.1416, both ways).
def rad(deg):
    return deg * 3.1416 / 180.0


def deg(r):
    return r * 180.0 / 3.1416


def round2(x):
    return float(f"{x:.2f}")


def close(a, b, tol_mm=1.0):
    """Points equal within tol_mm. The angles are rounded to 0.01 degree
    before the intersections are formed, which moves a distant intersection
    of two nearly parallel rods by a few millimetres."""
    return math.hypot(a[0] - b[0], a[1] - b[1]) <= tol_mm


class View:
    """World (mm) to screen (px). x runs toward the side of rod 1 (drawn to
    the left), y toward the building (drawn downward), as in the pages."""

    def __init__(self, scale, origin):
        self.k = scale
        self.o = origin

    def __call__(self, p):
        return (self.o[0] - self.k * p[0], self.o[1] + self.k * p[1])

    def len(self, mm):
        return self.k * mm


def screen_dir(deg_ccw):
    """Screen direction of a load at deg_ccw: 0 toward the side of rod 3 (to
    the right), 90 away from the building (up)."""
    a = math.radians(deg_ccw)
    return (math.cos(a), -math.sin(a))


# ---------------------------------------------------------------------------
# Three-rod frame
# ---------------------------------------------------------------------------

class ThreeRod:
    """Rod 1 from (A, B) to (X1, H), rod 2 from (C - D, B) to (X1 - X3, H),
    rod 3 from (-D, B) to (-X2, H); u toward rod 1, v toward the wall."""

    def __init__(self, A, B, C, D, X1, X2, X3, H):
        self.A, self.B, self.C, self.D = A, B, C, D
        self.X1, self.X2, self.X3, self.H = X1, X2, X3, H
        self.T = [(A, B), (C - D, B), (-D, B)]
        self.N = [(X1, H), (X1 - X3, H), (-X2, H)]
        self.alpha = round2(deg(math.atan2(H - B, X1 - A)))
        self.beta = round2(deg(math.atan2(H - B, X1 - X3 + D - C)))
        self.gamma = round2(deg(math.atan2(H - B, X2 - D)))
        ta, tb, tg = (math.tan(rad(a)) for a in (self.alpha, self.beta, self.gamma))
        e = tb * (ta * (A + D - C)) / (ta - tb) - H + B
        self.t = e
        self.P = (e / ta + X1, e + H)                  # (X1t, Ht)
        self.s3 = (self.P[1] - B) / tg + D             # X2t
        q = (tg * self.s3 - tb * self.P[0]) / (tg + tb)
        self.Q = (-q, B - tg * (D - q))                # (-Ct, Bt)
        self.x1Q = X1 - (H - self.Q[1]) / ta           # At
        # The same points as plain intersections of the rod lines.
        d = [vec(t, n) for t, n in zip(self.T, self.N)]
        assert close(self.P, intersect(self.T[0], d[0], self.T[1], d[1]), 50), "P"
        assert close(self.Q, intersect(self.T[1], d[1], self.T[2], d[2]), 50), "Q"
        at_p = intersect(self.T[2], d[2], (0, self.P[1]), (1, 0))
        assert abs(-at_p[0] - self.s3) < 50, "X2t"
        at_q = intersect(self.T[0], d[0], (0, self.Q[1]), (1, 0))
        assert abs(at_q[0] - self.x1Q) < 50, "At"


def mast_square(g):
    """Corners of the mast section: lower edge at B from the centre, sides at
    A and D, square."""
    side = g.A + g.D
    top = g.B - side
    return [(g.A, top), (-g.D, top), (-g.D, g.B), (g.A, g.B)]


def draw_loads(svg, centre, r_len, theta, m_r):
    """R at the angle θ from the horizontal toward the side of rod 3 (to the
    right), and the torque M, clockwise, about the mast centre."""
    d = screen_dir(theta)
    tip = add(centre, d, r_len)
    svg.force(centre, tip, "R", w=svg.s.medium * 1.3)
    svg.line(centre, add(centre, (1, 0), r_len * 0.8), svg.s.thin, "3,2", "butt")
    svg.angle(centre, (1, 0), d, r_len * 0.55, "θ")
    svg.torque(centre, m_r, "M", clockwise=True, start_deg=200, span_deg=250)


def wall_with_anchors(svg, anchors, wall_y, x_from, x_to, comp):
    """The wall line with its hatch, open where the force components at the
    anchors run: x toward the side of rod 1 (left), y into the wall."""
    skip = []
    reach = comp + svg.s.font * 2.0
    for a in anchors:
        skip.append((a[0] - reach / 2 + 1.5, reach / 2 + 1.5))
    svg.hatch((x_from, wall_y), (x_to, wall_y), (0, 1), skip=skip)


def anchor_components(svg, n, i, comp):
    """F_ix along the wall toward the side of rod 1, F_iy into the wall, both
    from the anchor, labelled at their heads."""
    s = svg.s
    fs = s.font * 0.85
    y = n[1] + 3.5
    svg.force((n[0], y), (n[0] - comp, y), None, w=s.thin * 1.8)
    svg.label((n[0] - comp - 1.5, y), f"F_{i}x", fs, align="r")
    tip = (n[0], n[1] + comp * 1.25)
    svg.force(n, tip, None, w=s.thin * 1.8)
    svg.label((n[0], tip[1] + fs * 0.75), f"F_{i}y", fs)


def draw_three_rod(svg, g, view, wall_from, wall_to, comp):
    s = svg.s
    o = view((0, 0))
    sq = [view(p) for p in mast_square(g)]
    wall_y = view((0, g.H))[1]
    top = min(p[1] for p in sq)
    svg.centre_line((o[0], top - s.font * 0.6), (o[0], wall_y + s.font * 0.8))
    svg.centre_line((wall_from + 4, o[1]), (sq[1][0] + s.font * 1.2, o[1]))
    svg.polygon(sq, s.medium * 1.4)
    anchors = [view(n) for n in g.N]
    tower = [view(t) for t in g.T]
    wall_with_anchors(svg, anchors, wall_y, wall_from, wall_to, comp)
    for t, n in zip(tower, anchors):
        svg.line(t, n, s.thick)
    for t in tower:
        svg.node(t, s.thick * 0.8)
    for n in anchors:
        svg.pin(n, s.thick * 1.2)
    # Rod forces beside each rod, on its outer side (rod 2 on its lower side).
    for i, (t, n) in enumerate(zip(tower, anchors)):
        d = unit(vec(t, n))
        out = (d[1], -d[0]) if d[0] < 0 else (-d[1], d[0])
        if i == 1:
            out = (-out[0], -out[1])
        svg.label_beside(lerp(t, n, 0.55), out, f"F_{i + 1}", 3)
    # Angles at the anchors, between the wall and the rod, on the mast side.
    for n, t, name in zip(anchors, tower, ("α", "β", "γ")):
        toward_centre = (1, 0) if n[0] < o[0] else (-1, 0)
        svg.angle(n, toward_centre, vec(n, t), s.font * 1.6, name)
    for i, n in enumerate(anchors):
        anchor_components(svg, n, i + 1, comp)
    return o, sq, tower, anchors, wall_y


def three_rod_dims(svg, o, sq, tower, anchors, wall_y, h_x, comp):
    s = svg.s
    top = min(p[1] for p in sq)
    left, right = sq[0][0], sq[1][0]
    row = top - s.font * 0.9
    svg.dim_h(o[0], left, row, "A", y2=top, place="above")
    svg.dim_h(o[0], right, row, "D", y2=top, place="above")
    svg.line((o[0], top), (o[0], row - 3), s.thin)
    # B inside the mast, from the centre line to the lower edge.
    svg.dim_v(o[1], tower[0][1], left + s.font * 0.9, "B", place="right")
    # C along the lower edge, from rod 3's corner to rod 2's point.
    svg.dim_h(tower[2][0], tower[1][0], tower[2][1] - s.font * 0.8, "C",
              y2=tower[1][1], place="above", outside=True)
    # H from the centre to the wall.
    svg.dim_v(o[1], wall_y, h_x, "H", x1=o[0] - 6, x2=None, place="right")
    # X1, X2 from the foot of the centre line, X3 from rod 1's anchor inward.
    y1 = wall_y + comp * 1.25 + s.font * 2.2
    y2 = y1 + s.font * 1.6
    under = wall_y + comp * 1.25 + s.font * 1.3       # clear of the F_iy labels
    svg.dim_h(o[0], anchors[0][0], y1, "X_1", y1=wall_y + s.font * 0.8, y2=under, place="above")
    svg.dim_h(o[0], anchors[2][0], y1, "X_2", y2=under, place="above")
    svg.dim_h(anchors[0][0], anchors[1][0], y2, "X_3", y1=y1 + 3, y2=under, place="below")


# ---------------------------------------------------------------------------
# Drawings
# ---------------------------------------------------------------------------

# The report figures: rods 1 and 2 close in on each other toward the wall, so
# that P lies beyond the wall and Q inside the mast, both at positive
# distances, as the derivation of the report measures them.
THREE_ROD = ThreeRod(A=900, B=900, C=300, D=900, X1=3000, X2=2600, X3=800, H=4200)
# The page: a portrait picture, anchors well apart.
THREE_ROD_PAGE = ThreeRod(A=900, B=900, C=300, D=900, X1=2700, X2=2300, X3=1200, H=5600)


def three_rod_page(g, width, height, style, title):
    svg = Svg(width, height, style, title)
    f = style.font
    margin_l, margin_r = f * 3.6, f * 1.8
    comp = f * 1.5
    above = f * 2.2                                   # A and D over the mast
    below = comp * 1.25 + f * 2.2 + f * 1.6 + f * 1.4   # components, X1 to X3
    span_y = g.H + g.A + g.D - g.B
    scale = min((width - margin_l - margin_r) / (g.X1 + g.X2), (height - above - below) / span_y)
    top = (height - above - below - scale * span_y) / 2 + above
    left = (width - margin_l - margin_r - scale * (g.X1 + g.X2)) / 2 + margin_l
    view = View(scale, (left + scale * g.X1, top + scale * (g.A + g.D - g.B)))
    o, sq, tower, anchors, wall_y = draw_three_rod(svg, g, view, f * 0.6, width - f * 0.6, comp)
    draw_loads(svg, o, f * 2.7, 32.0, f * 1.1)
    three_rod_dims(svg, o, sq, tower, anchors, wall_y, f * 1.2, comp)
    return svg


DRAWINGS = {
    "bmp135.svg": lambda: three_rod_page(THREE_ROD_PAGE, 270, 345, Style(font=11), "三杆附着"),
    "fig_threerod_1.svg": lambda: three_rod_page(THREE_ROD, 600, 700, Style(font=15, thick=3, medium=1.5, thin=0.8,
                                                                   arrow=8, force_arrow=11), "三杆附着计算模型"),
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default_out = os.path.normpath(os.path.join(here, "..", "..", "resources", "diagrams"))
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--out", default=default_out)
    ap.add_argument("--check", metavar="DIR")
    args = ap.parse_args()
    if args.check:
        stale = []
        for name, make in DRAWINGS.items():
            path = os.path.join(args.check, name)
            current = open(path, encoding="utf-8").read() if os.path.exists(path) else None
            if current != make().render():
                stale.append(name)
        for name in stale:
            print(f"{name}: differs from what draw_diagrams.py draws", file=sys.stderr)
        return 1 if stale else 0
    os.makedirs(args.out, exist_ok=True)
    for name, make in DRAWINGS.items():
        with open(os.path.join(args.out, name), "w", encoding="utf-8", newline="\n") as f:
            f.write(make().render())
    return 0


if __name__ == "__main__":
    sys.exit(main())
