#!/usr/bin/python3
"""What poppler says a filled PDF holds, as JSON on standard output.

  read_poppler.py IN.pdf

{"text": {"field": "value"},
 "check": {"field": {"state": true, "shown": true}},
 "radio": {"group": {"state": 1, "shown": 1}}}

"state" is what poppler's form interface reports; "shown" is whether the
page poppler draws shows the mark (ink in the middle of the button). For a
radio group both are the place of the button that is on, in reading order
(top to bottom, then left to right), or -1 for none. An encrypted file is
opened with the empty password.
"""
import json
import sys

import gi

gi.require_version("Poppler", "0.18")
import cairo  # noqa: E402
from gi.repository import GLib, Poppler  # noqa: E402

SCALE = 4  # pixels per point for the drawn page


def drawn(page):
    width, height = page.get_size()
    surface = cairo.ImageSurface(cairo.FORMAT_RGB24, int(width * SCALE), int(height * SCALE))
    context = cairo.Context(surface)
    context.set_source_rgb(1, 1, 1)
    context.paint()
    context.scale(SCALE, SCALE)
    page.render(context)
    surface.flush()
    return surface


def shows_mark(surface, area, height):
    """Dark pixels in the middle half of the button's area."""
    data, stride = surface.get_data(), surface.get_stride()
    x0, x1 = int(area.x1 * SCALE), int(area.x2 * SCALE)
    y0, y1 = int((height - area.y2) * SCALE), int((height - area.y1) * SCALE)
    mx, my = (x1 - x0) // 4, (y1 - y0) // 4
    dark = 0
    for y in range(y0 + my, y1 - my):
        row = y * stride
        for x in range(x0 + mx, x1 - mx):
            if data[row + 4 * x] < 128:
                dark += 1
    return dark >= 4


def main():
    doc = Poppler.Document.new_from_file(GLib.filename_to_uri(sys.argv[1], None), "")
    result = {"text": {}, "check": {}, "radio": {}}
    for i in range(doc.get_n_pages()):
        page = doc.get_page(i)
        height = page.get_size()[1]
        surface = None
        mappings = sorted(page.get_form_field_mapping(),
                          key=lambda m: (round(height - m.area.y2), m.area.x1))
        for m in mappings:
            field = m.field
            name = field.get_name()
            kind = field.get_field_type()
            if kind == Poppler.FormFieldType.TEXT:
                result["text"][name] = field.text_get_text() or ""
            elif kind == Poppler.FormFieldType.BUTTON:
                surface = surface or drawn(page)
                state = bool(field.button_get_state())
                shown = shows_mark(surface, m.area, height)
                button = field.button_get_button_type()
                if button == Poppler.FormButtonType.CHECK:
                    result["check"][name] = {"state": state, "shown": shown}
                elif button == Poppler.FormButtonType.RADIO:
                    group = result["radio"].setdefault(name, {"state": -1, "shown": -1, "n": 0})
                    if state:
                        group["state"] = group["n"]
                    if shown:
                        group["shown"] = group["n"]
                    group["n"] += 1
    for group in result["radio"].values():
        del group["n"]
    json.dump(result, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
