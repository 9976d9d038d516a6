#!/usr/bin/env python3
"""Fails when a file includes one from a higher layer of src/ (or one of no layer at all)."""
import pathlib
import re
import sys

# From the bottom up; a folder belongs to the first prefix it starts with.
LAYERS = [
    ("base",),
    ("platform",),
    ("codemodel", "conversion", "timing"),
    ("sources",),
    ("modhtml",),
    ("window",),
    ("addin", "cli"),
    ("programs",),
]


def layer_of(path):
    for rank, folders in enumerate(LAYERS):
        if any(path == f or path.startswith(f + "/") for f in folders):
            return rank
    return None


def main(src):
    include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
    faults = []
    for file in sorted(src.rglob("*")):
        if file.suffix not in (".h", ".cpp", ".rc") or not file.is_file():
            continue
        name = file.relative_to(src).as_posix()
        own = layer_of(name)
        if own is None:
            faults.append(f"{name}: in no layer")
            continue
        for included in include.findall(file.read_text(errors="replace")):
            if "/" not in included:
                continue  # beside the file, or generated
            other = layer_of(included)
            if other is None and (src / included).exists():
                faults.append(f"{name}: includes {included}, in no layer")
            elif other is not None and other > own:
                faults.append(f"{name}: includes {included} from a higher layer")
    print("\n".join(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1])))
