#!/usr/bin/env python3
"""Writes the example scenes of examples/ and their parameter files.

    python3 scripts/make-examples.py [--check]

Each scene shows one effect: a lattice of cubes flown through at 0.9 c, a
train passing a platform at 0.8 c in a frame of its own, black-body spheres
for the Doppler shift and the searchlight effect, an avenue of towers with
three levels of detail, and a tunnel of grid lines. Every face is cut into a
grid of small quadrilaterals (spheres into latitude and longitude bands), so
that straight edges visibly bend when the observer's view distorts them.

For every scene the script prints what it wrote: face sets, triangles, line
sets, frames, LODs and display vertices (a mesh reached through USE counted
once per use), the same quantities quillmere-check --convert reports. With
--check nothing is written: the files on disk are compared with what would
be written, and the exit status is 1 when any differs.

Python 3 standard library only. The output is deterministic.
"""

import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
EXAMPLES = os.path.join(os.path.dirname(HERE), "examples")

MAX_FILE_BYTES = 2 * 1024 * 1024
MAX_DISPLAY_VERTICES = 300_000


def fmt(x):
    """A number as short as it can be written to five significant digits."""
    if abs(x) < 5e-6:
        return "0"
    text = "%.5g" % x
    if "e" in text:
        text = "%.6f" % x
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return text


def vec(v):
    return " ".join(fmt(c) for c in v)


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def normalised(v):
    length = math.sqrt(dot(v, v))
    return (v[0] / length, v[1] / length, v[2] / length)


class Mesh:
    """Points with one normal each and faces (lists of point indices) wound
    counter-clockwise when seen from the side the normals point to."""

    def __init__(self):
        self.points = []
        self.normals = []
        self.faces = []

    def add_point(self, p, n):
        self.points.append(p)
        self.normals.append(n)
        return len(self.points) - 1

    def triangles(self):
        # A face of n corners is drawn as a fan of n - 2 triangles.
        return sum(len(face) - 2 for face in self.faces)

    def check_winding(self):
        """Every fan triangle must face the way its corners' normals point,
        or back-face culling would remove it."""
        for face in self.faces:
            p0 = self.points[face[0]]
            for i in range(1, len(face) - 1):
                p1, p2 = self.points[face[i]], self.points[face[i + 1]]
                area = cross(sub(p1, p0), sub(p2, p0))
                n = self.normals[face[0]]
                n = (n[0] + self.normals[face[i]][0] + self.normals[face[i + 1]][0],
                     n[1] + self.normals[face[i]][1] + self.normals[face[i + 1]][1],
                     n[2] + self.normals[face[i]][2] + self.normals[face[i + 1]][2])
                if dot(area, area) == 0.0 or dot(area, n) <= 0.0:
                    raise SystemExit("make-examples: a face is wound against its normals")

    def add_grid(self, origin, u, v, nu, nv):
        """The flat face origin + s·u + t·v (0 ≤ s, t ≤ 1) cut into nu × nv
        quadrilaterals; it faces along u × v."""
        normal = normalised(cross(u, v))
        first = len(self.points)
        for j in range(nv + 1):
            for i in range(nu + 1):
                s, t = i / nu, j / nv
                self.add_point((origin[0] + s * u[0] + t * v[0],
                                origin[1] + s * u[1] + t * v[1],
                                origin[2] + s * u[2] + t * v[2]), normal)
        row = nu + 1
        for j in range(nv):
            for i in range(nu):
                a = first + j * row + i
                self.faces.append([a, a + 1, a + row + 1, a + row])

    def add_box(self, lo, hi, nx, ny, nz):
        """An axis-aligned box from corner lo to corner hi, each face with its
        own points (sharp edges), cut into nx, ny, nz parts along x, y, z."""
        x0, y0, z0 = lo
        x1, y1, z1 = hi
        dx, dy, dz = x1 - x0, y1 - y0, z1 - z0
        self.add_grid((x1, y0, z0), (0, dy, 0), (0, 0, dz), ny, nz)   # +x
        self.add_grid((x0, y0, z0), (0, 0, dz), (0, dy, 0), nz, ny)   # -x
        self.add_grid((x0, y1, z0), (0, 0, dz), (dx, 0, 0), nz, nx)   # +y
        self.add_grid((x0, y0, z0), (dx, 0, 0), (0, 0, dz), nx, nz)   # -y
        self.add_grid((x0, y0, z1), (dx, 0, 0), (0, dy, 0), nx, ny)   # +z
        self.add_grid((x0, y0, z0), (0, dy, 0), (dx, 0, 0), ny, nx)   # -z

    def add_triangle_grid(self, a, b, c, n):
        """The triangle a, b, c (counter-clockwise seen from its front) cut
        into n × n small triangles, with its own points and one normal."""
        normal = normalised(cross(sub(b, a), sub(c, a)))
        index = {}
        for i in range(n + 1):          # i steps from a towards b
            for j in range(n + 1 - i):  # j steps from a towards c
                p = tuple(a[k] + (b[k] - a[k]) * i / n + (c[k] - a[k]) * j / n for k in range(3))
                index[(i, j)] = self.add_point(p, normal)
        for i in range(n):
            for j in range(n - i):
                self.faces.append([index[(i, j)], index[(i + 1, j)], index[(i, j + 1)]])
                if j < n - i - 1:
                    self.faces.append([index[(i + 1, j)], index[(i + 1, j + 1)], index[(i, j + 1)]])

    def add_sphere(self, centre, radius, slices, stacks):
        """A latitude/longitude sphere: a point at each pole, stacks − 1 rings
        of `slices` points, triangles around the poles and quadrilaterals in
        between; the normals point outwards."""
        cx, cy, cz = centre

        def point(theta, phi):
            n = (math.sin(theta) * math.cos(phi), math.cos(theta), -math.sin(theta) * math.sin(phi))
            return self.add_point((cx + radius * n[0], cy + radius * n[1], cz + radius * n[2]), n)

        top = point(0.0, 0.0)
        rings = []
        for j in range(1, stacks):
            theta = math.pi * j / stacks
            rings.append([point(theta, 2 * math.pi * i / slices) for i in range(slices)])
        bottom = point(math.pi, 0.0)
        for i in range(slices):
            k = (i + 1) % slices
            self.faces.append([top, rings[0][i], rings[0][k]])
            for j in range(stacks - 2):
                self.faces.append([rings[j][i], rings[j + 1][i], rings[j + 1][k], rings[j][k]])
            self.faces.append([rings[-1][i], bottom, rings[-1][k]])


class Lines:
    """Polylines: each a list of point indices."""

    def __init__(self):
        self.points = []
        self.polylines = []

    def add_polyline(self, points, closed=False):
        first = len(self.points)
        self.points.extend(points)
        indices = list(range(first, first + len(points)))
        if closed:
            indices.append(first)
        self.polylines.append(indices)


class Scene:
    """Writes a scene file and counts what the conversion will build from it."""

    def __init__(self, name, comment):
        self.name = name
        self.out = ["#VRML V1.0 ascii"]
        self.out += ["# " + line if line else "#" for line in comment.strip().splitlines()]
        self.depth = 0
        self.defined = {}  # DEF name -> (face sets, triangles, line sets, display vertices, LODs)
        self.counts = {"face sets": 0, "triangles": 0, "line sets": 0, "frames": 0, "LODs": 0,
                       "display vertices": 0}
        self.recording = None  # counts of the DEF being written

    def line(self, text):
        self.out.append("  " * self.depth + text)

    def open(self, text):
        self.line(text + " {")
        self.depth += 1

    def close(self):
        self.depth -= 1
        self.line("}")

    def _count(self, key, amount):
        self.counts[key] += amount
        if self.recording is not None:
            self.recording[key] = self.recording.get(key, 0) + amount

    def begin_def(self, name, text):
        self.recording = {}
        self.open("DEF %s %s" % (name, text))
        return name

    def end_def(self, name):
        self.close()
        self.defined[name] = self.recording
        self.recording = None

    def count_lod(self):
        self._count("LODs", 1)

    def instance(self, name, text, write):
        """DEF name text { write() } the first time, USE name after that."""
        if name in self.defined:
            self.use(name)
            return
        self.begin_def(name, text)
        write()
        self.end_def(name)

    def use(self, name):
        self.line("USE %s" % name)
        for key, amount in self.defined[name].items():
            self.counts[key] += amount

    def material(self, diffuse, emissive=None, specular=None, shininess=None):
        fields = "diffuseColor %s" % vec(diffuse)
        if emissive:
            fields += " emissiveColor %s" % vec(emissive)
        if specular:
            fields += " specularColor %s" % vec(specular)
        if shininess is not None:
            fields += " shininess %s" % fmt(shininess)
        self.line("Material { %s }" % fields)

    def translation(self, t):
        self.line("Translation { translation %s }" % vec(t))

    def _point_list(self, keyword, field, values):
        self.open(keyword)
        self.line(field + " [")
        self.depth += 1
        for i in range(0, len(values), 4):
            chunk = values[i:i + 4]
            last = i + 4 >= len(values)
            self.line(", ".join(vec(v) for v in chunk) + ("" if last else ","))
        self.depth -= 1
        self.line("]")
        self.close()

    def _index_list(self, keyword, lists):
        self.open(keyword)
        self.line("coordIndex [")
        self.depth += 1
        entries = [", ".join(str(i) for i in indices) + ", -1" for indices in lists]
        for i in range(0, len(entries), 4):
            last = i + 4 >= len(entries)
            self.line(", ".join(entries[i:i + 4]) + ("" if last else ","))
        self.depth -= 1
        self.line("]")
        self.close()

    def face_set(self, mesh, solid=False):
        """Coordinate3, Normal (one normal per point) and the IndexedFaceSet;
        a closed mesh (`solid`) says so with ShapeHints, so its back faces
        are culled (the others show both sides)."""
        mesh.check_winding()
        if solid:
            self.line("ShapeHints { shapeType SOLID vertexOrdering COUNTERCLOCKWISE }")
        self._point_list("Coordinate3", "point", mesh.points)
        self._point_list("Normal", "vector", mesh.normals)
        self._index_list("IndexedFaceSet", mesh.faces)
        self._count("face sets", 1)
        self._count("triangles", mesh.triangles())
        self._count("display vertices", len(mesh.points))

    def line_set(self, lines):
        self._point_list("Coordinate3", "point", lines.points)
        self._index_list("IndexedLineSet", lines.polylines)
        self._count("line sets", 1)
        self._count("display vertices", len(lines.points))

    def frame(self, translation, velocity):
        self.line("RELframe { translation %s velocity %s }" % (vec(translation), vec(velocity)))
        self._count("frames", 1)

    def text(self):
        return "\n".join(self.out) + "\n"


class Flight:
    """A parameter file: scene, start position, flight direction, start
    speed, start time, time step, end time, frame rate, LOD scale,
    transformNormals, and the light directions."""

    def __init__(self, scene, position, direction, speed, start, step, end, lights,
                 frame_rate=100, lod_scale=1, transform_normals=1):
        self.lines = [
            scene,
            vec(position),
            vec(direction),
            " ".join(fmt(x) for x in (speed, start, step, end, frame_rate, lod_scale)),
            "%d %d" % (transform_normals, len(lights)),
        ] + [vec(light) for light in lights]
        self.frames = int(round((end - start) / step))

    def text(self):
        return "\n".join(self.lines) + "\n"


# Lights (directions towards the light, in world axes): one from above and
# behind the observer's right shoulder, a weaker-looking second one from the
# lower left, so that faces turned towards a forward-flying observer are lit.
FRONT_LIGHTS = [(0.4, 0.8, -1), (-0.6, -0.3, -0.6)]


def lattice():
    s = Scene("lattice.wrl", """
A lattice of 5 x 5 x 8 cubes, 4 units apart, coloured by depth from red
(nearest) to blue (farthest). Fly through it at 0.9 c with lattice.par: the
rows across the flight bend into curves, cubes beside the observer are seen
ahead of it, and the lattice ahead looks stretched away (aberration and
light-travel time). Each cube face is cut into 8 x 8 quadrilaterals.
Written by scripts/make-examples.py; edit that script, not this file.
""")
    s.open("Separator")
    cube = Mesh()
    cube.add_box((-0.6, -0.6, -0.6), (0.6, 0.6, 0.6), 8, 8, 8)
    layers = 8
    for k in range(layers):
        f = k / (layers - 1)
        colour = (0.95 - 0.75 * f, 0.35 + 0.4 * math.sin(math.pi * f), 0.2 + 0.75 * f)
        s.open("Separator")
        s.material(colour, specular=(0.2, 0.2, 0.2), shininess=0.3)
        for j in range(5):
            for i in range(5):
                s.open("Separator")
                s.translation((-8 + 4 * i, -8 + 4 * j, 4 * k))
                s.instance("Cube", "Separator", lambda: s.face_set(cube, solid=True))
                s.close()
        s.close()
    s.close()
    # Between the columns at x = 0 and 4, y = 0 and 4, 8 units before the
    # first layer; 200 steps of 0.1 proper time at γβ = 2.065 cover 41 units.
    flight = Flight("lattice.wrl", (2, 2, -8), (0, 0, 1), 0.9, 0, 0.1, 20, FRONT_LIGHTS)
    return s, flight


def train():
    s = Scene("train.wrl", """
A train of six carriages passes a platform at 0.8 c. The observer stands at
rest on the platform (train.par) and looks across the track. The platform,
its pillars, the track bed and the rails are at rest; the train is at rest in
a frame of its own (RELframe) that moves along +x. Its carriages, 5 units
long in that frame, are contracted to 3 units in the platform's frame; what
the observer sees is further changed by light-travel time: the approaching
train looks stretched, the receding train squeezed, and the carriages are
seen turned: they show their rear ends all across the view, also on the left
where a train at rest would show its front ends.
The RELframe comes last: it governs every shape drawn after it.
Written by scripts/make-examples.py; edit that script, not this file.
""")
    s.open("Separator")
    # Platform: 80 x 1 x 12.5 units, its top at y = -1.5 (the observer's eye
    # is at y = 0), cut into 1 x 0.5 x 0.5 unit pieces.
    s.open("Separator")
    s.material((0.55, 0.55, 0.6))
    platform = Mesh()
    platform.add_box((-40, -2.5, -3), (40, -1.5, 9.5), 80, 2, 25)
    s.face_set(platform, solid=True)
    s.close()
    # Track bed beyond the platform edge, 1 x 1 unit quadrilaterals.
    s.open("Separator")
    s.material((0.3, 0.25, 0.2))
    bed = Mesh()
    bed.add_grid((-40, -2.5, 9.5), (0, 0, 30.5), (80, 0, 0), 30, 80)
    s.face_set(bed)
    s.close()
    # Two rails.
    s.open("Separator")
    s.material((0.75, 0.75, 0.8), specular=(0.5, 0.5, 0.5), shininess=0.5)
    rail = Mesh()
    rail.add_box((-40, -2.5, 11.3), (40, -2.3, 11.5), 80, 1, 1)
    name = s.begin_def("Rail", "Separator")
    s.face_set(rail, solid=True)
    s.end_def(name)
    s.translation((0, 0, 1.2))
    s.use("Rail")
    s.close()
    # Twenty pillars along the platform edge, every 4 units, none straight
    # in front of the observer.
    s.open("Separator")
    s.material((0.85, 0.8, 0.7))
    pillar = Mesh()
    pillar.add_box((-0.15, -1.5, -0.15), (0.15, 3, 0.15), 2, 12, 2)
    for i in range(20):
        s.open("Separator")
        s.translation((-38 + 4 * i, 0, 8.5))
        if i == 0:
            name = s.begin_def("Pillar", "Separator")
            s.face_set(pillar, solid=True)
            s.end_def(name)
        else:
            s.use("Pillar")
        s.close()
    s.close()
    # The train, at rest in its frame: carriage k spans x' = -5.6 k - 5 to
    # -5.6 k (the head at x' = 0), z from 10.8 to 13.2 above the rails.
    s.open("Separator")
    s.frame((0, 0, 0), (0.8, 0, 0))
    carriage = Mesh()
    carriage.add_box((-5, -1.4, 10.8), (0, 1.2, 13.2), 20, 8, 8)
    colours = [(0.9, 0.15, 0.1), (0.95, 0.85, 0.2)]
    for k in range(6):
        s.open("Separator")
        s.material(colours[k % 2], specular=(0.3, 0.3, 0.3), shininess=0.4)
        s.translation((-5.6 * k, 0, 0))
        if k == 0:
            name = s.begin_def("Carriage", "Separator")
            s.face_set(carriage, solid=True)
            s.end_def(name)
        else:
            s.use("Carriage")
        s.close()
    s.close()
    s.close()
    # At rest (start speed 0) at the origin, looking along +z at the track.
    # The head, at x = 0.8 t in the platform's frame, is first seen at the
    # left edge of the view near t = 2.5 and the tail leaves the right edge
    # near t = 55, so the flight runs from t = -5 to 60 in steps of 0.5
    # (130 frames).
    flight = Flight("train.wrl", (0, 0, 0), (0, 0, 1), 0, -5, 0.5, 60,
                    [(0.3, 1, -0.6), (-0.5, 0.3, -1)])
    return s, flight


# Temperatures of the black-body spheres, and a colour near each one's for
# the OpenGL path (which does not use the spectra).
TEMPERATURES = [
    (3000, (1.0, 0.6, 0.3)),
    (4500, (1.0, 0.8, 0.6)),
    (6000, (1.0, 0.95, 0.9)),
    (8000, (0.8, 0.85, 1.0)),
    (12000, (0.6, 0.7, 1.0)),
]


def planck():
    s = Scene("planck.wrl", """
Black-body spheres (RELmaterialPlanck) at 3000, 4500, 6000, 8000 and 12000 K,
from left to right, in two rows 20 units apart. Their colours come from
spectra only on the spectral path: run planck.par with
  --spectral --colour-shift doppler   (the hue shifts: bluer ahead)
  --spectral --colour-shift both      (and brighter by D^5: the searchlight)
The shift is strongest straight ahead and weakens as a sphere moves out
towards the edge of the view; turn the look-around camera (right drag) to
see spheres behind the observer, red-shifted and dim.
Written by scripts/make-examples.py; edit that script, not this file.
""")
    s.open("Separator")
    sphere = Mesh()
    sphere.add_sphere((0, 0, 0), 1.2, 36, 24)
    for z in (15, 35):
        for i, (temperature, colour) in enumerate(TEMPERATURES):
            s.open("Separator")
            s.line("RELmaterialPlanck { temperature %d strength 0.6 }" % temperature)
            s.material(colour)
            # Looking along +z, world +x is on the observer's left: the
            # coolest sphere at x = +6 is seen leftmost.
            s.translation((6 - 3 * i, 0, z))
            s.instance("Sphere", "Separator", lambda: s.face_set(sphere, solid=True))
            s.close()
    s.close()
    # Above the rows, flying at them at 0.6 c (Doppler factor 2 straight
    # ahead): 150 steps of 0.2 proper time at γβ = 0.75 cover 22.5 units.
    flight = Flight("planck.wrl", (0, 2.5, -5), (0, 0, 1), 0.6, 0, 0.2, 30,
                    [(0.3, 0.6, -1), (-0.5, 0.2, -1)])
    return s, flight


def tower_level(s, colour, box_parts, roof_parts):
    """One level of a tower: a 4 x 16 x 4 shaft and a pyramid roof 4 high."""
    s.open("Separator")
    s.material(colour)
    shaft = Mesh()
    nx, ny, nz = box_parts
    shaft.add_box((-2, 0, -2), (2, 16, 2), nx, ny, nz)
    s.face_set(shaft, solid=True)
    roof = Mesh()
    apex = (0, 20, 0)
    corners = [(-2, 16, -2), (2, 16, -2), (2, 16, 2), (-2, 16, 2)]
    for i in range(4):
        a, b = corners[i], corners[(i + 1) % 4]
        roof.add_triangle_grid(b, a, apex, roof_parts)
    s.face_set(roof, solid=True)
    s.close()


def lod():
    s = Scene("lod.wrl", """
An avenue of twelve towers, each an LOD with three levels chosen by the
distance at which the observer sees the tower's centre (after light-travel
time and aberration, times lodScale): up to 25 units the detailed tower
(grey-blue, faces cut into 0.5 unit pieces), up to 60 a coarse one (green),
beyond that a plain box and roof (red). Flying along the avenue at 0.5 c
(lod.par), towers ahead are seen farther away than they are, so they
switch to more detail later than they would for an observer at rest.
Written by scripts/make-examples.py; edit that script, not this file.
""")
    s.open("Separator")
    s.open("Separator")
    s.material((0.6, 0.65, 0.6))
    ground = Mesh()
    ground.add_grid((-20, 0, -40), (0, 0, 160), (40, 0, 0), 160, 40)
    s.face_set(ground)
    s.close()
    for z in range(0, 120, 20):
        for x in (-8, 8):
            s.open("Separator")
            s.translation((x, 0, z))
            def write_tower():
                # A level is chosen for distances up to its range, and the
                # last range's level beyond all of them: one range per level.
                s.line("range [25, 60, 10000]")
                s.line("center 0 10 0")
                s.count_lod()
                tower_level(s, (0.7, 0.75, 0.85), (8, 32, 8), 8)
                tower_level(s, (0.3, 0.8, 0.3), (2, 8, 2), 2)
                tower_level(s, (0.85, 0.2, 0.15), (1, 1, 1), 1)
            s.instance("Tower", "LOD", write_tower)
            s.close()
    s.close()
    # Down the middle of the avenue at 0.5 c: 200 steps of 0.5 proper time
    # at γβ = 0.577 cover 58 units.
    flight = Flight("lod.wrl", (0, 4, -30), (0, 0, 1), 0.5, 0, 0.5, 100, FRONT_LIGHTS)
    return s, flight


def tunnel():
    s = Scene("tunnel.wrl", """
A tunnel of grid lines (two IndexedLineSets), 12 wide, 8 high and 120 long:
lines along the tunnel every unit around its walls, and a ring across it
every 2 units. Every line is a polyline of short pieces (1 unit along the
tunnel, 0.5 units around it), so the straight lines can be seen to bend.
Flying through at 0.9 c (tunnel.par) the rings ahead crowd into the centre
of the view, their sides bow (a ring's corners are seen farther away than
the middles of its sides), and the rings beside the observer are seen ahead
of it; the lines along the tunnel stay straight.
Written by scripts/make-examples.py; edit that script, not this file.
""")
    width, height, length = 12, 8, 120

    def perimeter(step):
        """Points around the tunnel's cross-section, counter-clockwise seen
        from the entrance, `step` apart, starting at the bottom left."""
        x0, x1, y0, y1 = -width / 2, width / 2, -height / 2, height / 2
        points = []
        for (ax, ay), (bx, by), n in (((x0, y0), (x1, y0), width), ((x1, y0), (x1, y1), height),
                                      ((x1, y1), (x0, y1), width), ((x0, y1), (x0, y0), height)):
            parts = int(round(n / step))
            for i in range(parts):
                points.append((ax + (bx - ax) * i / parts, ay + (by - ay) * i / parts))
        return points

    s.open("Separator")
    along = Lines()
    for x, y in perimeter(1.0):
        along.add_polyline([(x, y, z) for z in range(0, length + 1)])
    s.open("Separator")
    # Lines are drawn unlit in diffuse + emissive: (0.15, 0.5, 1) and (1, 0.6, 0.1).
    s.material((0.1, 0.3, 0.6), emissive=(0.05, 0.2, 0.4))
    s.line_set(along)
    s.close()
    rings = Lines()
    ring = perimeter(0.5)
    for z in range(0, length + 1, 2):
        rings.add_polyline([(x, y, z) for x, y in ring], closed=True)
    s.open("Separator")
    s.material((0.6, 0.35, 0.05), emissive=(0.4, 0.25, 0.05))
    s.line_set(rings)
    s.close()
    s.close()
    # In the middle of the entrance, 200 steps of 0.2 proper time at
    # γβ = 2.065 cover 83 units.
    flight = Flight("tunnel.wrl", (0, 0, -10), (0, 0, 1), 0.9, 0, 0.2, 40, [(0.3, 1, -0.5)])
    return s, flight


HALL_TILE_COLOURS = [
    (0.85, 0.15, 0.1), (0.95, 0.75, 0.1), (0.15, 0.65, 0.25),
    (0.1, 0.35, 0.85), (0.6, 0.2, 0.7), (0.9, 0.9, 0.88),
]
HALL_PILLAR_COLOURS = [(0.9, 0.9, 0.88), (0.8, 0.3, 0.2), (0.2, 0.45, 0.8)]
HALL_TEMPERATURES = [2500, 4000, 6000, 9000, 15000]


def hall():
    s = Scene("hall.wrl", """
A hall 16 units wide and 80 long: a floor of tiles in six colours, two rows
of pillars (white, red and blue) and, between them, black-body spheres
(RELmaterialPlanck) at 2500, 4000, 6000, 9000 and 15000 K on both sides.
hall.par flies down the middle at 0.95 c. On the spectral path with the cie
colour model (quillmere examples/hall.par --spectral --colour-shift both
--auto-exposure) it shows aberration (the hall ahead shrinks into a bright
disc, the pillars bow), the Doppler shift (the tiles ahead turn blue-white,
the spheres hotter) and the searchlight (ahead bright, the sides dim).
Written by scripts/make-examples.py; edit that script, not this file.
""")
    s.open("Separator")
    # Floor: 2 x 2 tiles from x = -8 to 8 and z = 0 to 80 at y = -2, each cut
    # into 4 x 4 quadrilaterals, one face set per colour.
    floors = [Mesh() for _ in HALL_TILE_COLOURS]
    for j in range(40):
        for i in range(8):
            colour = (i + 2 * j + (i * j) % 3) % len(HALL_TILE_COLOURS)
            floors[colour].add_grid((-8 + 2 * i, -2, 2 * j), (0, 0, 2), (2, 0, 0), 4, 4)
    for colour, floor in zip(HALL_TILE_COLOURS, floors):
        s.open("Separator")
        s.material(colour)
        s.face_set(floor)
        s.close()
    # Pillars: 1 x 8 x 1 boxes every 8 units along both walls.
    pillar = Mesh()
    pillar.add_box((-0.5, -2, -0.5), (0.5, 6, 0.5), 2, 16, 2)
    for k in range(10):
        for side in (-1, 1):
            s.open("Separator")
            s.material(HALL_PILLAR_COLOURS[k % len(HALL_PILLAR_COLOURS)])
            s.translation((7 * side, 0, 4 + 8 * k))
            s.instance("Pillar", "Separator", lambda: s.face_set(pillar))
            s.close()
    # Black bodies between the pillars, a metre above the floor.
    sphere = Mesh()
    sphere.add_sphere((0, 0, 0), 0.9, 24, 16)
    for k in range(10):
        for side in (-1, 1):
            temperature = HALL_TEMPERATURES[(k + (side > 0)) % len(HALL_TEMPERATURES)]
            s.open("Separator")
            s.line("RELmaterialPlanck { temperature %d strength 0.8 }" % temperature)
            s.material((1.0, 0.8, 0.6))
            s.translation((4.5 * side, -1.1 + 0.9, 8 + 8 * k))
            s.instance("Ball", "Separator", lambda: s.face_set(sphere))
            s.close()
    s.close()
    # Down the middle at eye height, from 6 units before the hall; 120 steps
    # of 0.05 proper time at γβ = 3.04 cover 18 units.
    flight = Flight("hall.wrl", (0, 0.5, -6), (0, 0, 1), 0.95, 0, 0.05, 6,
                    [(0.3, 0.9, -0.6), (-0.4, 0.5, 0.6)])
    return s, flight


SCENES = [lattice, train, planck, lod, tunnel, hall]


def main(argv):
    check = argv[1:] == ["--check"]
    if argv[1:] and not check:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    differ = False
    for make in SCENES:
        scene, flight = make()
        stem = os.path.splitext(scene.name)[0]
        files = {scene.name: scene.text(), stem + ".par": flight.text()}
        size = len(files[scene.name].encode())
        c = scene.counts
        if size > MAX_FILE_BYTES or c["display vertices"] > MAX_DISPLAY_VERTICES:
            raise SystemExit("make-examples: %s is too large (%d bytes, %d display vertices)"
                             % (scene.name, size, c["display vertices"]))
        for name, text in files.items():
            path = os.path.join(EXAMPLES, name)
            if check:
                try:
                    with open(path, encoding="utf-8") as f:
                        same = f.read() == text
                except OSError:
                    same = False
                if not same:
                    print("%s differs from what make-examples.py writes" % path)
                    differ = True
            else:
                with open(path, "w", encoding="utf-8", newline="\n") as f:
                    f.write(text)
        print("%s: %d face sets, %d triangles, %d line sets, %d frames, %d LODs; "
              "%d display vertices, %d bytes; %s: %d frames"
              % (scene.name, c["face sets"], c["triangles"], c["line sets"], c["frames"], c["LODs"],
                 c["display vertices"], size, stem + ".par", flight.frames))
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
