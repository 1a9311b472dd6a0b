#!/usr/bin/env python3
"""The npm half of the dependency audit: a folder whose build installs npm packages (web/playground,
bundled by scripts/web.sh with `npm ci`) must pin them. Every dependency of its package.json names an
exact version (1.2.3, no range), its package-lock.json lists the same ones at those versions, and every
package the lock installs carries an integrity hash, so `npm ci` gets the same bytes on any machine.

  check-npm-lock.py DIR [DIR ...]

Exit status: 0 every folder is pinned, 1 one is not (each fault on its own line), 2 bad arguments or a
folder without package.json."""
import json
import os
import re
import sys

EXACT = re.compile(r"^\d+\.\d+\.\d+(-[0-9A-Za-z.-]+)?$")


def Faults(folder):
    """What is not pinned in `folder`, one sentence each."""
    with open(os.path.join(folder, "package.json"), encoding="utf-8") as file:
        manifest = json.load(file)
    lockPath = os.path.join(folder, "package-lock.json")
    if not os.path.isfile(lockPath):
        return [f"{folder}: no package-lock.json: run `npm install` there and commit it"]
    with open(lockPath, encoding="utf-8") as file:
        lock = json.load(file)
    packages = lock.get("packages", {})
    faults = []
    for kind in ("dependencies", "devDependencies"):
        wanted = manifest.get(kind, {})
        if packages.get("", {}).get(kind, {}) != wanted:
            faults.append(f"{folder}: the lock's {kind} are not package.json's: run `npm install` there")
        for name, version in sorted(wanted.items()):
            if not EXACT.match(version):
                faults.append(f"{folder}: {name} is \"{version}\", not an exact version")
            locked = packages.get(f"node_modules/{name}", {}).get("version")
            if locked != version:
                faults.append(f"{folder}: {name} {version} is locked at {locked}")
    for path, entry in sorted(packages.items()):
        if path and not entry.get("link") and not entry.get("integrity"):
            faults.append(f"{folder}: {path} has no integrity hash in the lock")
    return faults


def main():
    folders = sys.argv[1:]
    if not folders or any(not os.path.isfile(os.path.join(f, "package.json")) for f in folders):
        print("usage: check-npm-lock.py DIR [DIR ...] (folders with a package.json)", file=sys.stderr)
        return 2
    faults = [fault for folder in folders for fault in Faults(folder)]
    for fault in faults:
        print(f"npm lock: {fault}")
    if not faults:
        print(f"npm lock: {len(folders)} folder(s) pinned")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
