#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes a plain-text note of about SIZE megabytes (10^6 bytes, UTF-8, LF): lines of 5 to 18
# German words, the same text for the same arguments. With --paragraph the words run on
# without a line break, one paragraph of that size.
# Usage: bench/notes_text.py SIZE_MB OUT [--paragraph]
import random
import sys

WORDS = """Termin Notiz Büro Straße Grüße Ärger Übung schön müde früh spät heute morgen
gestern Abend Mittag Woche Monat Jahr Wetter Regen Sonne Wolken Garten Blumen Küche
Einkauf Brot Käse Milch Äpfel Birnen Zucker Mehl Butter Kaffee Tee Wasser Zeitung Brief
Rechnung Miete Arbeit Kollege Kollegin Besprechung Bericht Vertrag Kunde Angebot Frist
Mutter Vater Bruder Schwester Freund Freundin Nachbar Familie Urlaub Reise Bahnhof Zug
Fahrkarte Hotel Zimmer Schlüssel Tür Fenster Treppe Keller Dachboden Heizung Strom
und oder aber denn weil dass wenn als ob noch schon nur auch sehr viel wenig immer nie
der die das ein eine einen dem den des mit ohne für gegen durch um bei nach seit von zu
ist sind war waren hat haben wird werden kann muss soll will darf möchte geht kommt
macht sagt fragt bringt holt ruft schreibt liest denkt glaubt weiß findet sucht zahlt
großer kleiner neuer alter guter schlechter langer kurzer wichtiger dringender ruhiger
Mondjahr Neumond Wintersonnenwende Zyklus Erdzweig Himmelsstamm Ratte Büffel Tiger Hase
Drache Schlange Pferd Ziege Affe Hahn Hund Schwein Holz Feuer Erde Metall Wasserjahr""".split()


def main() -> int:
    if len(sys.argv) < 3:
        print(__doc__ or "usage: notes_text.py SIZE_MB OUT [--paragraph]", file=sys.stderr)
        return 2
    size = int(float(sys.argv[1]) * 1_000_000)
    paragraph = "--paragraph" in sys.argv[3:]
    rng = random.Random(31)
    written = 0
    with open(sys.argv[2], "w", encoding="utf-8", newline="\n") as out:
        while written < size:
            line = " ".join(rng.choice(WORDS) for _ in range(rng.randint(5, 18)))
            line = line[0].upper() + line[1:] + "."
            line += " " if paragraph else "\n"
            out.write(line)
            written += len(line.encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
