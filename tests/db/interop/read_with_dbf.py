"""Prints every record's text fields of a dBASE table as read by python3-dbf, one JSON list per line.
Usage: read_with_dbf.py TABLE [CODEPAGE]; without a code page python3-dbf takes the one the
table's language byte names."""
import json
import sys

import dbf

if len(sys.argv) > 2:
    table = dbf.Table(sys.argv[1], codepage=sys.argv[2])
else:
    table = dbf.Table(sys.argv[1])
table.open(mode=dbf.READ_ONLY)
for record in table:
    print(json.dumps([str(v).rstrip() for v in record if isinstance(v, str)], ensure_ascii=False))
table.close()
