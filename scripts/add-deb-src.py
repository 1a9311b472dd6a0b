#!/usr/bin/env python3
"""Gives apt a deb-src entry for every repository it already installs packages from, so that
`apt-get source` works (scripts/web.sh fetches Dear ImGui's sources that way). The entries are derived
from apt's own configuration, never from a host written here: the enabled `deb` entries of
<apt-dir>/sources.list and <apt-dir>/sources.list.d/*.list (one-line format) and *.sources (deb822)
become deb-src stanzas with the same URIs, suites, components and keys, written to
<apt-dir>/sources.list.d/lumidor-deb-src.sources, followed by `apt-get update`. Nothing is written when
an enabled deb-src entry exists already.

  add-deb-src.py [--apt-dir DIR] [--no-update]

Exit status: 0 when a deb-src entry exists or was added, 1 when apt has no deb entry to derive one
from or the file cannot be written, 2 on a bad option.
"""
import argparse
import glob
import os
import subprocess
import sys

OUTPUT_NAME = "lumidor-deb-src.sources"


class TEntry:
    """One repository entry: its types and the fields a deb-src copy keeps."""

    def __init__(self, origin):
        self.Origin = origin  # "file:line" for messages
        self.Types = []
        self.Uris = []
        self.Suites = []
        self.Components = []
        self.SignedBy = []  # the value's lines: a key file path, or an inline key over several lines
        self.Trusted = None


def SourceFiles(aptDir):
    """The files apt reads: sources.list, then sources.list.d's *.list and *.sources (others are
    disabled or backups)."""
    files = []
    main = os.path.join(aptDir, "sources.list")
    if os.path.isfile(main):
        files.append(main)
    partsDir = os.path.join(aptDir, "sources.list.d")
    parts = glob.glob(os.path.join(partsDir, "*.list")) + glob.glob(os.path.join(partsDir, "*.sources"))
    files += sorted(p for p in parts if os.path.isfile(p))
    return files


def ParseOneLine(path, text):
    """Entries of the one-line format: `deb [key=value ...] URI SUITE [COMPONENT ...]`."""
    entries = []
    for number, line in enumerate(text.splitlines(), 1):
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        kind, _, rest = line.partition(" ")
        rest = rest.strip()
        options = {}
        if rest.startswith("["):
            closing = rest.find("]")
            if closing < 0:
                continue  # apt rejects such a line too
            for option in rest[1:closing].split():
                key, _, value = option.partition("=")
                options[key.lower()] = value
            rest = rest[closing + 1:]
        words = rest.split()
        if len(words) < 2:
            continue
        entry = TEntry(f"{path}:{number}")
        entry.Types = [kind]
        entry.Uris = [words[0]]
        entry.Suites = [words[1]]
        entry.Components = words[2:]
        if "signed-by" in options:
            entry.SignedBy = [options["signed-by"]]
        if "trusted" in options:
            entry.Trusted = options["trusted"]
        entries.append(entry)
    return entries


def ParseDeb822(path, text):
    """Entries of the deb822 format: stanzas of `Field: value` lines (continued on indented lines),
    separated by blank lines; a stanza with `Enabled: no` is left out."""
    stanzas = []
    fields = {}
    current = None
    firstLine = 1
    for number, line in enumerate(text.splitlines() + [""], 1):
        if line.startswith("#"):
            continue
        if not line.strip():
            if fields:
                stanzas.append((firstLine, fields))
            fields, current = {}, None
            continue
        if line[0] in " \t":
            if current is not None:
                fields[current].append(line)
            continue
        name, colon, value = line.partition(":")
        if not colon:
            continue
        if not fields:
            firstLine = number
        current = name.strip().lower()
        fields[current] = [value.strip()]
    entries = []
    for firstLine, fields in stanzas:
        words = lambda name: " ".join(fields.get(name, [])).split()
        if fields.get("enabled", ["yes"])[0].lower() == "no":
            continue
        entry = TEntry(f"{path}:{firstLine}")
        entry.Types = words("types")
        entry.Uris = words("uris")
        entry.Suites = words("suites")
        entry.Components = words("components")
        entry.SignedBy = fields.get("signed-by", [])
        if "trusted" in fields:
            entry.Trusted = fields["trusted"][0]
        if entry.Types and entry.Uris and entry.Suites:
            entries.append(entry)
    return entries


def ReadEntries(aptDir):
    """Every enabled entry apt would use, in apt's reading order."""
    entries = []
    for path in SourceFiles(aptDir):
        with open(path, encoding="utf-8", errors="replace") as file:
            text = file.read()
        parse = ParseDeb822 if path.endswith(".sources") else ParseOneLine
        entries += parse(path, text)
    return entries


def DebSrcStanzas(entries):
    """The deb822 text of a deb-src stanza for each deb entry."""
    stanzas = []
    for entry in entries:
        if "deb" not in entry.Types:
            continue
        lines = ["Types: deb-src", "URIs: " + " ".join(entry.Uris), "Suites: " + " ".join(entry.Suites)]
        if entry.Components:
            lines.append("Components: " + " ".join(entry.Components))
        if entry.SignedBy:
            lines.append(("Signed-By: " + entry.SignedBy[0]).rstrip())
            lines += entry.SignedBy[1:]
        if entry.Trusted is not None:
            lines.append("Trusted: " + entry.Trusted)
        stanzas.append("\n".join(lines) + "\n")
    return stanzas


def main():
    parser = argparse.ArgumentParser(description="Adds deb-src entries matching apt's deb entries.")
    parser.add_argument("--apt-dir", default="/etc/apt", help="apt's configuration folder (default /etc/apt)")
    parser.add_argument("--no-update", action="store_true", help="do not run apt-get update afterwards")
    arguments = parser.parse_args()
    aptDir = arguments.apt_dir

    entries = ReadEntries(aptDir)
    existing = [entry for entry in entries if "deb-src" in entry.Types]
    if existing:
        print(f"apt has a deb-src entry already ({existing[0].Origin}): nothing to add")
        return 0
    stanzas = DebSrcStanzas(entries)
    if not stanzas:
        print(f"add-deb-src: apt has no enabled 'deb' entry in {aptDir}/sources.list or "
              f"{aptDir}/sources.list.d/*.list, *.sources, so there is no repository to fetch source "
              "packages from", file=sys.stderr)
        return 1
    output = os.path.join(aptDir, "sources.list.d", OUTPUT_NAME)
    text = ("# Source packages from the repositories apt installs from (written by Lumidor's "
            "scripts/web.sh).\n\n" + "\n".join(stanzas))
    print(f"== Adding a deb-src entry for each of apt's {len(stanzas)} deb entries: {output}")
    try:
        os.makedirs(os.path.dirname(output), exist_ok=True)
        with open(output, "w", encoding="utf-8") as file:
            file.write(text)
    except OSError as error:
        print(f"add-deb-src: cannot write {output}: {error.strerror}", file=sys.stderr)
        return 1
    if not arguments.no_update:
        return subprocess.call(["apt-get", "update"])
    return 0


if __name__ == "__main__":
    sys.exit(main())
