#!/usr/bin/env python3
"""Tests of scripts/add-deb-src.py on fake apt folders: deb-src stanzas derived from deb822 and one-line
entries (URIs, suites, components and keys kept, disabled files and stanzas left out), nothing written
when a deb-src entry exists, and a clear failure when apt has no deb entry at all.
Usage: add_deb_src_test.py SOURCE_DIR"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE_DIR = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else
                             os.path.join(os.path.dirname(__file__), "..", ".."))
SCRIPT = os.path.join(SOURCE_DIR, "scripts", "add-deb-src.py")
OUTPUT = os.path.join("sources.list.d", "lumidor-deb-src.sources")
HEADER = ("# Source packages from the repositories apt installs from (written by Lumidor's "
          "scripts/web.sh).\n\n")


class TAddDebSrcTest(unittest.TestCase):
    def setUp(self):
        self.aptDir = tempfile.mkdtemp(prefix="lumidor-apt-")
        os.makedirs(os.path.join(self.aptDir, "sources.list.d"))

    def tearDown(self):
        shutil.rmtree(self.aptDir)

    def Write(self, name, text):
        with open(os.path.join(self.aptDir, name), "w", encoding="utf-8") as file:
            file.write(text)

    def Run(self):
        result = subprocess.run([SCRIPT, "--apt-dir", self.aptDir, "--no-update"], capture_output=True,
                                text=True)
        return result.returncode, result.stdout + result.stderr

    def Written(self):
        path = os.path.join(self.aptDir, OUTPUT)
        if not os.path.exists(path):
            return None
        with open(path, encoding="utf-8") as file:
            return file.read()

    def test_deb822_stanzas_become_deb_src_stanzas(self):
        self.Write("sources.list.d/main.sources", """\
# The distribution.
Types: deb
URIs: http://mirror.example/debian
Suites: bookworm bookworm-updates
Components: main contrib
Signed-By: /usr/share/keyrings/example-archive-keyring.gpg

Types: deb
URIs: http://mirror.example/unused
Suites: bookworm
Components: main
Enabled: no

types: deb
# A comment inside a stanza.
uris: https://one.example/apt https://two.example/apt
suites: stable
components: main
signed-by:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGExample
 -----END PGP PUBLIC KEY BLOCK-----
""")
        # Not read by apt, so neither by the script: a deb-src here must not count as existing.
        self.Write("sources.list.d/old.sources.disabled",
                   "Types: deb-src\nURIs: http://mirror.example/old\nSuites: bookworm\nComponents: main\n")
        status, output = self.Run()
        self.assertEqual(status, 0, output)
        self.assertIn("Adding a deb-src entry for each of apt's 2 deb entries", output)
        self.assertEqual(self.Written(), HEADER + """\
Types: deb-src
URIs: http://mirror.example/debian
Suites: bookworm bookworm-updates
Components: main contrib
Signed-By: /usr/share/keyrings/example-archive-keyring.gpg

Types: deb-src
URIs: https://one.example/apt https://two.example/apt
Suites: stable
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGExample
 -----END PGP PUBLIC KEY BLOCK-----
""")
        # Run again: the entry written the first time is the deb-src entry that now exists.
        status, output = self.Run()
        self.assertEqual(status, 0, output)
        self.assertIn("nothing to add", output)

    def test_one_line_entries_become_deb_src_stanzas(self):
        self.Write("sources.list", """\
# deb http://mirror.example/commented bookworm main
deb [ arch=amd64 signed-by=/usr/share/keyrings/example.gpg ] http://mirror.example/debian bookworm main nf

deb http://flat.example/repo ./   # a flat repository has no components
deb [trusted=yes] http://local.example/pool bookworm extra
""")
        self.Write("sources.list.d/extra.list",
                   "deb http://mirror.example/debian-security bookworm-security main\n")
        self.Write("sources.list.d/ignored.list.save", "deb-src http://mirror.example/debian bookworm main\n")
        status, output = self.Run()
        self.assertEqual(status, 0, output)
        self.assertEqual(self.Written(), HEADER + """\
Types: deb-src
URIs: http://mirror.example/debian
Suites: bookworm
Components: main nf
Signed-By: /usr/share/keyrings/example.gpg

Types: deb-src
URIs: http://flat.example/repo
Suites: ./

Types: deb-src
URIs: http://local.example/pool
Suites: bookworm
Components: extra
Trusted: yes

Types: deb-src
URIs: http://mirror.example/debian-security
Suites: bookworm-security
Components: main
""")

    def test_nothing_is_written_when_a_deb_src_entry_exists(self):
        for existing in ("sources.list", "sources.list.d/src.sources"):
            with self.subTest(existing=existing):
                self.tearDown()
                self.setUp()
                self.Write("sources.list.d/main.list", "deb http://mirror.example/debian bookworm main\n")
                if existing == "sources.list":
                    self.Write(existing, "deb-src http://mirror.example/debian bookworm main\n")
                else:
                    self.Write(existing, "Types: deb deb-src\nURIs: http://mirror.example/debian\n"
                                         "Suites: bookworm\nComponents: main\n")
                status, output = self.Run()
                self.assertEqual(status, 0, output)
                self.assertIn(f"apt has a deb-src entry already ({self.aptDir}/{existing}:1): "
                              "nothing to add", output)
                self.assertIsNone(self.Written())

    def test_no_deb_entry_fails_clearly(self):
        cases = {
            "no sources at all": {},
            "only disabled sources": {
                "sources.list.d/a.list.disabled": "deb http://mirror.example/debian bookworm main\n",
                "sources.list.d/b.sources": "Types: deb\nURIs: http://mirror.example/x\nSuites: bookworm\n"
                                            "Enabled: no\n"},
            "only comments": {"sources.list": "# deb http://mirror.example/debian bookworm main\n"},
        }
        for case, files in cases.items():
            with self.subTest(case=case):
                self.tearDown()
                self.setUp()
                for name, text in files.items():
                    self.Write(name, text)
                status, output = self.Run()
                self.assertEqual(status, 1, output)
                self.assertIn(f"add-deb-src: apt has no enabled 'deb' entry in {self.aptDir}/sources.list",
                              output)
                self.assertIsNone(self.Written())


if __name__ == "__main__":
    unittest.main()
