#!/usr/bin/env python3
"""Tests of scripts/check-deps.py, the check half of the dependency audit, on fake configured builds:
a file of an installed package outside the install scripts' lists fails naming the package, the file
and the build, wherever the build recorded it (cache, pkg-config module, configure inputs, link and
compile lines); files of listed packages pass, through links, merged-/usr spellings and folders many
packages share; a file of no package fails; the build's own trees are ignored; a folder that is no
build is refused. Exits 77 (skipped) where dpkg or apt-cache is missing.
Usage: check_deps_test.py SOURCE_DIR"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE_DIR = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else
                             os.path.join(os.path.dirname(__file__), "..", ".."))
CHECK = os.path.join(SOURCE_DIR, "scripts", "check-deps.py")
# Packages often installed beside the build tools without being needed by any build.
LIKELY_UNLISTED = ("git", "less", "curl", "wget", "nano", "vim-tiny", "openssh-client", "rsync", "unzip",
                   "zip", "strace", "gdb", "file", "patch")


def Output(command):
    return subprocess.run(command, capture_output=True, text=True, env=dict(os.environ, LC_ALL="C")).stdout


def Installed():
    lines = Output(["dpkg-query", "-W", "-f", "${db:Status-Abbrev} ${Package}\n"]).splitlines()
    return [line.split()[1] for line in lines if line.startswith("ii ")]


def OnlyOwner(path):
    """The one package that ships this path, or None when it is shared or unowned."""
    owners = Output(["dpkg-query", "-S", path]).split(": /")[0].split(",")
    return owners[0].strip().split(":")[0] if len(owners) == 1 and owners[0] else None


def OwnPaths(package):
    """A regular file (not a link) under /usr that only this package ships, and such a folder."""
    found = {}
    for path in Output(["dpkg-query", "-L", package]).splitlines():
        if not path.startswith("/usr/") or os.path.islink(path):
            continue
        kind = "file" if os.path.isfile(path) else "folder" if os.path.isdir(path) else None
        if kind and kind not in found and OnlyOwner(path) == package:
            found[kind] = path
            if len(found) == 2:
                return found["file"], found["folder"]
    return None


def FakeBuild(parent, name, cache, ninja=None):
    """A build folder holding only what the check reads: CMakeCache.txt and, if given, build.ninja."""
    folder = os.path.join(parent, name)
    os.makedirs(os.path.join(folder, "CMakeFiles"))
    with open(os.path.join(folder, "CMakeCache.txt"), "w", encoding="utf-8") as file:
        file.write("# This is the CMakeCache file.\n//A comment line\n")
        file.writelines(f"{entry}\n" for entry in cache)
    if ninja is not None:
        with open(os.path.join(folder, "build.ninja"), "w", encoding="utf-8") as file:
            file.write(ninja)
    return folder


def RunCheck(*arguments):
    result = subprocess.run([CHECK] + list(arguments), capture_output=True, text=True)
    return result.returncode, result.stdout + result.stderr


class TCheckDepsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.Work = tempfile.mkdtemp(prefix="lumidor-audit-")
        status, output = RunCheck("--print-allowed")
        assert status == 0, output
        cls.Allowed = set(output.split())

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.Work)

    def UnlistedPaths(self):
        """An installed package outside the lists and their dependencies, a file and a folder only it
        ships."""
        installed = Installed()
        candidates = [p for p in LIKELY_UNLISTED if p in installed] + sorted(installed)
        for package in candidates:
            if package not in self.Allowed:
                paths = OwnPaths(package)
                if paths:
                    return (package,) + paths
        self.skipTest("every installed package is a listed one or a dependency of one")

    def test_the_allowed_set_holds_the_lists_and_their_dependencies(self):
        # From the scripts' own lists, through apt's dependencies, virtual packages resolved to providers.
        for package in ("libsdl2-dev", "emscripten", "libsdl2-2.0-0", "libc6", "libc6-dev", "bash"):
            self.assertIn(package, self.Allowed)
        self.assertFalse(any(":" in name or "<" in name for name in self.Allowed))

    def test_a_file_of_an_unlisted_package_fails_wherever_the_build_recorded_it(self):
        package, path, folder = self.UnlistedPaths()
        # One build per place a build records what it found, checked together as the audit does.
        recorded = {
            "cache-entry": ([f"TOOL_EXECUTABLE:FILEPATH={path}"], None, "cache entry TOOL_EXECUTABLE"),
            "cache-list": ([f"FOO_LIBRARIES:INTERNAL=/usr/include;{path}"], None,
                           "cache entry FOO_LIBRARIES"),
            "configure-input": ([], f"build build.ninja: RERUN_CMAKE | CMakeFiles/a.cmake $\n    {path}\n"
                                    "  pool = console\n",
                                "read by the configure (build.ninja's re-run rule)"),
            "link-line": ([], f"build app: CXX_EXECUTABLE_LINKER a.o\n  LINK_LIBRARIES = -lm \"{path}\"\n",
                          "library on a link line"),
        }
        builds = [FakeBuild(self.Work, name, cache, ninja) for name, (cache, ninja, _) in recorded.items()]
        builds.append(FakeBuild(self.Work, "include-folder", [], "build a.o: CXX_COMPILER a.cpp\n"
                                f"  INCLUDES = -I/usr/include -isystem {folder}\n"))
        status, output = RunCheck(*[word for build in builds for word in ("--check-build-dir", build)])
        self.assertEqual(status, 1, output)
        self.assertIn(f"audit: package {package} is not installed by scripts/install-deps.sh and "
                      "scripts/web.sh nor a dependency of what they install, yet a build uses it", output)
        hows = "; ".join(sorted(how for _, _, how in recorded.values()))
        self.assertIn(f"    {path}  ({', '.join(sorted(recorded))} build: {hows})", output)
        self.assertIn(f"    {folder}  (include-folder build: include folder on a compile line)", output)
        self.assertIn("audit: FAILED: 1 unlisted packages, 0 files of no package (builds checked: "
                      "cache-entry, cache-list, configure-input, include-folder, link-line)", output)

    def test_a_tool_cmake_only_probes_for_is_noted_not_failed(self):
        package, path, _ = self.UnlistedPaths()
        probed = FakeBuild(self.Work, "probed", [f"CMAKE_NM:FILEPATH={path}", f"CMAKE_STRIP:FILEPATH={path}"])
        status, output = RunCheck("--check-build-dir", probed, "--packages", "bash")
        self.assertEqual(status, 0, output)
        self.assertIn(f"audit: note: found on this machine but not needed, tools CMake probes for in every "
                      f"configure, which no build here runs: {path} ({package})", output)
        # Run as well: then the build needs it.
        used = FakeBuild(self.Work, "probed-and-used", [f"CMAKE_NM:FILEPATH={path}"],
                         f"build x: CUSTOM_COMMAND\n  LINK_LIBRARIES = {path}\n")
        status, output = RunCheck("--check-build-dir", used, "--packages", "bash")
        self.assertEqual(status, 1, output)
        self.assertIn(f"    {path}  (probed-and-used build: cache entry CMAKE_NM; library on a link line)",
                      output)

    def test_files_of_listed_packages_pass_and_fail_when_unlisted(self):
        header = "/usr/include/SDL2/SDL.h"
        pcFiles = {module: Output(["pkg-config", "--path", module]).strip()
                   for module in ("sdl2", "imgui", "stb")}
        if not (os.path.isfile(header) and os.path.isfile("/usr/bin/c++") and all(pcFiles.values())):
            self.skipTest("libsdl2-dev, libimgui-dev or a C++ compiler is not installed")
        # A library recorded under /lib by its package, named with the other spelling (or as is).
        libc = next((p for p in Output(["dpkg-query", "-L", "libc6"]).splitlines()
                     if os.path.basename(p).startswith("libc.so.")), None)
        if libc and os.path.islink("/lib") and libc.startswith("/lib/"):
            libc = "/usr" + libc
        cache = [f"SDL2_H:FILEPATH={header}",
                 "SDL2_INCLUDE_DIRS:INTERNAL=/usr/include/SDL2;/usr/include",  # the second has many owners
                 "__pkg_config_arguments_SDL2:INTERNAL=REQUIRED;IMPORTED_TARGET;sdl2>=2.0",
                 "IMGUI_MODULE_NAME:INTERNAL=imgui",  # which requires stb
                 "CMAKE_CXX_COMPILER:FILEPATH=/usr/bin/c++",  # an alternatives link no package owns
                 f"C_LIBRARY:FILEPATH={libc}",
                 "CMAKE_INSTALL_PREFIX:PATH=/usr/local"]  # where the build installs, not what it found
        build = FakeBuild(self.Work, "listed", cache)
        status, output = RunCheck("--check-build-dir", build, "--packages", "libsdl2-dev build-essential",
                                  "--packages", "libimgui-dev,libstb-dev")
        self.assertEqual(status, 0, output)
        self.assertIn("system files and folders resolved by the builds (listed) all come from", output)
        self.assertIn("that the given packages (libsdl2-dev build-essential libimgui-dev libstb-dev) install "
                      "or depend on", output)

        # The same build with those left out of the list: the header, the folder and the .pc files show,
        # the one imgui.pc requires too.
        status, output = RunCheck("--check-build-dir", build, "--packages", "build-essential")
        self.assertEqual(status, 1, output)
        for package in ("libsdl2-dev", "libimgui-dev", "libstb-dev"):
            self.assertIn(f"audit: package {package} is not installed by the given packages "
                          "(build-essential)", output)
        for path in (header, "/usr/include/SDL2", pcFiles["sdl2"]):
            self.assertIn(f"    {path}  (listed build: ", output)
        for module in ("sdl2", "imgui", "stb"):
            self.assertIn(f"    {pcFiles[module]}  (listed build: pkg-config module {module})", output)
        self.assertNotIn("/usr/include  (", output)
        self.assertNotIn("/usr/local", output)

    def test_a_file_of_no_package_fails_and_the_build_trees_are_ignored(self):
        stray = os.path.join(self.Work, "hand built", "libstray.so")
        strayConfig = os.path.join(self.Work, "hand built", "StrayConfig.cmake")
        os.makedirs(os.path.dirname(stray))
        for path in (stray, strayConfig):
            with open(path, "w", encoding="utf-8") as file:
                file.write("not from a package")
        build = FakeBuild(self.Work, "stray", [f"STRAY_LIBRARY:FILEPATH={stray}",
                                              f"CMAKE_HOME_DIRECTORY:INTERNAL={SOURCE_DIR}",
                                              f"OWN_FILE:FILEPATH={SOURCE_DIR}/CMakeLists.txt"])
        own = os.path.join(build, "CMakeFiles", "generated.cmake")
        open(own, "w", encoding="utf-8").close()
        with open(os.path.join(build, "build.ninja"), "w", encoding="utf-8") as file:
            file.write(f"build build.ninja: RERUN_CMAKE | {own} {SOURCE_DIR}/CMakeLists.txt "
                       f"{strayConfig.replace(' ', '$ ')}\n")
        status, output = RunCheck("--check-build-dir", build, "--packages", "bash")
        self.assertEqual(status, 1, output)
        self.assertIn(f"audit: {stray} belongs to no Debian package (installed by hand?), yet a build uses "
                      f"it:\n    {stray}  (stray build: cache entry STRAY_LIBRARY)", output)
        self.assertIn(f"    {strayConfig}  (stray build: read by the configure", output)
        self.assertIn("audit: FAILED: 0 unlisted packages, 2 files of no package", output)
        self.assertNotIn(SOURCE_DIR + "/", output)
        self.assertNotIn(own, output)

    def test_a_folder_that_is_no_build_is_refused(self):
        empty = os.path.join(self.Work, "empty")
        os.makedirs(empty)
        status, output = RunCheck("--check-build-dir", empty, "--packages", "bash")
        self.assertEqual(status, 2, output)
        self.assertIn(f"audit: {empty} has no CMakeCache.txt: it is not a configured CMake build", output)


if __name__ == "__main__":
    if not shutil.which("dpkg-query") or not shutil.which("apt-cache"):
        print("dpkg and apt-cache are needed to map files to packages: skipped")
        sys.exit(77)
    unittest.main()
