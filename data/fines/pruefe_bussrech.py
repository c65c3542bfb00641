#!/usr/bin/env python3
"""Prüft die Bußgeldtabelle bussrech.tsv.

Aufruf:  python3 pruefe_bussrech.py [pfad/zu/bussrech.tsv]

Die Prüfung spielt die Suche des Bußgeldrechners nach (Geschwindigkeit mit
beiden Grenzen einschließlich, Abstand und Alkohol mit ausschließlicher
Obergrenze, Diverses über den Text) und meldet alles, was im Dialog zu
falschen, doppelten oder fehlenden Treffern führen würde. Ohne Fehler endet
sie mit Status 0, sonst mit 1. Nur Standardbibliothek.
"""

import csv
import os
import sys
from collections import defaultdict

SPALTEN = ["TYPE", "SORT", "VERGEHEN", "THEMA", "OPTION", "LIMITVON", "LIMITBIS",
           "BUSSGELD", "PUNKTE", "FVERBOT", "INFO", "QUELLE"]

# Feldbreiten der Zieltabelle (siehe README.md). Zeichen zählen als Bytes im
# Windows-Zeichensatz; Zahlen als Gesamtbreite mit Nachkommastellen.
BREITE_TEXT = {"VERGEHEN": 150, "THEMA": 50, "INFO": 220}
BREITE_ZAHL = {  # Feld: (Breite, Nachkommastellen)
    "TYPE": (2, 0), "SORT": (3, 0), "OPTION": (1, 0),
    "LIMITVON": (7, 2), "LIMITBIS": (7, 2), "BUSSGELD": (7, 2),
    "PUNKTE": (2, 0), "FVERBOT": (2, 0),
}

ART_GESCHW, ART_ABSTAND, ART_ALKOHOL = 1, 3, 12
ARTEN_DIVERSES = {2, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14}
QUELLE_ANFAENGE = ("bestätigt", "unbestätigt", "wahrscheinlich", "rekonstruiert",
                   "abgeleitet", "Bußgeld bestätigt", "Bußgeld und Punkte bestätigt")

# Höchste Eingabe, die der Rechner sinnvoll annimmt (für die Lückenprüfung).
MAX_UEBERSCHREITUNG = 999   # km/h zu schnell
MAX_TEMPO = 999             # km/h gefahren
MAX_PROMILLE_HUNDERTSTEL = 999  # 9,99 Promille


class Zeile:
    def __init__(self, nr, d):
        self.nr = nr
        self.typ = int(d["TYPE"])
        self.sort = int(d["SORT"])
        self.vergehen = d["VERGEHEN"]
        self.thema = d["THEMA"]
        self.option = int(d["OPTION"])
        self.von = float(d["LIMITVON"])
        self.bis = float(d["LIMITBIS"])
        self.geld = float(d["BUSSGELD"])
        self.punkte = int(d["PUNKTE"])
        self.fv = int(d["FVERBOT"])
        self.info = d["INFO"]
        self.quelle = d["QUELLE"]
        self.roh = d


def lies(pfad):
    with open(pfad, encoding="utf-8", newline="") as f:
        leser = csv.reader(f, delimiter="\t", quoting=csv.QUOTE_NONE)
        kopf = next(leser)
        if kopf != SPALTEN:
            raise SystemExit(f"Kopfzeile falsch: {kopf}")
        zeilen = []
        for nr, werte in enumerate(leser, start=2):
            if len(werte) != len(SPALTEN):
                raise SystemExit(f"Zeile {nr}: {len(werte)} statt {len(SPALTEN)} Spalten")
            zeilen.append(Zeile(nr, dict(zip(SPALTEN, werte))))
    return zeilen


# --- Suche wie im Dialog ---------------------------------------------------

def suche_geschw(zeilen, fahrzeug, option, ueber):
    return [z for z in zeilen if z.vergehen == fahrzeug and z.option == option
            and z.von <= ueber <= z.bis]


def suche_bereich(zeilen, vergehen, wert):
    return [z for z in zeilen if z.vergehen == vergehen and z.von <= wert < z.bis]


def suche_text(zeilen, vergehen):
    return [z for z in zeilen if z.vergehen == vergehen]


# --- Prüfungen -------------------------------------------------------------

def pruefe(zeilen):
    fehler = []

    def f(z, text):
        fehler.append(f"Zeile {z.nr}: {text}" if z else text)

    # Form der Felder
    for z in zeilen:
        for feld, breite in BREITE_TEXT.items():
            try:
                laenge = len(z.roh[feld].encode("cp1252"))
                z.roh[feld].encode("cp850")
            except UnicodeEncodeError as e:
                f(z, f"{feld} enthält ein Zeichen außerhalb der DOS-/Windows-Zeichensätze: {e}")
                continue
            if laenge > breite:
                f(z, f"{feld} hat {laenge} Zeichen, erlaubt sind {breite}")
        for feld, (breite, nk) in BREITE_ZAHL.items():
            text = f"{float(z.roh[feld]):.{nk}f}"
            if len(text) > breite:
                f(z, f"{feld}={z.roh[feld]} passt nicht in N({breite},{nk})")
        if z.typ not in {ART_GESCHW, ART_ABSTAND, ART_ALKOHOL} | ARTEN_DIVERSES:
            f(z, f"unbekannter TYPE {z.typ}")
        if not z.vergehen.strip() or z.vergehen != z.vergehen.strip():
            f(z, "VERGEHEN leer oder mit Leerzeichen am Rand")
        if not z.thema.strip():
            f(z, "THEMA leer")
        if not z.quelle.startswith(QUELLE_ANFAENGE):
            f(z, f"QUELLE beginnt nicht mit einem bekannten Wort: {z.quelle!r}")
        if z.geld < 0 or z.punkte < 0 or z.fv < 0 or z.punkte > 7 or z.fv > 3 and z.typ != ART_ALKOHOL:
            f(z, "Bußgeld, Punkte oder Fahrverbot außerhalb des möglichen Bereichs")
        # Punkte gibt es nur bei Eintragung: ab 40 Euro Geldbuße (oder Fahrverbot).
        if z.geld >= 40 and z.punkte == 0:
            f(z, f"{z.geld:.0f} Euro, aber keine Punkte")
        if 0 < z.geld < 40 and z.fv == 0 and z.punkte > 0:
            f(z, f"Verwarnungsgeld {z.geld:.0f} Euro, aber {z.punkte} Punkte")
        if z.typ == ART_GESCHW and z.option not in (1, 2):
            f(z, "Geschwindigkeit braucht OPTION 1 (innerorts) oder 2 (außerorts)")
        if z.typ != ART_GESCHW and z.option != 0:
            f(z, "OPTION ist nur bei Geschwindigkeit belegt")
        if z.typ != ART_ALKOHOL and z.info:
            f(z, "INFO wird nur bei Alkohol angezeigt")
        if z.typ == ART_ALKOHOL and not z.info:
            f(z, "Alkoholzeile ohne INFO")

    nach_art = defaultdict(list)
    for z in zeilen:
        nach_art[z.typ].append(z)
    for art in (ART_GESCHW, ART_ABSTAND, ART_ALKOHOL):
        if not nach_art[art]:
            f(None, f"keine Zeile der Art {art}")
    if not any(nach_art[a] for a in ARTEN_DIVERSES):
        f(None, "keine Zeile unter Diverses")

    # Ein Text gehört genau einer Art; die Suche filtert nur nach dem Text.
    art_von_text = {}
    for z in zeilen:
        vorher = art_von_text.setdefault(z.vergehen, z.typ)
        if vorher != z.typ:
            f(z, f"Text {z.vergehen!r} kommt in TYPE {vorher} und {z.typ} vor")

    # Geschwindigkeit: je Fahrzeug eine SORT-Nummer, lückenlos ab 1 km/h.
    sort_von = {}
    for z in nach_art[ART_GESCHW]:
        if sort_von.setdefault(z.vergehen, z.sort) != z.sort:
            f(z, f"Fahrzeug {z.vergehen!r} mit mehreren SORT-Werten erschiene mehrfach in der Liste")
    for fahrzeug in sort_von:
        for option in (1, 2):
            vorige = None
            for ueber in range(1, MAX_UEBERSCHREITUNG + 1):
                treffer = suche_geschw(zeilen, fahrzeug, option, ueber)
                if len(treffer) != 1:
                    f(None, f"{fahrzeug}, OPTION {option}, {ueber} km/h: {len(treffer)} Treffer")
                    break
                t = treffer[0]
                if vorige and (t.geld < vorige.geld or t.punkte < vorige.punkte or t.fv < vorige.fv):
                    f(t, f"{fahrzeug}: Folgen sinken bei {ueber} km/h")
                vorige = t
        for ueber in range(1, MAX_UEBERSCHREITUNG + 1):
            inn = suche_geschw(zeilen, fahrzeug, 1, ueber)
            aus = suche_geschw(zeilen, fahrzeug, 2, ueber)
            if inn and aus and inn[0].geld < aus[0].geld:
                f(inn[0], f"{fahrzeug}: innerorts billiger als außerorts bei {ueber} km/h")

    # Abstand und Alkohol: keine Überschneidung der halboffenen Bereiche.
    for art, schritte, teiler in ((ART_ABSTAND, MAX_TEMPO, 1),
                                  (ART_ALKOHOL, MAX_PROMILLE_HUNDERTSTEL, 100)):
        texte = sorted({z.vergehen for z in nach_art[art]})
        for text in texte:
            eigene = [z for z in nach_art[art] if z.vergehen == text]
            if len({z.sort for z in eigene}) != 1 and art == ART_ALKOHOL:
                f(eigene[0], f"{text!r}: verschiedene SORT-Werte, erschiene mehrfach in der Liste")
            for z in eigene:
                if not z.von < z.bis:
                    f(z, "LIMITVON muss kleiner als LIMITBIS sein")
            for i in range(0, schritte + 1):
                wert = round(i / teiler, 2)
                treffer = suche_bereich(zeilen, text, wert)
                if len(treffer) > 1:
                    f(treffer[1], f"{text!r}: Wert {wert} trifft {len(treffer)} Zeilen")
                    break

    # Abstand: je kürzer der Abstand, desto strenger; über 130 km/h strenger.
    stufen = {}
    for z in nach_art[ART_ABSTAND]:
        if "/10 des halben Tachowerts" in z.vergehen:
            zehntel = int(z.vergehen.split("unter ")[1].split("/")[0])
            stufen[(zehntel, z.von > 81)] = z
    for (zehntel, schnell), z in stufen.items():
        milder = stufen.get((zehntel + 1, schnell))
        if milder and (z.geld < milder.geld or z.punkte < milder.punkte):
            f(z, f"{zehntel}/10 milder als {zehntel + 1}/10")
        if schnell and (zehntel, False) in stufen and z.geld < stufen[(zehntel, False)].geld:
            f(z, f"{zehntel}/10 über 130 km/h milder als bis 130 km/h")

    # Alkohol: die Liste wird nach SORT und Text sortiert, ohne Doppel.
    # Diverses: Gruppentitel beginnen mit "-", Einträge dürfen das nicht.
    thema_von = {}
    for art in sorted(ARTEN_DIVERSES):
        for z in nach_art[art]:
            if z.vergehen.startswith("-"):
                f(z, "Eintrag beginnt mit '-' und gälte als Gruppentitel")
            if thema_von.setdefault(art, z.thema) != z.thema:
                f(z, f"THEMA in Gruppe {art} uneinheitlich")
            if len(suche_text(zeilen, z.vergehen)) != 1:
                f(z, f"Text {z.vergehen!r} ist nicht eindeutig")
            if z.geld == 0 and z.punkte == 0 and z.fv == 0:
                f(z, "Eintrag ohne jede Folge")
    if len(set(thema_von.values())) != len(thema_von):
        f(None, "zwei Gruppen unter Diverses tragen denselben Titel")

    return fehler


def main():
    pfad = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "bussrech.tsv")
    zeilen = lies(pfad)
    fehler = pruefe(zeilen)
    for meldung in fehler:
        print(meldung)
    arten = defaultdict(int)
    for z in zeilen:
        arten[z.typ] += 1
    print(f"{len(zeilen)} Zeilen geprüft ("
          + ", ".join(f"TYPE {a}: {n}" for a, n in sorted(arten.items())) + ")")
    print(f"{1 if not fehler else 0} passed, {1 if fehler else 0} failed")
    return 1 if fehler else 0


if __name__ == "__main__":
    sys.exit(main())
