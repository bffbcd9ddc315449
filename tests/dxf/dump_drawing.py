#!/usr/bin/python3
"""Prints what ezdxf reads from a DXF file, one line per fact, for the tests:
dump_drawing.py <file>. The first line is "audit <errors>"."""
import sys

import ezdxf


def pt(v):
    return "%g,%g" % (v[0], v[1])


def text_line(e):
    d = e.dxf
    parts = [e.dxftype(), d.handle if d.hasattr("handle") else "-", "layer=" + d.layer]
    if e.dxftype() != "TEXT":
        parts.append("tag=" + d.tag)
    parts += ["h=%d" % d.get("halign", 0), "v=%d" % d.get("valign", 0), "at=" + pt(d.insert)]
    if d.hasattr("align_point"):
        parts.append("align=" + pt(d.align_point))
    parts.append("text=" + d.text)
    return " ".join(parts)


def main():
    doc = ezdxf.readfile(sys.argv[1])
    auditor = doc.audit()
    print("audit %d" % len(auditor.errors))
    print("handseed " + doc.header.get("$HANDSEED", "-"))
    for layer in doc.layers:
        print("LAYER %s locked=%d" % (layer.dxf.name, layer.is_locked()))
    for e in doc.modelspace():
        if e.dxftype() == "TEXT":
            print(text_line(e))
        elif e.dxftype() == "INSERT":
            print("INSERT %s block=%s at=%s" % (e.dxf.get("handle", "-"), e.dxf.name, pt(e.dxf.insert)))
            for a in e.attribs:
                print("  " + text_line(a) + " owner=" + str(a.dxf.get("owner", "-")))
        else:
            print("%s %s" % (e.dxftype(), e.dxf.get("handle", "-")))


if __name__ == "__main__":
    main()
