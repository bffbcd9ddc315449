#!/usr/bin/python3
"""Writes the test drawings with ezdxf: make_drawings.py <output dir>.

r12_cp932.dxf  AutoCAD R12, $DWGCODEPAGE ANSI_932 (Shift_JIS bytes)
r2010_utf8.dxf AutoCAD 2010, UTF-8
Both hold aligned texts, a locked layer, a block with attribute definitions
and prompts, and block references with two attributes of one tag.
"""
import os
import sys

import ezdxf
from ezdxf.enums import TextEntityAlignment


def build(version, codepage=None):
    doc = ezdxf.new(version)
    if codepage:
        doc.header["$DWGCODEPAGE"] = codepage
        doc.encoding = "cp932"
    doc.layers.add("注記", color=2)
    locked = doc.layers.add("承認", color=1)
    locked.lock()
    doc.layers.add("機器", color=3)

    block = doc.blocks.new("EQUIP")
    block.add_line((-10, -4), (10, -4))
    block.add_line((10, -4), (10, 4))
    block.add_circle((0, 0), 3)
    block.add_attdef("NAME", (0, 5.5), dxfattribs={"prompt": "機器名", "height": 2.5}).set_placement(
        (0, 5.5), align=TextEntityAlignment.CENTER)
    block.add_attdef("SPEC", (12, 0.5), dxfattribs={"prompt": "仕様", "height": 2})

    msp = doc.modelspace()
    msp.add_text("制御盤 展開接続図", dxfattribs={"layer": "注記", "height": 6}).set_placement(
        (210, 286), align=TextEntityAlignment.MIDDLE_CENTER)
    msp.add_text("左寄せ ABC", dxfattribs={"layer": "注記", "height": 2.5}).set_placement((20, 250))
    msp.add_text("右寄せ", dxfattribs={"layer": "注記", "height": 2.5}).set_placement(
        (100, 250), align=TextEntityAlignment.RIGHT)
    msp.add_text("上中央", dxfattribs={"layer": "注記", "height": 2.5}).set_placement(
        (150, 250), align=TextEntityAlignment.TOP_CENTER)
    msp.add_text("承認済", dxfattribs={"layer": "承認", "height": 5}).set_placement(
        (200, 30), align=TextEntityAlignment.MIDDLE_CENTER)
    msp.add_text("Yen \\ sign ソ表", dxfattribs={"layer": "注記", "height": 2.5}).set_placement((20, 240))
    # Not in the Japanese code page: ezdxf writes "\\U+4e02" (lower-case hex).
    msp.add_text("外字 丂", dxfattribs={"layer": "注記", "height": 2.5}).set_placement((20, 230))
    msp.add_line((0, 0), (420, 0))
    if version != "R12":
        msp.add_lwpolyline([(0, 0), (420, 0), (420, 297), (0, 297)], close=True)
    else:
        msp.add_polyline2d([(0, 0), (420, 0), (420, 297), (0, 297)], close=True)  # kept, not shown
    msp.add_arc((50, 50), 10, 0, 90)

    for i, (name, spec) in enumerate([("MCCB1", "3P 100AF"), ("MC1", "AC200V 18A")]):
        ref = msp.add_blockref("EQUIP", (90, 200 - 30 * i), dxfattribs={"layer": "機器"})
        ref.add_attrib("NAME", name, (90, 205.5 - 30 * i)).set_placement(
            (90, 205.5 - 30 * i), align=TextEntityAlignment.CENTER)
        ref.add_attrib("NAME", name + "-2", (90, 202 - 30 * i))
        ref.add_attrib("SPEC", spec, (102, 200.5 - 30 * i))
    return doc


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    build("R12", "ANSI_932").saveas(os.path.join(out, "r12_cp932.dxf"))
    build("R2010").saveas(os.path.join(out, "r2010_utf8.dxf"))


if __name__ == "__main__":
    main()
