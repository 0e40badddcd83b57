"""Small glTF 2.0 writer for our test data and examples (standard library only).

A Gltf collects meshes (positions, optional normals, texture coordinates,
vertex colours, triangle indices), materials, nodes with transforms and
`extras`, and cameras, and writes them as .gltf (one buffer embedded as a
base64 data URI) or .glb (JSON chunk and binary chunk, images embedded).
Also writes small PNG pictures (zlib) and binary STL.
"""

import base64
import json
import struct
import zlib


def png_bytes(width, height, pixel):
    """A width x height RGB PNG; pixel(x, y) -> (r, g, b), y = 0 the top row."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def stl_binary(triangles):
    """Binary STL of triangles ((a, b, c) corner triples); normals from the winding."""
    out = bytearray(b"quillmere test solid".ljust(80, b" "))
    out += struct.pack("<I", len(triangles))
    for a, b, c in triangles:
        u = [b[i] - a[i] for i in range(3)]
        v = [c[i] - a[i] for i in range(3)]
        n = [u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]]
        length = sum(x * x for x in n) ** 0.5 or 1.0
        out += struct.pack("<3f", *(x / length for x in n))
        for corner in (a, b, c):
            out += struct.pack("<3f", *corner)
        out += struct.pack("<H", 0)
    return bytes(out)


class Gltf:
    def __init__(self):
        self.json = {"asset": {"version": "2.0", "generator": "quillmere scripts/gltf_writer.py"},
                     "scene": 0, "scenes": [{"nodes": []}], "nodes": [], "meshes": [], "materials": [],
                     "accessors": [], "bufferViews": [], "buffers": []}
        self.blob = bytearray()

    def _view(self, data, target=None):
        while len(self.blob) % 4:
            self.blob.append(0)
        view = {"buffer": 0, "byteOffset": len(self.blob), "byteLength": len(data)}
        if target:
            view["target"] = target
        self.blob += data
        self.json["bufferViews"].append(view)
        return len(self.json["bufferViews"]) - 1

    def _accessor(self, values, kind, components):
        flat = [x for v in values for x in (v if components > 1 else [v])]
        if kind == "SCALAR_U32":
            view = self._view(struct.pack("<%dI" % len(flat), *flat), 34963)
            acc = {"bufferView": view, "componentType": 5125, "count": len(values), "type": "SCALAR"}
        else:
            view = self._view(struct.pack("<%df" % len(flat), *flat), 34962)
            acc = {"bufferView": view, "componentType": 5126, "count": len(values), "type": kind}
            if kind == "VEC3":
                acc["min"] = [min(v[i] for v in values) for i in range(3)]
                acc["max"] = [max(v[i] for v in values) for i in range(3)]
        self.json["accessors"].append(acc)
        return len(self.json["accessors"]) - 1

    def add_material(self, name, base_colour=(0.8, 0.8, 0.8, 1.0), emissive=None, metallic=0.0, roughness=1.0,
                     texture_uri=None, texture_png=None, extras=None):
        pbr = {"baseColorFactor": list(base_colour), "metallicFactor": metallic, "roughnessFactor": roughness}
        material = {"name": name, "pbrMetallicRoughness": pbr}
        if emissive:
            material["emissiveFactor"] = list(emissive)
        if texture_uri or texture_png:
            image = {"uri": texture_uri} if texture_uri else {
                "bufferView": self._view(texture_png), "mimeType": "image/png"}
            self.json.setdefault("images", []).append(image)
            self.json.setdefault("textures", []).append({"source": len(self.json["images"]) - 1})
            pbr["baseColorTexture"] = {"index": len(self.json["textures"]) - 1}
        if extras is not None:
            material["extras"] = extras
        self.json["materials"].append(material)
        return len(self.json["materials"]) - 1

    def add_mesh(self, name, positions, indices, material=None, normals=None, texcoords=None, colours=None,
                 mode=None):
        attributes = {"POSITION": self._accessor(positions, "VEC3", 3)}
        if normals:
            attributes["NORMAL"] = self._accessor(normals, "VEC3", 3)
        if texcoords:
            attributes["TEXCOORD_0"] = self._accessor(texcoords, "VEC2", 2)
        if colours:
            attributes["COLOR_0"] = self._accessor(colours, "VEC4", 4)
        primitive = {"attributes": attributes, "indices": self._accessor(indices, "SCALAR_U32", 1)}
        if material is not None:
            primitive["material"] = material
        if mode is not None:
            primitive["mode"] = mode  # 0 points, 1 lines, 4 triangles (the default)
        self.json["meshes"].append({"name": name, "primitives": [primitive]})
        return len(self.json["meshes"]) - 1

    def add_node(self, name, mesh=None, translation=None, rotation=None, scale=None, children=None, extras=None,
                 camera=None, root=True):
        node = {"name": name}
        for key, value in (("mesh", mesh), ("translation", translation), ("rotation", rotation),
                           ("scale", scale), ("children", children), ("extras", extras), ("camera", camera)):
            if value is not None:
                node[key] = list(value) if isinstance(value, tuple) else value
        self.json["nodes"].append(node)
        index = len(self.json["nodes"]) - 1
        if root:
            self.json["scenes"][0]["nodes"].append(index)
        return index

    def add_camera(self, name, yfov, znear=0.1, zfar=1000.0, aspect=4 / 3):
        self.json.setdefault("cameras", []).append({"name": name, "type": "perspective", "perspective": {
            "yfov": yfov, "znear": znear, "zfar": zfar, "aspectRatio": aspect}})
        return len(self.json["cameras"]) - 1

    def _finish(self):
        doc = {k: v for k, v in self.json.items() if v != []}
        return doc

    def gltf_text(self):
        doc = self._finish()
        doc["buffers"] = [{"byteLength": len(self.blob),
                           "uri": "data:application/octet-stream;base64," + base64.b64encode(bytes(self.blob)).decode()}]
        return json.dumps(doc, indent=1, sort_keys=True) + "\n"

    def glb_bytes(self):
        doc = self._finish()
        while len(self.blob) % 4:
            self.blob.append(0)
        doc["buffers"] = [{"byteLength": len(self.blob)}]
        text = json.dumps(doc, sort_keys=True).encode()
        text += b" " * ((4 - len(text) % 4) % 4)
        body = struct.pack("<II", len(text), 0x4E4F534A) + text
        body += struct.pack("<II", len(self.blob), 0x004E4942) + bytes(self.blob)
        return struct.pack("<III", 0x46546C67, 2, 12 + len(body)) + body
