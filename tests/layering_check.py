#!/usr/bin/env python3
"""Fails when a source file includes a header of a library that sits above
its own: every folder under src/ is one library, and includes may only point
down the graph below (or within the folder itself)."""
import os
import re
import sys

# Each library and the libraries it may include, directly.
ALLOWED = {
    "diagnostics": set(),
    "support": set(),
    "relativity": {"diagnostics"},
    "colour": {"diagnostics", "relativity"},
    "vrml": {"diagnostics"},
    "mesh": {"diagnostics", "relativity"},
    "gl": {"diagnostics", "relativity", "colour"},
    "display": {"diagnostics", "support", "relativity", "colour", "mesh", "gl"},
    "scene": {"diagnostics", "support", "relativity", "colour", "vrml", "mesh", "gl", "display"},
    "render": {"diagnostics", "support", "relativity", "colour", "mesh", "gl", "display"},
    "app": {"diagnostics", "support", "relativity", "colour", "vrml", "mesh", "gl", "display", "scene", "render"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_0-9]+)/[^"]+"', re.M)


def main(source_root):
    libraries = sorted(d for d in os.listdir(source_root) if os.path.isdir(os.path.join(source_root, d)))
    problems = [f"src/{name}: a folder the layering does not know; add it to ALLOWED" for name in libraries
                if name not in ALLOWED]
    for library in libraries:
        for folder, _, files in os.walk(os.path.join(source_root, library)):
            for name in files:
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(folder, name)
                with open(path, encoding="utf-8") as file:
                    text = file.read()
                for match in INCLUDE.finditer(text):
                    target = match.group(1)
                    if target == library or target not in ALLOWED:
                        continue
                    if target not in ALLOWED.get(library, set()):
                        line = text.count("\n", 0, match.start()) + 1
                        problems.append(f"{os.path.relpath(path, os.path.dirname(source_root))}:{line}: "
                                        f"{library} includes {target}, which sits above it or beside it")
    for problem in problems:
        print(problem)
    print(f"layering: {len(problems)} problems" if problems else "layering: every include points down")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src")))
