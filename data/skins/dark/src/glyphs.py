"""The line icons of the skin, drawn on a 24 x 24 grid with round ends.

glyph(name, colour) gives the drawing at the grid's own size; place(...) puts it into a box of
any size. Strokes are 2 units wide so the icons read at 16 pixels and stay light at 32.
"""

import math

from svg import circle, group, path, polygon, rect

STROKE = 2.0


def _line(d, colour, sw=STROKE):
    return path(d, stroke=colour, sw=sw)


def _gear(colour):
    # Eight teeth round a ring; the hole is the ring's inside, drawn as a stroke.
    teeth = 8
    outer, inner = 10.0, 7.6
    pts = []
    for i in range(teeth * 4):
        a = (i / (teeth * 4)) * 2 * math.pi - math.pi / 2
        r = outer if (i % 4) in (1, 2) else inner
        pts.append((12 + r * math.cos(a), 12 + r * math.sin(a)))
    d = "M" + " L".join(f"{x:.2f},{y:.2f}" for x, y in pts) + " Z"
    return path(d, stroke=colour, sw=1.8) + circle(12, 12, 3.2, stroke=colour, sw=1.8)


def _sliders(colour):
    body = ""
    for y, knob in ((6, 15), (12, 8), (18, 13)):
        body += _line(f"M3,{y} H{knob - 2.5} M{knob + 2.5},{y} H21", colour)
        body += circle(knob, y, 2.5, stroke=colour, sw=STROKE)
    return body


def _mouse(colour):
    return rect(5, 2, 14, 20, 7, stroke=colour, sw=STROKE) + _line("M12,3 V9 M5.5,10 H18.5", colour)


def _gauge(colour):
    # Three quarters of a dial with a needle pointing up-right.
    return (
        _line("M5.6,18.4 A9,9 0 1 1 18.4,18.4", colour)
        + _line("M12,14 L16.5,8.5", colour)
        + circle(12, 14, 1.6, fill=colour)
    )


def _macro(colour):
    # Event rows with a play mark: a recorded sequence.
    return _line("M3,5 H14 M3,10 H11 M3,15 H9 M3,20 H9", colour) + polygon(
        [(14, 12.5), (21.5, 17), (14, 21.5)], fill="none", stroke=colour, sw=1.8
    )


def _sun(colour):
    body = circle(12, 12, 4.2, stroke=colour, sw=STROKE)
    for i in range(8):
        a = i * math.pi / 4
        x1, y1 = 12 + 7.2 * math.cos(a), 12 + 7.2 * math.sin(a)
        x2, y2 = 12 + 10 * math.cos(a), 12 + 10 * math.sin(a)
        body += _line(f"M{x1:.2f},{y1:.2f} L{x2:.2f},{y2:.2f}", colour)
    return body


def _home(colour):
    return _line("M3,11 L12,3.5 L21,11 M5.5,9 V20.5 H18.5 V9 M10,20.5 V14.5 H14 V20.5", colour)


def _monitor_pointer(colour):
    # A screen with a pointer: the desktop's own mouse settings.
    return (
        rect(2, 3, 20, 14, 2, stroke=colour, sw=STROKE)
        + _line("M8,21 H16 M12,17 V21", colour)
        + polygon([(10, 6.5), (10, 14), (12, 12), (13.6, 15), (14.8, 14.4), (13.3, 11.5), (16, 11.3)],
                  fill=colour)
    )


def _question(colour):
    return (
        circle(12, 12, 10, stroke=colour, sw=STROKE)
        + _line("M9,9.3 A3,3 0 1 1 13.2,12 C12.4,12.4 12,13 12,14", colour)
        + circle(12, 17.3, 1.25, fill=colour)
    )


def _reset(colour):
    # Three quarters of a circle with an arrow head: back to the defaults.
    return _line("M19.5,12 A7.5,7.5 0 1 1 16.8,6.2", colour) + _line("M17.5,2.8 L17.2,6.6 L13.4,6.9", colour)


def _battery(colour):
    return rect(1, 6, 19, 12, 2.5, stroke=colour, sw=STROKE) + rect(20.5, 9.5, 2.5, 5, 1, fill=colour)


def _bolt(colour):
    return polygon([(13.5, 1.5), (4.5, 13.5), (11, 13.5), (9.5, 22.5), (19.5, 9.5), (12.8, 9.5)], fill=colour)


def _cable(colour):
    # A plug on its cable: the USB connection.
    return (
        rect(8, 2, 8, 9, 1.5, stroke=colour, sw=STROKE)
        + _line("M10.5,2 V5 M13.5,2 V5", colour, 1.5)
        + _line("M12,11 V15 C12,19 7,18 7,22", colour)
    )


def _wireless(colour):
    # Radio waves over a dot: the receiver connection.
    return (
        circle(12, 18, 2, fill=colour)
        + _line("M8,14 A5.6,5.6 0 0 1 16,14", colour)
        + _line("M4.8,10.8 A10,10 0 0 1 19.2,10.8", colour)
    )


def _rec(colour):
    return circle(12, 12, 6.5, fill=colour)


def _stop(colour):
    return rect(6, 6, 12, 12, 2, fill=colour)


def _list_item(colour):
    return _line("M4,7 H20 M4,12 H20 M4,17 H14", colour)


def _dots(colour):
    return circle(5, 12, 2, fill=colour) + circle(12, 12, 2, fill=colour) + circle(19, 12, 2, fill=colour)


SIMPLE = {
    "close": lambda c: _line("M6,6 L18,18 M18,6 L6,18", c),
    "minimize": lambda c: _line("M5,12.5 H19", c),
    "maximize": lambda c: rect(5, 5, 14, 14, 1.5, stroke=c, sw=STROKE),
    "restore": lambda c: rect(4, 8, 12, 12, 1.5, stroke=c, sw=STROKE) + _line("M8,8 V5.5 A1.5,1.5 0 0 1 9.5,4 H18.5 A1.5,1.5 0 0 1 20,5.5 V14.5 A1.5,1.5 0 0 1 18.5,16 H16", c),
    "gear": _gear,
    "sliders": _sliders,
    "mouse": _mouse,
    "gauge": _gauge,
    "macro": _macro,
    "sun": _sun,
    "home": _home,
    "monitor": _monitor_pointer,
    "question": _question,
    "reset": _reset,
    "battery": _battery,
    "bolt": _bolt,
    "cable": _cable,
    "wireless": _wireless,
    "rec": _rec,
    "stop": _stop,
    "list": _list_item,
    "dots": _dots,
    "chevron_up": lambda c: _line("M6,15 L12,9 L18,15", c),
    "chevron_down": lambda c: _line("M6,9 L12,15 L18,9", c),
    "chevron_left": lambda c: _line("M15,6 L9,12 L15,18", c),
    "chevron_right": lambda c: _line("M9,6 L15,12 L9,18", c),
    "arrow_up": lambda c: _line("M12,19 V5 M6,11 L12,5 L18,11", c),
    "arrow_down": lambda c: _line("M12,5 V19 M6,13 L12,19 L18,13", c),
    "arrow_left": lambda c: _line("M19,12 H5 M11,6 L5,12 L11,18", c),
}


def glyph(name, colour):
    return SIMPLE[name](colour)


def place(name, colour, x, y, size):
    """The glyph scaled into the square (x, y, size)."""
    return group(glyph(name, colour), dx=x, dy=y, scale=size / 24.0)
