#!/usr/bin/python3
"""Fails when an #include crosses a layer the wrong way.

The allowed arrows are the table "| library | uses |" of docs/architecture.md: a source file of
a library may include its own headers and those of the libraries in its row. Folders without a
row (tests, bench, fuzz) are not checked.

usage: check_layers.py ROOT
"""

import pathlib
import re
import sys

ARCHITECTURE = "docs/architecture.md"
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
NAME = re.compile(r"`([^`]+)`")


def arrows(text):
    """{library: set of libraries it uses}, from the first table headed "library | uses"."""
    table = {}
    in_table = False
    for line in text.splitlines():
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        if cells[:2] == ["library", "uses"]:
            in_table = True
            continue
        if not in_table:
            continue
        if not line.lstrip().startswith("|"):
            break
        if len(cells) < 2 or set(cells[0]) <= set("-: "):
            continue
        names = NAME.findall(cells[0])
        if names:
            table[names[0].rstrip("/")] = {n.rstrip("/") for n in NAME.findall(cells[1])}
    return table


def cycle(table):
    """One cycle of the arrows as a list of names, or None."""
    state = {}

    def visit(name, path):
        state[name] = "open"
        for used in sorted(table.get(name, ())):
            if state.get(used) == "open":
                return path[path.index(used):] + [used]
            if used not in state:
                found = visit(used, path + [used])
                if found:
                    return found
        state[name] = "done"
        return None

    for name in sorted(table):
        if name not in state:
            found = visit(name, [name])
            if found:
                return found
    return None


def library_of(path, libraries):
    """The library a path (relative, with '/') belongs to: the longest row name it lies in."""
    owners = [lib for lib in libraries if path.startswith(lib + "/")]
    return max(owners, key=len) if owners else None


def sources(root, table):
    """The .h and .cpp files of every library folder that exists, each once."""
    found = set()
    for library in table:
        folder = root / library
        if folder.is_dir():
            found.update(p for p in folder.rglob("*") if p.suffix in (".h", ".cpp"))
    return sorted(found)


def violations(root, table):
    for source in sources(root, table):
        relative = source.relative_to(root).as_posix()
        library = library_of(relative, table)
        allowed = table[library] | {library}
        lines = source.read_text(encoding="utf-8", errors="replace").splitlines()
        for number, line in enumerate(lines, start=1):
            match = INCLUDE.match(line)
            if not match:
                continue
            header = match.group(1)
            if library_of(header, table) not in allowed:
                yield f'{relative}:{number}: {library} may not include "{header}"'


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    root = pathlib.Path(argv[1])
    table = arrows((root / ARCHITECTURE).read_text(encoding="utf-8"))
    if not table:
        print(f"{ARCHITECTURE}: no table headed 'library | uses'", file=sys.stderr)
        return 1
    loop = cycle(table)
    if loop:
        print(f"{ARCHITECTURE}: the arrows form a cycle: {' -> '.join(loop)}", file=sys.stderr)
        return 1
    found = list(violations(root, table))
    for violation in found:
        print(violation, file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
