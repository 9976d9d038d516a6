#!/usr/bin/env python3
"""Writes src/cli/site/CaseKeyTable.inc: for every character that has another case form, the
character standing for all of its forms (the lowest code point among them). The forms are
joined through Unicode's one-character lower-case, upper-case and case-folding mappings, as
Python's own Unicode data gives them, so that "Ä", "ä" and "K", "k", "K" (Kelvin) each share
one.

usage: scripts/case_key_table.py > src/cli/site/CaseKeyTable.inc
"""
import sys
import unicodedata

LAST = 0x10FFFF


def representatives():
    parent = list(range(LAST + 1))

    def root(c):
        while parent[c] != c:
            parent[c] = parent[parent[c]]
            c = parent[c]
        return c

    for c in range(LAST + 1):
        if 0xD800 <= c <= 0xDFFF:
            continue
        for form in (chr(c).lower(), chr(c).upper(), chr(c).casefold()):
            if len(form) == 1:
                a, b = root(c), root(ord(form))
                parent[max(a, b)] = min(a, b)
    return [(c, root(c)) for c in range(LAST + 1) if root(c) != c]


def runs(pairs):
    """Characters in steps of 1 or 2 whose representative lies the same distance away."""
    found = []
    for c, r in pairs:
        if found:
            first, count, step, delta = found[-1]
            last = first + (count - 1) * step
            if delta == r - c and (c - last == step or (count == 1 and c - last == 2)):
                found[-1] = (first, count + 1, c - last, delta)
                continue
        found.append((c, 1, 1, r - c))
    return found


def main():
    table = runs(representatives())
    print(f"// Made by scripts/case_key_table.py from Unicode {unicodedata.unidata_version}; do not edit.")
    print("// {first character, characters, step between them, distance to their representative}")
    line = ""
    for first, count, step, delta in table:
        entry = f"{{0x{first:04X}, {count}, {step}, {delta}}},"
        if len(line) + len(entry) + 1 > 110:
            print(line.rstrip())
            line = ""
        line += entry + " "
    print(line.rstrip())


if __name__ == "__main__":
    sys.exit(main())
