#!/usr/bin/env python3
"""Finds loops between the units of one folder. A unit is a header with its sources
(frame_viewer.h, frame_viewer.cpp and frame_viewer_*.cpp are one unit, named after the
header); unit A uses unit B when a file of A includes B's header. A loop means neither
unit can be read, changed or tested without the other.

Prints each unit with the units it uses, then every loop (a set of units that reach each
other), and ends with "unit-loops: N units, M loops"; fails when M > 0.

    scripts/check_unit_loops.py [FOLDER]   (default: viewer)
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def unit_of(path, headers):
    # A source belongs to the longest header name its own name starts with.
    stem = path.stem
    owners = [h for h in headers if stem == h or stem.startswith(h + "_")]
    return max(owners, key=len) if owners else stem


def graph(folder):
    root = pathlib.Path(__file__).resolve().parent.parent
    base = root / folder
    files = sorted(p for p in base.iterdir() if p.suffix in (".h", ".cpp"))
    headers = {p.stem for p in files if p.suffix == ".h"}
    uses = {}
    for path in files:
        unit = unit_of(path, headers)
        uses.setdefault(unit, set())
        for name in INCLUDE.findall(path.read_text(encoding="utf-8")):
            included = pathlib.PurePosixPath(name)
            if str(included.parent) != folder or included.stem not in headers:
                continue
            if included.stem != unit:
                uses[unit].add(included.stem)
    return uses


def loops(uses):
    # Tarjan's strongly connected components; a component of more than one unit is a loop.
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(unit):
        index[unit] = low[unit] = len(index)
        stack.append(unit)
        on_stack.add(unit)
        for used in sorted(uses.get(unit, ())):
            if used not in index:
                visit(used)
                low[unit] = min(low[unit], low[used])
            elif used in on_stack:
                low[unit] = min(low[unit], index[used])
        if low[unit] == index[unit]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == unit:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    for unit in sorted(uses):
        if unit not in index:
            visit(unit)
    return found


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "viewer"
    uses = graph(folder)
    for unit in sorted(uses):
        print(f"{unit} -> {', '.join(sorted(uses[unit])) or '-'}")
    found = loops(uses)
    for component in found:
        print("loop: " + " <-> ".join(component))
    print(f"unit-loops: {len(uses)} units, {len(found)} loops")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
