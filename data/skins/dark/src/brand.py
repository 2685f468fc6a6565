"""The program's mark, its word mark and the pictures built from them.

The mark: a pointer in motion on a highlight-coloured rounded square. The word mark is drawn
with our own stroke letters (no font is involved), so the logo looks the same everywhere.
"""

from svg import (BORDER, HIGHLIGHT, HIGHLIGHT_DARK, HIGHLIGHT_LIGHT, ON_HIGHLIGHT, TEXT,
                 TEXT_SECONDARY, group, linear_gradient, path, polygon, rect)

# Stroke letters on a 12 x 18 box (stroke centres inside 1..11 x 1..17), with their advance.
LETTERS = {
    "C": ("M11,1 H6 A5,5 0 0 0 1,6 V12 A5,5 0 0 0 6,17 H11", 12),
    "U": ("M1,1 V12 A5,5 0 0 0 6,17 A5,5 0 0 0 11,12 V1", 12),
    "R": ("M1,17 V1 H7 A4,4 0 0 1 7,9 H1 M6,9 L11,17", 12),
    "S": ("M11,1 H5 A4,4 0 0 0 5,9 H7 A4,4 0 0 1 7,17 H1", 12),
    "O": ("M6,1 H6 A5,5 0 0 1 11,6 V12 A5,5 0 0 1 6,17 A5,5 0 0 1 1,12 V6 A5,5 0 0 1 6,1 Z", 12),
    "I": ("M1,1 V17", 2),
    "A": ("M1,17 L6,1 L11,17 M2.9,11 H9.1", 12),
    "L": ("M1,1 V17 H11", 12),
}


def word(text, colour, x, y, height, spacing=0.55, sw=2.4):
    """The word in stroke letters, `height` pixels tall, starting at (x, y)."""
    scale = height / 18.0
    body = ""
    cx = 0.0
    for ch in text:
        d, advance = LETTERS[ch]
        body += group(path(d, stroke=colour, sw=sw / scale, cap="square", join="miter"),
                      dx=cx, dy=0)
        cx += advance + spacing * 12
    return group(body, dx=x, dy=y, scale=scale), (cx - spacing * 12) * scale


def mark(size, gid="markFill"):
    """The mark on a size x size square at the origin; returns (body, defs)."""
    defs = linear_gradient(gid, [(0, HIGHLIGHT_LIGHT), (1, HIGHLIGHT_DARK)], x1=0, y1=0, x2=1, y2=1)
    u = size / 32.0
    body = rect(0, 0, 32, 32, 7.5, fill=f"url(#{gid})")
    # Motion lines behind the pointer.
    body += path("M5,12.5 H9.5 M3.5,17 H9.5 M5,21.5 H9.5", stroke=ON_HIGHLIGHT, sw=2.2, opacity=0.55)
    body += polygon(
        [(13, 5.5), (13, 25), (17.4, 20.8), (20.4, 27.2), (23.4, 25.8), (20.5, 19.5), (26.4, 19.2)],
        fill=ON_HIGHLIGHT, stroke=ON_HIGHLIGHT, sw=1.4,
    )
    return group(body, scale=u), defs


def logo(fw, fh, frames, arg):
    """Mark and word mark side by side, centred in the box (the about box shows it 260 x 40)."""
    m = fh * 0.9
    mark_body, defs = mark(m, gid="logoMark")
    letter_h = fh * 0.42
    _, width = word("CURSORIAL", TEXT, 0, 0, letter_h)
    gap = fh * 0.3
    total = m + gap + width
    x0 = (fw - total) / 2
    body = group(mark_body, dx=x0, dy=(fh - m) / 2)
    text, _ = word("CURSORIAL", TEXT, x0 + m + gap, (fh - letter_h) / 2, letter_h)
    return body + text, defs


def app_icon(fw, fh, frames, arg):
    """The application icon: the mark filling the square."""
    body, defs = mark(min(fw, fh), gid="appMark")
    return body, defs


def no_device(fw, fh, frames, arg):
    """The home page's picture when no mouse is connected: a mouse whose plug is out of its port."""
    sw = 3
    body = ""
    # The mouse, upright, on the left.
    mx, my = fw * 0.28, fh * 0.56
    w, h = fh * 0.36, fh * 0.6
    x, y = mx - w / 2, my - h / 2
    body += rect(x, y, w, h, w / 2, stroke=TEXT_SECONDARY, sw=sw)
    body += path(f"M{mx:.1f},{y + 2:.1f} V{y + h * 0.36:.1f} M{x + 2:.1f},{y + h * 0.38:.1f} "
                 f"H{x + w - 2:.1f}", stroke=TEXT_SECONDARY, sw=sw)
    # Its cable: up from the front, over, and down to the plug lying on its side.
    px, py = fw * 0.56, fh * 0.5
    body += path(f"M{mx:.1f},{y:.1f} C{mx:.1f},{fh * 0.06:.1f} {px - 40:.1f},{fh * 0.08:.1f} "
                 f"{px - 38:.1f},{py:.1f} H{px:.1f}", stroke=TEXT_SECONDARY, sw=sw)
    body += rect(px, py - 10, 30, 20, 3, fill=BORDER, stroke=TEXT_SECONDARY, sw=sw)
    body += rect(px + 30, py - 6, 14, 12, 1, stroke=TEXT_SECONDARY, sw=2)
    # The port it belongs in, and the gap between them.
    sx = fw * 0.84
    body += rect(sx - 12, py - 30, 24, 60, 5, stroke=HIGHLIGHT, sw=sw)
    body += rect(sx - 5, py - 8, 10, 16, 1.5, fill=HIGHLIGHT)
    body += path(f"M{px + 52:.1f},{py:.1f} H{sx - 20:.1f}", stroke=HIGHLIGHT, sw=2, dash="3 5",
                 cap="butt")
    return body, ""
