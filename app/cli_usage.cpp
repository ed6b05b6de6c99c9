// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of tolvane-cli --help and --version.
#include "app/cli_run.h"

namespace cli {

std::string UsageText() {
    return R"(tolvane-cli – der Rechner des Sechzigerzyklus ohne Fenster

Aufruf:
  tolvane-cli [--fields|--json] [--moonspeed N] [TTMMJJJJ SS]
  tolvane-cli [--fields|--json] [--moonspeed N] --from TTMMJJJJ --to TTMMJJJJ [--hour SS]
  tolvane-cli --help | --version

Argumente (wie auf der Befehlszeile des Fensters):
  TTMMJJJJ  Zeichen 1-2 Tag, 3-4 Monat, 5-9 Jahr (bis zu fünf Zeichen, so dass vor
            einem vierstelligen Jahr ein Vorzeichen stehen kann: 0101-0500 ist der
            1.1.-500). Jeder Teil ist eine ganze Zahl (dezimal, oder hexadezimal nach
            "$", "x" oder "0x").
  SS        Zeichen 1-2 als Dezimalzahl, auf die ganze Stunde abgeschnitten (7.9 ist 7).
  Mit weniger als zwei Argumenten gelten Datum und Stunde der Systemuhr (Ortszeit);
  ein einzelnes Argument wird übergangen, Argumente nach dem zweiten ebenso.
  Gültig sind Jahr -9999 bis 9999, Monat 1 bis 12, Tag 1 bis 31, Stunde 0 bis 23.

Optionen:
  --fields        statt der Tabelle die Ergebnisfelder des Fensters für Skripte
  --json          statt der Tabelle eine JSON-Zeile je Rechnung
  --moonspeed N   MoonSpeed 1 bis 255; sonst gilt [Parameter] MoonSpeed aus der
                  Einstellungsdatei tolvane.INI des Fensters (fehlt er oder liegt er
                  außerhalb 1 bis 255: 14)
  --from TTMMJJJJ --to TTMMJJJJ
                  rechnet jeden Tag von --from bis --to einschließlich, Tag für Tag
                  nach julianischen Tagen (Kalenderreform im Oktober 1582 inbegriffen:
                  bis 4.10.1582 julianisch, ab 15.10.1582 gregorianisch)
  --hour SS       die Stunde für --from/--to (sonst 0)
  --help          dieser Text
  --version       Name und Version des Programms
  --              Ende der Optionen: was folgt, sind Argumente (auch mit "-")

Ausgabe (UTF-8, in ein Terminal wie in eine Datei oder Pipe dieselbe, ohne Farben):
  Ohne Option: die Tabelle des Fensters mit den chinesischen Zeichen, zum Beispiel

    24.3.1998, 14 Uhr
                      Periode 60   himmlische Zeichen       irdische Zeichen
    Std.-Rhythmus                                           未  8  Schaf
    Tages-Rhythmus    56           己  6  fruchtbare Erde   未  8  Schaf
    Monats-Rhythmus   52           乙  2  weiches Holz      卯  4  Hase
    Jahres-Rhythmus   15           戊  5  harte Erde        寅  3  Tiger
    das Jahr beginnt am 28.1.1998
    Wintersolstitium am 22.12.1993

         Die Spalten stehen nach Terminalzellen bündig (ein chinesisches Zeichen nimmt
         zwei); leere Felder des Fensters bleiben leer.
  Bereich ohne Option: eine Kopfzeile, dann je Tag eine Zeile mit Datum (T.M.J), Stunde
         und den vier Säulen Jahr, Monat und Tag (Stamm- und Zweigzeichen mit der
         Stellung in der Periode 60) und Stunde (ihr Zweigzeichen):
           24.3.1998   14   戊寅 15  乙卯 52  己未 56  未
  --fields: die 21 Ergebnisfelder, je Zeile "Name<TAB>Text", die Zeichen als die
         Buchstaben a bis v der Glyphenschrift Vivar01 (a bis j die Stämme 甲 bis 癸,
         k bis v die Zweige 子 bis 亥).
  Bereich mit --fields: eine Kopfzeile "Datum<TAB>Stunde<TAB>" mit den 21 Feldnamen,
         dann je Tag eine Zeile: Datum als T.M.J, Stunde, die 21 Texte, durch TAB
         getrennt.
  JSON:  je Rechnung ein Objekt in einer Zeile: input, yearStart, solstice, solsticeJD,
         hour, day, month, year (Positionen, Stämme und Zweige ab 0 gezählt, dazu
         stemChar und branchChar, ihre Zeichen) und texts (die 21 Ergebnisfelder).

Ist die Standardfehlerausgabe ein Terminal, zeigt ein Bereich, der länger als etwa eine
Sekunde rechnet, dort in einer Zeile seinen Fortschritt (Tage, Prozent, Restzeit); die
Zeile verschwindet am Ende. In eine Datei oder Pipe wird nie Fortschritt geschrieben.

Dateien: PLANETS.NDX und PLANETS.DAT liegen neben dem Programm oder, wenn dort keine
Datendatei liegt, in ../share/tolvane/ von seinem Ordner aus (bei /usr/bin/tolvane-cli
also in /usr/share/tolvane/). Die Einstellungsdatei tolvane.INI des Fensters tolvane
wird nur gelesen: neben dem Programm, wenn es als tragbare Kopie läuft (sein Ordner
beschreibbar, die Reihendateien neben ihm), sonst in $XDG_CONFIG_HOME/tolvane/ (ohne
XDG_CONFIG_HOME: ~/.config/tolvane/).

Exit-Status:
  0  Erfolg
  1  Termdateien fehlen, oder ein Fehler beendete die Rechnung (Dateifehler,
     Jahresbeginn nicht gefunden), oder die Ausgabe ließ sich nicht schreiben
     (voller Datenträger, Größengrenze, geschlossene Standardausgabe)
  2  falsche Argumente oder Optionen, eine ungültige Eingabe, oder bei --from/--to
     ein Tag, den es im Kalender nicht gibt (5. bis 14.10.1582, 31.2. und dergleichen)
  Bei 1 und 2 steht die Meldung auf stderr. Hört ein Leser auf zu lesen (etwa
  "| head"), endet das Programm still durch das Signal SIGPIPE.
)";
}

std::string VersionText() { return "tolvane-cli " TOLVANE_VERSION "\n"; }

}  // namespace cli
