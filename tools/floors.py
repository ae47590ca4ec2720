#!/usr/bin/env python3
"""The folders' floors: every include between folders goes down.

Each source folder stands on a floor (the table below, as the README's
layout table shows it).  A file may include from its own folder and from
folders on lower floors only: an include of a folder on the same floor
(sideways) or a higher one (up) is listed.  Between the modules (the folders
from netmail/ up to purchasing/ and reports/) one more thing is listed: an
include of another module's window header, one that declares a window or
dialog procedure.  Modules open each other's windows through the openers of
docmodel/QlOpeners.h, which the shell fills in at start-up.  A new folder of
sources that the table does not place is listed too.

Usage: floors.py [source root]; exits 1 when it lists anything, 0 when every
include goes down.
"""

import os
import re
import sys

FLOORS = {
    "resources": 0, "picture": 0,
    "core": 1,
    "ui": 2,
    "print": 3,
    "settings": 4, "datastore": 4,
    "docmodel": 5,
    "netmail": 6, "documents": 6,
    "customers": 7, "catalogue": 7,
    "transactions": 8,
    "purchasing": 9, "reports": 9,
    "shell": 10,
}
# Folders of sources that stand on no floor: they may include from any floor.
NO_FLOOR = {"tests", "bench", "tools", "cmake", "docs"}
MODULES = {"netmail", "documents", "customers", "catalogue", "transactions", "purchasing", "reports"}
SOURCES = (".c", ".cpp", ".h", ".def", ".rc")
# '#include "folder/file"' and the language tables' '#define QL_LANG_DEF "folder/file.def"'.
INCLUDE = re.compile(r'^\s*#\s*(?:include|define\s+QL_LANG_DEF)\s+"([^"]+)"')
WINDOW_PROC = re.compile(r'^\s*(?:INT_PTR|LRESULT)\s+CALLBACK\s+\w+\s*\(', re.M)


def folder_files(root, folder):
    for dirpath, _dirs, files in os.walk(os.path.join(root, folder)):
        for name in sorted(files):
            if name.endswith(SOURCES):
                yield os.path.join(dirpath, name)


def is_window_header(root, target, cache={}):
    if target not in cache:
        try:
            with open(os.path.join(root, target), encoding="utf-8", errors="replace") as f:
                cache[target] = bool(WINDOW_PROC.search(f.read()))
        except OSError:
            cache[target] = False
    return cache[target]


def folders_without_floor(root):
    for name in sorted(os.listdir(root)):
        if name in FLOORS or name in NO_FLOOR or name.startswith((".", "build")):
            continue
        if os.path.isdir(os.path.join(root, name)) and any(folder_files(root, name)):
            yield name


def check(root):
    found = ["%s/ stands on no floor (tools/floors.py)" % name for name in folders_without_floor(root)]
    for folder in sorted(FLOORS, key=lambda name: (FLOORS[name], name)):
        for path in folder_files(root, folder):
            with open(path, encoding="utf-8", errors="replace") as f:
                lines = f.read().splitlines()
            for number, line in enumerate(lines, 1):
                match = INCLUDE.match(line)
                if not match or "/" not in match.group(1):
                    continue
                target = match.group(1)
                other = target.split("/", 1)[0]
                if other == folder or other not in FLOORS:
                    continue
                where = "%s:%d: %s" % (os.path.relpath(path, root), number, target)
                if FLOORS[other] > FLOORS[folder]:
                    found.append("%s goes up (floor %d to %d)" % (where, FLOORS[folder], FLOORS[other]))
                elif FLOORS[other] == FLOORS[folder]:
                    found.append("%s goes sideways (floor %d)" % (where, FLOORS[folder]))
                elif folder in MODULES and other in MODULES and is_window_header(root, target):
                    found.append("%s is another module's window header" % where)
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    missing = [name for name in FLOORS if not os.path.isdir(os.path.join(root, name))]
    if missing:
        print("floors: no folder %s in %s" % (", ".join(missing), root))
        return 2
    found = check(root)
    for line in found:
        print(line)
    if found:
        print("floors: %d finding(s): not every include goes down" % len(found))
        return 1
    print("floors: every include goes down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
