#!/usr/bin/env python3
"""Generate the text library's property table from the grapheme cluster data.

Reads GraphemeBreakProperty.txt, IndicConjunctBreak.txt and emoji-data.txt
(written by import_segmentation.py) and writes one property byte for each
code point U+0000..U+10FFFF, in a two-stage table: a block index per 128 code
points and the distinct 128-byte blocks.

The byte holds two fields; wcwidth/text/text_properties.hpp reads them with
the same numbers:

  bits 0-4  break class: the Grapheme_Cluster_Break value, with the
            Indic_Conjunct_Break value folded in (the data never gives InCB
            to any other combination than those listed below)
  bits 5-7  emoji kind: Extended_Pictographic and the emoji properties the
            width of a cluster depends on

    gen_text_properties.py wcwidth/gen/ucd-16.0.0 wcwidth/text/text_properties.inc
"""

import sys
from pathlib import Path

CODE_POINTS = 0x110000
BLOCK_SHIFT = 7
BLOCK_SIZE = 1 << BLOCK_SHIFT

# (Grapheme_Cluster_Break, Indic_Conjunct_Break) -> break class. The four
# Extend-like classes are 12..15 so that one mask tests for all of them.
BREAK_CLASSES = {
    ("Other", "None"): 0,
    ("CR", "None"): 1,
    ("LF", "None"): 2,
    ("Control", "None"): 3,
    ("Prepend", "None"): 4,
    ("SpacingMark", "None"): 5,
    ("L", "None"): 6,
    ("V", "None"): 7,
    ("T", "None"): 8,
    ("LV", "None"): 9,
    ("LVT", "None"): 10,
    ("Regional_Indicator", "None"): 11,
    ("Extend", "None"): 12,
    ("Extend", "Extend"): 13,
    ("Extend", "Linker"): 14,
    ("ZWJ", "Extend"): 15,
    ("Other", "Consonant"): 16,
}

# (Extended_Pictographic, Emoji, Emoji_Presentation, Emoji_Modifier_Base)
# -> emoji kind. Emoji_Modifier is not a field of its own: the modifiers are
# the only Extend code points with the Emoji property.
EMOJI_KINDS = {
    (False, False, False, False): 0,
    (True, False, False, False): 1,
    (True, True, False, False): 2,
    (True, True, True, False): 3,
    (True, True, False, True): 4,
    (True, True, True, True): 5,
    (False, True, False, False): 6,
    (False, True, True, False): 7,
}
EMOJI_SHIFT = 5


def fail(path, number, message):
    sys.exit(f"{path}:{number}: {message}")


def data_lines(path: Path):
    """(line number, range, value) of each data line."""
    for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        parts = [part.strip() for part in line.split(";")]
        if len(parts) != 2:
            fail(path, number, f"expected 'range;value', got {raw!r}")
        span = parts[0].split("..")
        try:
            first, last = int(span[0], 16), int(span[-1], 16)
        except ValueError:
            fail(path, number, f"bad code point range {parts[0]!r}")
        if len(span) > 2 or first > last or last >= CODE_POINTS:
            fail(path, number, f"bad code point range {parts[0]!r}")
        yield number, range(first, last + 1), parts[1]


def read_values(path: Path, default: str) -> list:
    values = [default] * CODE_POINTS
    for number, span, value in data_lines(path):
        for code_point in span:
            if values[code_point] != default:
                fail(path, number, f"U+{code_point:04X} listed twice")
            values[code_point] = value
    return values


def read_emoji(path: Path) -> dict:
    sets = {}
    for _, span, value in data_lines(path):
        sets.setdefault(value, set()).update(span)
    return sets


def properties(ucd_dir: Path) -> list:
    breaks = read_values(ucd_dir / "GraphemeBreakProperty.txt", "Other")
    conjuncts = read_values(ucd_dir / "IndicConjunctBreak.txt", "None")
    emoji = read_emoji(ucd_dir / "emoji-data.txt")
    pictographic = emoji["Extended_Pictographic"]
    is_emoji = emoji["Emoji"]
    presentation = emoji["Emoji_Presentation"]
    modifier_base = emoji["Emoji_Modifier_Base"]
    modifiers = emoji["Emoji_Modifier"]

    values = []
    for code_point in range(CODE_POINTS):
        pair = (breaks[code_point], conjuncts[code_point])
        kind_key = (
            code_point in pictographic,
            code_point in is_emoji,
            code_point in presentation,
            code_point in modifier_base,
        )
        if pair not in BREAK_CLASSES:
            sys.exit(f"U+{code_point:04X}: no break class for {pair}")
        if kind_key not in EMOJI_KINDS:
            sys.exit(f"U+{code_point:04X}: no emoji kind for {kind_key}")
        is_modifier = breaks[code_point] == "Extend" and code_point in is_emoji
        if is_modifier != (code_point in modifiers):
            sys.exit(f"U+{code_point:04X}: the modifiers are no longer the Extend emoji")
        values.append(BREAK_CLASSES[pair] | EMOJI_KINDS[kind_key] << EMOJI_SHIFT)
    return values


def render(values: list, inputs: list) -> str:
    blocks, index = [], []
    seen = {}
    for start in range(0, CODE_POINTS, BLOCK_SIZE):
        block = bytes(values[start : start + BLOCK_SIZE])
        if block not in seen:
            seen[block] = len(blocks)
            blocks.append(block)
        index.append(seen[block])
    if len(blocks) > 256:
        sys.exit(f"{len(blocks)} distinct blocks do not fit a byte index")

    out = [
        "// GENERATED FILE - do not edit by hand.\n",
        "// Written by wcwidth/gen/gen_text_properties.py from\n",
    ]
    out += [f"//   {name}\n" for name in inputs]
    out += [
        "// Regenerate with the wcwidth_regenerate_text_properties target.\n",
        "//\n",
        "// One property byte per code point U+0000..U+10FFFF (break class in bits\n",
        "// 0-4, emoji kind in bits 5-7; see text_properties.hpp): Property_Index\n",
        f"// names the block of each {BLOCK_SIZE} code points, Property_Blocks holds the\n",
        f"// {len(blocks)} distinct blocks.\n",
        "\n",
        f"alignas(64) constexpr unsigned char Property_Blocks[{len(blocks)}][{BLOCK_SIZE}] = {{\n",
    ]
    for block in blocks:
        out.append("    {\n")
        for row in range(0, BLOCK_SIZE, 16):
            out.append("        " + ", ".join(f"0x{b:02X}" for b in block[row : row + 16]) + ",\n")
        out.append("    },\n")
    out.append("};\n\n")
    out.append(f"constexpr unsigned char Property_Index[{len(index)}] = {{\n")
    for row in range(0, len(index), 16):
        out.append("    " + ", ".join(f"{i:3d}" for i in index[row : row + 16]) + ",\n")
    out.append("};\n")
    return "".join(out)


def main(argv: list) -> int:
    if len(argv) != 3:
        sys.exit(f"usage: {argv[0]} UCD_DIR OUTPUT")
    ucd_dir, output = Path(argv[1]), Path(argv[2])
    values = properties(ucd_dir)
    names = ["GraphemeBreakProperty.txt", "IndicConjunctBreak.txt", "emoji-data.txt"]
    inputs = [f"wcwidth/gen/{ucd_dir.name}/{name}" for name in names]
    output.write_text(render(values, inputs), encoding="ascii", newline="\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
