"""Reads every table named on the command line with dbfread, an independent reader: every record and memo, and
for learning-state tables the counters. Prints one line per table: OK or FAIL with the reason."""
import sys

import dbfread

for path in sys.argv[1:]:
    try:
        table = dbfread.DBF(path, char_decode_errors="replace", load=False)
        count = 0
        for record in table:
            count += 1
            if "ANTWORTEN" in record:
                total = record["ANTWORTEN"] or 0
                right = record["RICHTIG"] or 0
                wrong = record["FALSCH"] or 0
                if total != right + wrong:
                    raise ValueError(f"{record['FRAGENR'].strip()}: ANTWORTEN {total} != {right} + {wrong}")
        print(f"OK {path} {count}")
    except Exception as error:  # every way of not reading the table is a finding
        print(f"FAIL {path} {type(error).__name__}: {error}")
