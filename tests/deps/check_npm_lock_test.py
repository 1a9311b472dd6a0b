#!/usr/bin/env python3
"""Tests of scripts/check-npm-lock.py on fake npm folders: a pinned folder passes; a range, a lock at
another version, a lock that lists other packages, a package without integrity and a missing lock each
fail naming the fault; a folder without package.json is refused.
Usage: check_npm_lock_test.py SOURCE_DIR"""
import copy
import json
import os
import subprocess
import sys
import tempfile
import unittest

SOURCE_DIR = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else
                             os.path.join(os.path.dirname(__file__), "..", ".."))
CHECK = os.path.join(SOURCE_DIR, "scripts", "check-npm-lock.py")
MANIFEST = {"dependencies": {"codemirror": "6.0.2"}, "devDependencies": {"esbuild": "0.28.2"}}
LOCK = {"lockfileVersion": 3, "packages": {
    "": copy.deepcopy(MANIFEST),
    "node_modules/codemirror": {"version": "6.0.2", "integrity": "sha512-a"},
    "node_modules/esbuild": {"version": "0.28.2", "integrity": "sha512-b", "dev": True},
    "node_modules/@esbuild/linux-x64": {"version": "0.28.2", "integrity": "sha512-c", "optional": True}}}


def Run(manifest, lock):
    with tempfile.TemporaryDirectory() as folder:
        if manifest is not None:
            with open(os.path.join(folder, "package.json"), "w") as file:
                json.dump(manifest, file)
        if lock is not None:
            with open(os.path.join(folder, "package-lock.json"), "w") as file:
                json.dump(lock, file)
        result = subprocess.run([sys.executable, CHECK, folder], capture_output=True, text=True)
        return result.returncode, result.stdout + result.stderr


def Changed(change):
    manifest, lock = copy.deepcopy(MANIFEST), copy.deepcopy(LOCK)
    change(manifest, lock)
    return manifest, lock


class CheckNpmLockTest(unittest.TestCase):
    def test_pinned_folder_passes(self):
        self.assertEqual(Run(MANIFEST, LOCK), (0, "npm lock: 1 folder(s) pinned\n"))

    def test_faults_fail_naming_them(self):
        def caret(m, l):
            m["dependencies"]["codemirror"] = l["packages"][""]["dependencies"]["codemirror"] = "^6.0.2"
        cases = [
            ("a range", caret, 'codemirror is "^6.0.2", not an exact version'),
            ("another locked version", lambda m, l: l["packages"]["node_modules/esbuild"].update(version="0.28.1"),
             "esbuild 0.28.2 is locked at 0.28.1"),
            ("a stale lock", lambda m, l: m["dependencies"].update({"fflate": "0.8.2"}),
             "the lock's dependencies are not package.json's"),
            ("no integrity", lambda m, l: l["packages"]["node_modules/@esbuild/linux-x64"].pop("integrity"),
             "node_modules/@esbuild/linux-x64 has no integrity hash"),
        ]
        for name, change, expected in cases:
            with self.subTest(name):
                status, output = Run(*Changed(change))
                self.assertEqual(status, 1)
                self.assertIn(expected, output)
        status, output = Run(MANIFEST, None)
        self.assertEqual(status, 1)
        self.assertIn("no package-lock.json", output)

    def test_folder_without_manifest_is_refused(self):
        self.assertEqual(Run(None, LOCK)[0], 2)


if __name__ == "__main__":
    unittest.main()
