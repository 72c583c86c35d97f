#!/usr/bin/env python3
"""Checks a translation catalogue against the sources: lupdate reads the
sources into a copy of the catalogue; every message of the copy must have its
finished translation, and no message may be left over from texts the sources
no longer have. Usage: check_translations.py LUPDATE CATALOGUE.ts SOURCE..."""
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path

lupdate, catalogue, sources = sys.argv[1], Path(sys.argv[2]), sys.argv[3:]
with tempfile.TemporaryDirectory() as work:
    copy = Path(work) / catalogue.name
    shutil.copy(catalogue, copy)
    subprocess.run([lupdate, "-silent", "-locations", "none", *sources, "-ts", str(copy)], check=True)
    faults = []
    for context in ET.parse(copy).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source")
            translation = message.find("translation")
            kind = translation.get("type") if translation is not None else "missing"
            if kind in ("unfinished", "missing") or not (translation.text or "").strip():
                faults.append(f"{name}: no finished translation of {source!r}")
            elif kind in ("vanished", "obsolete"):
                faults.append(f"{name}: {source!r} is no longer in the sources")
    for fault in faults:
        print(fault)
    print(f"{catalogue.name}: {len(faults)} faults")
    sys.exit(1 if faults else 0)
