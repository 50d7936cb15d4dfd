#!/usr/bin/env python3
"""Fails when a folder includes a header of a folder above it (or of a neighbour on its level).

Includes and links point down only: the program's top above the subsystem folders, they above
src/core, it above the shared libraries, db/ and platform/. A header is found by its file name in
the project's folders, as the compiler finds it through the targets' include folders.
"""
import os
import re
import sys

# Folder -> level. A folder may include headers of its own and of lower levels only.
LEVELS = {
    'platform': 0, 'lom': 0, 'lib/zip': 0,
    'db': 1, 'shared/misc': 1, 'udf': 1,
    'dialogs': 2, 'shared/preview': 2, 'shared/dxgrid': 2,
    'shared/vcldb': 3,
    'src/core': 4,
    'src/lists': 5,
    'src/herd': 6,
    'src/design': 7, 'src/statistics': 7, 'src/exchange': 7,
    'app': 8,
}
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', re.MULTILINE)


def main(top):
    owner = {}
    for folder in LEVELS:
        path = os.path.join(top, folder)
        for name in os.listdir(path) if os.path.isdir(path) else []:
            if name.endswith('.h'):
                owner.setdefault(name, []).append(folder)
    faults = []
    for folder, level in LEVELS.items():
        path = os.path.join(top, folder)
        for name in sorted(os.listdir(path)) if os.path.isdir(path) else []:
            if not name.endswith(('.h', '.cpp')):
                continue
            with open(os.path.join(path, name), encoding='utf-8', errors='replace') as f:
                text = f.read()
            for header in INCLUDE.findall(text):
                homes = owner.get(os.path.basename(header), [])
                if folder in homes:
                    continue
                for home in homes:
                    if LEVELS[home] >= level:
                        faults.append(f'{folder}/{name} includes {header} of {home}')
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..')))
