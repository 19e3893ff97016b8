#!/usr/bin/env python3
"""Fails when a folder includes a folder of a higher layer, or folders include each other
in a circle. The layers, lowest first, are the table below; ARCHITECTURE.md draws them.

    check-layers.py [source root]
"""
import os
import re
import sys

# Lowest first. A folder may include its own layer's folders and any lower one's.
LAYERS = [
    ("engine and mail", ["dalport", "mail"]),
    ("registry schema", ["database"]),
    ("value rules", ["rules"]),
    ("records", ["subjects/record", "audiograms/record", "implants/record", "admin/record"]),
    ("document", ["document", "database/demo"]),
    ("storage and report queries", ["subjects/store", "audiograms/store", "implants/store", "admin/store", "reports/query"]),
    ("widgets", ["framework", "controls", "resources", "registration"]),
    ("windows", ["subjects/ui", "audiograms/ui", "implants/ui", "admin/ui", "reports/ui"]),
    ("application", ["app"]),
    ("tools", ["tools"]),
    ("package", ["packaging"]),
]
# A folder's subfolders belong to it unless the table names them: dalport/ and tools/ are
# one library each, whatever their inner layout.
#
# Folders outside the product: they may include anything and nothing includes them.
OUTSIDE = ("tests", "bench", "fuzz", "build", "scripts", "cmake", ".git", ".ci")

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def layer_folder(folder, rank):
    """The folder of the table that holds `folder`: itself or its nearest named parent."""
    while folder and folder not in rank:
        folder = os.path.dirname(folder)
    return folder


def main(root):
    rank = {folder: i for i, (_, folders) in enumerate(LAYERS) for folder in folders}
    sources = {}
    for dirpath, dirnames, filenames in os.walk(root):
        rel = os.path.relpath(dirpath, root)
        if rel.split(os.sep)[0] in OUTSIDE:
            dirnames[:] = []
            continue
        for name in filenames:
            if name.endswith((".cpp", ".h")):
                sources[os.path.normpath(os.path.join(rel, name))] = None

    errors = []
    edges = {}
    for path in sorted(sources):
        folder = layer_folder(os.path.dirname(path), rank)
        if not folder:
            errors.append(f"{path}: its folder has no layer in scripts/check-layers.py")
            continue
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            text = f.read()
        for include in INCLUDE.findall(text):
            target = os.path.normpath(os.path.join(os.path.dirname(path), include))
            if target not in sources:
                target = os.path.normpath(include)
            other = layer_folder(os.path.dirname(target), rank)
            if other == folder or not other:
                continue  # same folder, or a generated or outside header
            if rank[other] > rank[folder]:
                errors.append(f"{path}: includes {include}, of the higher layer "
                              f"'{LAYERS[rank[other]][0]}' ('{folder}/' is '{LAYERS[rank[folder]][0]}')")
            elif rank[other] == rank[folder]:
                edges.setdefault(folder, set()).add(other)

    # Folders of one layer may use each other, but never in a circle.
    state = {}

    def visit(node, trail):
        state[node] = "open"
        for nxt in sorted(edges.get(node, ())):
            if state.get(nxt) == "open":
                errors.append("folders include each other in a circle: " + " -> ".join(trail[trail.index(nxt):] + [nxt]))
            elif nxt not in state:
                visit(nxt, trail + [nxt])
        state[node] = "done"

    for node in sorted(edges):
        if node not in state:
            visit(node, [node])

    for e in errors:
        print(e, file=sys.stderr)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")))
