#!/usr/bin/env python3
"""Writes src/platform/upcase_table.h: the simple uppercase mapping of every UTF-16 code unit
that has one, from Python's Unicode database, as runs of letters that map by the same offset.

    python3 scripts/make-upcase-table.py |
        clang-format --assume-filename=src/platform/upcase_table.h > src/platform/upcase_table.h

A FAT volume on Windows folds a long name one UTF-16 unit at a time by its simple uppercase
mapping, so characters beyond the first plane are never folded. The table keeps the mappings
that do not map back (dotless i, final sigma, micro sign, long s...) as well: two names that
one of them joins are refused even where a volume might hold them apart.
"""
import sys
import unicodedata


def simple_upper(c):
    ch = chr(c)
    up = ch.upper()
    if len(up) == 1:
        return ord(up)
    # Where the full mapping takes two letters, the simple one is the title-case letter when
    # that is one letter (the Greek letters with iota below), and none otherwise (sharp s).
    title = ch.title()
    return ord(title) if len(title) == 1 else c


def mappings():
    out = []
    for c in range(0x10000):
        if 0xD800 <= c < 0xE000:
            continue
        u = simple_upper(c)
        if u != c and u < 0x10000:
            out.append((c, u))
    return out


def runs(pairs):
    """(first, last, offset, stride): every stride-th unit from first to last maps by offset."""
    result = []
    i = 0
    while i < len(pairs):
        first, up = pairs[i]
        offset = up - first
        best = (first, first, offset, 1)
        for stride in (1, 2):
            last, j = first, i + 1
            while j < len(pairs) and pairs[j][0] == last + stride and pairs[j][1] - pairs[j][0] == offset:
                last, j = pairs[j][0], j + 1
            if last > best[1]:
                best = (first, last, offset, stride)
        result.append(best)
        i += (best[1] - best[0]) // best[3] + 1
    return result


def main():
    table = runs(mappings())
    w = sys.stdout.write
    w("// Made by scripts/make-upcase-table.py from the Unicode %s database; do not edit.\n"
      % unicodedata.unidata_version)
    w("// Runs of UTF-16 units with a simple uppercase mapping: every stride-th unit from first\n")
    w("// to last maps to itself plus offset.\n")
    w("#pragma once\n\n#include <array>\n#include <cstdint>\n\nnamespace platform::upcase {\n\n")
    w("struct Run {\n    char16_t first, last;\n    int32_t offset;\n    uint8_t stride;\n};\n\n")
    w("inline constexpr std::array<Run, %d> runs{{\n" % len(table))
    for first, last, offset, stride in table:
        w("    {0x%04X, 0x%04X, %d, %d},\n" % (first, last, offset, stride))
    w("}};\n\n}  // namespace platform::upcase\n")


if __name__ == "__main__":
    main()
