#!/usr/bin/env python3
"""List the code points whose width class differs between two Unicode versions.

    compare_versions.py OLD_UCD_DIR NEW_UCD_DIR [--summary]
    compare_versions.py wcwidth/gen/ucd-10.0.0 wcwidth/gen/ucd-16.0.0

Derives both tables with gen_width_table.py's rule and prints one line per
range of consecutive code points that changed the same way:

    U+1F970..U+1F970  1 -> 2  assigned  SMILING FACE WITH SMILING EYES AND THREE HEARTS

with the old and the new class (0 zero-width, 1 narrow, 2 wide, 3 ambiguous,
4 four-column), why it changed (`assigned`: unassigned in the old version;
`property`: assigned in both, its General_Category or East_Asian_Width moved,
as for the six code points whose class the 10.0.0 table fixes) and the names of the first and last code point. Then a summary: code points per
kind of change, with a few examples each. With --summary only the summary.
"""

import argparse
import sys
from collections import Counter, defaultdict
from pathlib import Path

import gen_width_table as gen

CLASS_NAMES = ("zero-width", "narrow", "wide", "ambiguous", "four-column")
EXAMPLES_PER_KIND = 3


def read_names(path):
    """Character name of every assigned code point; ranges by their label."""
    names = {}
    range_start = None
    for _, fields in gen.data_lines(path):
        code_point, name = int(fields[0], 16), fields[1]
        if name.endswith(", First>"):
            range_start = code_point
        elif name.endswith(", Last>"):
            label = name[1 : -len(", Last>")]
            for c in range(range_start, code_point + 1):
                names[c] = label
        else:
            names[code_point] = name
    return names


def changed_ranges(old, new):
    """(first, last, old class, new class, reason) of each maximal range."""
    (old_categories, old_classes), (_, new_classes) = old, new
    ranges = []
    for cp in range(gen.CODE_POINTS):
        if old_classes[cp] == new_classes[cp]:
            continue
        why = "assigned" if old_categories[cp] == "Cn" else "property"
        key = (old_classes[cp], new_classes[cp], why)
        if ranges and ranges[-1][1] == cp - 1 and tuple(ranges[-1][2:]) == key:
            ranges[-1][1] = cp
        else:
            ranges.append([cp, cp, *key])
    return ranges


def describe(first, last, names):
    first_name = names.get(first, "<unassigned>")
    if first == last:
        return f"U+{first:04X}", first_name
    last_name = names.get(last, "<unassigned>")
    label = first_name if first_name == last_name else f"{first_name} .. {last_name}"
    return f"U+{first:04X}..U+{last:04X}", label


def print_summary(ranges, names, old_version, new_version):
    """Code points per kind of change; the largest ranges as examples."""
    counts = Counter()
    ranges_of = defaultdict(list)
    for first, last, old_class, new_class, why in ranges:
        kind = (old_class, new_class, why)
        counts[kind] += last - first + 1
        ranges_of[kind].append((first, last))
    examples = {}
    for kind, spans in ranges_of.items():
        largest = sorted(spans, key=lambda span: span[0] - span[1])[:EXAMPLES_PER_KIND]
        examples[kind] = [" ".join(describe(first, last, names)) for first, last in sorted(largest)]
    print(f"\nClass changes from {old_version} to {new_version}:")
    print("| Change | Why | Code points | Examples |")
    print("|---|---|---:|---|")
    for kind in sorted(counts, key=lambda k: -counts[k]):
        old_class, new_class, why = kind
        change = f"{CLASS_NAMES[old_class]} → {CLASS_NAMES[new_class]}"
        print(f"| {change} | {why} | {counts[kind]:,} | {'; '.join(examples[kind])} |")
    print(f"| all | | {sum(counts.values()):,} | |")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("old", type=Path, help="UCD directory of the older version")
    parser.add_argument("new", type=Path, help="UCD directory of the newer version")
    parser.add_argument("--summary", action="store_true", help="print only the summary")
    args = parser.parse_args()

    old_version, new_version = gen.unicode_version(args.old), gen.unicode_version(args.new)
    ranges = changed_ranges(gen.read_classes(args.old), gen.read_classes(args.new))
    names = read_names(args.old / "UnicodeData.txt")
    names.update(read_names(args.new / "UnicodeData.txt"))
    if not args.summary:
        for first, last, old_class, new_class, why in ranges:
            span, label = describe(first, last, names)
            print(f"{span:<18} {old_class} -> {new_class}  {why:<8}  {label}")
    print_summary(ranges, names, old_version, new_version)
    return 0


if __name__ == "__main__":
    sys.exit(main())
