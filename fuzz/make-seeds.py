#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora under corpus/: a few small files of
each format, plain and at their edges. The fuzzers grow their own corpora from
these; run again after changing a seed."""
import os
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")


def native(width, height, picture=None, column_clues=None, row_clues=None, colour_count=2, no_picture=None):
    """A native file: clues as lists of (value, colour) per line, picture as rows of cell values."""
    palette = [(255, 255, 255), (0, 0, 0), (0, 0, 255), (219, 0, 0), (0, 192, 0), (128, 128, 128)]
    palette += [(16 * i, 255 - 16 * i, 8 * i) for i in range(16 - len(palette))]
    data = b"TESSA" + bytes([colour_count]) + b"".join(bytes([r, g, b, 0]) for r, g, b in palette)
    most_c = max((len(c) for c in column_clues or []), default=0)
    most_r = max((len(r) for r in row_clues or []), default=0)
    flag = no_picture if no_picture is not None else (0 if picture else 1)
    data += bytes([width, height, most_r, most_c, flag])
    for lists, most in ((column_clues or [], most_c), (row_clues or [], most_r)):
        for clues in lists:
            for value, colour in list(clues) + [(0, 0)] * (most - len(clues)):
                data += bytes([value, colour])
    for row in picture or []:
        data += bytes(row)
    return data


NATIVE = {
    "empty": native(0, 0, no_picture=0),
    "derived": native(4, 3, picture=[[1, 1, 0, 2], [255, 0, 17, 2], [3, 3, 3, 0]], colour_count=16),
    "clues-only": native(3, 2, column_clues=[[(1, 1)], [(0x82, 2)], [(1, 3), (0, 0)]],
                         row_clues=[[(2, 1), (1, 3)], [(0x80, 1)]], colour_count=4),
    "columns-only": native(2, 2, picture=[[1, 0], [1, 1]], column_clues=[[(2, 1)], [(1, 1)]]),
    "long-run": native(105, 1, picture=[[1] * 101 + [0, 2, 2, 255]], colour_count=3),
}

TGR = {
    "empty": bytes([0, 0, 0, 0]),
    "plus": bytes([3, 3, 1, 2, 1, 0, 3, 0, 1, 0, 1, 3, 1]),
    "crossed": bytes([2, 1, 2, 2, 0x83, 0, 0x80, 1, 0, 7]),
}

TGW = {
    "empty": bytes([0, 0]),
    "mixed": bytes([2, 3, 2, 2, 0, 1, 2, 2]),
    "full": bytes([4, 4]) + bytes([2] * 16),
}

TGP = {
    "empty": b"00\r\n",
    "house": b"65\r\n1\r\n3\r\n5\r\n11\r\n111\r\n5\r\n4\r\n21\r\n313\r\n21\r\n4\r\n",
    "edges": b"30\r\n\r\n0\r\n 4\xb0\r\r\n\r\nextra",
    "columns": b"02xx1\r\n11\r\n",
}

PP = {
    "empty": b"0 0\n",
    "cup": b"10 8\n8 11 11 11 11 11 .10 11 3 -\n8 1111 0\n0 .10 1111\n"
           b"1 1\n=\n00000000..\n0......0..\n0......000\n0??.?..0.0\n0......000\n0......0..\n0......0..\n00000000..\n",
    "items": b"3 2 junk\r\n.12 - 0\t.053\n03 30\n",
    "split-size": b"2\n2\n1 1 1\n",
}

XML = {
    "colours-and-goal": b'<?xml version="1.0"?>\n<!DOCTYPE pbn SYSTEM "https://webpbn.com/pbn-0.3.dtd">\n<puzzleset>\n'
                        b'<puzzle type="grid" backgroundcolor="white" defaultcolor="red">\n<title>T &amp; &#233;</title>'
                        b'<author>A</author><copyright>C</copyright><id>#7</id><description>D</description>\n'
                        b'<color name="white" char=".">fff</color><color name="red" char="R">C02020</color>'
                        b'<color name="blue" char="b">#2040A0</color>\n'
                        b'<clues type="columns"><line><count>1</count></line><line><count color="blue">2</count></line>'
                        b'<line/></clues>\n<clues type="rows"><line><count>1</count><count color="blue">1</count></line>'
                        b'<line><count color="blue">1</count></line></clues>\n'
                        b'<solution type="goal"><image>\n|Rb.|\n|.b.|\n</image></solution>\n</puzzle>\n'
                        b'<puzzle type="triddler"><title>Second</title><id>2</id></puzzle>\n</puzzleset>\n',
    "goal-only": b'<puzzleset><puzzle><solution><image>|X.X|\n|.X.|</image></solution></puzzle></puzzleset>',
    "clues-only": b'<?xml version="1.0" encoding="UTF-8"?><puzzleset><puzzle type="grid">'
                  b'<clues type="rows"><line><count>3</count></line></clues>'
                  b'<clues type="columns"><line><count>1</count></line><line><count>1</count></line>'
                  b'<line><count>1</count></line></clues></puzzle></puzzleset>',
    "internal-subset": b'<!DOCTYPE pbn [<!ENTITY e "x">]><puzzleset><puzzle><title>&e;</title></puzzle></puzzleset>',
}

NON = {
    "goal": b'catalogue "webpbn.com #1"\ntitle "Demo &copy;"\nby "A"\nlicense CC-BY-3.0\nwidth 5\nheight 3\n\n'
            b'rows\n2\n1,1\n0\n\ncolumns\n1\n1\n0\n1\n1\n\ngoal "110000101000000"\n',
    "colours": b"color a #ff0000\ncolor b #0000ff\ncolor 0 #ffffee\nwidth 3\nheight 2\nrows\n2a,1b\n\n"
               b"columns\n1a\n1a\n1b\ngoal\naab\n000\n",
    "simpson": b"width 2\nheight 2\nmaxrule 1\nrows\n\n1\n\n1\ncolumns\n1\n1\n",
    "rows-and-columns-sizes": b"columns 2\nrows 1\nrows\n1 , 1\ncolumns\n1\n1\ngoal 11\n",
}

OLSAK = {
    "colours": b"Comment.\n#d\n   0:   white\n   1:*  black\n   m:%  #2040A0 blue\n   r:+  red\n: rows\n"
               b"1 2m\n\n3r\n: columns\n1\n1m 1r\n1m 1r\n1r\n: end\n",
    "two-colours": b": rows\n2\n1 1\n: columns\n2\n1\n1\n",
    "triangle": b"#d\n 1:* black\n /:a white/black\n: rows\n1\n: columns\n1\n: end\n",
    "triddler": b"#t\n: a\n1\n: b\n1\n",
}

MK = {
    "bird": b"3 2\n2\n1\n0\n#\n1\n2\n",
    "blank-lines": b"\n2 2\n\n1\n1\n\n#\n1\n1\n\n",
}

NIN = {
    "small": b"2 3\n1\n1 \n2\n3\n0\n",
    "crlf": b"3 1\r\n1 1\r\n1\r\n0\r\n1\r\n",
}

SECTION = b"[Software\\\\Brackwater Studio\\\\Tessa Grids\\\\Settings] 1700000000\n"
REGISTRY = {
    "settings": b"WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n\n"
                + SECTION + b"#time=1d9a0b0c0d0e0f0\n\"Options1\"=hex:01,00,01,14,03,03,01,01,01\n"
                b"\"Options2\"=dword:00ff0000\n\"Options3\"=hex:00,01,01,00,\\\n  01,01,01,01,64\n",
    "value-forms": SECTION + b"@=\"default\"\n\"Escapes\"=\"q\\\"\\\\\\n\\101\\x41\"\n"
                   b"\"Wide\"=hex(7):41,00,42,01,00,00\n\"Expand\"=str(2):\"%x%\"\n\"Empty\"=hex:\n"
                   b"\"Odd\"=unknown:12\n[Software\\\\Other] 1\n\"Later\"=dword:1\n",
    "other-key": b"[Software\\\\Brackwater Studio\\\\Tessa Grids] 1\r\n\"Options2\"=hex(3):00,00,ff,00\r\n",
}

# The paint target's input: reader (0 native, 1 .tgr, 2 .tgw, 3 .tgp, 4 .pp, and
# by contents 5 webpbn XML, 6 .non, 7 .g, 8 .mk, 9 .nin), cell size, switches
# (bit 0 pixel digits, bit 1 single strike), then the file.
PAINT = {
    "native-derived": bytes([0, 12, 1]) + NATIVE["derived"],
    "native-clues-text": bytes([0, 20, 0]) + NATIVE["clues-only"],
    "native-long-run": bytes([0, 3, 3]) + NATIVE["long-run"],
    "tgr-crossed-single": bytes([1, 13, 3]) + TGR["crossed"],
    "tgw-large-cells": bytes([2, 40, 0]) + TGW["mixed"],
    "tgp-no-cells": bytes([3, 0, 1]) + TGP["edges"],
    "pp-cup": bytes([4, 12, 1]) + PP["cup"],
    "xml-colours": bytes([5, 12, 0]) + XML["colours-and-goal"],
    "non-colours": bytes([6, 9, 3]) + NON["colours"],
    "g-colours": bytes([7, 15, 1]) + OLSAK["colours"],
    "mk-bird": bytes([8, 12, 1]) + MK["bird"],
    "nin-small": bytes([9, 5, 2]) + NIN["small"],
}

# The solve target's input: reader (as for paint), then the file.
SOLVE = {
    "pp-two-solutions": bytes([4]) + b"2 2\n1 1\n1 1\n",
    "pp-none-by-search": bytes([4]) + b"3 3\n1 1 1\n- 1 1\n",
    "pp-unique-by-search": bytes([4]) + b"4 4\n1 1 1 1\n11 2 - -\n",
    "pp-cup": bytes([4]) + PP["cup"],
    "native-colours": bytes([0]) + native(5, 3, picture=[[1, 1, 2, 0, 3], [0, 2, 2, 3, 3], [4, 0, 1, 1, 0]],
                                          colour_count=5),
    "native-clues-only": bytes([0]) + NATIVE["clues-only"],
    "tgr-crossed": bytes([1]) + TGR["crossed"],
    "tgw-mixed": bytes([2]) + TGW["mixed"],
    "tgp-house": bytes([3]) + TGP["house"],
    "xml-colours": bytes([5]) + XML["colours-and-goal"],
    "xml-goal-only": bytes([5]) + XML["goal-only"],
    "non-goal": bytes([6]) + NON["goal"],
    "g-colours": bytes([7]) + OLSAK["colours"],
    "mk-bird": bytes([8]) + MK["bird"],
    "nin-small": bytes([9]) + NIN["small"],
}

# The convert target's input: reader (as for paint), the items to drop (bit 0
# the picture, 1 crossed flags, 2 marks, 3 the other puzzles of a set), then
# the file.
CONVERT = {
    "native-colours": bytes([0, 0]) + native(5, 3, picture=[[1, 1, 2, 0, 3], [0, 2, 2, 3, 3], [4, 0, 1, 1, 0]],
                                             colour_count=5),
    "native-long-run": bytes([0, 1]) + NATIVE["long-run"],
    "tgr-crossed": bytes([1, 0]) + TGR["crossed"],
    "tgr-crossed-dropped": bytes([1, 2]) + TGR["crossed"],
    "tgw-mixed": bytes([2, 0]) + TGW["mixed"],
    "tgp-house": bytes([3, 0]) + TGP["house"],
    "pp-cup": bytes([4, 4]) + PP["cup"],
    "xml-colours": bytes([5, 0]) + XML["colours-and-goal"],
    "non-colours": bytes([6, 0]) + NON["colours"],
    "g-colours": bytes([7, 0]) + OLSAK["colours"],
}

CORPORA = {"native": NATIVE, "tgr": TGR, "tgw": TGW, "tgp": TGP, "pp": PP, "xml": XML, "non": NON, "g": OLSAK,
           "mk": MK, "nin": NIN, "registry": REGISTRY, "paint": PAINT, "solve": SOLVE,
           "convert": CONVERT}


def main():
    for target, seeds in CORPORA.items():
        folder = os.path.join(CORPUS, target)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
