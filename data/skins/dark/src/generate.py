#!/usr/bin/env python3
"""Writes the SVG source of every skin image listed in the manifest.

    generate.py MANIFEST OUTDIR

For each manifest line `name frames WxH borders family[:arg]` it writes OUTDIR/<name without
its extension>.svg, whose natural size is the whole strip (frames * W) x H. A line whose family
is unknown, or a drawing that fails, stops the run with the manifest line in the message, so a
broken skin never builds quietly.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import brand  # noqa: E402
import controls  # noqa: E402
import mice  # noqa: E402
from svg import document  # noqa: E402

FAMILIES = dict(controls.FAMILIES)
FAMILIES.update({
    "logo": brand.logo,
    "app_icon": brand.app_icon,
    "no_device": brand.no_device,
    "mouse_top": mice.mouse_top,
    "mouse_card": mice.mouse_card,
})


def read_manifest(path):
    """The manifest's entries as (line number, name, frames, width, height, borders, source)."""
    entries = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            fields = line.split()
            if len(fields) != 5:
                raise SystemExit(f"{path}:{number}: expected 5 fields, found {len(fields)}")
            name, frames, size, borders, source = fields
            try:
                width, height = (int(v) for v in size.lower().split("x"))
                frames = int(frames)
            except ValueError:
                raise SystemExit(f"{path}:{number}: bad frame count or size '{frames} {size}'")
            if frames < 1 or width < 1 or height < 1:
                raise SystemExit(f"{path}:{number}: frames and size must be positive")
            entries.append((number, name, frames, width, height, borders, source))
    return entries


def svg_name(name):
    return os.path.splitext(name)[0] + ".svg"


def main(argv):
    if len(argv) != 3:
        raise SystemExit(__doc__)
    manifest, outdir = argv[1], argv[2]
    seen = set()
    for number, name, frames, fw, fh, _borders, source in read_manifest(manifest):
        if name in seen:
            raise SystemExit(f"{manifest}:{number}: '{name}' is listed twice")
        seen.add(name)
        family, _, arg = source.partition(":")
        draw = FAMILIES.get(family)
        if draw is None:
            raise SystemExit(f"{manifest}:{number}: unknown family '{family}'")
        try:
            body, defs = draw(fw, fh, frames, arg)
        except Exception as e:  # report which image failed, then stop
            raise SystemExit(f"{manifest}:{number}: drawing '{name}' failed: {e!r}")
        target = os.path.join(outdir, svg_name(name))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        text = document(frames * fw, fh, body, defs)
        # Leave unchanged files alone so their time stamps do not trigger new renders.
        if os.path.exists(target):
            with open(target, encoding="utf-8") as f:
                if f.read() == text:
                    continue
        with open(target, "w", encoding="utf-8") as f:
            f.write(text)


if __name__ == "__main__":
    main(sys.argv)
