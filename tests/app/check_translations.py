#!/usr/bin/env python3
"""Checks a translation catalogue against the sources: lupdate reads the
sources into a copy of the catalogue; every message of the copy must have its
finished translation, and no message may be left over from texts the sources
no longer have. Nor may a plain literal be assigned over a member whose
default is a translated text (a window's Caption = tr(...) made English
again by `window->Caption = "..."`).
Usage: check_translations.py LUPDATE CATALOGUE.ts [LUPDATE_OPTION...] -- SOURCE..."""
import re
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
    # Members whose default is translated, and plain literals assigned over them.
    translated_members = set()
    texts = {}
    for source in sources:
        path = Path(source)
        if path.is_dir() or not path.exists():
            continue
        texts[path] = path.read_text(encoding="utf-8", errors="replace")
        translated_members.update(re.findall(r"\bQString\s+(\w+)\s*=\s*tr\(", texts[path]))
    if translated_members:
        assigned = re.compile(r"(?:->|\.)(" + "|".join(sorted(translated_members)) + r")\s*=\s*\"")
        for path, text in texts.items():
            for number, line in enumerate(text.splitlines(), 1):
                found = assigned.search(line)
                if found:
                    faults.append(f"{path}:{number}: a plain text is assigned over the translated {found.group(1)}")
    for fault in faults:
        print(fault)
    print(f"{catalogue.name}: {len(faults)} faults")
    sys.exit(1 if faults else 0)
