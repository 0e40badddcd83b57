#!/usr/bin/env python3
"""Writes a scene of about one million display vertices for timing the
program: a 9 x 9 x 25 lattice of cubes, each face cut into 8 x 8 quadrilaterals
(6 x 81 = 486 vertices a cube, 2025 cubes = 984,150 vertices), and a
parameter file that flies through it at 0.9 c.

    bench/million_vertex_scene.py OUTDIR
    build/bin/quillmere OUTDIR/million.par --frames 200 --benchmark   (under xvfb-run -a)
"""
import os
import sys

CUTS = 8

def cube_mesh():
    points, normals, faces = [], [], []
    axes = [(0, 1, 2), (0, 2, 1), (1, 2, 0)]
    for a, b, n in axes:
        for side in (-1.0, 1.0):
            base = len(points)
            for i in range(CUTS + 1):
                for j in range(CUTS + 1):
                    p = [0.0, 0.0, 0.0]
                    p[a] = -0.5 + i / CUTS
                    p[b] = -0.5 + j / CUTS
                    p[n] = 0.5 * side
                    q = [0.0, 0.0, 0.0]
                    q[n] = side
                    points.append(p)
                    normals.append(q)
            for i in range(CUTS):
                for j in range(CUTS):
                    c = base + i * (CUTS + 1) + j
                    quad = [c, c + CUTS + 1, c + CUTS + 2, c + 1]
                    # Counter-clockwise seen from outside on every face.
                    outward_positive = (side > 0) == ((a, b, n) != (0, 2, 1))
                    faces.append(quad if outward_positive else quad[::-1])
    return points, normals, faces

def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    points, normals, faces = cube_mesh()
    fmt = lambda v: " ".join("%g" % x for x in v)
    lines = ["#VRML V1.0 ascii", "Separator {", "  Material { diffuseColor 0.9 0.8 0.7 }",
             "  Switch { whichChild -1 DEF Cube Separator {",
             "    Coordinate3 { point [" + ", ".join(fmt(p) for p in points) + "] }",
             "    Normal { vector [" + ", ".join(fmt(n) for n in normals) + "] }",
             "    IndexedFaceSet { coordIndex [" + ", ".join(", ".join(map(str, f)) + ", -1" for f in faces) + "] }",
             "  } }"]
    for x in range(-4, 5):
        for y in range(-4, 5):
            for z in range(25):
                lines.append("  Separator { Translation { translation %d %d %d } USE Cube }" % (3 * x, 3 * y, 3 * z))
    lines.append("}")
    with open(os.path.join(out, "million.wrl"), "w") as f:
        f.write("\n".join(lines) + "\n")
    with open(os.path.join(out, "million.par"), "w") as f:
        f.write("million.wrl\n1.5 1.5 -10\n0 0 1\n0.9 0 0.1 1000 100 1\n1 1\n1 1 0\n")

if __name__ == "__main__":
    main()
