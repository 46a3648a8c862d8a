#!/usr/bin/env python3
"""Generate width_table_<version>.inc, the pages and page-pointer array of wcwidthtab.

    gen_width_table.py UCD_DIR OUTPUT
    gen_width_table.py wcwidth/gen/ucd-16.0.0 wcwidth/width_table_16.0.0.inc

Reads UnicodeData.txt and EastAsianWidth.txt from UCD_DIR, which is named
ucd-<Unicode version>, gives every code point U+0000..U+10FFFF its width
class (0 zero-width, 1 narrow, 2 wide, 3 ambiguous, 4 four-column), packs the
classes into 2176 pages of 256 bytes (two code points per byte, the even one
in the low nibble), stores each distinct page once and writes the C++ source
that wcwidth.cpp includes. The output depends only on the contents of the
two inputs, so the committed file can be checked by regenerating it. A
summary of the table goes to standard error.
"""

import re
import sys
from pathlib import Path

CODE_POINTS = 0x110000
BLOCK_SIZE = 512
BLOCK_COUNT = CODE_POINTS // BLOCK_SIZE
PAGE_SIZE = BLOCK_SIZE // 2

ZERO_WIDTH, NARROW, WIDE, AMBIGUOUS, FOUR_COLUMN = range(5)

# Unassigned code points in these ranges are W whatever the file lists.
DEFAULT_WIDE_RANGES = (
    (0x3400, 0x4DBF),
    (0x4E00, 0x9FFF),
    (0xF900, 0xFAFF),
    (0x20000, 0x2FFFD),
    (0x30000, 0x3FFFD),
)

# Code points whose class the 10.0.0 table fixes rather than derives: their
# properties moved in later Unicode versions, and that table keeps the widths
# that terminals settled on for them. On 10.0.0 data the fixed classes are
# the derived ones anyway; a table of a later version follows its own data.
FIXED_CLASSES_VERSION = "10.0.0"
FIXED_CLASSES = {
    0xA9BD: NARROW,
    0x111C9: NARROW,
    0x11A07: NARROW,
    0x11A08: NARROW,
    0x1F93B: WIDE,
    0x1F946: WIDE,
}

ZERO_WIDTH_CATEGORIES = {"Mn", "Me", "Cf"}
SOFT_HYPHEN = 0x00AD
C1_CONTROLS = range(0x80, 0xA0)
HANGUL_MEDIAL_FINAL_JAMO = range(0x1160, 0x1200)


def fail(path, line_number, message):
    sys.exit(f"{path}:{line_number}: {message}")


def data_lines(path):
    """Yields (line number, fields) for each non-comment line of a UCD file."""
    with open(path, encoding="utf-8") as stream:
        for number, raw in enumerate(stream, 1):
            text = raw.split("#", 1)[0].strip()
            if text:
                yield number, [field.strip() for field in text.split(";")]


def parse_code_point(path, number, text):
    try:
        value = int(text, 16)
    except ValueError:
        fail(path, number, f"bad code point {text!r}")
    if not 0 <= value < CODE_POINTS:
        fail(path, number, f"code point {text} out of range")
    return value


def read_general_categories(path):
    """General_Category of every code point; Cn where the file lists none."""
    categories = ["Cn"] * CODE_POINTS
    range_start = None
    for number, fields in data_lines(path):
        if len(fields) != 15:
            fail(path, number, f"expected 15 fields, found {len(fields)}")
        code_point = parse_code_point(path, number, fields[0])
        name, category = fields[1], fields[2]
        if name.endswith(", First>"):
            range_start = code_point
            continue
        if name.endswith(", Last>"):
            if range_start is None or range_start > code_point:
                fail(path, number, "range end without its start")
            categories[range_start : code_point + 1] = [category] * (code_point + 1 - range_start)
            range_start = None
            continue
        if range_start is not None:
            fail(path, number, "range start without its end")
        categories[code_point] = category
    return categories


def read_east_asian_widths(path, categories):
    """East_Asian_Width of every code point: as listed, assigned or not;
    unlisted ones N, except the unassigned ones of the default-wide ranges."""
    widths = [None] * CODE_POINTS
    for number, fields in data_lines(path):
        if len(fields) != 2 or fields[1] not in {"A", "F", "H", "N", "Na", "W"}:
            fail(path, number, "expected CODE;WIDTH or FIRST..LAST;WIDTH")
        first_text, _, last_text = fields[0].partition("..")
        first = parse_code_point(path, number, first_text)
        last = parse_code_point(path, number, last_text) if last_text else first
        if last < first:
            fail(path, number, "empty range")
        widths[first : last + 1] = [fields[1]] * (last + 1 - first)
    for first, last in DEFAULT_WIDE_RANGES:
        for code_point in range(first, last + 1):
            if widths[code_point] is None and categories[code_point] == "Cn":
                widths[code_point] = "W"
    return [width or "N" for width in widths]


def width_class(code_point, category, east_asian_width, fixed_classes):
    """The ordered rule: the first step that applies decides."""
    if code_point in C1_CONTROLS:
        return FOUR_COLUMN
    if code_point in fixed_classes:
        return fixed_classes[code_point]
    if category in ZERO_WIDTH_CATEGORIES and code_point != SOFT_HYPHEN:
        return ZERO_WIDTH
    if code_point in HANGUL_MEDIAL_FINAL_JAMO:
        return ZERO_WIDTH
    if east_asian_width in ("W", "F"):
        return WIDE
    if east_asian_width == "A":
        return AMBIGUOUS
    return NARROW


def pack_pages(classes):
    """One 256-byte page per block, even code point in the low nibble."""
    pages = []
    for block in range(BLOCK_COUNT):
        base = block * BLOCK_SIZE
        pages.append(
            bytes(classes[base + 2 * i] | classes[base + 2 * i + 1] << 4 for i in range(PAGE_SIZE))
        )
    return pages


def number_pages(pages):
    """Page number (0-based) of every block, numbered in order of first use."""
    numbers = {}
    block_pages = []
    for page in pages:
        block_pages.append(numbers.setdefault(page, len(numbers)))
    return block_pages, list(numbers)


def page_name(index):
    return f"Table_{index + 1:02d}"


def describe_page(index, block_pages):
    blocks = [block for block, page in enumerate(block_pages) if page == index]
    first = blocks[0] * BLOCK_SIZE
    if len(blocks) == 1:
        return f"U+{first:04X}..U+{first + BLOCK_SIZE - 1:04X}"
    return f"{len(blocks)} blocks, first U+{first:04X}..U+{first + BLOCK_SIZE - 1:04X}"


def render(block_pages, distinct_pages, input_names):
    out = [
        "// GENERATED FILE - do not edit by hand.\n",
        "// Written by wcwidth/gen/gen_width_table.py from\n",
    ]
    out += [f"//   wcwidth/gen/{name}\n" for name in input_names]
    out += [
        "// Regenerate with the wcwidth_regenerate_table target after changing either.\n",
        "//\n",
        "// Width classes of U+0000..U+10FFFF: 2176 blocks of 512 code points, one\n",
        "// 256-byte page per block, the even code point of each pair in the low\n",
        "// nibble. Blocks with equal contents share one page.\n",
        "\n",
        '#include "wcwidthtab.h"\n',
        "\n",
        "namespace {\n",
    ]
    for index, page in enumerate(distinct_pages):
        out.append(f"\n// {describe_page(index, block_pages)}\n")
        out.append(f"alignas(64) constexpr unsigned char {page_name(index)}[KVWC_PAGE_SIZE] = {{\n")
        for row in range(0, PAGE_SIZE, 16):
            out.append("    " + " ".join(f"0x{b:02x}," for b in page[row : row + 16]) + "\n")
        out.append("};\n")
    out += [
        "\n",
        "} // namespace\n",
        "\n",
        "// Entry k serves U+(k*512)..U+(k*512+511); each line covers 4096 code points.\n",
        "extern \"C\" {\n",
        "constinit const unsigned char* _pKVwc_Width_Table[KVWC_BLOCK_COUNT] = {\n",
    ]
    for block in range(0, BLOCK_COUNT, 8):
        names = " ".join(f"{page_name(p)}," for p in block_pages[block : block + 8])
        out.append(f"    /* U+{block * BLOCK_SIZE:06X} */ {names}\n")
    out.append("};\n")
    out.append("} // extern \"C\"\n")
    return "".join(out)


def summarise(classes, block_pages, distinct_pages):
    counts = [classes.count(c) for c in range(5)]
    runs = 1 + sum(1 for a, b in zip(classes, classes[1:]) if a != b)
    usage = sorted((block_pages.count(p) for p in range(len(distinct_pages))), reverse=True)
    print(f"classes 0..4: {counts}", file=sys.stderr)
    print(f"runs: {runs}", file=sys.stderr)
    print(f"distinct pages: {len(distinct_pages)}, usage {usage[:6]}...", file=sys.stderr)


def unicode_version(ucd_dir):
    """The version that the directory name ucd-X.Y.Z gives."""
    match = re.fullmatch(r"ucd-(\d+\.\d+\.\d+)", ucd_dir.resolve().name)
    if match is None:
        sys.exit(f"{ucd_dir}: expected a directory named ucd-<major.minor.update>")
    return match.group(1)


def read_classes(ucd_dir):
    """(General_Category list, width class list) of every code point."""
    version = unicode_version(ucd_dir)
    fixed_classes = FIXED_CLASSES if version == FIXED_CLASSES_VERSION else {}
    categories = read_general_categories(ucd_dir / "UnicodeData.txt")
    widths = read_east_asian_widths(ucd_dir / "EastAsianWidth.txt", categories)
    classes = [
        width_class(cp, categories[cp], widths[cp], fixed_classes) for cp in range(CODE_POINTS)
    ]
    return categories, classes


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    ucd_dir, output = Path(argv[1]), Path(argv[2])
    _, classes = read_classes(ucd_dir)
    unicode_data = ucd_dir / "UnicodeData.txt"
    east_asian_width = ucd_dir / "EastAsianWidth.txt"
    block_pages, distinct_pages = number_pages(pack_pages(classes))
    # Inputs are named by their directory and file name only, so the output
    # does not depend on where the tree is checked out.
    input_names = [f"{p.resolve().parent.name}/{p.name}" for p in (unicode_data, east_asian_width)]
    text = render(block_pages, distinct_pages, input_names)
    output.write_text(text, encoding="ascii", newline="\n")
    summarise(classes, block_pages, distinct_pages)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
