"""Builds kxcalc._kxcalc: the calculator library's sources and the binding, one extension module.

The library is compiled from this checkout's src/ into the module itself, so the installed
package carries its own calculator and never loads a libkxcalc.so that happens to be on the
system; kx_calc is a direct call from the binding, with no symbol lookup or argument
conversion in between. In a checkout the library's sources live beside this folder; the
source distribution carries a copy of them in library/ (the sdist command puts it there).
"""
import os
import re
import shutil
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext
from setuptools.command.sdist import sdist

PACKAGE_DIR = Path(__file__).resolve().parent
# The files of the repository that the module is built from, as the source distribution holds them.
LIBRARY_FILES = ["CMakeLists.txt", "src", "include", "tools/kxcalc/help_text.h"]
BUNDLED_LIBRARY = PACKAGE_DIR / "library"
BUNDLED = (BUNDLED_LIBRARY / "CMakeLists.txt").is_file()
REPOSITORY = BUNDLED_LIBRARY if BUNDLED else PACKAGE_DIR.parent
OBJECT_ROOT = PACKAGE_DIR if BUNDLED else REPOSITORY  # holds every source of the module
LIBRARY_SOURCES = REPOSITORY / "src"
HOST_SOURCES = REPOSITORY / "tools" / "kxcalc"  # the host's help text (the names are in src/tables)
BINDING_SOURCES = PACKAGE_DIR / "extension"

if not (LIBRARY_SOURCES / "entry" / "kx_calc.cpp").is_file():
    raise SystemExit(f"kxcalc: the library's sources are not at {LIBRARY_SOURCES}; build from a checkout "
                     "or a source distribution")


def project_version() -> str:
    """The version of the project, as CMakeLists.txt declares it."""
    text = (REPOSITORY / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"project\(kxcalc\s+VERSION\s+([0-9.]+)", text).group(1)


def files(folder: Path, pattern: str) -> list:
    return sorted(os.path.relpath(path, PACKAGE_DIR) for path in folder.rglob(pattern))


# Every source of the library (the load hooks included: the ELF constructor builds the tables
# when Python loads the module), then the binding.
SOURCES = files(LIBRARY_SOURCES, "*.cpp") + files(BINDING_SOURCES, "*.cpp")
HEADERS = files(LIBRARY_SOURCES, "*.h") + files(BINDING_SOURCES, "*.h") + files(HOST_SOURCES, "*.h")
VERSION = project_version()

# The library's own flags: results are the IEEE double results of the operations as written
# (no fused multiply-add, no value-changing optimisation), and no unique symbols, as in the
# CMake build. Everything but the module's init function stays hidden.
COMPILE_FLAGS = ["-std=c++20", "-O3", "-g0", "-ffp-contract=off", "-fno-fast-math", "-fno-gnu-unique",
                 "-fvisibility=hidden", "-fvisibility-inlines-hidden"]


class ParallelBuildExt(build_ext):
    """Compiles the module's sources on every core, one compiler process per source."""

    def build_extension(self, ext):
        compile_serially = self.compiler.compile
        name_objects = self.compiler.object_filenames

        # Sources are named relative to this folder ("../src/..."); their objects are named
        # after their place under OBJECT_ROOT, so that they stay inside the build folder.
        def objects_inside(sources, strip_dir=0, output_dir=""):
            in_repository = [os.path.relpath(PACKAGE_DIR / source, OBJECT_ROOT) for source in sources]
            return name_objects(in_repository, strip_dir, output_dir)

        self.compiler.object_filenames = objects_inside
        # Python's C flags carry a few options for C alone; g++ would warn about each of them.
        for flags in (self.compiler.compiler_so, getattr(self.compiler, "compiler_so_cxx", [])):
            flags[:] = [flag for flag in flags if not flag.startswith("-Werror=implicit")]

        def compile_in_parallel(sources, **options):
            with ThreadPoolExecutor(max_workers=os.cpu_count() or 1) as pool:
                results = pool.map(lambda source: compile_serially([source], **options), sources)
                return [obj for objects in results for obj in objects]

        self.compiler.compile = compile_in_parallel
        try:
            super().build_extension(ext)
        finally:
            self.compiler.compile = compile_serially
            self.compiler.object_filenames = name_objects


class SdistWithLibrary(sdist):
    """A source distribution that builds on its own: the library's sources go into library/."""

    def make_release_tree(self, base_dir, files):
        # The module's sources outside this folder ("../src/...") are the copy's to bring.
        super().make_release_tree(base_dir, [name for name in files if not name.startswith("..")])
        for name in LIBRARY_FILES:
            source = REPOSITORY / name
            target = Path(base_dir) / "library" / name
            if source.is_dir():
                shutil.copytree(source, target, ignore=shutil.ignore_patterns("CMakeLists.txt", "*.cmake"))
            else:
                target.parent.mkdir(parents=True, exist_ok=True)
                shutil.copy2(source, target)


setup(
    version=VERSION,
    ext_modules=[
        Extension(
            "kxcalc._kxcalc",
            sources=SOURCES,
            depends=HEADERS,
            include_dirs=[str(LIBRARY_SOURCES), str(REPOSITORY / "include"), str(HOST_SOURCES)],
            define_macros=[("KXCALC_VERSION", f'"{VERSION}"')],
            extra_compile_args=COMPILE_FLAGS,
            language="c++",
        )
    ],
    cmdclass={"build_ext": ParallelBuildExt, "sdist": SdistWithLibrary},
)
