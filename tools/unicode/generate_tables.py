#!/usr/bin/env python3
"""Writes database/unicode/UnicodeTables.cpp: the five Unicode 5.1 mapping tables of the
SQL text functions and the NOCASE collation, as three-level tables keyed by a UTF-16 unit.

Reads the Unicode character database as Debian's `unicode-data` installs it (UCD 15.0) and
keeps only characters assigned in Unicode 5.1 or earlier, by DerivedAge.txt; a mapping whose
target is newer is dropped. Usage:

    python3 tools/unicode/generate_tables.py [--ucd /usr/share/unicode] [--output FILE] [--stats]

Each table: a block index (one 16-bit block number per block of units, block 0 being the
identity block, equal blocks sharing one number), for every block number block-size + 1
8-bit offsets into that block's value list, and the value lists themselves. The mapping of
unit i of a block is values[offset[i] .. offset[i + 1]); the single value 0xFFFF means the
unit maps to itself.
"""

import argparse
import os
import sys

SELF = 0xFFFF
COMMAND = "python3 tools/unicode/generate_tables.py --output database/unicode/UnicodeTables.cpp"
NEWEST_VERSION = (5, 1)
# Ligatures the unaccent table spells out: the decomposition data has none for them.
SPELLED_OUT = {0x00C6: "AE", 0x00E6: "ae", 0x0152: "OE", 0x0153: "oe"}


def data_lines(path):
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                yield [field.strip() for field in line.split(";")]


def code_range(text):
    first, _, last = text.partition("..")
    return range(int(first, 16), int(last or first, 16) + 1)


class CharacterData:
    """The parts of the character database the tables need, filtered to Unicode 5.1."""

    def __init__(self, ucd):
        self.age = {}
        for fields in data_lines(os.path.join(ucd, "DerivedAge.txt")):
            version = tuple(int(part) for part in fields[1].split("."))
            for code in code_range(fields[0]):
                self.age[code] = version
        self.records = {}
        for line in open(os.path.join(ucd, "UnicodeData.txt"), encoding="utf-8"):
            fields = line.rstrip("\n").split(";")
            code = int(fields[0], 16)
            if self.assigned(code):
                self.records[code] = fields
        self.by_name = {fields[1]: code for code, fields in self.records.items()}
        self.folding = {}
        for fields in data_lines(os.path.join(ucd, "CaseFolding.txt")):
            if fields[1] in ("C", "S"):
                self.folding[int(fields[0], 16)] = int(fields[2], 16)

    def assigned(self, code):
        return code in self.age and self.age[code] <= NEWEST_VERSION

    def category(self, code):
        record = self.records.get(code)
        return record[2] if record else "Cn"

    def is_mark(self, code):
        return self.category(code).startswith("M")


def bmp_units(codes):
    """The UTF-16 units of `codes`, or None when one lies beyond 16 bits: the tables are
    keyed and valued by single units, and the comparison reduction takes a mapping's first
    unit, which for a surrogate pair would be half a character."""
    if any(code > 0xFFFF for code in codes):
        return None
    return list(codes)


def case_mapping(data, field, keep_self_for_titlecase=False):
    """Simple case mapping from UnicodeData.txt field 12 (upper), 13 (lower) or 14 (title,
    falling back to upper when empty)."""
    table = {}
    for code, record in data.records.items():
        if code > 0xFFFF:
            continue
        text = record[field] or (record[12] if field == 14 else "")
        if not text:
            continue
        target = int(text, 16)
        if target == code:
            # The titlecase digraphs (ǅ ǈ ǋ ǲ) carry their own title form as a stored value.
            if keep_self_for_titlecase and record[2] == "Lt":
                table[code] = [code]
            continue
        if data.assigned(target) and target <= 0xFFFF:
            table[code] = [target]
    return table


def fold_mapping(data):
    table = {}
    for code, target in data.folding.items():
        if code <= 0xFFFF and target <= 0xFFFF and target != code:
            if data.assigned(code) and data.assigned(target):
                table[code] = [target]
    return table


def unaccent_mapping(data):
    """Base forms without accents: a decomposition without its combining marks, each
    remaining character reduced again; else the character named before " WITH " in the
    name; Æ æ Œ œ spelled out; combining marks and everything else to themselves."""
    memo = {}

    def base_form(code):
        if code in memo:
            return memo[code]
        memo[code] = [code]  # guards against cycles; none exist in the data
        record = data.records.get(code)
        result = [code]
        if record is None or data.is_mark(code):
            pass
        elif code in SPELLED_OUT:
            result = [ord(ch) for ch in SPELLED_OUT[code]]
        elif record[5]:
            parts = [int(p, 16) for p in record[5].split() if not p.startswith("<")]
            remaining = [p for p in parts if not data.is_mark(p)]
            if remaining:
                result = [unit for part in remaining for unit in base_form(part)]
        elif " WITH " in record[1]:
            base = data.by_name.get(record[1].split(" WITH ", 1)[0])
            if base is not None:
                result = base_form(base)
        memo[code] = result
        return result

    table = {}
    for code in data.records:
        if code > 0xFFFF:
            continue
        units = bmp_units(base_form(code))
        if units is not None and units != [code]:
            table[code] = units
    return table


class ThreeLevelTable:
    def __init__(self, name, mapping, block_size):
        self.name = name
        self.block_size = block_size
        identity = tuple((SELF,) for _ in range(block_size))
        blocks = [identity]
        numbers = {identity: 0}
        self.index = []
        for start in range(0, 0x10000, block_size):
            block = tuple(tuple(mapping.get(start + i, [SELF])) for i in range(block_size))
            if block not in numbers:
                numbers[block] = len(blocks)
                blocks.append(block)
            self.index.append(numbers[block])
        self.offsets, self.value_start, self.values = [], [], []
        for block in blocks:
            self.value_start.append(len(self.values))
            offset = 0
            for entry in block:
                self.offsets.append(offset)
                offset += len(entry)
                self.values.extend(entry)
            if offset > 255:
                sys.exit(f"{name}: a block's value list exceeds 255 values")
            self.offsets.append(offset)
        if len(self.values) > 0xFFFF:
            sys.exit(f"{name}: value lists exceed 16-bit starts")
        self.block_count = len(blocks)
        self.changed = sum(1 for units in mapping.values() if units != [SELF])
        self.multi = sum(1 for units in mapping.values() if len(units) > 1)
        self.longest = max(len(units) for units in mapping.values())

    def byte_size(self):
        return 2 * len(self.index) + len(self.offsets) + 2 * len(self.value_start) + 2 * len(
            self.values)


QUICK_LIMIT = 0x800  # characters of one or two UTF-8 bytes


def quick_reduction(fold, unaccent):
    """The comparison reduction of every character below QUICK_LIMIT, precomputed: from 0x80
    on the first unit of the base form, then case folding."""
    reduced = []
    for code in range(QUICK_LIMIT):
        unit = unaccent[code][0] if code >= 0x80 and code in unaccent else code
        reduced.append(fold.get(unit, [unit])[0])
    return reduced


def c_array(ctype, name, values, per_line, width):
    lines = [f"const {ctype} {name}[{len(values)}] = {{"]
    for i in range(0, len(values), per_line):
        chunk = values[i:i + per_line]
        lines.append("    " + " ".join(f"0x{v:0{width}X}," for v in chunk))
    lines.append("};")
    return "\n".join(lines)


def render(tables, quick):
    out = [
        f"// Generated by tools/unicode/generate_tables.py; regenerate with: {COMMAND}",
        "// Unicode 5.1 mapping tables (block index, per-block offsets, value lists). Do not edit.",
        "",
        '#include "database/unicode/UnicodeTables.h"',
        "",
        "namespace DataBase::Unicode {",
        "",
        "namespace {",
        "",
    ]
    for t in tables:
        out.append(f"// {t.name}: block size {t.block_size}, {t.block_count} distinct blocks, "
                   f"{t.changed} changed units, {t.byte_size()} bytes.")
        out.append(c_array("std::uint16_t", f"k{t.name}Index", t.index, 12, 4))
        out.append(c_array("std::uint8_t", f"k{t.name}Offsets", t.offsets, 16, 2))
        out.append(c_array("std::uint16_t", f"k{t.name}ValueStart", t.value_start, 12, 4))
        out.append(c_array("std::uint16_t", f"k{t.name}Values", t.values, 12, 4))
        out.append("")
    out.append("}  // namespace")
    out.append("")
    out.append(f"// Reduction of the characters below 0x{QUICK_LIMIT:X}, derived from Fold and Unaccent.")
    out.append(c_array("std::uint16_t", "kQuickReduction", quick, 12, 4))
    out.append("")
    for t in tables:
        shift = t.block_size.bit_length() - 1
        out.append(f"const UnicodeTable k{t.name}Table{{k{t.name}Index, k{t.name}Offsets, "
                   f"k{t.name}ValueStart, k{t.name}Values, {shift}, {t.block_count}, "
                   f"{len(t.values)}}};")
    out.append("")
    out.append("}  // namespace DataBase::Unicode")
    return "\n".join(out) + "\n"


def build(ucd):
    data = CharacterData(ucd)
    fold, unaccent = fold_mapping(data), unaccent_mapping(data)
    tables = [
        ThreeLevelTable("Fold", fold, 32),
        ThreeLevelTable("Lower", case_mapping(data, 13), 32),
        ThreeLevelTable("Upper", case_mapping(data, 12), 64),
        ThreeLevelTable("Title", case_mapping(data, 14, keep_self_for_titlecase=True), 64),
        ThreeLevelTable("Unaccent", unaccent, 32),
    ]
    return tables, quick_reduction(fold, unaccent)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--ucd", default="/usr/share/unicode")
    parser.add_argument("--output", default="database/unicode/UnicodeTables.cpp")
    parser.add_argument("--stats", action="store_true", help="print counts and sizes")
    args = parser.parse_args()
    tables, quick = build(args.ucd)
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write(render(tables, quick))
    if args.stats:
        for t in tables:
            print(f"{t.name:9} changed {t.changed:5} multi {t.multi:5} longest {t.longest:3} "
                  f"blocks {t.block_count:4} values {len(t.values):6} bytes {t.byte_size():6}")
        print(f"total bytes {sum(t.byte_size() for t in tables)}, quick reduction {2 * len(quick)}")


if __name__ == "__main__":
    main()
