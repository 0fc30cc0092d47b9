#!/usr/bin/env python3
"""Every text of the program has its Romanian translation.

Runs lupdate over the sources into a copy of translations/helicordia_ro.ts,
so that a text added or changed in the sources shows up as unfinished, and
fails when a text has no finished translation, when a translation loses or
gains a %1-style placeholder, or when it writes s or t with a cedilla
instead of a comma below.

Usage: check_translations.py LUPDATE SOURCE_DIR TS_FILE FOLDER...
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

CEDILLAS = "\u015e\u015f\u0162\u0163"  # Ş ş Ţ ţ: Romanian writes Ș ș Ț ț
PLACEHOLDER = re.compile(r"%(?:\d+|n)")


def problems(ts_path):
    found = []
    for context in ET.parse(ts_path).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source")
            translation = message.find("translation")
            kind = translation.get("type")
            if kind in ("vanished", "obsolete"):
                continue
            forms = [f.text or "" for f in translation.iter("numerusform")] or [translation.text or ""]
            where = f"{name}: {source!r}"
            if kind == "unfinished" or not all(form.strip() or not source.strip() for form in forms):
                found.append(f"not translated: {where}")
                continue
            wanted = sorted(set(PLACEHOLDER.findall(source)) - {"%n"})
            for form in forms:
                if sorted(set(PLACEHOLDER.findall(form)) - {"%n"}) != wanted:
                    found.append(f"placeholders differ: {where} -> {form!r}")
                if any(c in form for c in CEDILLAS):
                    found.append(f"cedilla instead of comma below: {where} -> {form!r}")
    return found


def main():
    lupdate, source_dir, ts_file, *folders = sys.argv[1:]
    with tempfile.TemporaryDirectory() as temp:
        copy = os.path.join(temp, os.path.basename(ts_file))
        shutil.copyfile(ts_file, copy)
        run = subprocess.run([lupdate, "-silent", "-no-obsolete", "-locations", "none", "-I", source_dir,
                              *[os.path.join(source_dir, f) for f in folders], "-ts", copy],
                             capture_output=True, text=True)
        if run.returncode != 0:
            print(run.stdout, run.stderr)
            return 1
        found = problems(copy)
    for line in found:
        print(line)
    if found:
        print(f"\n{len(found)} text(s) to translate: run the update step described in translations/CMakeLists.txt.")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
