#!/usr/bin/env python3
"""Writes one mesh of 1,000,000 triangles in three formats, for timing the
model importer against the scene-file conversion on the same geometry:

    bench/million_triangle_model.py OUTDIR
      OUTDIR/mesh.gltf + mesh.bin   glTF 2.0, positions, normals, 32-bit indices
      OUTDIR/mesh.obj               Wavefront OBJ, v / vn / f a//a b//b c//c
      OUTDIR/mesh.wrl               VRML 1.0, Coordinate3, Normal, IndexedFaceSet

The mesh is a gently waved height field of 1000 x 500 quadrilaterals, each
cut into two triangles (501,501 points, one normal per point). Python 3
standard library only.
"""
import array
import json
import math
import os
import sys

COLUMNS, ROWS = 1000, 500


def height(x, y):
    return 0.5 * math.sin(0.05 * x) * math.cos(0.07 * y)


def mesh():
    points, normals = [], []
    for j in range(ROWS + 1):
        for i in range(COLUMNS + 1):
            x, y = i * 0.1, j * 0.1
            points.append((x, y, height(i, j)))
            dx = 0.5 * 0.05 * math.cos(0.05 * i) * math.cos(0.07 * j) / 0.1
            dy = -0.5 * 0.07 * math.sin(0.05 * i) * math.sin(0.07 * j) / 0.1
            n = (-dx, -dy, 1.0)
            length = math.sqrt(sum(c * c for c in n))
            normals.append(tuple(c / length for c in n))
    triangles = []
    for j in range(ROWS):
        for i in range(COLUMNS):
            a = j * (COLUMNS + 1) + i
            b, c, d = a + 1, a + COLUMNS + 2, a + COLUMNS + 1
            triangles.append((a, b, c))
            triangles.append((a, c, d))
    return points, normals, triangles


def write_gltf(folder, points, normals, triangles):
    positions = array.array("f", [c for p in points for c in p])
    vectors = array.array("f", [c for n in normals for c in n])
    indices = array.array("I", [k for t in triangles for k in t])
    blobs = [positions.tobytes(), vectors.tobytes(), indices.tobytes()]
    offsets, offset = [], 0
    for blob in blobs:
        offsets.append(offset)
        offset += len(blob)
    with open(os.path.join(folder, "mesh.bin"), "wb") as f:
        for blob in blobs:
            f.write(blob)
    lo = [min(p[k] for p in points) for k in range(3)]
    hi = [max(p[k] for p in points) for k in range(3)]
    doc = {
        "asset": {"version": "2.0"}, "scene": 0, "scenes": [{"nodes": [0]}],
        "nodes": [{"name": "field", "mesh": 0}],
        "meshes": [{"primitives": [{"attributes": {"POSITION": 0, "NORMAL": 1}, "indices": 2}]}],
        "buffers": [{"uri": "mesh.bin", "byteLength": offset}],
        "bufferViews": [{"buffer": 0, "byteOffset": offsets[k], "byteLength": len(blobs[k])} for k in range(3)],
        "accessors": [
            {"bufferView": 0, "componentType": 5126, "count": len(points), "type": "VEC3", "min": lo, "max": hi},
            {"bufferView": 1, "componentType": 5126, "count": len(points), "type": "VEC3"},
            {"bufferView": 2, "componentType": 5125, "count": 3 * len(triangles), "type": "SCALAR"}],
    }
    with open(os.path.join(folder, "mesh.gltf"), "w") as f:
        json.dump(doc, f)


def write_obj(folder, points, normals, triangles):
    with open(os.path.join(folder, "mesh.obj"), "w") as f:
        f.write("".join("v %.5g %.5g %.5g\n" % p for p in points))
        f.write("".join("vn %.5g %.5g %.5g\n" % n for n in normals))
        f.write("".join("f %d//%d %d//%d %d//%d\n" % (a + 1, a + 1, b + 1, b + 1, c + 1, c + 1)
                        for a, b, c in triangles))


def write_wrl(folder, points, normals, triangles):
    with open(os.path.join(folder, "mesh.wrl"), "w") as f:
        f.write("#VRML V1.0 ascii\nSeparator {\nCoordinate3 { point [\n")
        f.write(",\n".join("%.5g %.5g %.5g" % p for p in points))
        f.write("] }\nNormal { vector [\n")
        f.write(",\n".join("%.5g %.5g %.5g" % n for n in normals))
        f.write("] }\nIndexedFaceSet { coordIndex [\n")
        f.write(",\n".join("%d, %d, %d, -1" % t for t in triangles))
        f.write("] }\n}\n")


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    points, normals, triangles = mesh()
    write_gltf(folder, points, normals, triangles)
    write_obj(folder, points, normals, triangles)
    write_wrl(folder, points, normals, triangles)


if __name__ == "__main__":
    main()
