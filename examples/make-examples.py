#!/usr/bin/env python3
"""Writes the example puzzles of this folder: one native file of each kind,
and one file or two of each of the other formats, the public ones included.
All of them are the project's own."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def runs(cells):
    """The runs of one line as (length, value); '.' is blank."""
    found = []
    for cell in cells:
        if cell != "." and found and found[-1][1] == cell and previous == cell:
            found[-1] = (found[-1][0] + 1, cell)
        elif cell != ".":
            found.append((1, cell))
        previous = cell
    return found


def columns_of(rows):
    return ["".join(row[c] for row in rows) for c in range(len(rows[0]))]


def native(colour_count, palette, rows=None, size=(0, 0), column_clues=(), row_clues=()):
    """A native file; without rows it stores no picture, only the clues."""
    palette = palette + [(0, 0, 0)] * (16 - len(palette))
    data = b"TESSA" + bytes([colour_count])
    for r, g, b in palette:
        data += bytes([r, g, b, 0])
    width, height = (len(rows[0]), len(rows)) if rows else size
    most_c = max((len(c) for c in column_clues), default=0)
    most_r = max((len(r) for r in row_clues), default=0)
    data += bytes([width, height, most_r, most_c, 0 if rows else 1])
    for lists, most in ((column_clues, most_c), (row_clues, most_r)):
        for clues in lists:
            for value, colour in [(0, 0)] * (most - len(clues)) + list(clues):
                data += bytes([value, colour])
    for row in rows or []:
        data += bytes(0 if c == "." else int(c, 16) for c in row)
    return data


HEART = [
    "..........",
    ".111..111.",
    "1111111111",
    "1111111111",
    "1111111111",
    ".11111111.",
    "..111111..",
    "...1111...",
    "....11....",
]

SAILBOAT = [
    ".......1.......",
    "......21.......",
    ".....221.3.....",
    "....2221.33....",
    "...22221.333...",
    "..222221.3333..",
    ".2222221.33333.",
    "22222221.333333",
    ".......1.......",
    "555555555555555",
    ".5555555555555.",
    "..55555555555..",
    "...555555555...",
    "444444444444444",
    "4.44.44.44.44.4",
]

# The clues of this arrow, its shaft in colour 1 and its head in colour 2; the
# file stores only the clues. Crossed-out clues (bit 7 set) show how a
# half-solved puzzle looks.
#   ....2...
#   ....22..
#   ....222.
#   11111222
#   11111222
#   ....222.
#   ....22..
#   ....2...
ARROW_COLUMNS = [[(2, 1)], [(2, 1)], [(2, 1)], [(2, 1)], [(3, 2), (0x82, 1), (3, 2)], [(6, 2)], [(4, 2)],
                 [(0x82, 2)]]
ARROW_ROWS = [[(1, 2)], [(2, 2)], [(3, 2)], [(5, 1), (3, 2)], [(0x85, 1), (3, 2)], [(3, 2)], [(2, 2)], [(1, 2)]]

SMILEY = [
    "..####..",
    ".#....#.",
    "#.#..#.#",
    "#......#",
    "#.#..#.#",
    "#..##..#",
    ".#....#.",
    "..####..",
]

HOUSE = [
    "..#..",
    ".###.",
    "#####",
    "#...#",
    "#.#.#",
    "#####",
]

CUP = [
    "00000000..",
    "0......0..",
    "0......000",
    "0......0.0",
    "0......000",
    "0......0..",
    "0......0..",
    "00000000..",
]


TULIP = [
    "..R.R.R..",
    "..RRRRR..",
    "..RRRRR..",
    "...RRR...",
    "....G....",
    ".GG.G.GG.",
    "..GGGGG..",
    "....G....",
    "....G....",
    "..BBBBB..",
    "...BBB...",
]

SPROUT = [
    ".#.#.",
    "..#..",
    "..#..",
    "#####",
    ".###.",
]

FISH = [
    "..........",
    "....###...",
    ".#.#####..",
    ".########.",
    ".#.#####..",
    "....###...",
    "..........",
]

LADYBIRD = [
    "..k..k..",
    "...kk...",
    ".rrkkrr.",
    "rrkrrkrr",
    "rrrkkrrr",
    "rkrkkrkr",
    ".rrkkrr.",
    "..rkkr..",
]

UMBRELLA = [
    "....1....",
    "..bbrbb..",
    ".bbbrbbb.",
    "bbbrrrbbb",
    "....1....",
    "....1....",
    "..1.1....",
    "..111....",
]

ANCHOR = [
    "..#..",
    ".###.",
    "..#..",
    "#.#.#",
    ".###.",
]

BELL = [
    "....#....",
    "...###...",
    "..#####..",
    "..#####..",
    "..#####..",
    ".#######.",
    "#########",
    "....#....",
]

NOTE = [
    "....##.",
    "....#.#",
    "....#..",
    "....#..",
    "..###..",
    ".####..",
    "..##...",
]


def webpbn_puzzle(rows, colours, title, ident, goal=True):
    """One <puzzle>: colours as (name, char, rgb); '.' in rows is the background."""
    lines = ['<puzzle type="grid" defaultcolor="%s">' % colours[1][0], "<title>%s</title>" % title,
             "<author>Gridlook examples</author>", "<copyright>Made for Gridlook, under its licence</copyright>",
             "<id>%s</id>" % ident]
    lines += ['<color name="%s" char="%s">%s</color>' % colour for colour in colours]
    names = {char: name for name, char, _ in colours}
    for kind, group in (("columns", columns_of(rows)), ("rows", rows)):
        lines.append('<clues type="%s">' % kind)
        for line in group:
            counts = "".join("<count>%d</count>" % n if names[c] == colours[1][0]
                             else '<count color="%s">%d</count>' % (names[c], n) for n, c in runs(line))
            lines.append("<line>%s</line>" % counts if counts else "<line/>")
        lines.append("</clues>")
    if goal:
        lines += ['<solution type="goal">', "<image>"] + ["|%s|" % row for row in rows] + ["</image>", "</solution>"]
    return "\n".join(lines + ["</puzzle>"]) + "\n"


def non_rules(lines, colour_letters):
    rules = []
    for line in lines:
        found = runs(line)
        rules.append(",".join("%d%s" % (n, c if colour_letters else "") for n, c in found) if found else "0")
    return rules


def non_text(rows, header, colours=()):
    """colours as (letter, rgb); without them the rows use '#' for filled cells."""
    text = header
    text += "".join("color %s #%s\n" % colour for colour in colours)
    text += "width %d\nheight %d\n\nrows\n" % (len(rows[0]), len(rows))
    text += "\n".join(non_rules(rows, bool(colours))) + "\n\ncolumns\n"
    text += "\n".join(non_rules(columns_of(rows), bool(colours))) + "\n\n"
    goal = "".join("0" if c == "." else ("1" if c == "#" else c) for row in rows for c in row)
    return text + 'goal "%s"\n' % goal


def olsak_lines(lines, default):
    return "\n".join(" ".join("%d%s" % (n, "" if c == default else c) for n, c in runs(line)) for line in lines)


def plain_lines(lines):
    return "\n".join(" ".join(str(n) for n, _ in runs(line)) or "0" for line in lines)


def pp_token(line):
    lengths = [n for n, _ in runs(line.replace("?", ".").replace("#", "0"))]
    if not lengths:
        return "-"
    return "".join(str(n) if n < 10 else ".%02d" % n for n in lengths)


def main():
    write("heart.tessa", native(2, [(255, 255, 255), (200, 20, 40)], HEART))
    write("sailboat.tessa", native(6, [(255, 255, 255), (110, 70, 30), (250, 210, 60), (230, 230, 230),
                                       (30, 60, 160), (200, 40, 40)], SAILBOAT))
    write("arrow-clues-only.tessa", native(3, [(255, 255, 255), (40, 40, 40), (0, 150, 220)],
                                           size=(8, 8), column_clues=ARROW_COLUMNS, row_clues=ARROW_ROWS))

    # .tgr: clues only; each line's bytes run from the grid outward, rows bottom up.
    def outward(line):
        return bytes(reversed([n for n, _ in runs(line)])).ljust(2, b"\0")
    plus = ["..#..", "..#..", "#####", "..#..", "..#.."]
    write("plus.tgr", bytes([5, 5, 2, 2]) + b"".join(outward(c) for c in columns_of(plus))
          + b"".join(outward(r) for r in reversed(plus)))

    # .tgw: one state byte per cell, column by column; 2 is filled.
    write("smiley.tgw", bytes([8, 8]) + bytes(2 if c == "#" else 0 for col in columns_of(SMILEY) for c in col))

    # .tgp: counts offset by the character 0, then a CR LF line per row and per column.
    lines = ["".join(chr(48 + n) for n, _ in runs(line)) for line in HOUSE + columns_of(HOUSE)]
    write("house.tgp", ("%c%c\r\n" % (48 + len(HOUSE), 48 + len(HOUSE[0])) + "".join(l + "\r\n" for l in lines)).encode())

    # .pp: size, column tokens, row tokens, then the picture after "=".
    text = "%d %d\n" % (len(CUP[0]), len(CUP))
    text += " ".join(pp_token(c) for c in columns_of(CUP)) + "\n"
    text += " ".join(pp_token(r) for r in CUP) + "\n=\n" + "\n".join(CUP) + "\n"
    write("cup.pp", text.encode())

    # webpbn XML: a set of two puzzles, the first in three colours with its goal,
    # the second clues only; the DOCTYPE is the one every webpbn export has.
    tulip = [("white", ".", "FFFFFF"), ("red", "R", "D02030"), ("green", "G", "208040"), ("brown", "B", "8B5A2B")]
    text = '<?xml version="1.0" encoding="UTF-8"?>\n<!DOCTYPE pbn SYSTEM "https://webpbn.com/pbn-0.3.dtd">\n'
    text += "<puzzleset>\n" + webpbn_puzzle(TULIP, tulip, "Tulip", "1")
    text += webpbn_puzzle([r.replace("#", "X") for r in SPROUT], [("white", ".", "FFF"), ("black", "X", "000")],
                          "Sprout", "2", goal=False)
    write("tulip.xml", (text + "</puzzleset>\n").encode())

    # .non: one in two colours with its goal, one with "color" lines and coloured rules.
    header = 'title "Fish"\nby "Gridlook examples"\nlicense "Made for Gridlook, under its licence"\n'
    write("fish.non", non_text(FISH, header).encode())
    header = 'catalogue "Gridlook examples #2"\ntitle "Ladybird"\nby "Gridlook examples"\n'
    write("ladybird.non", non_text(LADYBIRD, header, [("r", "cc2020"), ("k", "202020")]).encode())

    # Olšák's .g: colours declared after "#d" ("1" the default), rows, then columns.
    text = "An umbrella in three colours, made for Gridlook.\n\n#d\n   0:   white\n   1:*  black\n"
    text += "   b:%  #2050C0  canopy\n   r:+  red      middle panel\n: rows\n"
    text += olsak_lines(UMBRELLA, "1") + "\n: columns\n" + olsak_lines(columns_of(UMBRELLA), "1") + "\n: end\n"
    write("umbrella.g", text.encode())
    text = "An anchor in two colours, made for Gridlook.\n: rows\n" + olsak_lines(ANCHOR, "#")
    write("anchor.g", (text + "\n: columns\n" + olsak_lines(columns_of(ANCHOR), "#") + "\n: end\n").encode())

    # .mk: height and width, rows, "#", columns.
    text = "%d %d\n" % (len(BELL), len(BELL[0])) + plain_lines(BELL) + "\n#\n" + plain_lines(columns_of(BELL))
    write("bell.mk", (text + "\n").encode())

    # .nin: width and height, rows, columns.
    text = "%d %d\n" % (len(NOTE[0]), len(NOTE)) + plain_lines(NOTE) + "\n" + plain_lines(columns_of(NOTE))
    write("note.nin", (text + "\n").encode())


if __name__ == "__main__":
    main()
