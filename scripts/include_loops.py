#!/usr/bin/env python3
"""Loops among the project's own #include "..." lines below the window, and includes that
point the wrong way across the top (the window never includes the exporter, nor the chip
the image files).

A module is a header with its .cpp. Prints the loops between modules and the arrows
between folders, and exits 1 when there is a loop of either: the arrows are to point one
way (the view above document; names and storage below document; vdp, image and platform
below all).
Usage: scripts/include_loops.py [SOURCE_DIR]
"""
import os
import re
import sys

FOLDERS = ["view", "document", "catalog", "storage", "names", "formats", "vdp", "convert", "image",
           "platform", "colour"]
# Folders that must not include another: the viewer and the exporter are separate programs
# over one model, the chip's decoders know nothing of image files, and the picture library
# nothing of the chip or its files; the model below the view knows nothing of the viewer's
# choices.
FORBIDDEN = [("app", "export"), ("dialogs", "export"), ("export", "app"), ("vdp", "image"),
             ("formats", "document"), ("formats", "catalog"), ("formats", "storage"),
             ("formats", "image"), ("catalog", "document"), ("image", "vdp"), ("image", "convert"),
             ("image", "formats"), ("vdp", "convert"), ("convert", "document"),
             ("convert", "catalog"), ("document", "view"), ("catalog", "view"),
             ("vdp", "view"), ("image", "view"), ("convert", "view")]


def forbidden_includes(root):
    found = []
    for source, target in FORBIDDEN:
        for name in sorted(os.listdir(os.path.join(root, source))):
            if name.endswith((".h", ".cpp")):
                text = open(os.path.join(root, source, name), encoding="utf-8").read()
                found += [f"{source}/{name} -> {inc}"
                          for inc in re.findall(r'#include "([^"]+)"', text)
                          if inc.startswith(target + "/")]
    return found


def modules(root):
    graph = {}
    for folder in FOLDERS:
        for name in sorted(os.listdir(os.path.join(root, folder))):
            if not name.endswith((".h", ".cpp")):
                continue
            module = f"{folder}/{name.rsplit('.', 1)[0]}"
            text = open(os.path.join(root, folder, name), encoding="utf-8").read()
            for include in re.findall(r'#include "([^"]+)"', text):
                target = include.rsplit(".", 1)[0]
                if target.split("/")[0] in FOLDERS and target != module:
                    graph.setdefault(module, set()).add(target)
            graph.setdefault(module, set())
    return graph


def loops(graph):
    """The strongly connected parts with more than one member (Tarjan)."""
    index, low, stack, on, found = {}, {}, [], set(), []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on.add(v)
        for w in graph.get(v, ()):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            part = []
            while not part or part[-1] != v:
                part.append(stack.pop())
                on.discard(part[-1])
            if len(part) > 1:
                found.append(sorted(part))

    sys.setrecursionlimit(10000)
    for v in list(graph):
        if v not in index:
            visit(v)
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    graph = modules(root)
    module_loops = loops(graph)
    arrows = {(a.split("/")[0], b.split("/")[0]) for a, bs in graph.items() for b in bs}
    arrows = {(a, b) for a, b in arrows if a != b}
    folder_loops = loops({a: {b for x, b in arrows if x == a} for a, _ in arrows})
    print("folder arrows:", ", ".join(f"{a} -> {b}" for a, b in sorted(arrows)))
    print("module loops:", module_loops or "none")
    print("folder loops:", folder_loops or "none")
    wrong = forbidden_includes(root)
    print("includes the wrong way:", wrong or "none")
    return 1 if module_loops or folder_loops or wrong else 0


if __name__ == "__main__":
    sys.exit(main())
