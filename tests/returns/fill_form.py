#!/usr/bin/python3
"""Fills a fillable PDF as a script author would, with one of several
independent programs, or changes a filled PDF as viewers and tools do.

  fill_form.py fill FILLER IN.pdf OUT.pdf VALUES.json
  fill_form.py change CHANGE IN.pdf OUT.pdf

FILLER: pypdf, poppler, pdftk or qpdf_json. VALUES.json:
  {"text": {"field": "value"}, "check": {"field": true},
   "radio": {"group": {"state": "Bratwurst", "index": 0}}}
where index is the button's place in its group in reading order (top to
bottom, then left to right), for fillers that do not see state names.

CHANGE: resaved (qpdf writes the file anew), object-streams, encrypted (an
empty user password, AES-256), reordered (the form's fields in reverse
order), flattened and flattened-pdftk (qpdf or pdftk draws every field into
the page and drops the form).

Exit status 0 when done, 1 on failure, with the reason on standard error.
"""
import json
import subprocess
import sys
import tempfile


def fill_pypdf(src, out, values):
    # pypdf 3.x: the documented calls; a button's value is given as its state
    # with the slash, as pypdf expects it.
    from pypdf import PdfReader, PdfWriter

    reader = PdfReader(src)
    writer = PdfWriter()
    writer.append(reader)
    fields = dict(values.get("text", {}))
    for name, on in values.get("check", {}).items():
        fields[name] = "/Yes" if on else "/Off"
    for name, choice in values.get("radio", {}).items():
        fields[name] = "/" + choice["state"] if choice else "/Off"
    for page in writer.pages:
        writer.update_page_form_field_values(page, fields)
    with open(out, "wb") as f:
        writer.write(f)


def reading_order(mapping, page_height):
    area = mapping.area
    return (round(page_height - area.y2), area.x1)


def fill_poppler(src, out, values):
    # Poppler's GLib interface, through GObject introspection: the calls a
    # viewer built on it makes when the user types and clicks.
    import gi

    gi.require_version("Poppler", "0.18")
    from gi.repository import GLib, Poppler

    doc = Poppler.Document.new_from_file(GLib.filename_to_uri(src, None), None)
    radios = {}
    for i in range(doc.get_n_pages()):
        page = doc.get_page(i)
        height = page.get_size()[1]
        for m in sorted(page.get_form_field_mapping(), key=lambda m: reading_order(m, height)):
            field = m.field
            name = field.get_name()
            kind = field.get_field_type()
            if kind == Poppler.FormFieldType.TEXT and name in values.get("text", {}):
                field.text_set_text(values["text"][name])
            elif kind == Poppler.FormFieldType.BUTTON:
                button = field.button_get_button_type()
                if button == Poppler.FormButtonType.CHECK and name in values.get("check", {}):
                    field.button_set_state(bool(values["check"][name]))
                elif button == Poppler.FormButtonType.RADIO:
                    radios.setdefault(name, []).append(field)
    for name, choice in values.get("radio", {}).items():
        buttons = radios.get(name, [])
        if choice and choice["index"] < len(buttons):
            buttons[choice["index"]].button_set_state(True)
        elif not choice:
            for button in buttons:
                button.button_set_state(False)
    doc.save(GLib.filename_to_uri(out, None))


def xml_text(text):
    return (text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            .replace('"', "&quot;"))


def fill_pdftk(src, out, values):
    # pdftk-java's fill_form with an XFDF file, as its manual shows.
    fields = []
    for name, text in values.get("text", {}).items():
        fields.append((name, text))
    for name, on in values.get("check", {}).items():
        fields.append((name, "Yes" if on else "Off"))
    for name, choice in values.get("radio", {}).items():
        fields.append((name, choice["state"] if choice else "Off"))
    xfdf = ['<?xml version="1.0" encoding="UTF-8"?>',
            '<xfdf xmlns="http://ns.adobe.com/xfdf/" xml:space="preserve"><fields>']
    for name, value in fields:
        xfdf.append('<field name="%s"><value>%s</value></field>' % (xml_text(name), xml_text(value)))
    xfdf.append("</fields></xfdf>")
    with tempfile.NamedTemporaryFile("w", suffix=".xfdf", encoding="utf-8", delete=False) as f:
        f.write("\n".join(xfdf))
        data = f.name
    run(["pdftk", src, "fill_form", data, "output", out])


def qpdf_objects(src):
    with tempfile.NamedTemporaryFile(suffix=".json", delete=False) as f:
        name = f.name
    run(["qpdf", "--json-output", src, name])
    # qpdf writes a name's bytes as they are, UTF-8 or not: they go back unchanged.
    with open(name, encoding="utf-8", errors="surrogateescape") as f:
        return json.load(f)["qpdf"]


def qpdf_update(src, out, header, changed):
    with tempfile.NamedTemporaryFile("w", suffix=".json", encoding="utf-8",
                                     errors="surrogateescape", delete=False) as f:
        json.dump({"qpdf": [header, changed]}, f, ensure_ascii=False)
        name = f.name
    run(["qpdf", src, out, "--update-from-json=" + name])


def fill_qpdf_json(src, out, values):
    # qpdf's JSON: the objects written out, changed, and read back in; every
    # value as viewers store it (/V and the widgets' /AS).
    header, objects = qpdf_objects(src)
    changed = {}

    def field_named(name):
        for key, obj in objects.items():
            value = obj.get("value") if isinstance(obj, dict) else None
            if isinstance(value, dict) and value.get("/T") == "u:" + name:
                return key, value
        raise SystemExit("no field named " + name)

    def states(widget):
        normal = widget.get("/AP", {}).get("/N", {})
        return [s for s in normal if s != "/Off"] if isinstance(normal, dict) else []

    for name, text in values.get("text", {}).items():
        key, field = field_named(name)
        field["/V"] = "u:" + text
        changed[key] = {"value": field}
    for name, on in values.get("check", {}).items():
        key, field = field_named(name)
        state = states(field)[0] if on else "/Off"
        field["/V"] = state
        field["/AS"] = state
        changed[key] = {"value": field}
    for name, choice in values.get("radio", {}).items():
        key, group = field_named(name)
        chosen = "/" + choice["state"] if choice else "/Off"
        group["/V"] = chosen
        changed[key] = {"value": group}
        for kid in group.get("/Kids", []):
            kid_key = "obj:" + kid
            widget = objects[kid_key]["value"]
            widget["/AS"] = chosen if chosen in states(widget) else "/Off"
            changed[kid_key] = {"value": widget}
    qpdf_update(src, out, header, changed)


def reorder(src, out):
    header, objects = qpdf_objects(src)
    root = objects["trailer"]["value"]["/Root"]
    catalog = objects["obj:" + root]["value"]
    form_ref = catalog["/AcroForm"]
    form = objects["obj:" + form_ref]["value"] if isinstance(form_ref, str) else form_ref
    form["/Fields"] = list(reversed(form["/Fields"]))
    key = "obj:" + form_ref if isinstance(form_ref, str) else "obj:" + root
    qpdf_update(src, out, header, {key: {"value": form if isinstance(form_ref, str) else catalog}})


def run(command):
    done = subprocess.run(command, capture_output=True, text=True)
    # qpdf ends with 3 when it only warned.
    if done.returncode not in (0, 3):
        raise SystemExit("%s failed (%d): %s" % (command[0], done.returncode, done.stderr))


CHANGES = {
    "resaved": lambda src, out: run(["qpdf", src, out]),
    "object-streams": lambda src, out: run(["qpdf", "--object-streams=generate", src, out]),
    "encrypted": lambda src, out: run(["qpdf", "--encrypt", "", "owner", "256", "--", src, out]),
    "reordered": reorder,
    "flattened": lambda src, out: run(
        ["qpdf", "--generate-appearances", "--flatten-annotations=all", src, out]),
    "flattened-pdftk": lambda src, out: run(["pdftk", src, "output", out, "flatten"]),
}

FILLERS = {"pypdf": fill_pypdf, "poppler": fill_poppler, "pdftk": fill_pdftk,
           "qpdf_json": fill_qpdf_json}


def main():
    if len(sys.argv) == 6 and sys.argv[1] == "fill" and sys.argv[2] in FILLERS:
        with open(sys.argv[5], encoding="utf-8") as f:
            values = json.load(f)
        FILLERS[sys.argv[2]](sys.argv[3], sys.argv[4], values)
    elif len(sys.argv) == 5 and sys.argv[1] == "change" and sys.argv[2] in CHANGES:
        CHANGES[sys.argv[2]](sys.argv[3], sys.argv[4])
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main()
