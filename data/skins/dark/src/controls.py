"""Frames, panels, buttons and the other control images.

Every family is a function (fw, fh, frames, arg) -> (body, defs) that draws the whole strip:
`frames` frames of fw x fh side by side. Four-frame strips are normal, hover, pressed, disabled;
eight-frame strips are those four unchecked and then checked.
"""

from glyphs import place
from svg import (BACKGROUND, BORDER, BORDER_LIGHT, DANGER, DANGER_DARK, DEEP, HIGHLIGHT,
                 HIGHLIGHT_DARK, HIGHLIGHT_LIGHT, HOVER, ON_HIGHLIGHT, PANEL, PANEL_LIGHT, PRESSED,
                 RAISED, TEXT, TEXT_DISABLED, TEXT_SECONDARY, circle, group, path, polygon, rect,
                 strip)

# --- flat surfaces -----------------------------------------------------------------------------


def window_background(fw, fh, frames, arg):
    return rect(0, 0, fw, fh, 0, fill=BACKGROUND, stroke=BORDER, sw=1), ""


def bar(fw, fh, frames, arg):
    """Title and bottom bars, page captions: a flat band, no lines, so it stretches freely."""
    return rect(0, 0, fw, fh, 0, fill="#1F1F1F"), ""


def tab_column(fw, fh, frames, arg):
    return rect(0, 0, fw, fh, 0, fill=DEEP) + rect(fw - 1, 0, 1, fh, 0, fill=PANEL_LIGHT), ""


def page(fw, fh, frames, arg):
    """A page: rounded panel with a 50-pixel header band; drawn nine-slice (10, 50, 260, 10)."""
    body = rect(0, 0, fw, fh, 8, fill="#1E1E1E", stroke=PANEL_LIGHT, sw=1)
    body += rect(1, 49, fw - 2, 1, 0, fill=PANEL_LIGHT)
    return body, ""


def panel(fw, fh, frames, arg):
    """A section panel; drawn nine-slice with 10-pixel borders."""
    fill = {"content": PANEL, "slider": DEEP, "state": PANEL}.get(arg, PANEL)
    r = min(6, fh // 2)
    return rect(0, 0, fw, fh, r, fill=fill, stroke=PANEL_LIGHT if arg != "slider" else BORDER, sw=1), ""


def pill(fw, fh, frames, arg):
    return rect(0, 0, fw, fh, fh / 2, fill=PANEL, stroke=BORDER, sw=1), ""


def list_well(fw, fh, frames, arg):
    return rect(0, 0, fw, fh, 4, fill=DEEP, stroke=BORDER, sw=1), ""


def list_header(fw, fh, frames, arg):
    body = path(
        f"M0,{fh} V4 A4,4 0 0 1 4,0 H{fw - 4} A4,4 0 0 1 {fw},4 V{fh} Z", fill=PANEL_LIGHT
    )
    body += rect(0, fh - 1, fw, 1, 0, fill=BORDER)
    return body, ""


def dialog(fw, fh, frames, arg):
    """A dialog background: rounded frame with the highlight as a thin line along the top."""
    body = rect(0, 0, fw, fh, 10, fill="#1E1E1E", stroke=BORDER, sw=1)
    body += path(f"M24,1.5 H{fw - 24}", stroke=HIGHLIGHT, sw=3, cap="round")
    return body, ""


def device_card(fw, fh, frames, arg):
    """The card behind a model in the device list: normal, hover, selected, disabled."""
    fills = [PANEL, "#292929", "#292929", "#1E1E1E"]
    strokes = [PANEL_LIGHT, BORDER_LIGHT, HIGHLIGHT, PANEL]

    def frame(i):
        return rect(0, 0, fw, fh, 10, fill=fills[i % 4], stroke=strokes[i % 4], sw=1 if i % 4 != 2 else 2)

    return strip(frames, fw, frame), ""


# --- buttons and fields ------------------------------------------------------------------------


def _state(i):
    return i % 4


def button(fw, fh, frames, arg):
    """The text button: raised, highlight frame on hover, highlight fill when pressed."""
    fills = [PANEL_LIGHT, RAISED, HIGHLIGHT_DARK, PANEL]
    strokes = [BORDER, HIGHLIGHT, HIGHLIGHT_DARK, PANEL_LIGHT]

    def frame(i):
        s = _state(i)
        body = rect(0, 0, fw, fh, 4, fill=fills[s], stroke=strokes[s], sw=1)
        if arg:  # an arrow button: the glyph in the middle
            colour = [TEXT_SECONDARY, TEXT, TEXT, TEXT_DISABLED][s]
            size = min(fw, fh) * 0.6
            body += place(arg, colour, (fw - size) / 2, (fh - size) / 2, size)
        return body

    return strip(frames, fw, frame), ""


def edit(fw, fh, frames, arg):
    fills = [DEEP, DEEP, DEEP, BACKGROUND]
    strokes = [BORDER, BORDER_LIGHT, HIGHLIGHT, PANEL_LIGHT]
    return strip(frames, fw, lambda i: rect(0, 0, fw, fh, 4, fill=fills[_state(i)], stroke=strokes[_state(i)], sw=1)), ""


def combobox(fw, fh, frames, arg):
    """A drop-down field: normal, hover, open, disabled. The kit draws the arrow itself."""
    fills = [PANEL_LIGHT, RAISED, PANEL_LIGHT, PANEL]
    strokes = [BORDER, BORDER_LIGHT, HIGHLIGHT, PANEL_LIGHT]
    return strip(frames, fw, lambda i: rect(0, 0, fw, fh, 4, fill=fills[_state(i)], stroke=strokes[_state(i)], sw=1)), ""


def tab_item(fw, fh, frames, arg):
    """A page tab: hover lifts it, the selected (pressed) frame carries the highlight bar."""

    def frame(i):
        s = _state(i)
        if s == HOVER:
            return rect(0, 0, fw, fh, 0, fill=PANEL)
        if s == PRESSED:
            return rect(0, 0, fw, fh, 0, fill=PANEL_LIGHT) + rect(0, 12, 4, fh - 24, 2, fill=HIGHLIGHT)
        return rect(0, 0, fw, fh, 0, fill=DEEP, opacity=0)  # keeps the frame's extent

    return strip(frames, fw, frame), ""


def icon_button(fw, fh, frames, arg):
    """A glyph button without a frame of its own; the hover adds a soft square behind it.

    arg is the glyph name; "close:" before it paints the hover red, as window close buttons do.
    """
    danger = arg.startswith("close:")
    name = arg.split(":", 1)[1] if danger else arg
    backs = [None, PANEL_LIGHT, PANEL, None]
    if danger:
        backs = [None, DANGER, DANGER_DARK, None]
    colours = [TEXT_SECONDARY, TEXT, TEXT if danger else HIGHLIGHT, TEXT_DISABLED]

    def frame(i):
        s = _state(i)
        body = rect(0, 0, fw, fh, 4, fill=backs[s]) if backs[s] else ""
        size = min(fw, fh) * 0.6
        body += place(name, colours[s], (fw - size) / 2, (fh - size) / 2, size)
        return body

    return strip(frames, fw, frame), ""


def round_button(fw, fh, frames, arg):
    """A round arrow button (previous and next model)."""
    fills = [PANEL, PANEL_LIGHT, HIGHLIGHT_DARK, PANEL]
    strokes = [BORDER, HIGHLIGHT, HIGHLIGHT_DARK, PANEL_LIGHT]
    colours = [TEXT_SECONDARY, TEXT, TEXT, TEXT_DISABLED]

    def frame(i):
        s = _state(i)
        r = min(fw, fh) / 2
        body = circle(fw / 2, fh / 2, r - 0.5, fill=fills[s], stroke=strokes[s], sw=1)
        size = r
        body += place(arg, colours[s], (fw - size) / 2, (fh - size) / 2, size)
        return body

    return strip(frames, fw, frame), ""


# --- check marks -------------------------------------------------------------------------------


def _check_frame(fw, fh, i, shape):
    s = _state(i)
    checked = i >= 4
    size = min(fw, fh) - 4
    x, y = (fw - size) / 2, (fh - size) / 2
    radius = 3 if shape == "box" else size / 2
    if checked:
        fill = [HIGHLIGHT, HIGHLIGHT_LIGHT, HIGHLIGHT_DARK, TEXT_DISABLED][s]
        stroke = fill
        mark = [ON_HIGHLIGHT, ON_HIGHLIGHT, ON_HIGHLIGHT, PANEL_LIGHT][s]
    else:
        fill = [DEEP, DEEP, PANEL_LIGHT, BACKGROUND][s]
        stroke = [TEXT_SECONDARY, HIGHLIGHT, HIGHLIGHT, TEXT_DISABLED][s]
        mark = None
    body = rect(x, y, size, size, radius, fill=fill, stroke=stroke, sw=1.5)
    if mark:
        if shape == "box":
            u = size / 16
            body += path(
                f"M{x + 3.5 * u:.2f},{y + 8.3 * u:.2f} L{x + 6.7 * u:.2f},{y + 11.5 * u:.2f} "
                f"L{x + 12.5 * u:.2f},{y + 4.8 * u:.2f}",
                stroke=mark, sw=max(1.6, 2 * u),
            )
        else:
            body += circle(fw / 2, fh / 2, size * 0.22, fill=mark)
    return body


def checkbox(fw, fh, frames, arg):
    return strip(frames, fw, lambda i: _check_frame(fw, fh, i, "box")), ""


def radiobox(fw, fh, frames, arg):
    return strip(frames, fw, lambda i: _check_frame(fw, fh, i, "round")), ""


# --- sliders and the battery -------------------------------------------------------------------


def slider_thumb(fw, fh, frames, arg):
    """A slider's thumb: white with a highlight ring, grey when disabled. Round, or with
    arg "bar" an upright pill (the DPI slider's)."""
    rings = [HIGHLIGHT, HIGHLIGHT_LIGHT, HIGHLIGHT_DARK, TEXT_DISABLED]
    fills = [TEXT, TEXT, "#E6E6E6", TEXT_SECONDARY]

    def frame(i):
        s = _state(i)
        if arg == "bar":
            return rect(0, 0, fw, fh, fw / 2, fill=fills[s], stroke=rings[s], sw=3)
        r = min(fw, fh) / 2
        return circle(fw / 2, fh / 2, r - 1.5, fill=fills[s], stroke=rings[s], sw=3)

    return strip(frames, fw, frame), ""


def battery_frame(fw, fh, frames, arg):
    """Battery outline, twice as wide as high; the kit stretches it over the battery and puts
    the level bar 2.5 pixels inside the body (the body leaves an eighth of the height for the
    nub on the right)."""
    nub = fh / 8
    body = rect(0, 0, fw - nub, fh, 3, stroke=TEXT_SECONDARY, sw=1.5)
    body += rect(fw - nub, fh * 0.3, nub, fh * 0.4, 1, fill=TEXT_SECONDARY)
    return body, ""


def battery_level(fw, fh, frames, arg):
    """The level bar, stretched to the level's width."""
    return rect(0, 0, fw, fh, 1.5, fill=TEXT), ""


def charge_mark(fw, fh, frames, arg):
    """The charging bolt, drawn over the level bar: highlight with a dark edge."""
    body = polygon([(7.5, 0.8), (1, 9), (5.5, 9), (4.5, 15.2), (11, 6.8), (6.6, 6.8)],
                   fill=HIGHLIGHT, stroke=BACKGROUND, sw=1.2)
    return group(body, scale=min(fw / 12, fh / 16)), ""


def glyph_image(fw, fh, frames, arg):
    """A single glyph in its colour; arg is name[:colour]."""
    name, _, colour = arg.partition(":")
    colour = {"": TEXT, "secondary": TEXT_SECONDARY, "highlight": HIGHLIGHT, "danger": DANGER}.get(
        colour, colour
    )
    size = min(fw, fh)
    return place(name, colour, (fw - size) / 2, (fh - size) / 2, size), ""


def glyph_strip(fw, fh, frames, arg):
    """One glyph per frame, in the given colour: name,name,...[:colour]."""
    names, _, colour = arg.partition(":")
    colour = {"": TEXT, "secondary": TEXT_SECONDARY, "highlight": HIGHLIGHT}.get(colour, colour)
    names = names.split(",")
    size = min(fw, fh)
    return strip(frames, fw, lambda i: place(names[i % len(names)], colour, (fw - size) / 2, (fh - size) / 2, size)), ""


def tab_icon(fw, fh, frames, arg):
    """A page-tab icon. The tab control draws one frame whatever the tab's state, so a single
    image is a light grey that sits between the normal and the selected text; strips of four
    (normal, hover, selected, disabled) are drawn for a control that picks the frame."""
    colours = ["#C8C8C8", TEXT, HIGHLIGHT, TEXT_DISABLED] if frames > 1 else ["#C8C8C8"]
    size = min(fw, fh)
    return strip(frames, fw, lambda i: place(arg, colours[_state(i)], (fw - size) / 2, (fh - size) / 2, size)), ""


FAMILIES = {
    "window": window_background,
    "bar": bar,
    "tab_column": tab_column,
    "page": page,
    "panel": panel,
    "pill": pill,
    "list_well": list_well,
    "list_header": list_header,
    "dialog": dialog,
    "device_card": device_card,
    "button": button,
    "edit": edit,
    "combobox": combobox,
    "tab_item": tab_item,
    "icon_button": icon_button,
    "round_button": round_button,
    "checkbox": checkbox,
    "radiobox": radiobox,
    "slider_thumb": slider_thumb,
    "battery_frame": battery_frame,
    "battery_level": battery_level,
    "charge_mark": charge_mark,
    "glyph": glyph_image,
    "glyph_strip": glyph_strip,
    "tab_icon": tab_icon,
}
