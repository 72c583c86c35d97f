#!/usr/bin/env python3
"""Checks a translation catalogue against the sources: lupdate reads the
sources into a copy of the catalogue; every message of the copy must have its
finished translation, and no message may be left over from texts the sources
no longer have.
Usage: check_translations.py LUPDATE CATALOGUE.ts [LUPDATE_OPTION...] -- SOURCE..."""
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path

lupdate, catalogue = sys.argv[1], Path(sys.argv[2])
split = sys.argv.index("--")
options, sources = sys.argv[3:split], sys.argv[split + 1:]
with tempfile.TemporaryDirectory() as work:
    copy = Path(work) / catalogue.name
    shutil.copy(catalogue, copy)
    subprocess.run([lupdate, "-silent", *options, *sources, "-ts", str(copy)], check=True)
    faults = []
    for context in ET.parse(copy).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source")
            translation = message.find("translation")
            kind = translation.get("type") if translation is not None else "missing"
            # A plural message is translated in its forms, each of which must be there.
            forms = [f.text for f in translation.iter("numerusform")] if translation is not None else []
            text = " ".join(f or "" for f in forms) if forms else (translation.text if translation is not None else "")
            if kind in ("unfinished", "missing") or not (text or "").strip() or (forms and not all(forms)):
                faults.append(f"{name}: no finished translation of {source!r}")
            elif kind in ("vanished", "obsolete"):
                faults.append(f"{name}: {source!r} is no longer in the sources")
    for fault in faults:
        print(fault)
    print(f"{catalogue.name}: {len(faults)} faults")
    sys.exit(1 if faults else 0)
