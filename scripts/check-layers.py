#!/usr/bin/env python3
"""Holds every #include of the tree against the layer table in docs/layers.md.

    scripts/check-layers.py [--root DIR]

A file in a folder of the table may include project headers of its own
folder and of the folders its row uses, and of what those use in turn; it
may include the system headers of the families its row names. Prints one
line per forbidden edge, "file:line: folder -> folder (header)", and exits
1 when there is one, 0 when the tree keeps the table.
"""
import argparse
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc", ".c"}
SKIPPED_TOP = {"build", ".git"}

# The system header families only a backend may include.
FAMILIES = {
    "X11": lambda h: h.startswith("X11/"),
    "D-Bus": lambda h: h.startswith("dbus/") or h == "systemd/sd-bus.h",
    "netlink": lambda h: h.startswith("linux/") or h.startswith("asm/"),
    "Win32": lambda h: h.lower() in {"windows.h", "winsock2.h", "ws2tcpip.h", "iphlpapi.h", "shellapi.h",
                                       "commctrl.h", "shlobj.h", "mmsystem.h", "imm.h"}
    or re.fullmatch(r"win[a-z0-9_]*\.h", h.lower()) is not None,
}


def cell(text):
    return text.strip().strip("`").strip()


def read_table(path):
    """Returns {folder: (uses, families)} from the table's rows."""
    rows = {}
    for line in path.read_text(encoding="utf-8").splitlines():
        if not line.startswith("| `"):
            continue
        cells = [c for c in line.strip().strip("|").split("|")]
        if len(cells) != 5:
            raise SystemExit(f"{path}: a row needs five cells: {line}")
        folder = cell(cells[0])
        uses = [cell(u) for u in cells[3].split(",") if cell(u)]
        families = [f.strip() for f in cells[4].split(",") if f.strip()]
        for family in families:
            if family not in FAMILIES:
                raise SystemExit(f"{path}: unknown system header family '{family}' in the row of {folder}")
        rows[folder] = (uses, families)
    if not rows:
        raise SystemExit(f"{path}: no layer table found")
    for folder, (uses, _) in rows.items():
        for used in uses:
            if used != "*" and used not in rows:
                raise SystemExit(f"{path}: the row of {folder} uses {used}, which has no row")
    return rows


def closure(rows):
    """Every folder each folder may reach, itself included."""
    reach = {}

    def visit(folder, trail):
        if folder in reach:
            return reach[folder]
        if folder in trail:
            raise SystemExit(f"docs/layers.md: the layers use each other in a circle: {' -> '.join(trail + [folder])}")
        uses, _ = rows[folder]
        found = {folder}
        for used in uses:
            found |= set(rows) if used == "*" else visit(used, trail + [folder])
        reach[folder] = found
        return found

    for folder in rows:
        visit(folder, [])
    return reach


def owner(path, folders):
    """The deepest table folder holding path, or None."""
    best = None
    for folder in folders:
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def check(root):
    rows = read_table(root / "docs" / "layers.md")
    reach = closure(rows)
    problems = []
    for file in sorted(root.rglob("*")):
        if file.suffix not in SOURCE_SUFFIXES or not file.is_file():
            continue
        relative = file.relative_to(root).as_posix()
        if relative.split("/")[0] in SKIPPED_TOP or relative.startswith("build"):
            continue
        folder = owner(relative, rows)
        if folder is None:
            continue
        _, families = rows[folder]
        text = file.read_text(encoding="utf-8", errors="replace")
        for number, line in enumerate(text.splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            kind, header = match.groups()
            for family, belongs in FAMILIES.items():
                if belongs(header) and family not in families:
                    problems.append(f"{relative}:{number}: {folder} -> {family} system header ({header})")
            if kind == '"':
                target = owner(header, rows)
                if target is not None and target not in reach[folder]:
                    problems.append(f"{relative}:{number}: {folder} -> {target} ({header})")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", type=pathlib.Path, default=pathlib.Path(__file__).resolve().parent.parent)
    args = parser.parse_args()
    problems = check(args.root.resolve())
    for problem in problems:
        print(problem)
    if problems:
        print(f"check-layers: {len(problems)} forbidden include(s); the table is docs/layers.md", file=sys.stderr)
        return 1
    print("check-layers: every include keeps docs/layers.md")
    return 0


if __name__ == "__main__":
    sys.exit(main())
