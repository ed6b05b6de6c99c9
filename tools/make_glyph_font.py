#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# make_glyph_font.py: builds data/Vivar01.TTF, the font that draws the ten stems and twelve
# branches on the letters a-v, as a subset of a CJK TrueType font shipped by Debian.
"""Build the glyph font Vivar01.TTF from a CJK TrueType font shipped by Debian.

The calculator draws the heavenly stems and earthly branches by writing the letters a-v in
the face "Vivar01": a-j carry the ten stems 甲乙丙丁戊己庚辛壬癸, k-v the twelve branches
子丑寅卯辰巳午未申酉戌亥. This script keeps only those 22 glyphs (plus .notdef and space)
of the source font, points the letters at them, renames the face and writes one TrueType
file. The same source always gives the same bytes, so the committed file can be checked by
running the script again.

Run it with Debian's interpreter, which finds the package python3-fonttools:

    /usr/bin/python3 tools/make_glyph_font.py [--source PATH [--number N]] [--out PATH]

(A python3 earlier on PATH, e.g. from pyenv, usually lacks fontTools.)
"""

import argparse
import os
import sys

try:
    from fontTools import subset
    from fontTools.ttLib import TTFont, newTable
    from fontTools.ttLib.tables._c_m_a_p import CmapSubtable
except ImportError:
    sys.exit("make_glyph_font.py: fontTools is missing; run it with /usr/bin/python3 "
             "after 'apt-get install python3-fonttools'")

DEFAULT_SOURCE = "/usr/share/fonts/truetype/arphic/ukai.ttc"
DEFAULT_NUMBER = 0
DEFAULT_OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "data",
                           "Vivar01.TTF")

STEMS = "甲乙丙丁戊己庚辛壬癸"
BRANCHES = "子丑寅卯辰巳午未申酉戌亥"
# Letter -> character: a..j the stems, k..v the branches, in their cycle order.
LETTER_MAP = {chr(ord("a") + i): ch for i, ch in enumerate(STEMS + BRANCHES)}

FAMILY = "Vivar01"

# The licence of the source asks for a notice of how and when the file was changed. The
# date is fixed here rather than taken from the clock so that every run writes the same
# bytes; it also goes into head.modified. Move it forward when the way the font is made
# changes.
CHANGE_DATE = "2026-12-07"
# Seconds from 1904-01-01 (the epoch of the head table) to CHANGE_DATE 00:00 UTC.
CHANGE_TIMESTAMP = 3879446400

# Tables that carry nothing the calculator needs: embedded bitmap strikes (the letters are
# drawn from outlines at any size), the layout tables of the full font (no feature of
# theirs applies to 22 isolated characters), FontForge's own time stamps and VORG, which
# belongs to CFF fonts only.
DROPPED_TABLES = ["EBDT", "EBLC", "EBSC", "bdat", "bloc", "CBDT", "CBLC", "sbix",
                  "GDEF", "GPOS", "GSUB", "FFTM", "VORG", "kern", "BASE", "JSTF", "DSIG",
                  "hdmx", "LTSH", "VDMX", "PCLT"]


def parse_args(argv):
    parser = argparse.ArgumentParser(
        prog="make_glyph_font.py",
        description="Build the glyph font Vivar01.TTF (letters a-v drawing the ten stems "
                    "and twelve branches) from a CJK TrueType font. Run it with "
                    "/usr/bin/python3, which has Debian's python3-fonttools.",
        epilog="Example: /usr/bin/python3 tools/make_glyph_font.py --source "
               "/usr/share/fonts/truetype/arphic/ukai.ttc --number 0 --out data/Vivar01.TTF")
    parser.add_argument("--source", default=DEFAULT_SOURCE,
                        help="TrueType font or collection to take the glyphs from "
                             "(default: %(default)s, package fonts-arphic-ukai)")
    parser.add_argument("--number", type=int, default=DEFAULT_NUMBER,
                        help="font number inside a collection (.ttc) (default: %(default)s)")
    parser.add_argument("--out", default=os.path.normpath(DEFAULT_OUT),
                        help="file to write (default: %(default)s)")
    return parser.parse_args(argv)


def load_source(path, number):
    if not os.path.isfile(path):
        sys.exit(f"make_glyph_font.py: no font file {path}")
    try:
        font = TTFont(path, fontNumber=number, lazy=False)
    except Exception as exc:  # fontTools raises several kinds for a bad file or number
        sys.exit(f"make_glyph_font.py: cannot read font {number} of {path}: {exc}")
    if "glyf" not in font:
        sys.exit(f"make_glyph_font.py: {path} has no TrueType outlines (glyf table)")
    cmap = font.getBestCmap()
    missing = [ch for ch in LETTER_MAP.values() if ord(ch) not in cmap]
    if missing:
        sys.exit(f"make_glyph_font.py: {path} lacks the characters {''.join(missing)}")
    return font


def subset_glyphs(font):
    options = subset.Options()
    options.notdef_glyph = True
    options.notdef_outline = True
    options.hinting = False
    options.layout_features = []
    options.drop_tables = sorted(set(options.drop_tables) | set(DROPPED_TABLES))
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.glyph_names = True
    options.prune_unicode_ranges = True
    subsetter = subset.Subsetter(options=options)
    subsetter.populate(unicodes=[ord(ch) for ch in LETTER_MAP.values()] + [0x20])
    subsetter.subset(font)


def keep_glyph_boxes(font):
    """Keep the source's glyph boxes so that every outline lands where the source draws it.

    The stored boxes of the source are a few units narrower than the points they enclose
    (they hold the extremes of the curves, not of the control points), and the side
    bearings match those stored boxes. Recomputing the boxes on saving, as fontTools does
    by default, would leave the bearings behind, and FreeType, which places an outline by
    lsb - xMin, would draw every glyph up to a dozen units to the right. So the glyph boxes stay
    as they are and only the font-wide figures derived from them are brought in line with
    the 24 glyphs left.
    """
    font.recalcBBoxes = False
    font["maxp"].recalc(font)  # also head's font box and its lsb == xMin flag
    font["hhea"].recalc(font)


def remap_cmap(font):
    """Point a-v at the stem and branch glyphs; the CJK code points stay as well."""
    source = font.getBestCmap()
    mapping = dict(source)
    for letter, ch in LETTER_MAP.items():
        mapping[ord(letter)] = source[ord(ch)]
    tables = []
    # Unicode BMP for the Unicode platform and for Windows; all code points lie in the BMP.
    for platform_id, encoding_id in ((0, 3), (3, 1)):
        table = CmapSubtable.newSubtable(4)
        table.platformID = platform_id
        table.platEncID = encoding_id
        table.language = 0
        table.cmap = dict(mapping)
        tables.append(table)
    cmap = newTable("cmap")
    cmap.tableVersion = 0
    cmap.tables = tables
    font["cmap"] = cmap


def rename(font, source_path, number):
    name = font["name"]
    version = name.getDebugName(5) or "Version 1.0"
    kept = {}
    for record in name.names:
        if record.nameID in (0, 7, 8, 9, 11, 12, 13, 14):
            kept.setdefault(record.nameID, record.toUnicode())
    source_family = name.getDebugName(1) or "the source font"
    description = (
        f"Vivar01 is a subset of {source_family} (AR PL UKai, Arphic Public License) made for "
        f"tolvane on {CHANGE_DATE} by tools/make_glyph_font.py from font {number} of "
        f"{os.path.basename(source_path)}: only the ten heavenly stems and twelve earthly "
        f"branches (plus .notdef and space) were kept, the letters a-j were mapped to "
        f"{STEMS} and k-v to {BRANCHES}, hinting and embedded bitmaps were removed and the "
        f"font was renamed.")
    entries = dict(kept)
    entries.update({
        1: FAMILY,
        2: "Regular",
        3: f"tolvane: {FAMILY} {version.strip()} subset of {source_family}",
        4: FAMILY,
        5: version.strip() + "; tolvane subset",
        6: FAMILY,
        10: description,
    })
    name.names = []
    for name_id in sorted(entries):
        # Windows English and Mac Roman records, as the source had. The description holds
        # the CJK characters, which Mac Roman cannot encode, so that one is Windows only.
        text = entries[name_id]
        name.setName(text, name_id, 3, 1, 0x409)
        try:
            text.encode("mac_roman")
        except UnicodeEncodeError:
            continue
        name.setName(text, name_id, 1, 0, 0)

    os2 = font["OS/2"]
    os2.usWeightClass = 400
    # Regular: neither italic nor bold, and the REGULAR bit set.
    os2.fsSelection = (os2.fsSelection & ~0b1100001) | 0b1000000
    os2.recalcUnicodeRanges(font)
    # The letters now live in Basic Latin, so the face serves the Latin-1 code page too.
    os2.ulCodePageRange1 |= 1
    font["head"].macStyle = 0


def fix_timestamps(font):
    head = font["head"]
    head.modified = CHANGE_TIMESTAMP
    # Saving would otherwise stamp the current time into head.modified.
    font.recalcTimestamp = False
    # created keeps the source's value, which is fixed by the source file.


def main(argv):
    args = parse_args(argv)
    font = load_source(args.source, args.number)
    subset_glyphs(font)
    keep_glyph_boxes(font)
    remap_cmap(font)
    rename(font, args.source, args.number)
    fix_timestamps(font)
    out_dir = os.path.dirname(os.path.abspath(args.out))
    os.makedirs(out_dir, exist_ok=True)
    tmp = args.out + ".tmp"
    font.save(tmp, reorderTables=True)
    os.replace(tmp, args.out)
    print(f"wrote {args.out} ({os.path.getsize(args.out)} bytes, "
          f"{len(font.getGlyphOrder())} glyphs)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
