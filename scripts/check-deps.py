#!/usr/bin/env python3
"""The check half of the dependency audit (scripts/audit-deps.sh configures, this checks): every system
file that configured CMake builds resolved must belong to a Debian package that scripts/install-deps.sh
or scripts/web.sh installs, to a dependency of one, or to an essential package. A file of any other
package, or of no package at all (installed by hand, under /usr/local), fails the check with the
package, the file and the build that needed it: such a build works on this machine only.

The files a build resolved come from its CMakeCache.txt (absolute paths outside the source and build
trees: libraries, programs, include and package folders), the pkg-config modules it looked up (their
.pc files and those they require), the CMake files its configure read (the re-run rule of build.ninja)
and the libraries and include folders on its compile and link lines. Files are mapped to packages with
one `dpkg -S` call. Finds that say nothing about a fresh machine (tools CMake merely probes for, files
read only when present) are noted, not failed.

  check-deps.py --check-build-dir DIR [--check-build-dir DIR ...] [--packages "A B ..."]
  check-deps.py --print-allowed [--packages "A B ..."]

--packages replaces the lists of the two install scripts. Exit status: 0 every file is accounted for,
1 a file is not, 2 bad arguments or a folder that is no configured build, 3 dpkg or apt-cache failed.
"""
import argparse
import os
import re
import shlex
import subprocess
import sys
from collections import defaultdict

SCRIPTS_DIR = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(SCRIPTS_DIR)
INSTALL_SCRIPTS = ("scripts/install-deps.sh", "scripts/web.sh")
# Top-level folders that merged-/usr systems make links into /usr: dpkg records a file under the path
# its package ships it at, which may be either spelling.
MERGED_USR_DIRS = ("bin", "sbin", "lib", "lib32", "lib64", "libx32")
# What a configure finds only when it happens to be there and no build here needs: such a find says
# nothing about what a fresh machine must install, so it is noted, not failed. Path pattern -> why.
OPTIONAL_READS = {
    r"/cmake/GTest/GMockTargets(-[a-z]+)?\.cmake$":
        "read only if present (GTestConfig.cmake includes it OPTIONAL), and no target links GMock",
}
# CMake looks for these tools in every configure and configures without them; compiling, archiving and
# linking here go through the compiler driver (and emar), and nothing strips or inspects the binaries.
# A path found only as one of these is optional; found any other way too, it counts.
OPTIONAL_TOOL_ENTRIES = ("CMAKE_ADDR2LINE", "CMAKE_DLLTOOL", "CMAKE_LINKER", "CMAKE_NM", "CMAKE_OBJCOPY",
                         "CMAKE_OBJDUMP", "CMAKE_READELF", "CMAKE_STRIP")
OPTIONAL_TOOL_REASON = "tools CMake probes for in every configure, which no build here runs"
PKG_CONFIG_KEYWORDS = {"REQUIRED", "QUIET", "IMPORTED_TARGET", "GLOBAL", "NO_CMAKE_PATH",
                       "NO_CMAKE_ENVIRONMENT_PATH"}


class TAuditError(Exception):
    """A failure of the audit's own tools or inputs (not a dependency problem); carries the exit status."""

    def __init__(self, message, status):
        super().__init__(message)
        self.Status = status


def Run(command, **options):
    """Runs a command in the C locale and returns it completed; a missing program is an audit error."""
    environment = dict(os.environ, LC_ALL="C")
    try:
        return subprocess.run(command, capture_output=True, text=True, env=environment, **options)
    except FileNotFoundError:
        raise TAuditError(f"audit: cannot run '{command[0]}': it is not installed", 3)


def StripArchitecture(name):
    return name.strip().strip("<>").split(":", 1)[0]


# --- Which packages are allowed -------------------------------------------------------------------

def ListedPackages():
    """The packages the install scripts install, read from the scripts themselves."""
    packages = []
    for script in INSTALL_SCRIPTS:
        result = Run([os.path.join(SOURCE_DIR, script), "--print-packages"])
        if result.returncode != 0:
            raise TAuditError(f"audit: {script} --print-packages failed: {result.stderr.strip()}", 3)
        packages += result.stdout.split()
    return packages


def EssentialPackages():
    """Installed packages marked essential: Debian packages need not declare a dependency on them."""
    result = Run(["dpkg-query", "-W", "-f", "${Package} ${Essential}\n"])
    if result.returncode != 0:
        raise TAuditError(f"audit: dpkg-query failed: {result.stderr.strip()}", 3)
    return [line.split()[0] for line in result.stdout.splitlines() if line.endswith(" yes")]


def DependencyClosure(roots):
    """The roots and everything they depend on, recursively (pre-dependencies included, recommends
    not: the install scripts install without them)."""
    result = Run(["apt-cache", "depends", "--recurse", "--no-recommends", "--no-suggests", "--no-conflicts",
                  "--no-breaks", "--no-replaces", "--no-enhances"] + sorted(set(roots)))
    if result.returncode != 0:
        raise TAuditError(f"audit: apt-cache depends failed: {result.stderr.strip()}", 3)
    # Unindented lines name every package visited, virtual ones in <>; the indented ones are edges.
    return {StripArchitecture(line) for line in result.stdout.splitlines() if line and not line[0].isspace()}


# --- What a build resolved -------------------------------------------------------------------------

class TBuildFiles:
    """The system paths one build resolved: path -> set of how it was found; folders kept apart, since
    only folders that were searched for (include and package folders) say anything about a package."""

    def __init__(self, name):
        self.Name = name
        self.Files = defaultdict(set)
        self.Folders = defaultdict(set)

    def Add(self, path, how, folderMatters=False):
        if not path.startswith("/"):
            return
        path = os.path.normpath(path)
        if os.path.isfile(path):
            self.Files[path].add(how)
        elif folderMatters and os.path.isdir(path):
            self.Folders[path].add(how)


def ReadCache(buildDir):
    """CMakeCache.txt as name -> (type, value)."""
    entries = {}
    with open(os.path.join(buildDir, "CMakeCache.txt"), encoding="utf-8", errors="replace") as file:
        for line in file:
            match = re.match(r"^([^#/][^:]*):([A-Z]+)=(.*)$", line.rstrip("\n"))
            if match:
                entries[match.group(1)] = (match.group(2), match.group(3))
    return entries


def AddCacheFiles(cache, files):
    for name, (kind, value) in cache.items():
        # Where the build installs to is not something it found.
        if name.startswith("CMAKE_INSTALL_") or name.startswith("_GNUInstallDirs"):
            continue
        folderMatters = kind == "PATH" or "INCLUDE" in name.upper()
        for path in value.split(";"):
            files.Add(path, f"cache entry {name}", folderMatters)


def PkgConfigModules(cache):
    """The modules pkg_check_modules and pkg_search_module looked up."""
    modules = set()
    for name, (_, value) in cache.items():
        if name.endswith("_MODULE_NAME"):
            modules.add(value)
        elif name.startswith("__pkg_config_arguments_"):
            for word in value.split(";"):
                if word not in PKG_CONFIG_KEYWORDS:
                    modules.add(re.split(r"[<>=! ]", word, 1)[0])
    return {module for module in modules if module}


def AddPkgConfigFiles(cache, files, pcFileCache):
    pkgConfig = cache.get("PKG_CONFIG_EXECUTABLE", ("", "pkg-config"))[1] or "pkg-config"
    if not os.path.isfile(pkgConfig) and pkgConfig != "pkg-config":
        pkgConfig = "pkg-config"
    pending = sorted(PkgConfigModules(cache))
    seen = set()
    while pending:
        module = pending.pop()
        if module in seen:
            continue
        seen.add(module)
        if module not in pcFileCache:
            where = Run([pkgConfig, "--path", module])
            requires = Run([pkgConfig, "--print-requires", "--print-requires-private", module])
            pcFileCache[module] = (where.stdout.strip() if where.returncode == 0 else "",
                                   [line.split()[0] for line in requires.stdout.splitlines() if line.strip()])
        path, required = pcFileCache[module]
        if path:  # a module that is not there failed the configure already, if it was required
            files.Add(path, f"pkg-config module {module}")
        pending += required


def NinjaLines(buildDir):
    """build.ninja's lines with the `$`-newline continuations joined."""
    path = os.path.join(buildDir, "build.ninja")
    if not os.path.isfile(path):
        return []
    lines = []
    pending = ""
    with open(path, encoding="utf-8", errors="replace") as file:
        for line in file:
            line = line.rstrip("\n")
            trailing = len(line) - len(line.rstrip("$"))
            if trailing % 2 == 1:
                pending += line[:-1]
                continue
            lines.append(pending + line if not pending else pending + line.lstrip())
            pending = ""
    return lines


def SplitNinjaPaths(text):
    """A ninja path list split on unescaped spaces, with `$ `, `$:` and `$$` undone."""
    paths = []
    current = []
    index = 0
    while index < len(text):
        character = text[index]
        if character == "$" and index + 1 < len(text):
            current.append(text[index + 1])
            index += 2
            continue
        if character == " ":
            if current:
                paths.append("".join(current))
            current = []
        else:
            current.append(character)
        index += 1
    if current:
        paths.append("".join(current))
    return paths


def SplitCommandWords(value):
    value = value.replace("$$", "$")
    try:
        return shlex.split(value)
    except ValueError:
        return value.split()


def AddNinjaFiles(buildDir, files):
    for line in NinjaLines(buildDir):
        if line.startswith("build ") and ": RERUN_CMAKE" in line:
            inputs = line.split(": RERUN_CMAKE", 1)[1]
            for path in SplitNinjaPaths(inputs):
                if path not in ("|", "||"):
                    files.Add(path, "read by the configure (build.ninja's re-run rule)")
            continue
        match = re.match(r"^\s+(LINK_LIBRARIES|LINK_PATH|INCLUDES) = (.*)$", line)
        if not match:
            continue
        words = SplitCommandWords(match.group(2))
        if match.group(1) == "INCLUDES":
            for index, word in enumerate(words):
                if word in ("-I", "-isystem", "-iquote", "-idirafter") and index + 1 < len(words):
                    files.Add(words[index + 1], "include folder on a compile line", True)
                elif word.startswith("-I"):
                    files.Add(word[2:], "include folder on a compile line", True)
                elif word.startswith("-isystem"):
                    files.Add(word[len("-isystem"):], "include folder on a compile line", True)
        else:
            for word in words:
                files.Add(word, "library on a link line")
                if word.startswith("-L"):
                    files.Add(word[2:], "library folder on a link line", True)


def CollectBuild(buildDir):
    if not os.path.isfile(os.path.join(buildDir, "CMakeCache.txt")):
        raise TAuditError(f"audit: {buildDir} has no CMakeCache.txt: it is not a configured CMake build", 2)
    files = TBuildFiles(os.path.basename(os.path.normpath(buildDir)))
    cache = ReadCache(buildDir)
    AddCacheFiles(cache, files)
    AddPkgConfigFiles(cache, files, CollectBuild.PcFiles)
    AddNinjaFiles(buildDir, files)
    return files


CollectBuild.PcFiles = {}


# --- Which package owns a file ---------------------------------------------------------------------

def Spellings(path):
    """The path and, on a merged-/usr system, its other spelling (/usr/lib/x <-> /lib/x)."""
    parts = path.split("/")
    if len(parts) > 3 and parts[1] == "usr" and parts[2] in MERGED_USR_DIRS \
            and os.path.islink("/" + parts[2]):
        return [path, "/" + "/".join(parts[2:])]
    if len(parts) > 2 and parts[1] in MERGED_USR_DIRS and os.path.islink("/" + parts[1]):
        return [path, "/usr" + path]
    return [path]


def Owners(paths):
    """path -> owning packages, from one dpkg -S call over every spelling of each path and of its
    target (a link made by update-alternatives belongs to no package, its target does)."""
    groups = {}
    for path in paths:
        real = os.path.realpath(path)
        groups[path] = [Spellings(path)] + ([Spellings(real)] if real != path else [])
    queries = sorted({spelling for group in groups.values() for spellings in group for spelling in spellings})
    owned = defaultdict(set)
    if queries:
        result = Run(["dpkg-query", "-S"] + queries)
        if result.returncode not in (0, 1):
            raise TAuditError(f"audit: dpkg-query -S failed: {result.stderr.strip()}", 3)
        for line in result.stdout.splitlines():
            if line.startswith("diversion by") or ": /" not in line:
                continue
            packages, path = line.split(": /", 1)
            owned["/" + path].update(StripArchitecture(package) for package in packages.split(","))
    owners = {}
    for path, group in groups.items():
        owners[path] = set()
        for spellings in group:
            owners[path] = set().union(*(owned[spelling] for spelling in spellings))
            if owners[path]:
                break
    return owners


# --- The check -------------------------------------------------------------------------------------

def Ignored(path, roots):
    real = os.path.realpath(path)
    return any(candidate == root or candidate.startswith(root + "/")
               for root in roots for candidate in (path, real))


def OptionalReason(path, hows):
    """Why a find of this path is optional, or None when the build needs it."""
    for pattern, reason in OPTIONAL_READS.items():
        if re.search(pattern, path):
            return reason
    if all(how in {f"cache entry {name}" for name in OPTIONAL_TOOL_ENTRIES} for how in hows):
        return OPTIONAL_TOOL_REASON
    return None


def Describe(path, buildNames, hows):
    return f"    {path}  ({', '.join(sorted(buildNames))} build: {'; '.join(sorted(hows))})"


def Check(buildDirs, allowed, listedSource):
    """Prints the verdict; returns the exit status."""
    roots = {os.path.realpath(SOURCE_DIR)} | {os.path.realpath(directory) for directory in buildDirs}
    builds = [CollectBuild(directory) for directory in buildDirs]
    found = defaultdict(lambda: (set(), set()))  # path -> (build names, hows)
    for build in builds:
        for table in (build.Files, build.Folders):
            for path, hows in table.items():
                if not Ignored(path, roots):
                    found[path][0].add(build.Name)
                    found[path][1].update(hows)
    owners = Owners(found)
    unowned = []
    byPackage = defaultdict(list)
    used = set()
    optional = defaultdict(list)  # reason -> "path (packages)"
    for path in sorted(found):
        packages = owners[path]
        if packages & allowed:
            used |= packages & allowed
        elif OptionalReason(path, found[path][1]):
            optional[OptionalReason(path, found[path][1])].append(
                f"{path} ({', '.join(sorted(packages)) or 'no package'})")
        elif not packages:
            unowned.append(path)
        else:
            for package in sorted(packages):
                byPackage[package].append(path)
    for reason, paths in optional.items():
        print(f"audit: note: found on this machine but not needed, {reason}: {', '.join(paths)}")
    names = ", ".join(sorted(build.Name for build in builds))
    if not unowned and not byPackage:
        print(f"audit: {len(found)} system files and folders resolved by the builds ({names}) all come from "
              f"{len(used)} packages that {listedSource} install or depend on")
        return 0
    for package, paths in sorted(byPackage.items()):
        print(f"audit: package {package} is not installed by {listedSource} nor a dependency of what they "
              f"install, yet a build uses it (it was found only because it is on this machine):")
        for path in paths:
            print(Describe(path, *found[path]))
    for path in unowned:
        print(f"audit: {path} belongs to no Debian package (installed by hand?), yet a build uses it:")
        print(Describe(path, *found[path]))
    print(f"audit: FAILED: {len(byPackage)} unlisted packages, {len(unowned)} files of no package "
          f"(builds checked: {names})")
    return 1


def main():
    parser = argparse.ArgumentParser(description="Checks that configured builds use only listed packages.")
    parser.add_argument("--check-build-dir", action="append", default=[], metavar="DIR",
                        help="a configured CMake build folder (repeatable)")
    parser.add_argument("--packages", action="append", metavar="LIST",
                        help="allow these packages and their dependencies instead of the install scripts' "
                             "lists (repeatable, space or comma separated)")
    parser.add_argument("--print-allowed", action="store_true", help="print the allowed packages and stop")
    arguments = parser.parse_args()
    if not arguments.check_build_dir and not arguments.print_allowed:
        parser.error("give --check-build-dir DIR or --print-allowed")
    try:
        if arguments.packages:
            listed = " ".join(arguments.packages).replace(",", " ").split()
            listedSource = "the given packages (" + " ".join(listed) + ")"
        else:
            listed = ListedPackages()
            listedSource = " and ".join(INSTALL_SCRIPTS)
        allowed = DependencyClosure(listed + EssentialPackages())
        for package in sorted(set(listed) - allowed):
            print(f"audit: warning: apt knows no package named {package}", file=sys.stderr)
        if arguments.print_allowed:
            print("\n".join(sorted(allowed)))
            return 0
        buildDirs = [os.path.abspath(directory) for directory in arguments.check_build_dir]
        return Check(buildDirs, allowed, listedSource)
    except TAuditError as error:
        print(error, file=sys.stderr)
        return error.Status


if __name__ == "__main__":
    sys.exit(main())
