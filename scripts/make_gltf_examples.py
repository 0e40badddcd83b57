#!/usr/bin/env python3
"""Writes the glTF example of examples/: a fleet passing a station at 0.8 c.

    python3 scripts/make_gltf_examples.py [--check]

examples/fleet.gltf holds a space station at rest and two moving groups in
frames of their own, given by quillmere extras on their nodes: a fleet of
five ships at 0.8 c along +x (one node "fleet" whose subtree is the five
ships) and a tug at 0.5 c along -x in a lane of its own. The engines carry
a relativistic material (a 3000 K black body) for the spectral path. Every
face is cut into small quadrilaterals so that straight edges can bend.
examples/fleet.par flies nothing: the observer waits at rest before the
station while the ships go by. With --check nothing is written; the exit
status is 1 when the files on disk differ from what would be written.

Python 3 standard library only. The output is deterministic.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gltf_writer import Gltf  # noqa: E402

EXAMPLES = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "examples")


class Mesh:
    """Positions and triangles; no normals (the importer makes them, sharp at 90 degree edges)."""

    def __init__(self):
        self.positions, self.indices = [], []

    def grid(self, origin, u, v, nu, nv, shape=None):
        """A parallelogram origin + s u + t v cut into nu x nv quadrilaterals,
        wound counter-clockwise seen from u x v; shape(p) moves each point."""
        base = len(self.positions)
        for j in range(nv + 1):
            for i in range(nu + 1):
                p = tuple(origin[k] + u[k] * i / nu + v[k] * j / nv for k in range(3))
                self.positions.append(tuple(round(x, 5) for x in (shape(p) if shape else p)))
        for j in range(nv):
            for i in range(nu):
                a = base + j * (nu + 1) + i
                b, c, d = a + 1, a + nu + 2, a + nu + 1
                self.indices += [a, b, c, a, c, d]

    def box(self, lo, hi, n, shape=None):
        """An axis-aligned box cut into pieces about n units long, faces outwards."""
        size = [hi[k] - lo[k] for k in range(3)]
        cuts = [max(1, round(s / n)) for s in size]
        x, y, z = size
        X, Y, Z = cuts
        g = self.grid
        g((lo[0], lo[1], hi[2]), (x, 0, 0), (0, y, 0), X, Y, shape)      # +z
        g((hi[0], lo[1], lo[2]), (-x, 0, 0), (0, y, 0), X, Y, shape)     # -z
        g((hi[0], lo[1], hi[2]), (0, 0, -z), (0, y, 0), Z, Y, shape)     # +x
        g((lo[0], lo[1], lo[2]), (0, 0, z), (0, y, 0), Z, Y, shape)      # -x
        g((lo[0], hi[1], hi[2]), (x, 0, 0), (0, 0, -z), X, Z, shape)     # +y
        g((lo[0], lo[1], lo[2]), (x, 0, 0), (0, 0, z), X, Z, shape)      # -y


def ship_meshes():
    """A ship along +x, nose at x = 4: a hull tapering to the nose, two wings, an engine block."""
    def taper(p):
        x, y, z = p
        f = 1.0 if x <= 1.0 else max(0.15, 1.0 - (x - 1.0) / 3.0 * 0.85)
        return (x, y * f, z * f)
    hull = Mesh()
    hull.box((-4, -0.6, -0.8), (4, 0.6, 0.8), 0.25, taper)
    wings = Mesh()
    wings.box((-3, -0.1, -3.5), (-0.5, 0.1, 3.5), 0.25)
    engine = Mesh()
    engine.box((-4.6, -0.45, -0.6), (-4, 0.45, 0.6), 0.15)
    return hull, wings, engine


def station_meshes():
    """A hub with four spokes and a ring of 24 segments of radius 10, in the x-y plane."""
    import math
    hub, ring, panels = Mesh(), Mesh(), Mesh()
    hub.box((-2.5, -2.5, -2.5), (2.5, 2.5, 2.5), 0.5)
    for spoke in range(4):
        a = spoke * math.pi / 2
        ca, sa = math.cos(a), math.sin(a)

        def turn(p, ca=ca, sa=sa):
            return (p[0] * ca - p[1] * sa, p[0] * sa + p[1] * ca, p[2])
        hub.box((2.5, -0.4, -0.4), (9.2, 0.4, 0.4), 0.4, turn)
    for k in range(24):
        a0, a1 = 2 * math.pi * k / 24, 2 * math.pi * (k + 1) / 24

        def bend(p, a0=a0, a1=a1):
            # p.x in [0, 1] runs along the segment, p.y across (radius), p.z depth
            a = a0 + (a1 - a0) * p[0]
            r = 10 + p[1]
            return (r * math.cos(a), r * math.sin(a), p[2])
        ring.box((0, -0.8, -1.2), (1, 0.8, 1.2), 0.25 if k % 2 else 0.3, bend)
    panels.box((-1.2, 11, -0.05), (1.2, 16, 0.05), 0.4)
    panels.box((-1.2, -16, -0.05), (1.2, -11, 0.05), 0.4)
    return hub, ring, panels


def fleet():
    g = Gltf()
    hull, wings, engine = ship_meshes()
    hub, ring, panels = station_meshes()
    grey = g.add_material("station hull", base_colour=(0.4, 0.42, 0.45, 1), metallic=0.3, roughness=0.5)
    blue = g.add_material("solar panels", base_colour=(0.08, 0.12, 0.45, 1), metallic=0.1, roughness=0.3)
    ring_material = g.add_material("ring", base_colour=(0.5, 0.45, 0.35, 1), roughness=0.7)
    engine_glow = g.add_material("engine", base_colour=(1, 0.55, 0.2, 1), emissive=(0.8, 0.35, 0.1),
                                 extras={"quillmere": {"planck": {"temperature": 3000, "strength": 1}}})
    wing_material = g.add_material("wings", base_colour=(0.2, 0.21, 0.24, 1), roughness=0.6)
    hull_colours = [("red hull", (0.6, 0.08, 0.05)), ("white hull", (0.55, 0.55, 0.53)),
                    ("yellow hull", (0.6, 0.45, 0.05))]
    hulls = [g.add_material(name, base_colour=c + (1,), roughness=0.4) for name, c in hull_colours]

    def mesh(name, m, material):
        return g.add_mesh(name, m.positions, m.indices, material)

    # Station at rest, 40 units ahead of the observer.
    station_parts = [g.add_node("hub", mesh=mesh("hub", hub, grey), root=False),
                     g.add_node("ring", mesh=mesh("ring", ring, ring_material), root=False),
                     g.add_node("panels", mesh=mesh("panels", panels, blue), root=False)]
    g.add_node("station", translation=(0, 0, 40), children=station_parts)

    hull_meshes = [mesh(name, hull, material) for (name, _), material in zip(hull_colours, hulls)]
    wing_mesh = mesh("wings", wings, wing_material)
    engine_mesh = mesh("engine", engine, engine_glow)

    def ship(name, colour, position, scale=1.0):
        parts = [g.add_node(name + " hull", mesh=hull_meshes[colour], root=False),
                 g.add_node(name + " wings", mesh=wing_mesh, root=False),
                 g.add_node(name + " engine", mesh=engine_mesh, root=False)]
        return g.add_node(name, translation=position, scale=(scale,) * 3, children=parts, root=False)

    # The fleet in a V, at rest in a frame moving at 0.8 c along +x (lengths
    # contract by 3/5 in the station's frame), between the observer and the station.
    formation = [("leader", 0, (0, 0, 22)), ("left wing", 1, (-11, 2.5, 19)), ("right wing", 1, (-11, -2.5, 25)),
                 ("left rear", 2, (-22, 5, 16)), ("right rear", 2, (-22, -5, 28))]
    ships = [ship(name, colour, position) for name, colour, position in formation]
    g.add_node("fleet", children=ships, extras={"quillmere": {"velocity": [0.8, 0, 0], "translation": [0, 0, 0]}})

    # A tug at 0.5 c the other way, above the fleet's lane, turned to face -x.
    tug = ship("tug", 1, (12, 9, 30), 0.7)
    g.json["nodes"][tug]["rotation"] = [0, 1, 0, 0]
    g.add_node("tug lane", children=[tug], extras={"quillmere": {"velocity": [-0.5, 0, 0]}})

    camera = g.add_camera("observer", 0.9, aspect=1.6)
    g.add_node("observer", camera=camera, translation=(0, 1, 0), rotation=(0, 1, 0, 0))
    return g


# The observer waits at rest at (0, 1, 0), looking along +z at the station,
# from time 0 to 60: light from the fleet's leader, crossing the line of
# sight at time 0 22 units away, arrives at time 22; the fleet comes in from
# the left and leaves on the right, the tug the other way.
PARAMETERS = """fleet.gltf
0 1 0
0 0 1
0 0 0.5 60 100 1
1 2
0.3 1 -0.6
-0.5 0.3 -1
"""


def main():
    files = {"fleet.gltf": fleet().gltf_text(), "fleet.par": PARAMETERS}
    check = "--check" in sys.argv[1:]
    differ = False
    for name, text in files.items():
        path = os.path.join(EXAMPLES, name)
        if check:
            with open(path) as f:
                differ = differ or f.read() != text
            continue
        with open(path, "w") as f:
            f.write(text)
        print("%s: %d bytes" % (name, len(text)))
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
