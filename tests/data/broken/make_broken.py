#!/usr/bin/env python3
"""Writes the damaged program files of the hostile-file test, each case in a folder of its own.

The tables are written here byte by byte in the FoxPro layout (header, field descriptors, records, FPT blocks), not
by the program's engine, so the test reads files it did not make itself. base/ holds a sound small program folder;
every other folder holds the files that replace or join it. Run from anywhere:

    tests/data/broken/make_broken.py [FRAGEN.CDX of another catalog]
"""
import os
import shutil
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CLASSES = ["KLASSE_A", "KLASSE_A1", "KLASSE_M", "KLASSE_MO", "KLASSE_K", "KLASSE_B", "KLASSE_C", "KLASSE_C1",
           "KLASSE_D", "KLASSE_D1", "KLASSE_CE", "KLASSE_L", "KLASSE_T"]
FRAGEN = ([("FRAGENR", "C", 12, 0), ("THEMA", "N", 4, 0), ("FRAGE", "M", 10, 0), ("ANTW1", "M", 10, 0),
           ("ANTW2", "M", 10, 0), ("ANTW3", "M", 10, 0), ("OK1", "L", 1, 0), ("OK2", "L", 1, 0), ("OK3", "L", 1, 0),
           ("MCHOICE", "L", 1, 0), ("MC_VOR", "C", 30, 0), ("MC_WERT", "C", 10, 0), ("MC_ZWISCH", "C", 30, 0),
           ("MC_WERT2", "C", 10, 0), ("MC_NACH", "C", 30, 0), ("MC_ANZAHL", "N", 2, 0)]
          + [(c, "N", 1, 0) for c in CLASSES] + [("BITMAP", "C", 8, 0), ("PICTURE", "M", 10, 0)])
LOCAL = ([("FRAGENR", "C", 12, 0), ("THEMA", "N", 4, 0)] + [(c, "N", 1, 0) for c in CLASSES]
         + [("MC_WERT", "C", 10, 0), ("MC_WERT2", "C", 10, 0), ("ANTWORTEN", "N", 4, 0), ("RICHTIG", "N", 4, 0),
            ("FALSCH", "N", 4, 0), ("ZULETZT", "C", 2, 0), ("BITMAP", "C", 8, 0)])
FINES = [("TYPE", "N", 2, 0), ("SORT", "N", 3, 0), ("VERGEHEN", "C", 60, 0), ("THEMA", "C", 40, 0),
         ("OPTION", "N", 1, 0), ("LIMITVON", "N", 6, 2), ("LIMITBIS", "N", 6, 2), ("BUSSGELD", "N", 7, 2),
         ("PUNKTE", "N", 1, 0), ("FVERBOT", "N", 2, 0), ("INFO", "C", 60, 0)]

# Readable letters and the stored form of the catalog texts: the scrambling only swaps letters, so texts of
# digits and punctuation read the same either way; these questions need nothing else.
QUESTIONS = [
    {"FRAGENR": "1.1.01-800", "THEMA": 1, "FRAGE": "1?", "ANTW1": "1", "ANTW2": "2", "ANTW3": "3",
     "OK1": True, "MC_ANZAHL": 3, "KLASSE_B": 3, "KLASSE_A": 2},
    {"FRAGENR": "1.1.01-801", "THEMA": 1, "FRAGE": "2?", "ANTW1": "1", "ANTW2": "2", "OK2": True,
     "MC_ANZAHL": 2, "KLASSE_B": 2},
    {"FRAGENR": "1.2.01-001", "THEMA": 2, "FRAGE": "3?", "MC_VOR": "=", "MC_WERT": "50", "MC_NACH": "km/h",
     "MC_ANZAHL": 1, "KLASSE_B": 4},
    {"FRAGENR": "2.2.02-001", "THEMA": 2, "FRAGE": "4?", "ANTW1": "0", "ANTW2": "9", "OK1": True, "OK2": True,
     "MC_ANZAHL": 2, "KLASSE_B": 5, "KLASSE_C": 5},
]
FINE_ROWS = [
    {"TYPE": 1, "SORT": 1, "VERGEHEN": "PKW", "OPTION": 1, "LIMITVON": 0, "LIMITBIS": 10, "BUSSGELD": 15},
    {"TYPE": 1, "SORT": 1, "VERGEHEN": "PKW", "OPTION": 2, "LIMITVON": 0, "LIMITBIS": 10, "BUSSGELD": 10},
    {"TYPE": 3, "SORT": 1, "VERGEHEN": "Abstand unter 5/10 des halben Tachowertes", "LIMITVON": 80,
     "LIMITBIS": 100, "BUSSGELD": 75, "PUNKTE": 1},
    {"TYPE": 12, "SORT": 1, "VERGEHEN": "Erstmaliger Verstoss", "LIMITVON": 0.5, "LIMITBIS": 1.1, "BUSSGELD": 500,
     "PUNKTE": 2, "FVERBOT": 1, "INFO": "Fahrverbot ein Monat"},
    {"TYPE": 2, "SORT": 1, "VERGEHEN": "Rotlicht missachtet", "THEMA": "Ampel", "BUSSGELD": 90, "PUNKTE": 1},
]


def field_bytes(kind, width, decimals, value):
    if kind == "C":
        return str(value or "").encode("cp1252")[:width].ljust(width, b" ")
    if kind == "L":
        return b"T" if value else b"F"
    if kind == "N":
        text = ("%.*f" % (decimals, value)) if value is not None else ""
        return text.encode().rjust(width, b" ")
    if kind == "M":  # a block number, or blanks for no memo
        return (str(value).encode() if value else b"").rjust(width, b" ")
    raise ValueError(kind)


def table_bytes(fields, rows, version=None, count=None):
    """The DBF bytes; `count` overrides the record count the header gives."""
    has_memo = any(f[1] == "M" for f in fields)
    header_length = 32 + 32 * len(fields) + 1
    record_length = 1 + sum(f[2] for f in fields)
    out = bytearray()
    out += bytes([version if version is not None else (0xF5 if has_memo else 0x03), 107, 1, 1])
    out += struct.pack("<IHH", len(rows) if count is None else count, header_length, record_length)
    out += bytes(17) + bytes([0x03, 0, 0])  # code page mark: Windows ANSI
    offset = 1
    for name, kind, width, decimals in fields:
        out += name.encode().ljust(11, b"\0") + kind.encode() + struct.pack("<I", offset)
        out += bytes([width, decimals]) + bytes(14)
        offset += width
    out += b"\r"
    for row in rows:
        out += b" "
        for name, kind, width, decimals in fields:
            out += field_bytes(kind, width, decimals, row.get(name))
    out += b"\x1a"
    return bytes(out)


class Memo:
    """An FPT file being filled: 512 bytes of header, blocks of 64 bytes."""

    def __init__(self):
        self.blocks = bytearray()

    def add(self, data, kind=1):
        if not data:
            return None
        block = 8 + len(self.blocks) // 64
        chunk = struct.pack(">II", kind, len(data)) + data
        chunk += bytes(-len(chunk) % 64)
        self.blocks += chunk
        return block

    def bytes(self):
        next_free = 8 + len(self.blocks) // 64
        return struct.pack(">I", next_free) + b"\0\0" + struct.pack(">H", 64) + bytes(504) + bytes(self.blocks)


def catalog(questions, fields=FRAGEN):
    memo = Memo()
    rows = []
    for q in questions:
        row = dict(q)
        for name in ("FRAGE", "ANTW1", "ANTW2", "ANTW3"):
            row[name] = memo.add(q.get(name, "").encode("cp1252"))
        rows.append(row)
    return table_bytes(fields, rows), memo.bytes()


def learning_state(questions, answered=()):
    rows = []
    for i, q in enumerate(questions):
        row = {k: q.get(k) for k, _, _, _ in LOCAL}
        for c in CLASSES:
            row[c] = q.get(c, 0)
        right, wrong = answered[i] if i < len(answered) else (0, 0)
        row.update(ANTWORTEN=right + wrong, RICHTIG=right, FALSCH=wrong, ZULETZT="17" if right + wrong else "")
        rows.append(row)
    return table_bytes(LOCAL, rows)


def without(fields, name):
    return [f for f in fields if f[0] != name]


def retyped(fields, name, kind, width):
    return [(n, kind, width, 0) if n == name else (n, k, w, d) for n, k, w, d in fields]


def write(case, name, data):
    folder = os.path.join(HERE, case)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    for entry in os.listdir(HERE):
        if os.path.isdir(os.path.join(HERE, entry)) and entry != "fragen_cdx_of_other_catalog":
            shutil.rmtree(os.path.join(HERE, entry))

    fragen_dbf, fragen_fpt = catalog(QUESTIONS)
    local1 = learning_state(QUESTIONS, [(2, 1), (0, 3)])
    fines = table_bytes(FINES, FINE_ROWS)
    write("base", "FRAGEN.DBF", fragen_dbf)
    write("base", "FRAGEN.FPT", fragen_fpt)
    write("base", "LOCAL1.DBF", local1)
    write("base", "BUSSRECH.DBF", fines)

    # The catalog as the start-up check finds it.
    write("catalog_empty", "FRAGEN.DBF", b"")
    write("catalog_cut", "FRAGEN.DBF", fragen_dbf[: len(fragen_dbf) - 150])
    write("catalog_without_field", "FRAGEN.DBF", catalog(QUESTIONS, without(FRAGEN, "OK3"))[0])
    write("catalog_header_garbage", "FRAGEN.DBF", b"FRAGEN" + bytes(range(200)))

    # A learner's table: the start-up check, the training's selection, the statistics.
    write("local_empty", "LOCAL1.DBF", b"")
    write("local_cut", "LOCAL1.DBF", local1[:-60])
    write("local_count_lies", "LOCAL1.DBF", table_bytes(LOCAL, [], count=40))
    lying = bytearray(local1)
    struct.pack_into("<I", lying, 4, 9000)
    write("local_count_too_high", "LOCAL1.DBF", bytes(lying))
    write("local_counter_as_text", "LOCAL1.DBF", table_bytes(retyped(LOCAL, "RICHTIG", "C", 4), []))
    write("local_without_field", "LOCAL1.DBF", table_bytes(without(LOCAL, "ZULETZT"), []))
    header_too_long = bytearray(local1)
    struct.pack_into("<H", header_too_long, 8, 60000)
    write("local_header_past_end", "LOCAL1.DBF", bytes(header_too_long))

    # The update import.
    update = [dict(QUESTIONS[0], OK2=True), {"FRAGENR": "3.1.01-001", "THEMA": 3, "FRAGE": "5?", "ANTW1": "1",
                                             "ANTW2": "2", "OK1": True, "MC_ANZAHL": 2, "KLASSE_B": 3}]
    update_dbf, update_fpt = catalog(update)
    write("update_without_fpt", "FRUPDATE.DBF", update_dbf)
    write("update_memo_past_end", "FRUPDATE.DBF", update_dbf)
    cut_memo = bytearray(update_fpt[:512 + 64])  # the first memo only, its header saying so
    struct.pack_into(">I", cut_memo, 0, 9)
    write("update_memo_past_end", "FRUPDATE.FPT", bytes(cut_memo))
    write("update_cut", "FRUPDATE.DBF", update_dbf[:-100])
    write("update_cut", "FRUPDATE.FPT", update_fpt)
    wrong_type = catalog(update, retyped(FRAGEN, "THEMA", "C", 4))
    write("update_wrong_type", "FRUPDATE.DBF", wrong_type[0])
    write("update_wrong_type", "FRUPDATE.FPT", wrong_type[1])
    write("update_empty", "FRUPDATE.DBF", b"")
    block_size_zero = bytearray(update_fpt)
    struct.pack_into(">H", block_size_zero, 6, 0)
    write("update_memo_block_size_zero", "FRUPDATE.DBF", update_dbf)
    write("update_memo_block_size_zero", "FRUPDATE.FPT", bytes(block_size_zero))

    # The fine table.
    write("fines_empty", "BUSSRECH.DBF", b"")
    write("fines_without_field", "BUSSRECH.DBF", table_bytes(without(FINES, "INFO"), FINE_ROWS))
    write("fines_wrong_type", "BUSSRECH.DBF", table_bytes(retyped(FINES, "TYPE", "C", 2), FINE_ROWS))
    write("fines_without_kind", "BUSSRECH.DBF", table_bytes(FINES, [r for r in FINE_ROWS if r["TYPE"] != 12]))
    write("fines_cut", "BUSSRECH.DBF", fines[:-200])

    # An index made for another catalog (the delivered one) beside the small catalog: there the numbers of the two
    # questions of theme 1 stand for the third and fourth record, here for the first and second.
    if len(sys.argv) > 1:
        write("fragen_cdx_of_other_catalog", "FRAGEN.CDX", open(sys.argv[1], "rb").read())


if __name__ == "__main__":
    main()
