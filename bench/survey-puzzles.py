#!/usr/bin/env python3
"""Writes puzzles exported from webpbn.com as XML (https://webpbn.com/export.cgi,
or the survey's set, https://webpbn.com/survey/puzzles/) into a folder for the
benchmark's --survey=DIR, in formats the readers take: a puzzle of one ink as
NUMBER.pp, a colour puzzle as NUMBER.tessa (the native format), NUMBER being
its webpbn number. Only the clues are written.

    bench/survey-puzzles.py 9892.xml 2684.xml ... DIR
"""
import re
import struct
import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path

LONGEST_RUN = 127
INKS = 15


def number_of(puzzle, path):
    found = re.search(r"#(\d+)", puzzle.findtext("id") or "")
    return found.group(1) if found else path.stem


def clue_lines(puzzle, kind, default_colour):
    clues = puzzle.find(f"clues[@type='{kind}']")
    return [[(int(count.text), count.get("color", default_colour)) for count in line.findall("count")]
            for line in clues.findall("line")]


def pp_token(line):
    return "".join(str(n) if n < 10 else f".{n:02d}" for n, _ in line) or "-"


def write_pp(target, columns, rows, title):
    text = f"{len(columns)} {len(rows)} {title}\n"
    text += " ".join(pp_token(line) for line in columns) + "\n"
    text += " ".join(pp_token(line) for line in rows) + "\n"
    target.write_text(text)


def write_native(target, columns, rows, palette, background):
    inks = [name for name in palette if name != background]
    if len(inks) > INKS:
        raise ValueError(f"{len(inks)} inks, the native format holds {INKS}")
    index = {name: i + 1 for i, name in enumerate(inks)}
    colours = [palette[background]] + [palette[name] for name in inks]
    colours += [(0, 0, 0)] * (16 - len(colours))
    width_slots = max((len(line) for line in columns), default=0)
    height_slots = max((len(line) for line in rows), default=0)
    data = b"TESSA" + bytes([len(inks) + 1])
    data += b"".join(struct.pack("BBBB", *rgb, 0) for rgb in colours)
    data += bytes([len(columns), len(rows), height_slots, width_slots, 1])
    for lines, slots in ((columns, width_slots), (rows, height_slots)):
        for line in lines:
            entries = [(n, index[colour]) for n, colour in line] + [(0, 0)] * (slots - len(line))
            data += b"".join(bytes(entry) for entry in entries)
    target.write_bytes(data)


def rgb_of(text):
    text = text.strip()
    if len(text) == 3:
        text = "".join(c * 2 for c in text)
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def convert(path, folder):
    puzzle = ElementTree.parse(path).getroot().find("puzzle")
    background = puzzle.get("backgroundcolor", "white")
    default_colour = puzzle.get("defaultcolor", "black")
    palette = {colour.get("name"): rgb_of(colour.text) for colour in puzzle.findall("color")}
    columns = clue_lines(puzzle, "columns", default_colour)
    rows = clue_lines(puzzle, "rows", default_colour)
    if max((n for line in columns + rows for n, _ in line), default=0) > LONGEST_RUN:
        raise ValueError(f"a run longer than {LONGEST_RUN}")
    if len(columns) > 255 or len(rows) > 255:
        raise ValueError("more than 255 columns or rows")
    number = number_of(puzzle, path)
    title = f"webpbn.com #{number} {puzzle.findtext('title') or ''}, {puzzle.findtext('copyright') or ''}"
    if len(palette) <= 2:
        target = folder / f"{number}.pp"
        write_pp(target, columns, rows, " ".join(title.split()))
    else:
        target = folder / f"{number}.tessa"
        write_native(target, columns, rows, palette, background)
    print(f"{path} -> {target}")


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    folder = Path(sys.argv[-1])
    folder.mkdir(parents=True, exist_ok=True)
    for name in sys.argv[1:-1]:
        try:
            convert(Path(name), folder)
        except (OSError, ValueError, AttributeError, ElementTree.ParseError) as error:
            sys.exit(f"{name}: {error}")


if __name__ == "__main__":
    main()
