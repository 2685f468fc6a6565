"""A few helpers that write SVG text, and the colours of the dark look.

The drawings must render the same in every SVG reader the program meets, and the kit renders
them with Qt's SVG module, which reads SVG Tiny 1.2: plain shapes, paths, groups with
transforms, linear and radial gradients, opacity and dash patterns. No filters, masks, clip
paths or text: a shape that needs clipping is computed here instead.
"""

# The colours of the look. They match the widget kit's constants (src/common/dui/Manager.h).
BACKGROUND = "#1A1A1A"  # window background
DEEP = "#141414"  # wells: edits, lists, the tab column
PANEL = "#232323"  # section panels
PANEL_LIGHT = "#2D2D2D"  # raised surfaces: buttons, hover
RAISED = "#363636"  # hover of a raised surface
BORDER = "#3A3A3A"  # lines and frames
BORDER_LIGHT = "#4A4A4A"
TEXT = "#FFFFFF"
TEXT_SECONDARY = "#969696"  # secondary text and lines
TEXT_DISABLED = "#5C5C5C"
HIGHLIGHT = "#F5A623"  # the one highlight colour (Manager::m_select_color)
HIGHLIGHT_LIGHT = "#F7B84D"
HIGHLIGHT_DARK = "#C98412"
ON_HIGHLIGHT = "#1A1A1A"  # marks drawn on the highlight colour
DANGER = "#C4413A"  # hover of the close button, the record mark
DANGER_DARK = "#A33630"

# Frame order of the kit's state strips.
NORMAL, HOVER, PRESSED, DISABLED = range(4)


def num(v):
    """A coordinate as short text: 12, 12.5, 12.25."""
    if isinstance(v, int):
        return str(v)
    text = f"{v:.3f}".rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def attrs(**kw):
    """Attribute text; underscores become dashes, None values are left out."""
    parts = []
    for key, value in kw.items():
        if value is None:
            continue
        name = key.rstrip("_").replace("_", "-")
        if isinstance(value, float):
            value = num(value)
        parts.append(f'{name}="{value}"')
    return " ".join(parts)


def document(width, height, body, defs=""):
    """A whole SVG file whose natural size is width x height pixels."""
    defs_text = f"<defs>{defs}</defs>\n" if defs else ""
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
        f'width="{width}" height="{height}" viewBox="0 0 {width} {height}">\n'
        f"{defs_text}{body}</svg>\n"
    )


def group(body, dx=0, dy=0, scale=None, rotate=None, opacity=None):
    transform = []
    if dx or dy:
        transform.append(f"translate({num(dx)} {num(dy)})")
    if rotate is not None:
        transform.append(f"rotate({num(rotate)})")
    if scale is not None:
        transform.append(f"scale({num(scale)})")
    t = " ".join(transform) or None
    return f"<g {attrs(transform=t, opacity=opacity)}>{body}</g>\n"


def rect(x, y, w, h, r=0, fill="none", stroke=None, sw=1, opacity=None):
    """A rectangle; with a stroke it is inset by half the stroke so the line stays inside."""
    if stroke:
        x, y, w, h = x + sw / 2, y + sw / 2, w - sw, h - sw
        r = max(0, r - sw / 2)
    return (
        f"<rect {attrs(x=float(x), y=float(y), width=float(w), height=float(h), rx=float(r) if r else None, ry=float(r) if r else None, fill=fill, stroke=stroke, stroke_width=float(sw) if stroke else None, opacity=opacity)}/>\n"
    )


def circle(cx, cy, r, fill="none", stroke=None, sw=1, opacity=None):
    return f"<circle {attrs(cx=float(cx), cy=float(cy), r=float(r), fill=fill, stroke=stroke, stroke_width=float(sw) if stroke else None, opacity=opacity)}/>\n"


def ellipse(cx, cy, rx, ry, fill="none", stroke=None, sw=1, opacity=None):
    return f"<ellipse {attrs(cx=float(cx), cy=float(cy), rx=float(rx), ry=float(ry), fill=fill, stroke=stroke, stroke_width=float(sw) if stroke else None, opacity=opacity)}/>\n"


def path(d, fill="none", stroke=None, sw=1.0, cap="round", join="round", opacity=None,
         dash=None, fill_rule=None):
    return (
        f"<path {attrs(d=d, fill=fill, fill_rule=fill_rule, stroke=stroke, stroke_width=float(sw) if stroke else None, stroke_linecap=cap if stroke else None, stroke_linejoin=join if stroke else None, stroke_dasharray=dash, opacity=opacity)}/>\n"
    )


def polygon(points, fill, stroke=None, sw=1.0, opacity=None):
    pts = " ".join(f"{num(float(x))},{num(float(y))}" for x, y in points)
    return f"<polygon {attrs(points=pts, fill=fill, stroke=stroke, stroke_width=float(sw) if stroke else None, stroke_linejoin='round' if stroke else None, opacity=opacity)}/>\n"


def _stops(stops):
    """Stops are (offset, colour) or (offset, colour, opacity)."""
    return "".join(
        f'<stop offset="{num(float(st[0]))}" stop-color="{st[1]}"'
        + (f' stop-opacity="{num(float(st[2]))}"' if len(st) > 2 else "")
        + "/>"
        for st in stops
    )


def linear_gradient(gid, stops, x1=0, y1=0, x2=0, y2=1):
    """Coordinates in the box."""
    return (
        f'<linearGradient id="{gid}" x1="{num(float(x1))}" y1="{num(float(y1))}" '
        f'x2="{num(float(x2))}" y2="{num(float(y2))}">{_stops(stops)}</linearGradient>'
    )


def radial_gradient(gid, stops, cx=0.5, cy=0.5, r=0.5):
    return (
        f'<radialGradient id="{gid}" cx="{num(float(cx))}" cy="{num(float(cy))}" '
        f'r="{num(float(r))}">{_stops(stops)}</radialGradient>'
    )


def strip(frames, frame_width, draw):
    """The frames side by side: draw(i) gives frame i's drawing at the origin."""
    return "".join(group(draw(i), dx=i * frame_width) for i in range(frames))
