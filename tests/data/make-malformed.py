#!/usr/bin/env python3
"""Writes the malformed task files (tasks/) and model files (models/) that the
tests feed to the game: truncated at every interesting offset, of the wrong
version, with counts beyond the limits, numbers that are no numbers or far
too large, the wrong kinds of tokens, and files that are empty. Each must be
refused with a message naming the file and the problem. Run it here to make
them again; the files are committed."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
CUBE = [(x, y, z) for z in (0, 10, 20) for y in (-10, 0, 10) for x in (-10, 0, 10)]


def cells(points):
    return b"".join(struct.pack("<fff", *p) for p in points)


def header(major, pieces, count):
    return struct.pack("<bBbb", major, 5, pieces, count)


def task_files():
    good = header(1, 7, 27) + cells(CUBE)
    files = {"empty": b"", "only-version": good[:1], "header-cut-2": good[:2], "header-cut-3": good[:3],
             "header-only": good[:4]}
    # Cut inside the cells: at the start, middle and end of the first, a middle and the last record.
    for record in (0, 1, 13, 26):
        for into in (1, 4, 11):
            files["cut-record-%d-byte-%d" % (record, into)] = good[:4 + 12 * record + into]
    version0 = cells(CUBE)
    files["v0-cut-100"] = version0[:100]
    files["v0-cut-323"] = version0[:323]
    for major in (2, 3, 64, 127):
        files["version-%d" % major] = header(major, 7, 27) + cells(CUBE)
    for pieces in (8, 9, 100, 127):
        files["pieces-%d" % pieces] = header(1, pieces, 27) + cells(CUBE)
    for count in (28, 50, 127):
        files["cells-%d" % count] = header(1, 7, count) + cells(CUBE * 5)[:12 * count]
    specials = {"nan": float("nan"), "infinity": float("inf"), "minus-infinity": float("-inf"),
                "huge": 1.0e30, "beyond-a-million": 1.0e7, "largest-float": 3.4e38}
    for name, value in specials.items():
        for axis, index in (("x", 0), ("z", 2)):
            points = [list(p) for p in CUBE]
            points[26 if axis == "z" else 0][index] = value
            files["%s-%s" % (name, axis)] = header(1, 7, 27) + cells(points)
    nan_bits = struct.pack("<I", 0x7FA00000)  # a signalling NaN
    files["signalling-nan"] = header(1, 7, 1) + nan_bits + struct.pack("<ff", 0, 0)
    points = [list(p) for p in CUBE]
    points[5][1] = float("nan")
    files["v0-nan"] = cells(points)
    return files


def model_files():
    with open(os.path.join(HERE, "..", "..", "resources", "vokta.x"), "rb") as f:
        game = f.read()
    head = b"xof 0302txt 0032\n"
    tri = b"Mesh t { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n"
    files = {"empty": b"", "no-header": b"Frame x3ds_cube { }\n", "short-header": b"xof 0302",
             "binary": b"xof 0302bin 0032" + b"\0" * 40, "compressed": b"xof 0303tzip0032" + b"\0" * 40,
             "old-version": b"xof 0201txt 0032\n", "float-size": b"xof 0302txt 0016\n",
             "upper-case-format": b"xof 0302TXT 0032\n", "only-header": head}
    # The game's own file cut at many points.
    for share in (2, 5, 10, 20, 30, 45, 60, 75, 90, 99):
        files["game-cut-%02d" % share] = game[:len(game) * share // 100]
    files["vertex-count-beyond-file"] = head + b"Mesh m { 100001; 0;0;0;; }\n"
    files["vertices-beyond-limit"] = head + b"Mesh m {\n100001;\n" + b"0;0;0;," * 100000 + b"0;0;0;;\n0;\n}\n"
    files["face-uses-missing-vertex"] = head + b"Mesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,7;; }\n"
    files["face-of-two-corners"] = head + b"Mesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 2;0,1;; }\n"
    files["number-out-of-range"] = head + b"Mesh m { 3; 0;0;1e39;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n"
    files["not-a-number"] = head + b"Mesh m { 3; 0;0;nan;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n"
    files["name-for-number"] = head + b"Mesh m { 3; 0;zero;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n"
    files["negative-count"] = head + b"Mesh m { -3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n"
    files["fraction-count"] = head + b"Mesh m { 2.5; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n"
    files["huge-count"] = head + b"Mesh m { 99999999999; }\n"
    files["unterminated-frame"] = head + b"Frame x3ds_cube {\n" + tri
    files["unterminated-string"] = head + b'Frame a { TextureFilename { "never ends } }\n'
    files["stray-close"] = head + b"}\n"
    files["stray-reference"] = head + b"{ t }\n"
    files["unknown-reference"] = head + b"Frame f { {nothing} }\n"
    files["guid-reference"] = head + tri + b"Frame f { {<12345678-1234-1234-1234-123456789012>} }\n"
    files["second-transform"] = head + b"Frame f { FrameTransformMatrix { " + b"1," * 15 + b"1;; } FrameTransformMatrix { " + b"1," * 15 + b"1;; } }\n"
    files["short-transform"] = head + b"Frame f { FrameTransformMatrix { 1,0,0; } }\n"
    files["too-many-numbers"] = head + b"Mesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; 5; }\n"
    files["normals-for-missing-face"] = head + b"Mesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshNormals { 1; 0;0;1;; 2; 3;0,0,0;, 3;0,0,0;; } }\n"
    files["material-index-too-large"] = head + b"Mesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 3;; Material { 1;1;1;1;; 1; 0;0;0;; 0;0;0;; } } }\n"
    files["deep-nesting"] = head + b"Frame {\n" * 70 + b"}\n" * 70
    files["frames-beyond-limit"] = head + b"Frame{}\n" * 4097
    files["references-beyond-limit"] = head + tri + b"Frame f {" + b"{t}" * 4097 + b"}\n"
    files["lacks-roller"] = game.replace(b"Frame x3ds_roller", b"Frame x3ds_other")
    files["lacks-cube-mesh"] = game.replace(b"Mesh cube ", b"Mesh other ")
    grid = b"Mesh roller {\n2049;\n" + b"0;0;0;," * 2048 + b"0;0;0;;\n1;\n3;0,1,2;;\n}"
    start = game.index(b"Mesh roller")
    depth, end = 0, start
    while True:  # to the brace that closes the mesh
        if game[end:end + 1] == b"{":
            depth += 1
        elif game[end:end + 1] == b"}":
            depth -= 1
            if depth == 0:
                break
        end += 1
    files["roller-too-large"] = game[:start] + grid + game[end + 1:]
    return files


def write(folder, suffix, files):
    path = os.path.join(HERE, folder)
    os.makedirs(path, exist_ok=True)
    for name in os.listdir(path):
        os.remove(os.path.join(path, name))
    for name, data in files.items():
        with open(os.path.join(path, name + suffix), "wb") as f:
            f.write(data)
    print("%d files in %s" % (len(files), folder))


write("tasks", ".tsk", task_files())
write("models", ".x", model_files())
