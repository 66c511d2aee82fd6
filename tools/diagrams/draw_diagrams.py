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
    """Points equal within tol_mm."""
    return math.hypot(a[0] - b[0], a[1] - b[1]) <= tol_mm


def near_intersection(p, t1, d1, t2, d2):
    """p is where the rod lines t1 + s d1 and t2 + s d2 meet. The angles are
    rounded to 0.01 degree before the calculation intersects them, which
    moves a distant intersection of nearly parallel rods in proportion."""
    exact = intersect(t1, d1, t2, d2)
    return close(p, exact, max(50.0, 0.01 * math.hypot(*exact)))


class View:
    """World (mm) to screen (px). x runs toward the side of rod 1 (drawn to
    the left), y toward the building (drawn downward), as in the pages."""

    def __init__(self, scale, origin):
        self.k = scale
        self.o = origin

    def __call__(self, p):
        return (self.o[0] - self.k * p[0], self.o[1] + self.k * p[1])


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
        assert near_intersection(self.P, self.T[0], d[0], self.T[1], d[1]), "P"
        assert near_intersection(self.Q, self.T[1], d[1], self.T[2], d[2]), "Q"
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


def draw_loads(svg, centre, r_len, theta, m_r, m_label_at=240):
    """R at the angle θ from the horizontal toward the side of rod 3 (to the
    right), and the torque M, clockwise, about the mast centre."""
    d = screen_dir(theta)
    tip = add(centre, d, r_len)
    svg.force(centre, tip, "R", w=svg.s.medium * 1.3)
    svg.line(centre, add(centre, (1, 0), r_len * 0.8), svg.s.thin, "3,2", "butt")
    svg.angle(centre, (1, 0), d, r_len * 0.55, "θ")
    svg.torque(centre, m_r, "M", clockwise=True, start_deg=m_label_at, span_deg=250)


def wall_with_anchors(svg, anchors, wall_y, x_from, x_to, comp):
    """The wall line with its hatch, open where the force components at the
    anchors run: x toward the side of rod 1 (left), y into the wall."""
    skip = []
    for a in anchors:
        skip.append((a[0] - comp / 2, comp / 2 + 2.5))
    svg.hatch((x_from, wall_y), (x_to, wall_y), (0, 1), skip=skip)


def anchor_components(svg, n, i, comp):
    """F_ix along the wall toward the side of rod 1, F_iy into the wall, both
    from the anchor, labelled at their heads."""
    s = svg.s
    fs = s.font * 0.85
    y = n[1] + 3.5
    svg.force((n[0], y), (n[0] - comp, y), None, w=s.thin * 1.8)
    svg.label((n[0] - 3, y + fs * 0.95), f"F_{i}x", fs, align="r")
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
    draw_rods(svg, o, tower, anchors, ("α", "β", "γ"), {1}, comp)
    return o, sq, tower, anchors, wall_y


def draw_rods(svg, o, tower, anchors, angles, inner, comp, at=0.55):
    """Rods from their tower-side points to the anchors, each with its force
    beside it (outside, or inside for the rods in inner), its angle to the
    wall on the mast side and its force components at the anchor."""
    s = svg.s
    for t, n in zip(tower, anchors):
        svg.line(t, n, s.thick)
    for t in tower:
        svg.node(t, s.thick * 0.8)
    for n in anchors:
        svg.pin(n, s.thick * 1.2)
    for i, (t, n) in enumerate(zip(tower, anchors)):
        d = unit(vec(t, n))
        out = (d[1], -d[0]) if d[0] < 0 else (-d[1], d[0])
        where = at
        if i in inner:
            out = (-out[0], -out[1])
            where = at + 0.12
        svg.label_beside(lerp(t, n, where), out, f"F_{i + 1}", 3)
    for n, t, name in zip(anchors, tower, angles):
        toward_centre = (1, 0) if n[0] < o[0] else (-1, 0)
        svg.angle(n, toward_centre, vec(n, t), s.font * 1.6, name)
    for i, n in enumerate(anchors):
        anchor_components(svg, n, i + 1, comp)


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
    svg.dim_h(o[0], anchors[0][0], y1, "X_1", y1=wall_y + s.font * 0.8, y2=under, place="above",
              shift=-(anchors[1][0] - anchors[0][0]) / 2)
    svg.dim_h(o[0], anchors[2][0], y1, "X_2", y2=under, place="above")
    svg.dim_h(anchors[0][0], anchors[1][0], y2, "X_3", y1=y1 + 3, y2=under, place="below")


# ---------------------------------------------------------------------------
# Drawings
# ---------------------------------------------------------------------------

# ---------------------------------------------------------------------------
# Four-rod frames
# ---------------------------------------------------------------------------

class FourRod:
    """Rods 1 and 2 on the side of +x, rods 3 and 4 on the other; T are the
    tower-side points, N the anchors (x, y frame, y toward the building)."""

    def __init__(self, T, X1, X2, X3, X4, Y1, Y2):
        self.T = T
        self.N = [(X1, Y1), (X1 - X3, Y1), (-(X2 - X4), Y2), (-X2, Y2)]
        self.X1, self.X2, self.X3, self.X4, self.Y1, self.Y2 = X1, X2, X3, X4, Y1, Y2
        ang = []
        for i, (t, n) in enumerate(zip(T, self.N)):
            run = n[0] - t[0] if i < 2 else t[0] - n[0]     # rods 3, 4 from -x
            ang.append(round2(deg(math.atan2(n[1] - t[1], run))))
        self.alpha, self.beta, self.gamma, self.delta = ang
        ta, tb, tg, td = (math.tan(rad(a)) for a in ang)
        (t1x, t1y), (t2x, t2y) = T[0], T[1]
        t3x, t3y = -T[2][0], T[2][1]          # mirrored frame for rods 3, 4
        t4x, t4y = -T[3][0], T[3][1]
        yP = (ta * tb * (t1x - t2x) - tb * t1y + ta * t2y) / (ta - tb)
        xP = (yP - t1y) / ta + t1x
        yQ = (td * tg * (t4x - t3x) - tg * t4y + td * t3y) / (td - tg)
        xQm = (yQ - t4y) / td + t4x
        self.P = (xP, yP)                     # (X1t, Y1t)
        self.Q = (-xQm, yQ)                   # (-X2t, Y2t)
        d = [vec(t, n) for t, n in zip(T, self.N)]
        assert near_intersection(self.P, T[0], d[0], T[1], d[1]), "P"
        assert near_intersection(self.Q, T[2], d[2], T[3], d[3]), "Q"


def layout_one(A, B, C, D, E, F, X1, X2, X3, X4, Y1, Y2):
    """Frame edges parallel to the building: the far edge at B behind the
    mast centre with its corners at A and F, the near edge at C with its
    corners at D and E."""
    g = FourRod([(A, -B), (D, C), (-E, C), (-F, -B)], X1, X2, X3, X4, Y1, Y2)
    g.dims = dict(A=A, B=B, C=C, D=D, E=E, F=F)
    g.torque_label_at = 40          # M's label clear of B and C, left of the mast
    return g


def layout_two(A, B, C, D, E, F, G, H, X1, X2, X3, X4, Y1, Y2):
    """A frame turned to the building: rod 1 leaves at (A, -C), rod 2 at
    (E, D), rod 3 at (F, H), rod 4 at (-B, G)."""
    g = FourRod([(A, -C), (E, D), (F, H), (-B, G)], X1, X2, X3, X4, Y1, Y2)
    g.dims = dict(A=A, B=B, C=C, D=D, E=E, F=F, G=G, H=H)
    g.torque_label_at = 290         # clear of C on the left and G on the right
    return g


def self_test():
    """The drawings' geometry reproduces the worked examples of the pages."""
    t = ThreeRod(900, 900, 900, 900, 3000, 3000, 1500, 5000)
    assert (t.alpha, t.beta, t.gamma) == (62.88, 69.9, 62.88)
    one = layout_one(800, 800, 800, 800, 800, 800, 3000, 3000, 1200, 1200, 4000, 4000)
    assert (one.alpha, one.beta, one.gamma, one.delta) == (65.38, 72.65, 72.65, 65.38)
    assert abs(one.P[0] + 770.74) < 0.01 and abs(one.P[1] + 4227.65) < 0.01
    assert close(one.Q, (770.74, -4227.65), 0.01)
    A, B, C, D, E, F, G, H = 900, 900, 300, 1000, 300, 100, 300, 1000
    two = layout_two(A, B, C, D, E, F, G, H, 3500, 3500, 1500, 1500, 4500, 4500)
    assert (two.alpha, two.beta, two.gamma, two.delta) == (61.56, 64.09, 59.04, 58.24)
    ta, tb, tg, td = (math.tan(rad(a)) for a in (two.alpha, two.beta, two.gamma, two.delta))
    yP = (tb * (ta * (A - E)) + tb * C + ta * D) / (ta - tb)
    yQ = (td * (tg * (B + F)) + td * H - tg * G) / (td - tg)
    assert close(two.P, ((yP + C) / ta + A, yP), 1e-6)
    assert close(two.Q, (-((yQ - G) / td + B), yQ), 1e-6)


def check_figure_geometry():
    """The force-method figures draw P and Q, and the lengths that place
    them, in the directions in which the report's derivation counts them
    positive; so those lengths must come out positive for the frames drawn."""
    g = THREE_ROD
    assert g.t > 0 and g.P[0] > 0 and g.s3 > 0, "P beyond the wall, X1t and X2t to their sides"
    assert -g.Q[0] > 0 and g.Q[1] > 0 and g.x1Q > 0, "Ct, Bt, At"
    for four in (FOUR_ROD_1, FOUR_ROD_2):
        assert four.P[0] > 0 and four.P[1] > 0 and -four.Q[0] > 0 and four.Q[1] > 0, "X1t, Y1t, X2t, Y2t"


def frame_one(g):
    """Frame of layout I through its four corners, and a mast inside it."""
    frame = [g.T[0], g.T[3], g.T[2], g.T[1]]
    h = 0.45 * min(g.dims["A"], g.dims["F"], g.dims["D"], g.dims["E"], g.dims["B"], g.dims["C"])
    return frame, [(h, -h), (-h, -h), (-h, h), (h, h)]


def frame_two(g):
    """Layout II: a square turned to the building, with rods 1 and 4 at two
    opposite corners (the rods 2 and 3 leave from its edges near the corner
    that faces the building); the mast inside, turned alike."""
    c1, c4 = g.T[0], g.T[3]
    mid = lerp(c1, c4, 0.5)
    half = vec(mid, c1)
    turn = (-half[1], half[0])                 # a quarter turn toward the building
    frame = [c1, add(mid, turn), c4, add(mid, turn, -1)]
    mast = [lerp(mid, c, 0.4) for c in frame]
    return frame, mast


def turned_frame(a, c, t2, t3, X1, X2, X3, X4, Y1, Y2):
    """Layout II dimensions of a square frame with corners (a, -c) for rod 1
    and (-a, c) for rod 4; rods 2 and 3 leave its edges at the fractions t2
    and t3 of the way from the corner (c, a) that faces the building."""
    near = (c, a)
    e, d = lerp(near, (a, -c), t2)
    f, h = lerp(near, (-a, c), t3)
    return layout_two(A=a, B=a, C=c, D=d, E=e, F=f, G=c, H=h, X1=X1, X2=X2, X3=X3, X4=X4, Y1=Y1, Y2=Y2)


def four_rod_wall(svg, view, g, anchors, comp, x_from, x_to):
    """The building face at Y1 on the side of rods 1, 2 and at Y2 on the
    other; one line when both are equal."""
    y1, y2 = view((0, g.Y1))[1], view((0, g.Y2))[1]
    o = view((0, 0))
    if abs(y1 - y2) < 0.5:
        wall_with_anchors(svg, anchors, y1, x_from, x_to, comp)
    else:
        wall_with_anchors(svg, anchors[:2], y1, x_from, o[0], comp)
        wall_with_anchors(svg, anchors[2:], y2, o[0], x_to, comp)
    return y1, y2


def four_rod_common_dims(svg, o, anchors, y1, y2, comp, left_x, right_x):
    """Y1, Y2 from the reference line through the mast centre to the
    anchors; X1 to X4 along the building from the centre line."""
    s = svg.s
    svg.dim_v(o[1], y1, left_x, "Y_1", place="right")
    svg.dim_v(o[1], y2, right_x, "Y_2", place="left")
    under1 = y1 + comp * 1.25 + s.font * 1.3
    under2 = y2 + comp * 1.25 + s.font * 1.3
    r1 = max(y1, y2) + comp * 1.25 + s.font * 2.2
    r2 = r1 + s.font * 1.6
    svg.dim_h(o[0], anchors[0][0], r1, "X_1", y1=max(y1, y2) + s.font * 0.8, y2=under1, place="above",
              shift=-(anchors[1][0] - anchors[0][0]) / 2)
    svg.dim_h(anchors[0][0], anchors[1][0], r2, "X_3", y1=r1 + 3, y2=under1, place="below")
    svg.dim_h(o[0], anchors[3][0], r1, "X_2", y2=under2, place="above",
              shift=-(anchors[3][0] - anchors[2][0]) / 2)
    svg.dim_h(anchors[3][0], anchors[2][0], r2, "X_4", y1=r1 + 3, y2=under2, place="below")
    svg.line((o[0], max(y1, y2) + s.font * 0.8), (o[0], r1 + 3), s.thin)


def layout_one_dims(svg, g, o, tower, frame, mast):
    s = svg.s
    f = s.font
    far = tower[0][1]
    near = tower[1][1]
    row = far - f * 0.9
    svg.dim_h(o[0], tower[0][0], row, "A", y2=far, place="above")
    svg.dim_h(o[0], tower[3][0], row, "F", y2=far, place="above")
    svg.line((o[0], far), (o[0], row - 3), s.thin)
    low = near + f * 1.0
    svg.dim_h(o[0], tower[1][0], low, "D", y2=near, place="below")
    svg.dim_h(o[0], tower[2][0], low, "E", y2=near, place="below")
    x = tower[0][0] + (mast[0][0] - tower[0][0]) * 0.3
    svg.dim_v(o[1], far, x, "B", place="right")
    svg.dim_v(o[1], near, x, "C", place="right")


def layout_two_dims(svg, g, o, tower, frame, mast):
    """A, B to the corners of rods 1 and 4 over the frame, C and G inside it;
    E, F under it and D, H down to the points of rods 2 and 3."""
    s = svg.s
    f = s.font
    t1, t2, t3, t4 = tower
    top = min(p[1] for p in frame)
    row = top - f * 0.9
    svg.dim_h(o[0], t1[0], row, "A", y2=t1[1], place="above")
    svg.dim_h(o[0], t4[0], row, "B", y2=t4[1], place="above")
    svg.line((o[0], top), (o[0], row - 3), s.thin)
    svg.dim_v(o[1], t1[1], t1[0] + f * 0.9, "C", x2=t1[0], place="right")
    svg.dim_v(o[1], t4[1], t4[0] - f * 0.9, "G", x2=t4[0], place="left")
    svg.dim_v(o[1], t2[1], t2[0], "D", place="right")
    svg.dim_v(o[1], t3[1], t3[0], "H", place="right")
    bottom = max(p[1] for p in frame)
    svg.dim_h(o[0], t3[0], bottom + f * 0.8, "F", y2=t3[1], place="below", outside=True)
    svg.dim_h(o[0], t2[0], bottom + f * 2.2, "E", y2=t2[1], place="below")


def four_rod_basic(g, frame_of, dims_of, width, height, style, title):
    f = style.font
    comp = f * 1.5
    frame_w, mast_w = frame_of(g)
    ml = mr = f * 3.8
    above = f * 2.4
    below = comp * 1.25 + f * 5.2
    xs = [p[0] for p in frame_w + g.N]
    ys = [p[1] for p in frame_w + g.N]
    sx = (width - ml - mr) / (max(xs) - min(xs))
    if height is None:                 # a report figure: as tall as the width needs
        scale = sx
        height = round(above + below + scale * (max(ys) - min(ys)))
    else:
        scale = min(sx, (height - above - below) / (max(ys) - min(ys)))
    svg = Svg(width, height, style, title)
    left = (width - ml - mr - scale * (max(xs) - min(xs))) / 2 + ml
    top = (height - above - below - scale * (max(ys) - min(ys))) / 2 + above
    view = View(scale, (left + scale * max(xs), top - scale * min(ys)))
    o = view((0, 0))
    frame = [view(p) for p in frame_w]
    mast = [view(p) for p in mast_w]
    tower = [view(t) for t in g.T]
    anchors = [view(n) for n in g.N]
    top_y = min(p[1] for p in frame)
    bottom = max(view((0, g.Y1))[1], view((0, g.Y2))[1])
    svg.centre_line((o[0], top_y - f * 0.6), (o[0], bottom + f * 0.8))
    svg.centre_line((f * 0.8, o[1]), (width - f * 0.8, o[1]))
    svg.polygon(mast, s_w := style.medium)
    svg.polygon(frame, s_w * 1.5)
    y1, y2 = four_rod_wall(svg, view, g, anchors, comp, f * 0.5, width - f * 0.5)
    draw_rods(svg, o, tower, anchors, ("α", "β", "γ", "δ"), {1, 2}, comp, 0.42)
    draw_loads(svg, o, abs(mast[0][0] - o[0]) * 1.5, 32.0, f * 0.8, g.torque_label_at)
    four_rod_common_dims(svg, o, anchors, y1, y2, comp, f * 1.2, width - f * 1.2)
    dims_of(svg, g, o, tower, frame, mast)
    return svg


def four_rod_model(g, frame_of, kind, width, style, title):
    """The four-rod frame reduced for the force method: the lines of rods 1
    and 2 meet in P, those of rods 3 and 4 in Q (kind "simplified"); the base
    structure, held at P1 = P by a pin and at P2 = Q by a roller, under the
    loads (kind "load"), or under the unit redundant X_Q2 = 1 alone (kind
    "unit", the same points named Q1 and Q2)."""
    f = style.font
    comp = f * 1.5
    frame_w, mast_w = frame_of(g)
    pts = frame_w + g.N + [g.P, g.Q]
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    ml = mr = f * 5.6
    mt, mb = f * 1.5, f * (5.0 if kind != "simplified" else 4.0)
    scale = (width - ml - mr) / (max(xs) - min(xs))
    height = round(mt + mb + scale * (max(ys) - min(ys)))
    svg = Svg(width, height, style, title)
    s = style
    view = View(scale, (ml + scale * max(xs), mt - scale * min(ys)))
    o = view((0, 0))
    frame = [view(p) for p in frame_w]
    mast = [view(p) for p in mast_w]
    tower = [view(t) for t in g.T]
    anchors = [view(n) for n in g.N]
    P, Q = view(g.P), view(g.Q)
    low = max(P[1], Q[1])
    svg.centre_line((o[0], min(p[1] for p in frame) - f * 0.6), (o[0], low + f * 2.4))
    svg.centre_line((f * 0.6, o[1]), (width - f * 0.6, o[1]))
    svg.polygon(mast, s.thin)
    svg.polygon(frame, s.medium * 1.4)
    y1, y2 = view((0, g.Y1))[1], view((0, g.Y2))[1]
    svg.hatch((f * 0.5, y1), (o[0], y1), (0, 1))
    svg.hatch((o[0], y2), (width - f * 0.5, y2), (0, 1))
    # Rod lines produced to P and Q from their nearer end.
    for i, (t, n) in enumerate(zip(tower, anchors)):
        x = P if i < 2 else Q
        start = n if math.hypot(*vec(n, x)) < math.hypot(*vec(t, x)) else t
        svg.hidden(start, x, s.thin * 1.3)
        svg.line(t, n, s.thick if kind == "simplified" else s.medium * 1.4)
        svg.pin(n, s.thick * 1.1)
    names = {"simplified": ("P", "Q"), "load": ("P_1", "P_2"), "unit": ("Q_1", "Q_2")}[kind]
    for i, (t, n) in enumerate(zip(tower, anchors)):
        d = unit(vec(t, n))
        # The side of each rod away from its neighbour: rods 1 and 2 close
        # in on each other here, so their labels go outside the pair.
        out = (d[1], -d[0]) if d[0] < 0 else (-d[1], d[0])
        if i in (0, 3):
            out = (-out[0], -out[1])
        svg.label_beside(lerp(t, n, 0.5), out, f"F_{i + 1}" if kind == "simplified" else f"{i + 1}", 3)
    arrow = f * 4.0
    if kind != "simplified":
        svg.support(P)
        svg.support(Q, roller=True)
    for p_, name, side in ((P, names[0], (-1, -0.35)), (Q, names[1], (1, -0.35))):
        svg.node(p_, s.thick)
        svg.label_beside(p_, side, name, 6)
    # Reactions on the frame: horizontal at P1 (Q1) toward the side of rods 1
    # and 2, vertical at both points toward the building; the unit redundant
    # at Q2 points to the other side.
    def push(at, frm, markup, label_side, w=None):
        svg.force(add(at, frm, arrow), at, None, w=w)
        svg.label_beside(add(at, frm, arrow * 0.55), label_side, markup, 5)

    if kind == "simplified":
        draw_loads(svg, o, abs(mast[0][0] - o[0]) * 1.5, 32.0, f * 0.9)
    elif kind == "load":
        draw_loads(svg, o, abs(mast[0][0] - o[0]) * 1.5, 32.0, f * 0.9)
        push(P, (1, 0), "X_P1", (0, -1))
        push(P, (0, -1), "Y_P1", (-1, 0))
        push(Q, (0, -1), "Y_P2", (1, 0))
    else:
        push(P, (1, 0), "X_Q1", (0, -1))
        push(P, (0, -1), "Y_Q1", (-1, 0))
        push(Q, (-1, 0), "X_Q2 =1", (0, -1), s.medium * 1.4)
        push(Q, (0, -1), "Y_Q2", (1, 0))
    # Where P and Q are: X1t, Y1t and X2t, Y2t from the centre lines.
    row = low + f * (2.8 if kind != "simplified" else 1.8)
    svg.dim_h(o[0], P[0], row, "X_1t", y2=P[1] + (f * 1.8 if kind != "simplified" else 4), place="below")
    svg.dim_h(o[0], Q[0], row, "X_2t", y2=Q[1] + (f * 1.8 if kind != "simplified" else 4), place="below")
    svg.dim_v(o[1], P[1], P[0] - f * 3.4, "Y_1t", x2=P[0] - 4, place="left")
    svg.dim_v(o[1], Q[1], Q[0] + f * 3.4, "Y_2t", x2=Q[0] + 4, place="right")
    return svg


def three_rod_page(g, width, height, style, title):
    f = style.font
    margin_l, margin_r = f * 3.6, f * 1.8
    comp = f * 1.5
    above = f * 2.2                                   # A and D over the mast
    below = comp * 1.25 + f * 2.2 + f * 1.6 + f * 1.4   # components, X1 to X3
    span_y = g.H + g.A + g.D - g.B
    scale = (width - margin_l - margin_r) / (g.X1 + g.X2)
    if height is None:                 # a report figure: as tall as the width needs
        height = round(above + below + scale * span_y + f)
    scale = min(scale, (height - above - below) / span_y)
    svg = Svg(width, height, style, title)
    top = (height - above - below - scale * span_y) / 2 + above
    left = (width - margin_l - margin_r - scale * (g.X1 + g.X2)) / 2 + margin_l
    view = View(scale, (left + scale * g.X1, top + scale * (g.A + g.D - g.B)))
    o, sq, tower, anchors, wall_y = draw_three_rod(svg, g, view, f * 0.6, width - f * 0.6, comp)
    half = (sq[1][0] - sq[0][0]) / 2
    # R inside the mast when its label fits there, else reaching out of it.
    draw_loads(svg, o, f * 2.7 if f * 3.8 < half else half * 1.5, 32.0, f * 1.1)
    three_rod_dims(svg, o, sq, tower, anchors, wall_y, f * 1.2, comp)
    return svg


def three_rod_simplified(g, width, height, style, title):
    """Every rod ends on the line at H; the lines of rods 1 and 2 meet in P,
    those of rods 2 and 3 in Q. Ht, X1t place P; X2t is rod 3's line at the
    height of P; Bt, Ct place Q and At is rod 1's line at the height of Q."""
    s = style
    f = s.font
    xs = [g.P[0], -g.s3, g.X1, -g.X2]
    ys = [g.B - g.A - g.D, g.P[1]]
    ml, mr, mt, mb = f * 5.5, f * 1.5, f * 1.2, f * 3.2
    scale = (width - ml - mr) / (max(xs) - min(xs))
    height = round(mt + mb + scale * (max(ys) - min(ys)))
    svg = Svg(width, height, style, title)
    view = View(scale, (ml + scale * max(xs), mt + scale * -min(ys)))
    o = view((0, 0))
    sq = [view(p) for p in mast_square(g)]
    tower = [view(t) for t in g.T]
    anchors = [view(n) for n in g.N]
    P, Q = view(g.P), view(g.Q)
    at_q = view((g.x1Q, g.Q[1]))
    r3_p = view((-g.s3, g.P[1]))
    wall_y = anchors[0][1]
    svg.polygon(sq, s.thin)
    svg.centre_line((o[0], sq[0][1] - f * 0.6), (o[0], P[1] + f * 2.6))
    svg.centre_line((P[0] - f * 4.2, o[1]), (sq[1][0] + f * 3.2, o[1]))
    svg.hatch((s.font * 0.5, wall_y), (width - f * 0.5, wall_y), (0, 1))
    # Rod lines produced to the intersections.
    for a, b in ((anchors[0], P), (anchors[1], P), (tower[1], Q), (tower[2], Q),
                 (tower[0], at_q), (anchors[2], r3_p)):
        svg.hidden(a, b, s.thin * 1.3)
    for t, n in zip(tower, anchors):
        svg.line(t, n, s.thick)
    for n in anchors:
        svg.pin(n, s.thick * 1.2)
    for i, (t, n) in enumerate(zip(tower, anchors)):
        d = unit(vec(t, n))
        out = (d[1], -d[0]) if d[0] < 0 else (-d[1], d[0])
        if i == 1:
            out = (-out[0], -out[1])
        svg.label_beside(lerp(t, n, 0.45), out, f"F_{i + 1}", 3)
    svg.line(r3_p, P, s.thin, "2,2", "butt")
    svg.line(at_q, Q, s.thin, "2,2", "butt")
    for p_, name, side in ((P, "P", (-1, 0.6)), (Q, "Q", (0.6, 1))):
        svg.node(p_, s.thick)
        svg.label_beside(p_, side, name, 4)
    svg.node(at_q, s.thin * 2)
    svg.node(r3_p, s.thin * 2)
    draw_loads(svg, o, f * 2.6, 32.0, f * 1.0)
    # Ht and t beside P, X1t and X2t under it.
    svg.dim_v(o[1], P[1], P[0] - f * 1.6, "H_t", x2=P[0] - 4, place="left", shift=-f * 2.5)
    svg.dim_v(wall_y, P[1], P[0] - f * 4.0, "t", x1=anchors[0][0] - 4, place="left")
    svg.line((P[0] - 4, P[1]), (P[0] - f * 4.0 - 3, P[1]), s.thin)
    row = P[1] + f * 1.8
    svg.dim_h(o[0], P[0], row, "X_1t", y2=P[1] + 4, place="below")
    svg.dim_h(o[0], r3_p[0], row, "X_2t", y2=r3_p[1] + 4, place="below")
    # Bt right of the mast; At and Ct on one line just above Q.
    svg.dim_v(o[1], Q[1], sq[1][0] + f * 1.6, "B_t", x2=Q[0] + 3, place="right")
    qrow = Q[1] - f * 1.0
    svg.dim_h(o[0], Q[0], qrow, "C_t", y2=Q[1] - 3, place="above", outside=True, shift=f * 0.4)
    svg.dim_h(o[0], at_q[0], qrow, "A_t", y2=at_q[1] - 3, place="above", outside=True, shift=-f * 0.4)
    # H for reference, at the far left.
    svg.dim_v(o[1], wall_y, f * 1.2, "H", place="right")
    return svg


# ---------------------------------------------------------------------------
# Rod forms: the section (left, X the axis of Imax, h to its far point) and
# a side view onto the face of the battens or lacing (right, L between the
# pins, L1 the batten or lacing spacing, a the side of that face).
# ---------------------------------------------------------------------------

ROD_UNITS = 2.0          # drawing units per px of the 215 x 84 picture
ROD_STYLE = Style(font=20, thick=3.2, medium=2.0, thin=1.1, arrow=9, force_arrow=11)


def section_axes(svg, c, half):
    reach = half + 30
    svg.centre_line((c[0] - half - 10, c[1]), (c[0] + reach, c[1]))
    svg.centre_line((c[0], c[1] - reach + 4), (c[0], c[1] + reach - 4))
    svg.label((c[0] + reach + 3, c[1]), "X", align="l")
    svg.label((c[0] + 10, c[1] - reach + 6), "Y", align="l")


def section_box(svg, c, half):
    t = 6
    svg.polygon([(c[0] - half, c[1] - half), (c[0] + half, c[1] - half),
                 (c[0] + half, c[1] + half), (c[0] - half, c[1] + half)], svg.s.medium)
    i = half - t
    svg.polygon([(c[0] - i, c[1] - i), (c[0] + i, c[1] - i), (c[0] + i, c[1] + i), (c[0] - i, c[1] + i)],
                svg.s.medium)


def section_channels(svg, c, half, laced):
    """Two channels above and below X, flanges toward it; battens (plates)
    or lacing bars (lines) on the two side faces."""
    t, leg = 6, half * 0.45
    for sgn in (-1, 1):
        y0 = c[1] + sgn * half
        y1 = c[1] + sgn * (half - t)
        yl = c[1] + sgn * (half - leg)
        x0, x1 = c[0] - half + 4, c[0] + half - 4
        svg.polygon([(x0, y0), (x1, y0), (x1, yl), (x1 - t, yl), (x1 - t, y1), (x0 + t, y1),
                     (x0 + t, yl), (x0, yl)], svg.s.medium)
    lacing_faces(svg, c, half, laced, sides=("left", "right"))


def section_angles(svg, c, half, laced):
    """Four angles at the corners, battens or lacing on all four faces."""
    t, leg = 5, half * 0.42
    for sx in (-1, 1):
        for sy in (-1, 1):
            x0, y0 = c[0] + sx * half, c[1] + sy * half
            pts = [(x0, y0), (x0 - sx * leg, y0), (x0 - sx * leg, y0 - sy * t), (x0 - sx * t, y0 - sy * t),
                   (x0 - sx * t, y0 - sy * leg), (x0, y0 - sy * leg)]
            svg.polygon(pts, svg.s.medium)
    lacing_faces(svg, c, half, laced, sides=("left", "right", "top", "bottom"))


def lacing_faces(svg, c, half, laced, sides):
    t = 3.5
    for side in sides:
        if side in ("left", "right"):
            x = c[0] - half - t / 2 if side == "left" else c[0] + half + t / 2
            a, b = (x, c[1] - half), (x, c[1] + half)
        else:
            y = c[1] - half - t / 2 if side == "top" else c[1] + half + t / 2
            a, b = (c[0] - half, y), (c[0] + half, y)
        if laced:
            svg.line(a, b, svg.s.thin, "5,3", "butt")
        else:
            svg.line(a, b, t, None, "butt")


def side_view(svg, x0, x1, cy, depth, kind, spacing):
    """The rod between its end pins at x0 and x1, chords depth apart."""
    s = svg.s
    r = 5.0
    for x in (x0, x1):
        svg.circle((x, cy), r, s.medium, "#fff")
    end = 22.0
    top, bot = cy - depth / 2, cy + depth / 2
    # End pieces taper from the body to the pins.
    for x, sgn in ((x0, 1), (x1, -1)):
        svg.line((x + sgn * r, cy - r * 0.6), (x + sgn * end, top), s.medium)
        svg.line((x + sgn * r, cy + r * 0.6), (x + sgn * end, bot), s.medium)
    a, b = x0 + end, x1 - end
    if kind == "solid":
        svg.polygon([(a, top), (b, top), (b, bot), (a, bot)], s.medium)
        svg.centre_line((x0 - 8, cy), (x1 + 8, cy))
        return []
    chord = 6.0
    for y in (top, bot - chord):
        svg.polygon([(a, y), (b, y), (b, y + chord), (a, y + chord)], s.medium)
    svg.line((a, top), (a, bot), s.medium)
    svg.line((b, top), (b, bot), s.medium)
    inner_top, inner_bot = top + chord, bot - chord
    n = int(round((b - a) / spacing))
    step = (b - a) / n
    marks = []
    if kind == "battens":
        width = step * 0.24
        for k in range(n + 1):
            xc = a + k * step
            x_l = max(a, xc - width / 2)
            x_r = min(b, xc + width / 2)
            svg.polygon([(x_l, inner_top), (x_r, inner_top), (x_r, inner_bot), (x_l, inner_bot)], s.thin, "#fff")
            marks.append(xc)
        for xc in marks[1:3]:
            svg.centre_line((xc, inner_top - 2), (xc, bot + 4))
    else:
        pts = []
        for k in range(n + 1):
            pts.append((a + k * step, inner_top))
            if k < n:
                pts.append((a + (k + 0.5) * step, inner_bot))
        svg.polygon(pts, s.medium, closed=False)
        marks = [a + (k + 0.5) * step for k in range(n)]
    return marks


def rod_form(kind, section, title):
    """kind: solid, battens or lacing; section: box, channels or angles."""
    svg = Svg(215, 84, ROD_STYLE, title, ROD_UNITS)
    s = svg.s
    c, half = (78.0, 86.0), 40.0
    section_axes(svg, c, half)
    if section == "box":
        section_box(svg, c, half)
    elif section == "channels":
        section_channels(svg, c, half, kind == "lacing")
    else:
        section_angles(svg, c, half, kind == "lacing")
    edge = half + (3.5 if section != "box" else 0.0)
    svg.dim_v(c[1], c[1] - edge, c[0] - half - 16, "h", x1=c[0] - half - 10, x2=c[0] - half - 2, place="left")
    if kind != "solid":
        face = half + 4.0
        svg.dim_v(c[1] - half, c[1] + half, c[0] + face + 10, "a", x1=c[0] + face, x2=c[0] + face,
                  place="right", shift=-14)
    x0, x1, cy = 192.0, 420.0, 90.0
    depth = 44.0 if kind != "solid" else 30.0
    marks = side_view(svg, x0, x1, cy, depth, kind, 38.0)
    svg.dim_h(x0, x1, cy - depth / 2 - 22, "L", y1=cy - 7, y2=cy - 7, place="above")
    if kind != "solid":
        bot = cy + depth / 2
        if kind == "battens":
            p, q = marks[1], marks[2]
        else:
            p, q = marks[0], marks[1]
        svg.dim_h(p, q, bot + 16, "L_1", y1=bot + 3, y2=bot + 3, place="below")
    return svg


# The report figures: rods 1 and 2 close in on each other toward the wall, so
# that P lies beyond the wall and Q inside the mast, both at positive
# distances, as the derivation of the report measures them.
THREE_ROD = ThreeRod(A=1000, B=1000, C=500, D=1000, X1=2800, X2=2400, X3=600, H=4000)
# The page: a portrait picture, anchors well apart.
THREE_ROD_PAGE = ThreeRod(A=900, B=900, C=300, D=900, X1=2400, X2=2000, X3=1100, H=6400)

# Layout I: the force-method figures with rods closing in on each other
# toward the building (P and Q beyond it, at positive distances as the
# derivation measures them); the page and the first report figure, which
# name the inputs, with anchors well apart.
FOUR_ROD_1 = layout_one(A=1000, B=1000, C=1000, D=1000, E=1000, F=1000,
                        X1=3000, X2=3000, X3=500, X4=500, Y1=4000, Y2=4000)
FOUR_ROD_1_PAGE = layout_one(A=1200, B=1200, C=1200, D=1200, E=1200, F=1200,
                             X1=3500, X2=3300, X3=1500, X4=1400, Y1=3000, Y2=3000)

# Layout II: a square frame turned by 30 degrees.
FOUR_ROD_2 = turned_frame(950, 550, 0.35, 0.15, X1=3000, X2=3000, X3=250, X4=600, Y1=4000, Y2=4000)
FOUR_ROD_2_PAGE = turned_frame(1400, 810, 0.4, 0.15, X1=3500, X2=3300, X3=1500, X4=1400, Y1=3000, Y2=3000)

# Page pictures at the size of their picture controls (1.5 px per dialog unit).
PAGE = Style(font=10, thick=2.0, medium=1.1, thin=0.55, arrow=5.5, force_arrow=7)
PAGE_SMALL = Style(font=8.5, thick=1.7, medium=1.0, thin=0.5, arrow=4.5, force_arrow=6)
FIGURE = Style(font=15, thick=3, medium=1.5, thin=0.8, arrow=8, force_arrow=11)

DRAWINGS = {
    "bmp135.svg": lambda: three_rod_page(THREE_ROD_PAGE, 192, 330, PAGE, "三杆附着"),
    "bmp143.svg": lambda: four_rod_basic(FOUR_ROD_1_PAGE, frame_one, layout_one_dims, 219, 171, PAGE_SMALL,
                                         "四杆附着(一)"),
    "fig_fourrod1_1.svg": lambda: four_rod_basic(FOUR_ROD_1_PAGE, frame_one, layout_one_dims, 600, None, FIGURE,
                                                 "四杆附着(一)分析模型"),
    "fig_fourrod1_2.svg": lambda: four_rod_model(FOUR_ROD_1, frame_one, "simplified", 600, FIGURE,
                                                 "四杆附着(一)简化模型"),
    "fig_fourrod1_3.svg": lambda: four_rod_model(FOUR_ROD_1, frame_one, "load", 600, FIGURE,
                                                 "四杆附着(一)基本结构受外载荷"),
    "fig_fourrod1_4.svg": lambda: four_rod_model(FOUR_ROD_1, frame_one, "unit", 600, FIGURE,
                                                 "四杆附着(一)基本结构受单位力"),
    "bmp149.svg": lambda: four_rod_basic(FOUR_ROD_2_PAGE, frame_two, layout_two_dims, 219, 171, PAGE_SMALL,
                                         "四杆附着(二)"),
    "fig_fourrod2_1.svg": lambda: four_rod_basic(FOUR_ROD_2_PAGE, frame_two, layout_two_dims, 600, None, FIGURE,
                                                 "四杆附着(二)分析模型"),
    "fig_fourrod2_2.svg": lambda: four_rod_model(FOUR_ROD_2, frame_two, "simplified", 600, FIGURE,
                                                 "四杆附着(二)简化模型"),
    "fig_fourrod2_3.svg": lambda: four_rod_model(FOUR_ROD_2, frame_two, "load", 600, FIGURE,
                                                 "四杆附着(二)基本结构受外载荷"),
    "fig_fourrod2_4.svg": lambda: four_rod_model(FOUR_ROD_2, frame_two, "unit", 600, FIGURE,
                                                 "四杆附着(二)基本结构受单位力"),
    "bmp193.svg": lambda: rod_form("solid", "box", "实腹式"),
    "bmp195.svg": lambda: rod_form("battens", "channels", "两肢缀板式"),
    "bmp196.svg": lambda: rod_form("lacing", "channels", "两肢缀条式"),
    "bmp197.svg": lambda: rod_form("battens", "angles", "四肢缀板式"),
    "bmp198.svg": lambda: rod_form("lacing", "angles", "四肢缀条式"),
    "fig_threerod_1.svg": lambda: three_rod_page(THREE_ROD, 600, None, FIGURE, "三杆附着计算模型"),
    "fig_threerod_2.svg": lambda: three_rod_simplified(THREE_ROD, 600, None, FIGURE, "三杆附着简化模型"),
}


def main():
    self_test()
    check_figure_geometry()
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
