#!/usr/bin/env python3
"""Turns a software list of Atari 2600 cartridges (XML) into Vald2600's
compiled-in catalogue table.

Usage: make_catalogue.py SOFTWARE_LIST.xml OUTPUT.cpp

Every cartridge image of 1,024 to 132,096 bytes becomes one entry
"crc name", where the name reads
    Title (Year) (Publisher) (other groups) [tags]
and contains nothing a file name cannot hold. Entries are sorted by name
without regard to case; names that still collide get [a1], [a2], ...
"""

import re
import sys
import xml.etree.ElementTree as ElementTree

MIN_IMAGE_SIZE = 1024
MAX_IMAGE_SIZE = 132096

# Order matters: ": " before ":", " / " before "/".
REPLACEMENTS = [(": ", " - "), (":", "-"), (" / ", " - "), ("/", "-"),
                ('"', "'"), ("|", "-"), ("\\", "-")]
REMOVED = "?*<>"


def clean(text):
    """Makes a text safe inside a file name and tidies its blanks."""
    for old, new in REPLACEMENTS:
        text = text.replace(old, new)
    for character in REMOVED:
        text = text.replace(character, "")
    return re.sub(r"\s+", " ", text).strip()


def split_trailing_groups(description):
    """Splits 'Title (a) (b)' into ('Title', ['a', 'b'])."""
    groups = []
    text = description.rstrip()
    while text.endswith(")"):
        depth = 0
        for position in range(len(text) - 1, -1, -1):
            if text[position] == ")":
                depth += 1
            elif text[position] == "(":
                depth -= 1
                if depth == 0:
                    break
        else:
            break  # unbalanced: the rest is title
        groups.insert(0, text[position + 1:-1])
        text = text[:position].rstrip()
    return text, groups


def year_group(year):
    year = (year or "").strip().replace("?", "x")
    if len(year) == 4:
        return "(%s)" % year
    if len(year) == 5 and year.endswith("x"):
        return "(%s)" % year[:4]
    return None


def publisher_group(publisher):
    publisher = (publisher or "").strip()
    if not publisher or publisher == "<unknown>":
        return None
    publisher = clean(publisher)
    return "(%s)" % publisher if publisher else None


def entry_name(software, bad_dump):
    title, groups = split_trailing_groups(software.findtext("description", ""))
    parts = [clean(title)]
    tags = []
    year = year_group(software.findtext("year"))
    if year:
        parts.append(year)
    publisher = publisher_group(software.findtext("publisher"))
    if publisher:
        parts.append(publisher)
    for group in groups:
        items = []
        for item in group.split(","):
            item = clean(item)
            if item.lower() == "alt":
                tags.append("[a]")
            elif item:
                items.append(item)
        if items:
            parts.append("(%s)" % ", ".join(items))
    if bad_dump:
        tags.append("[b]")
    return " ".join(parts + tags)


def read_entries(path):
    entries = []
    for software in ElementTree.parse(path).getroot().iter("software"):
        for rom in software.iter("rom"):
            size = int(rom.get("size", "0"), 0)
            if not MIN_IMAGE_SIZE <= size <= MAX_IMAGE_SIZE or not rom.get("crc"):
                continue
            crc = rom.get("crc").lower()
            bad_dump = rom.get("status") == "baddump"
            entries.append((crc, entry_name(software, bad_dump)))
    return entries


def number_collisions(entries):
    """Sorts by name and tells equal names apart with [a1], [a2], ..."""
    entries.sort(key=lambda entry: (entry[1].lower(), entry[1].encode()))
    counts = {}
    for _, name in entries:
        counts[name] = counts.get(name, 0) + 1
    seen = {}
    numbered = []
    for crc, name in entries:
        if counts[name] > 1:
            seen[name] = seen.get(name, 0) + 1
            name = "%s [a%d]" % (name, seen[name])
        numbered.append((crc, name))
    return numbered


def c_string(text):
    escaped = text.replace("\\", "\\\\").replace('"', '\\"')
    return '"%s"' % escaped


def write_table(entries, output, command_line):
    lines = [
        "// Generated file: do not edit. Made by",
        "//   %s" % command_line,
        "// from a CC0 software list of Atari 2600 cartridges.",
        "",
        '#include "catalogue/rom_table.h"',
        "",
        "#include <iterator>",
        "",
        "const char* const ROM_TABLE[] = {",
    ]
    lines += ["    %s," % c_string("%s %s" % entry) for entry in entries]
    lines += [
        "};",
        "",
        "const int ROM_TABLE_COUNT = static_cast<int>(std::size(ROM_TABLE));",
        "",
    ]
    with open(output, "w", encoding="utf-8", newline="\n") as handle:
        handle.write("\n".join(lines))


def main(arguments):
    if len(arguments) != 3:
        sys.stderr.write(__doc__)
        return 2
    entries = number_collisions(read_entries(arguments[1]))
    crcs = [crc for crc, _ in entries]
    if len(set(crcs)) != len(crcs):
        sys.stderr.write("make_catalogue: the list holds a CRC twice\n")
        return 1
    write_table(entries, arguments[2],
                "tools/make_catalogue.py <software list> audit/catalogue/rom_table.cpp")
    print("%d entries written to %s" % (len(entries), arguments[2]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
