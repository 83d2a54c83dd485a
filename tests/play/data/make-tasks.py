#!/usr/bin/env python3
"""Writes the task files the vokta-play scripts load, byte by byte from the
task-file layout: a four-byte header (major version, minor version, piece
count, cell count) and 12-byte cells of three little-endian floats; version 0
files have no header and hold 27 cells. Run it here to make them again."""

import struct

CUBE = [(x, y, z) for z in (0, 10, 20) for y in (-10, 0, 10) for x in (-10, 0, 10)]


def cells(points):
    return b"".join(struct.pack("<fff", *p) for p in points)


def header(major, pieces, count):
    return struct.pack("<bbbb", major, 5, pieces, count)


FILES = {
    # The built-in cube in the old layout, with no header.
    "cube-v0.tsk": cells(CUBE),
    # A task for the first five pieces: 19 cells, a 3 x 3 floor with a
    # 3 x 3 wall on its back row and one cube on top.
    "five-pieces.tsk": header(1, 5, 19)
    + cells([(x, y, 0) for y in (-10, 0, 10) for x in (-10, 0, 10)]
            + [(x, 10, z) for z in (10, 20) for x in (-10, 0, 10)]
            + [(x, 0, 10) for x in (-10, 0, 10)]
            + [(0, 10, 30)]),
    # Made by a newer game.
    "newer-version.tsk": header(2, 7, 27) + cells(CUBE),
    # A first byte of 0xFF is version -1: read as a current file.
    "version-minus-one.tsk": header(-1, 7, 27) + cells(CUBE),
    # No cells at all: complete as soon as it is tested.
    "no-cells.tsk": header(1, 7, 0),
    # A cell count byte of 0x80 is -128: no cell is read.
    "negative-cells.tsk": header(1, 7, -128),
    # 27 cells announced, 26 present.
    "truncated.tsk": header(1, 7, 27) + cells(CUBE[:26]),
    # Eight pieces: the game has seven.
    "eight-pieces.tsk": header(1, 8, 27) + cells(CUBE),
    # A coordinate that is no number.
    "not-a-number.tsk": header(1, 7, 27) + cells(CUBE[:5]) + struct.pack("<fff", float("nan"), 0, 0) + cells(CUBE[6:]),
}

for name, data in FILES.items():
    with open(name, "wb") as f:
        f.write(data)
