#!/usr/bin/env python3
"""Checks the layering of the source tree through its #include lines.

- A core folder (db/, find/, edit/, engine/, exchange/, backup/, report/,
  outside their ui/ folders) includes no widget header and nothing from a
  ui/ folder.
- Nothing outside app/ includes anything from app/: the main window and the
  command line sit on top; what every folder needs (the settings model, the
  regional formats) lives in settings/, on the ground floor.
- The command-line tool includes no widget header and, when a build folder
  is given, its binary links no widget library.

Prints every offending include as FILE:LINE: reason, and exits 1 if any.
Usage: scripts/check-layers.py [BUILD_FOLDER]
"""
import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORE = ("db", "settings", "find", "stats", "edit", "engine", "exchange", "backup", "report", "appearance", "covers", "lookup")
SKIPPED = ("tests", "bench", "fuzz", "docs", "scripts")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def sources():
    for path in ROOT.rglob("*"):
        rel = path.relative_to(ROOT)
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        if rel.parts[0].startswith(("build", ".")) or rel.parts[0] in SKIPPED:
            continue
        yield rel


def widget_headers():
    """The class headers of Qt's widgets module, found where Qt is installed."""
    names = set()
    for folder in pathlib.Path("/usr/include").glob("**/qt6/QtWidgets"):
        names.update(p.name for p in folder.iterdir())
    return names


def in_ui_folder(rel):
    return rel.parts[0] == "ui" or "ui" in rel.parts[1:-1]


def main():
    files = list(sources())
    by_name = {}
    for rel in files:
        by_name.setdefault(rel.name, []).append(rel)
    widgets = widget_headers()
    problems = []
    for rel in files:
        top = rel.parts[0]
        core = top in CORE and not in_ui_folder(rel)
        cli = rel.parts[:2] == ("app", "cli")
        for number, line in enumerate((ROOT / rel).read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            bracket, name = match.groups()
            where = f"{rel}:{number}: {line.strip()}"
            if bracket == "<":
                base = name.split("/")[-1]
                if (core or cli) and (base in widgets or name.startswith("QtWidgets/")):
                    problems.append(f"{where}: a {'core folder' if core else 'command-line'} file includes a widget header")
                continue
            targets = by_name.get(pathlib.PurePath(name).name, [])
            for target in targets:
                if core and in_ui_folder(target):
                    problems.append(f"{where}: a core folder includes {target}, from a ui/ folder")
                if top != "app" and target.parts[0] == "app":
                    problems.append(f"{where}: {top}/ reaches up into {target.parent}, the program's top floor")
    if len(sys.argv) > 1:
        cli_binary = pathlib.Path(sys.argv[1]) / "app" / "reelkeeper-cli"
        if cli_binary.exists():
            linked = subprocess.run(["ldd", str(cli_binary)], capture_output=True, text=True).stdout
            if "libQt6Widgets" in linked:
                problems.append(f"{cli_binary}: the command-line tool links Qt's widgets")
        else:
            problems.append(f"{cli_binary}: not built, so its links could not be checked")
    for problem in problems:
        print(problem)
    print(f"layering: {len(files)} files checked, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
