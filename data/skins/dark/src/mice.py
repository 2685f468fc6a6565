"""The mouse pictures: each model from above, on the button page and in the device list.

The button page draws its callouts over the picture at fixed points (the `rect` of each key in
data/device/<MODEL>.xml), so every button below sits under its anchor:

    key  button                   anchor      where it is drawn
    0    left button              (215, 110)  left front half
    1    right button             (305, 110)  right front half
    2    wheel                    (260, 165)  slot 250..270 x 136..194
    3    back (left side, rear)   (182, 290)  pill 172..192 x 265..315
    4    forward (left side)      (182, 230)  pill 172..192 x 205..255
    5    DPI button               (260, 220)  pill 251..269 x 210..231
    6    DPI + (Aero)             (292, 275)  key 282..302 x 256..294
    7    DPI - (Aero)             (292, 330)  key 282..302 x 311..349

The picture is 520 x 520, transparent around the mouse; the front points up.
"""

import math

from svg import (HIGHLIGHT, TEXT_SECONDARY, circle, ellipse, group, linear_gradient, path,
                 radial_gradient, rect)

SIZE = 520
CENTRE_X = 260

# Outline of each shell, symmetric about x = 260, front at the top.
AERO_OUTLINE = (
    "M260,40 C300,40 330,50 336,92 C341,135 337,195 335,240 C333,300 346,365 340,420 "
    "C334,470 302,490 260,490 C218,490 186,470 180,420 C174,365 187,300 185,240 "
    "C183,195 179,135 184,92 C190,50 220,40 260,40 Z"
)
TERRA_OUTLINE = (
    "M260,36 C308,36 336,46 341,90 C346,134 341,194 339,240 C337,300 354,362 349,426 "
    "C344,476 306,494 260,494 C214,494 176,476 171,426 C166,362 183,300 181,240 "
    "C179,194 174,134 179,90 C184,46 212,36 260,36 Z"
)

# Rear edge of the two main buttons, from flank to flank of each shell.
AERO_SEAM = "M184,192 Q260,212 336,192"
TERRA_SEAM = "M180,192 Q260,212 340,192"
GROOVE = "M260,41 V136"  # between the left and right buttons

WHEEL_SLOT = (250, 136, 20, 58)
DPI_BUTTON = (251, 210, 18, 21)
SIDE_FORWARD = (172, 205, 20, 50)
SIDE_BACK = (172, 265, 20, 50)
DPI_PLUS = (282, 256, 20, 38)
DPI_MINUS = (282, 311, 20, 38)


def _engraved(d, dark="#0D0D0D", light="#3E3E3E"):
    """A seam: a dark groove with a faint light edge below it."""
    return path(d, stroke=light, sw=1.2, opacity=0.6) + group(path(d, stroke=dark, sw=2.2), dy=-1)


def _wheel(p):
    x, y, w, h = WHEEL_SLOT
    body = rect(x, y, w, h, 7, fill="#0B0B0B")
    body += rect(x + 3, y + 4, w - 6, h - 8, 5, fill=f"url(#{p}wheel)")
    for ry in range(y + 8, y + h - 6, 4):
        body += path(f"M{x + 4},{ry} H{x + w - 4}", stroke="#1C1C1C", sw=1.2, cap="butt")
    return body


def _key(box, label=None, fill="#262626"):
    x, y, w, h = box
    body = rect(x, y, w, h, min(w, h) / 2 - 1, fill=fill, stroke="#4C4C4C", sw=1.2)
    if label == "+":
        cx, cy = x + w / 2, y + h / 2
        body += path(f"M{cx - 4},{cy} H{cx + 4} M{cx},{cy - 4} V{cy + 4}", stroke=TEXT_SECONDARY, sw=1.6)
    elif label == "-":
        cx, cy = x + w / 2, y + h / 2
        body += path(f"M{cx - 4},{cy} H{cx + 4}", stroke=TEXT_SECONDARY, sw=1.6)
    return body


def _side_button(box):
    # Side buttons are seen edge-on from above: a darker pill along the flank.
    x, y, w, h = box
    return rect(x, y, w, h, w / 2, fill="#1B1B1B", stroke="#555555", sw=1.2)


def _inside(outline_pts, x, y):
    """Point in polygon (even-odd)."""
    inside = False
    n = len(outline_pts)
    for i in range(n):
        x1, y1 = outline_pts[i]
        x2, y2 = outline_pts[(i + 1) % n]
        if (y1 > y) != (y2 > y):
            if x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                inside = not inside
    return inside


def _sample_outline(d, steps=24):
    """Points along an outline made of M/C/Z commands (enough for hit tests)."""
    tokens = d.replace(",", " ").split()
    pts = []
    i = 0
    cur = (0.0, 0.0)
    while i < len(tokens):
        t = tokens[i]
        if t.startswith("M"):
            cur = (float(t[1:]), float(tokens[i + 1]))
            pts.append(cur)
            i += 2
        elif t.startswith("C"):
            vals = [float(t[1:])] + [float(v) for v in tokens[i + 1:i + 6]]
            p1, p2, p3 = (vals[0], vals[1]), (vals[2], vals[3]), (vals[4], vals[5])
            for s in range(1, steps + 1):
                u = s / steps
                a = (1 - u) ** 3
                b = 3 * (1 - u) ** 2 * u
                c = 3 * (1 - u) * u ** 2
                e = u ** 3
                pts.append((a * cur[0] + b * p1[0] + c * p2[0] + e * p3[0],
                            a * cur[1] + b * p1[1] + c * p2[1] + e * p3[1]))
            cur = p3
            i += 6
        else:
            i += 1
    return pts


def _shrunk(pts, margin):
    """The outline pulled towards the middle line by `margin` (good enough for a convex shell)."""
    out = []
    for x, y in pts:
        dx = CENTRE_X - x
        out.append((x + math.copysign(min(margin, abs(dx)), dx), y))
    return out


def _perforation(outline):
    """Aero's shell holes: a hex grid over the rear, away from the edge, spine and DPI keys."""
    pts = _shrunk(_sample_outline(outline), 26)
    body = ""
    step = 15.0
    row = 0
    y = 252.0
    while y < 462:
        x0 = 196.0 + (step / 2 if row % 2 else 0)
        x = x0
        while x < 330:
            ok = _inside(pts, x, y) and abs(x - CENTRE_X) > 14 and y < 470 - 0.25 * abs(x - CENTRE_X)
            ok = ok and not (272 <= x <= 312 and 246 <= y <= 359)
            if ok:
                body += circle(x, y, 3.4, fill="#0E0E0E")
            x += step
        y += step * 0.866
        row += 1
    return body


def _shell(p, outline, colours):
    top, edge, rim = colours
    defs = radial_gradient(f"{p}shell", [(0, top), (1, edge)], cx=0.5, cy=0.38, r=0.62)
    defs += linear_gradient(f"{p}wheel", [(0, "#3A3A3A"), (0.5, "#707070"), (1, "#3A3A3A")],
                            x1=0, y1=0, x2=0, y2=1)
    defs += radial_gradient(f"{p}shadow", [(0, "#000000", 0.55), (1, "#000000", 0)], r=0.5)
    defs += radial_gradient(f"{p}sheen", [(0, "#FFFFFF", 0.07), (1, "#FFFFFF", 0)], r=0.5)
    body = ellipse(CENTRE_X, 272, 118, 236, fill=f"url(#{p}shadow)")
    body += path(outline, fill=f"url(#{p}shell)", stroke=rim, sw=1.5)
    body += ellipse(CENTRE_X, 125, 62, 78, fill=f"url(#{p}sheen)")
    return body, defs


def aero(p="a"):
    """Cursorial Aero: light, perforated shell, a lit spine, DPI +/- keys on the right."""
    body, defs = _shell(p, AERO_OUTLINE, ("#3A3A3A", "#222222", "#5A5A5A"))
    defs += linear_gradient(f"{p}light", [(0, "#FF3B5C"), (0.35, HIGHLIGHT), (0.7, "#3BE0A0"),
                                          (1, "#3B82FF")], x1=0, y1=0, x2=0, y2=1)
    body += _side_button(SIDE_FORWARD) + _side_button(SIDE_BACK)
    # The side buttons sit under the shell's edge: redraw the flank over them, faintly.
    body += path("M185,200 C186,230 186,270 184,320", stroke="#4E4E4E", sw=1.2, opacity=0.5)
    body += _perforation(AERO_OUTLINE)
    # The lit spine down the rear.
    body += rect(255, 262, 10, 178, 5, fill="#0E0E0E")
    body += rect(257, 264, 6, 174, 3, fill=f"url(#{p}light)")
    body += _engraved(AERO_SEAM) + _engraved(GROOVE)
    body += _wheel(p)
    body += _key(DPI_BUTTON)
    body += circle(260, 242, 2.2, fill=HIGHLIGHT)
    body += _key(DPI_PLUS, "+") + _key(DPI_MINUS, "-")
    return body, defs


def terra(p="t"):
    """Cursorial Terra: solid matte shell, grip bands on the flanks, no lights."""
    body, defs = _shell(p, TERRA_OUTLINE, ("#3A3733", "#211F1D", "#57534D"))
    body += _side_button(SIDE_FORWARD) + _side_button(SIDE_BACK)
    body += path("M181,200 C182,230 182,270 181,320", stroke="#4D4A45", sw=1.2, opacity=0.5)
    # Grip bands: short ribs along both flanks of the rear.
    for y in range(338, 440, 9):
        inset = (y - 338) * 0.06
        body += path(f"M{186 + inset:.1f},{y} h12", stroke="#141312", sw=2.4)
        body += path(f"M{322 - inset:.1f},{y} h12", stroke="#141312", sw=2.4)
    # Facet lines of the rear shell and a small accent where the palm rests.
    body += path("M210,300 Q260,330 310,300", stroke="#141312", sw=1.6, opacity=0.9)
    body += path("M226,420 Q260,440 294,420", stroke="#141312", sw=1.6, opacity=0.9)
    body += rect(246, 452, 28, 5, 2.5, fill=HIGHLIGHT, opacity=0.85)
    body += _engraved(TERRA_SEAM) + _engraved(GROOVE)
    body += _wheel(p)
    body += _key(DPI_BUTTON)
    return body, defs


MODELS = {"aero": aero, "terra": terra}


def mouse_top(fw, fh, frames, arg):
    """The button-page picture (520 x 520, the callouts' coordinates)."""
    if (fw, fh) != (SIZE, SIZE):
        raise ValueError(f"the button-page picture is {SIZE} x {SIZE}, not {fw} x {fh}")
    return MODELS[arg]()


def mouse_card(fw, fh, frames, arg):
    """The device-list picture: the same mouse, smaller, turned as if lying on a desk."""
    body, defs = MODELS[arg]()
    scale = fh * 0.9 / 470.0
    inner = group(body, dx=-CENTRE_X, dy=-265)
    return group(inner, dx=fw / 2, dy=fh / 2, rotate=-28, scale=scale), defs
