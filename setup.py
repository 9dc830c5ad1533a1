"""Builds the module `redivev` for pip with the project's own CMake.

The module is the CMake target redivev_python (python/CMakeLists.txt), built
without the window, tests or benchmarks for the Python that runs pip, in
build-pip/ beside this file, and copied to where setuptools packs it.
"""
import os
import pathlib
import re
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = pathlib.Path(__file__).resolve().parent


def version():
    found = re.search(r"project\(Redivev VERSION ([0-9.]+)", (ROOT / "CMakeLists.txt").read_text())
    if not found:
        sys.exit("setup.py: no project(Redivev VERSION ...) in CMakeLists.txt")
    return found.group(1)


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        build = ROOT / "build-pip" / "cmake"
        configure = ["cmake", "-S", str(ROOT), "-B", str(build), "-DCMAKE_BUILD_TYPE=Release",
                     f"-DPython3_EXECUTABLE={sys.executable}", "-DREDIVEV_WINDOW=OFF", "-DREDIVEV_TESTS=OFF",
                     "-DREDIVEV_BENCH=OFF", "-DREDIVEV_FUZZ=OFF"]
        if shutil.which("ccache"):
            configure.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL") or str(os.cpu_count() or 1)
        subprocess.run(configure, check=True)
        subprocess.run(["cmake", "--build", str(build), "--target", "redivev_python", "-j", jobs], check=True)
        target = pathlib.Path(self.get_ext_fullpath(ext.name))
        built = build / "python" / target.name
        if not built.is_file():
            sys.exit(f"setup.py: CMake built no {built}")
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, target)


# Only the module: nothing else in the tree is a Python package. Every file
# of the build goes below build-pip/, none into the sources.
setup(version=version(), packages=[], py_modules=[], ext_modules=[Extension("redivev", sources=[])],
      cmdclass={"build_ext": CMakeBuild},
      options={"build": {"build_base": str(ROOT / "build-pip")}, "egg_info": {"egg_base": str(ROOT / "build-pip")}})
