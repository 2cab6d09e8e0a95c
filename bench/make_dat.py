#!/usr/bin/env python3
"""Writes a generated DAT for the benchmarks.

    make_dat.py FORMAT COUNT OUTPUT      FORMAT: clrmamepro, logiqx or softwarelist

COUNT entries of 4 KiB images. The first 10,000 have the CRC-32s of the
bench collection (make_sample_image --many: 0x5a000000 + n), the rest other
CRC-32s, all different. Names hold a ':' and a '/' now and then, as real
ones do.
"""

import sys

BENCH_FIRST_CRC = 0x5A000000
BENCH_COUNT = 10000


def crcs(count):
    value = 12345
    for index in range(count):
        if index < BENCH_COUNT:
            yield BENCH_FIRST_CRC + index
            continue
        while True:  # an LCG over 32 bits visits every value once
            value = (value * 1664525 + 1013904223) & 0xFFFFFFFF
            if not BENCH_FIRST_CRC <= value < BENCH_FIRST_CRC + BENCH_COUNT:
                break
        yield value


def name(index):
    extra = ": The Sequel" if index % 7 == 0 else ""
    region = "Europe/USA" if index % 5 == 0 else "USA"
    return "Game %06d%s (%s) (Rev %d)" % (index, extra, region, index % 3)


def hashes(index):
    return "%032x" % (index * 2654435761), "%040x" % (index * 40503)


def write_clrmamepro(out, count):
    out.write('clrmamepro (\n\tname "Bench"\n\tdescription "Bench"\n)\n\n')
    for index, crc in enumerate(crcs(count)):
        md5, sha1 = hashes(index)
        out.write('game (\n\tname "%s"\n\tdescription "%s"\n\trom ( name "%s.a26" size 4096 '
                  "crc %08X md5 %s sha1 %s )\n)\n\n" % (name(index), name(index), name(index),
                                                        crc, md5, sha1))


def write_logiqx(out, count):
    out.write('<?xml version="1.0"?>\n<datafile>\n\t<header>\n\t\t<name>Bench</name>\n'
              "\t</header>\n")
    for index, crc in enumerate(crcs(count)):
        md5, sha1 = hashes(index)
        out.write('\t<game name="%s">\n\t\t<description>%s</description>\n\t\t<rom name="%s.a26" '
                  'size="4096" crc="%08x" md5="%s" sha1="%s"/>\n\t</game>\n'
                  % (name(index), name(index), name(index), crc, md5, sha1))
    out.write("</datafile>\n")


def write_softwarelist(out, count):
    out.write('<?xml version="1.0"?>\n<softwarelist name="a2600" description="Bench">\n')
    for index, crc in enumerate(crcs(count)):
        _, sha1 = hashes(index)
        out.write('\t<software name="g%06d">\n\t\t<description>%s</description>\n'
                  "\t\t<year>198%d</year>\n\t\t<publisher>Maker %d</publisher>\n"
                  '\t\t<part name="cart" interface="a2600_cart">\n'
                  '\t\t\t<dataarea name="rom" size="4096">\n'
                  '\t\t\t\t<rom name="g.bin" size="4096" crc="%08x" sha1="%s"/>\n'
                  "\t\t\t</dataarea>\n\t\t</part>\n\t</software>\n"
                  % (index, name(index), index % 10, index % 50, crc, sha1))
    out.write("</softwarelist>\n")


def main(arguments):
    writers = {"clrmamepro": write_clrmamepro, "logiqx": write_logiqx,
               "softwarelist": write_softwarelist}
    if len(arguments) != 4 or arguments[1] not in writers:
        sys.exit(__doc__)
    with open(arguments[3], "w", encoding="utf-8") as out:
        writers[arguments[1]](out, int(arguments[2]))


if __name__ == "__main__":
    main(sys.argv)
