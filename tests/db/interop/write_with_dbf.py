"""Writes a dBASE III table with python3-dbf: four records covering each field type."""
import datetime
import sys

import dbf

table = dbf.Table(
    sys.argv[1],
    "TITLE C(30); YEAR N(11,0); PRICE N(12,2); BOUGHT D; SEEN L",
    dbf_type="db3",
    codepage="cp1252",
)
table.open(mode=dbf.READ_WRITE)
table.append(("Caf\u00e9 Society", 1939, 12.5, datetime.date(1997, 3, 5), True))
table.append(("The Third Man", 1949, 0, datetime.date(2001, 12, 31), False))
table.append(("", 0, 1234.56, None, None))
table.append(("Last \"quoted\"", 2024, -3.25, datetime.date(2024, 2, 29), True))
table.close()
