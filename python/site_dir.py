"""Prints the folder below PREFIX into which `cmake --install` puts the module.

    python3 site_dir.py PREFIX

It is the folder on this Python's own path that lies below PREFIX, the
nearest one to it where there are several: on Debian /usr/local gives
lib/python3.X/dist-packages, /usr gives lib/python3/dist-packages, and ~/.local
gives the user site, lib/python3.X/site-packages; the site-packages of a venv
at PREFIX likewise. A prefix that Python does not read gets its platform
library layout (lib/python3.X/site-packages), for PYTHONPATH.
"""
import os
import site
import sys
import sysconfig


def site_dir(prefix):
    real = os.path.realpath(prefix)
    below = []
    for folder in site.getsitepackages() + [site.getusersitepackages()]:
        relative = os.path.relpath(os.path.realpath(folder), real)
        if relative != os.curdir and relative.split(os.sep)[0] != os.pardir:
            below.append(relative)
    if below:
        return os.path.join(prefix, min(below, key=lambda relative: relative.count(os.sep)))
    return sysconfig.get_path("platlib", "posix_prefix", vars={"base": prefix, "platbase": prefix})


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: site_dir.py PREFIX")
    print(site_dir(sys.argv[1]))
