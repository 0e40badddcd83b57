#!/usr/bin/env python3
"""Writes the model-import test data of tests/data/scene/ (standard library only).

    python3 scripts/make_model_test_data.py

One scene in every main format, counts worked out by hand in the tests:
  cube.gltf  a textured crate (checker.png beside it) at x = -1.5, and a
             node "runner" at x = +1.5 whose extras give it a frame moving at
             0.5 c along +x; its child "rider" is a cube in a 3000 K black-body
             material; a camera "eye" at (0, 0, 8) looking along -z.
  cube.glb   the same with the checker picture embedded in the binary chunk.
  cube.obj   the crate (textured through cube.mtl) and the runner's cube.
  colours.ply  a cube of 8 corners with vertex colours, no normals.
  cube.stl   a binary STL cube of 12 triangles.
  bad_*.gltf   extras that cannot be: speed 1, 0 K, a velocity of wrong type.
  broken.gltf, broken.glb, broken.obj  files no reader can make sense of.
  unended_header.ply  a PLY header without its end (found by the fuzz target).
  points_and_lines.gltf  four points, and two segments through four vertices.
"""

import json
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gltf_writer import Gltf, png_bytes, stl_binary  # noqa: E402

OUT = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "tests", "data", "scene")

# Unit cube faces: (normal, four corners counter-clockwise seen from outside).
FACES = [
    ((0, 0, 1), [(-1, -1, 1), (1, -1, 1), (1, 1, 1), (-1, 1, 1)]),
    ((0, 0, -1), [(1, -1, -1), (-1, -1, -1), (-1, 1, -1), (1, 1, -1)]),
    ((1, 0, 0), [(1, -1, 1), (1, -1, -1), (1, 1, -1), (1, 1, 1)]),
    ((-1, 0, 0), [(-1, -1, -1), (-1, -1, 1), (-1, 1, 1), (-1, 1, -1)]),
    ((0, 1, 0), [(-1, 1, 1), (1, 1, 1), (1, 1, -1), (-1, 1, -1)]),
    ((0, -1, 0), [(-1, -1, -1), (1, -1, -1), (1, -1, 1), (-1, -1, 1)]),
]
UV = [(0, 0), (1, 0), (1, 1), (0, 1)]


def cube_arrays(half=0.5):
    positions, normals, uvs, indices = [], [], [], []
    for normal, corners in FACES:
        base = len(positions)
        for corner, uv in zip(corners, UV):
            positions.append(tuple(half * c for c in corner))
            normals.append(normal)
            uvs.append(uv)
        indices += [base, base + 1, base + 2, base, base + 2, base + 3]
    return positions, normals, uvs, indices


def checker(x, y):
    return (230, 40, 40) if (x // 2 + y // 2) % 2 == 0 else (250, 250, 250)


def cube_scene(embed_png):
    g = Gltf()
    positions, normals, uvs, indices = cube_arrays()
    png = png_bytes(8, 8, checker)
    crate_material = g.add_material("checker", base_colour=(1, 1, 1, 1), texture_png=png if embed_png else None,
                                    texture_uri=None if embed_png else "checker.png")
    ember = g.add_material("ember", base_colour=(1.0, 0.5, 0.2, 1.0), roughness=0.5,
                           extras={"quillmere": {"planck": {"temperature": 3000, "strength": 1}}})
    crate_mesh = g.add_mesh("crate", positions, indices, crate_material, normals, uvs)
    ember_mesh = g.add_mesh("ember cube", positions, indices, ember, normals)
    g.add_node("crate", mesh=crate_mesh, translation=(-1.5, 0, 0))
    rider = g.add_node("rider", mesh=ember_mesh, translation=(0, 1.0, 0), scale=(0.5, 0.5, 0.5), root=False)
    g.add_node("runner", mesh=ember_mesh, translation=(1.5, 0, 0), children=[rider],
               extras={"quillmere": {"velocity": [0.5, 0, 0], "translation": [0, 0, 0]}})
    camera = g.add_camera("eye", 0.8)
    g.add_node("eye", camera=camera, translation=(0, 0, 8))
    return g, png


def drawing_scene():
    """For the drawing test, seen from the origin along +z: the textured crate
    at (0, 1.5, 6), and "runner" at (2, -1.5, 6) in a frame moving at 0.5 c along +x."""
    g = Gltf()
    positions, normals, uvs, indices = cube_arrays()
    crate = g.add_material("checker", base_colour=(1, 1, 1, 1), texture_uri="checker.png")
    plain = g.add_material("plain", base_colour=(0.2, 0.4, 1.0, 1.0))
    g.add_node("crate", mesh=g.add_mesh("crate", positions, indices, crate, normals, uvs), translation=(0, 1.5, 6))
    runner = g.add_mesh("runner", positions, indices, plain, normals)
    g.add_node("runner", mesh=runner, translation=(2, -1.5, 6),
               extras={"quillmere": {"velocity": [0.5, 0, 0]}})
    return g


def camera_scene():
    """A camera turned 90 degrees about +y (looking along -x) at (1, 2, 3) under
    a single root node at (10, 0, 0): seen from (11, 2, 3); and a triangle."""
    g = Gltf()
    g.add_node("triangle", mesh=g.add_mesh("triangle", [(0, 0, 0), (1, 0, 0), (0, 1, 0)], [0, 1, 2]), root=False)
    half = math.sqrt(0.5)
    eye = g.add_node("eye", camera=g.add_camera("eye", 0.8), translation=(1, 2, 3), rotation=(0, half, 0, half),
                     root=False)
    g.add_node("parent", translation=(10, 0, 0), children=[eye, 0],
               extras={"quillmere": {"velocity": [0, 0.25, 0]}})
    return g


def points_and_lines_scene():
    """Four points (mode 0) and two line segments (mode 1) of four vertices."""
    g = Gltf()
    square = [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)]
    g.add_node("points", mesh=g.add_mesh("points", square, [0, 1, 2, 3], mode=0))
    g.add_node("lines", mesh=g.add_mesh("lines", square, [0, 1, 2, 3], mode=1), translation=(0, 0, 1))
    return g


def write(name, data):
    mode = "wb" if isinstance(data, bytes) else "w"
    with open(os.path.join(OUT, name), mode) as f:
        f.write(data)


def bad_variant(text, change):
    doc = json.loads(text)
    change(doc)
    return json.dumps(doc, indent=1, sort_keys=True) + "\n"


def main():
    os.makedirs(OUT, exist_ok=True)
    g, png = cube_scene(embed_png=False)
    text = g.gltf_text()
    write("cube.gltf", text)
    write("checker.png", png)
    write("drawing.gltf", drawing_scene().gltf_text())
    write("camera.gltf", camera_scene().gltf_text())
    write("points_and_lines.gltf", points_and_lines_scene().gltf_text())
    write("cube.glb", cube_scene(embed_png=True)[0].glb_bytes())

    def runner(doc):
        return next(n for n in doc["nodes"] if n["name"] == "runner")

    write("bad_speed.gltf", bad_variant(text, lambda d: runner(d)["extras"]["quillmere"].update(
        velocity=[0.6, 0.8, 0])))
    write("bad_temperature.gltf", bad_variant(text, lambda d: d["materials"][1]["extras"]["quillmere"]["planck"]
                                              .update(temperature=0)))
    write("bad_types.gltf", bad_variant(text, lambda d: runner(d)["extras"]["quillmere"].update(velocity="fast")))
    write("broken.gltf", text[: len(text) // 2])
    glb = cube_scene(embed_png=True)[0].glb_bytes()
    write("broken.glb", glb[:12] + b"\xff\xff\xff\x7fJSON" + glb[20:200])

    # OBJ + MTL: the crate textured, the runner's cube in a plain colour; 8
    # corners, 4 texture coordinates and 6 normals per cube, quads.
    lines = ["# quillmere test cube, two objects", "mtllib cube.mtl"]
    corners = []
    for _, face in FACES:
        for c in face:
            if c not in corners:
                corners.append(c)
    normals = [n for n, _ in FACES]
    for offset in (-1.5, 1.5):
        lines += ["v %g %g %g" % (0.5 * c[0] + offset, 0.5 * c[1], 0.5 * c[2]) for c in corners]
    lines += ["vt %g %g" % uv for uv in UV]
    lines += ["vn %g %g %g" % n for n in normals]
    for k, (name, material) in enumerate((("crate", "checker"), ("runner", "ember"))):
        lines += ["o %s" % name, "usemtl %s" % material]
        for f, (_, face) in enumerate(FACES):
            refs = ["%d/%d/%d" % (8 * k + corners.index(c) + 1, j + 1, f + 1) for j, c in enumerate(face)]
            lines.append("f " + " ".join(refs))
    write("cube.obj", "\n".join(lines) + "\n")
    write("cube.mtl", "newmtl checker\nKd 1 1 1\nmap_Kd checker.png\n\nnewmtl ember\nKd 1 0.5 0.2\nNs 64\n")
    write("broken.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 9\n")
    # A PLY header whose end_header line is damaged: Assimp's reader would never return.
    write("unended_header.ply", b"ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nend_hea"
          + b"\xff" * 64 + b"der\n0\n1\n2\n")

    # PLY: 8 corners coloured by position (red along x, green along y, blue along z), no normals.
    ply = ["ply", "format ascii 1.0", "element vertex 8", "property float x", "property float y",
           "property float z", "property uchar red", "property uchar green", "property uchar blue",
           "element face 6", "property list uchar int vertex_indices", "end_header"]
    for c in corners:
        ply.append("%g %g %g %d %d %d" % (0.5 * c[0], 0.5 * c[1], 0.5 * c[2], 255 if c[0] > 0 else 0,
                                          255 if c[1] > 0 else 0, 255 if c[2] > 0 else 0))
    for _, face in FACES:
        ply.append("4 " + " ".join(str(corners.index(c)) for c in face))
    write("colours.ply", "\n".join(ply) + "\n")

    triangles = []
    for _, face in FACES:
        q = [tuple(0.5 * x for x in c) for c in face]
        triangles += [(q[0], q[1], q[2]), (q[0], q[2], q[3])]
    write("cube.stl", stl_binary(triangles))


if __name__ == "__main__":
    main()
