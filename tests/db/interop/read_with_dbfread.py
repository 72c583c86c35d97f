"""Prints every record of a dBASE table as read by python3-dbfread, one JSON list per line.
Usage: read_with_dbfread.py TABLE [ENCODING]; without an encoding dbfread takes the one the
table's language byte names, as a user's program would."""
import datetime
import json
import sys

import dbfread


def text(value):
    if value is None:
        return ""
    if isinstance(value, datetime.date):
        return value.strftime("%Y%m%d")
    if isinstance(value, float):
        return repr(value)
    return str(value)


encoding = sys.argv[2] if len(sys.argv) > 2 else None
table = dbfread.DBF(sys.argv[1], encoding=encoding, char_decode_errors="strict")
print(json.dumps([f.name for f in table.fields]))
for record in table:
    print(json.dumps([text(v) for v in record.values()], ensure_ascii=False))
