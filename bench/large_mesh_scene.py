#!/usr/bin/env python3
"""Writes a scene of about a million faces in the style CAD exporters write,
for timing the reading and the conversion of large real-world files:

- one Coordinate3 of a wavy height field, 1001 x 1001 points over
  [-50, 50] x [-50, 50] (z = 0.5 sin(x/4) cos(y/5));
- a Material of 64 diffuse colours bound PER_FACE_INDEXED, with a
  materialIndex of one entry per face;
- a Normal of one normal per point and, after them, one normal straight up,
  bound PER_VERTEX_INDEXED; the normalIndex follows coordIndex except over
  the first 100 rows of quads (a machined flat), whose corners all take the
  normal straight up;
- the 1000 x 1000 quads (1,000,000 faces) in one IndexedFaceSet;
- a second IndexedFaceSet of the 200 x 200 quads (40,000 faces) in the middle
  of the grid, lifted by 1 in its own Separator with no Normal in force, so
  its normals are generated.

    bench/large_mesh_scene.py OUTFILE        (about 130 MB)
"""
import math
import sys

SIDE = 1001              # points along each side of the grid
QUADS = SIDE - 1
FLAT_ROWS = 100          # rows of quads whose normalIndex differs from coordIndex
PART = (400, 600)        # rows and columns of quads of the second face set
COLOURS = 64


def height(x, y):
    return 0.5 * math.sin(x / 4) * math.cos(y / 5)


def coordinate(k):
    return -50 + 100 * k / QUADS


def write(out, items, per_line, last):
    """Writes the items comma-separated, `per_line` to a line; a comma follows
    the last item too unless it ends the list."""
    for start in range(0, len(items), per_line):
        out.write("      " + ", ".join(items[start:start + per_line]))
        out.write("\n" if last and start + per_line >= len(items) else ",\n")


def quad(row, column):
    """The quad's corners, counter-clockwise seen from +z."""
    a = row * SIDE + column
    return (a, a + 1, a + SIDE + 1, a + SIDE)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: large_mesh_scene.py OUTFILE")
    with open(sys.argv[1], "w") as out:
        out.write("#VRML V1.0 ascii\n# A large height field as a CAD exporter writes it.\nSeparator {\n")

        out.write("  Coordinate3 {\n    point [\n")
        for row in range(SIDE):
            y = coordinate(row)
            write(out, ["%.4f %.4f %.4f" % (coordinate(c), y, height(coordinate(c), y)) for c in range(SIDE)], 6,
                  row == SIDE - 1)
        out.write("    ]\n  }\n")

        out.write("  Separator {\n    Material {\n      diffuseColor [\n")
        write(out, ["%.3f %.3f %.3f" % (0.5 + 0.5 * math.cos(k), 0.5 + 0.5 * math.cos(k + 2.1),
                                        0.5 + 0.5 * math.cos(k + 4.2)) for k in range(COLOURS)], 4, True)
        out.write("      ]\n    }\n    MaterialBinding { value PER_FACE_INDEXED }\n")

        # Normals of the height field: (-dz/dx, -dz/dy, 1), normalised.
        out.write("    Normal {\n      vector [\n")
        for row in range(SIDE):
            y = coordinate(row)
            normals = []
            for c in range(SIDE):
                x = coordinate(c)
                nx = -0.5 / 4 * math.cos(x / 4) * math.cos(y / 5)
                ny = 0.5 / 5 * math.sin(x / 4) * math.sin(y / 5)
                length = math.sqrt(nx * nx + ny * ny + 1)
                normals.append("%.4f %.4f %.4f" % (nx / length, ny / length, 1 / length))
            if row == SIDE - 1:
                normals.append("0 0 1")
            write(out, normals, 6, row == SIDE - 1)
        out.write("      ]\n    }\n    NormalBinding { value PER_VERTEX_INDEXED }\n")

        up = SIDE * SIDE  # the index of the normal straight up
        out.write("    IndexedFaceSet {\n      coordIndex [\n")
        for row in range(QUADS):
            write(out, ["%d, %d, %d, %d, -1" % quad(row, c) for c in range(QUADS)], 6, row == QUADS - 1)
        out.write("      ]\n      normalIndex [\n")
        for row in range(QUADS):
            corners = [(up, up, up, up)] * QUADS if row < FLAT_ROWS else [quad(row, c) for c in range(QUADS)]
            write(out, ["%d, %d, %d, %d, -1" % q for q in corners], 6, row == QUADS - 1)
        out.write("      ]\n      materialIndex [\n")
        for row in range(QUADS):
            write(out, [str((row // 16 * 8 + c // 16) % COLOURS) for c in range(QUADS)], 40, row == QUADS - 1)
        out.write("      ]\n    }\n  }\n")

        out.write("  Separator {\n    Translation { translation 0 0 1 }\n    IndexedFaceSet {\n      coordIndex [\n")
        for row in range(*PART):
            write(out, ["%d, %d, %d, %d, -1" % quad(row, c) for c in range(*PART)], 6, row == PART[1] - 1)
        out.write("      ]\n    }\n  }\n}\n")


if __name__ == "__main__":
    main()
