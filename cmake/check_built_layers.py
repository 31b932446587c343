#!/usr/bin/env python3
"""The layer rule as the compiler and the linker saw it.

Every object of src/ may depend (the compiler's own record of the files it
read, the depfiles Ninja keeps) only on headers of its own layer or the ones
below it, never on a file of the checkout outside src/; and each layer's
library may call (its undefined symbols) only what its own layer or the ones
below define, whether it was declared through an include or by hand.

  check_built_layers.py --build BUILD --source SRC [--deps FILE]

--deps reads the depfiles' text from FILE instead of asking Ninja (for the
check's own test, with a BUILD of libraries it made). Exit 1 with the faults listed, 0 when there are none.
"""
import argparse
import os
import re
import subprocess
import sys

LAYERS = ["text", "dos", "saves", "stores", "os", "winapi", "dosbox", "base", "settings", "launch",
          "presets", "levels", "tools", "app"]
FRONTS = ["qt", "win32"]


def rank(folder):
    if folder in LAYERS:
        return LAYERS.index(folder)
    if folder in FRONTS:
        return len(LAYERS)
    return None


def layer_of(path, source):
    """The src/ folder a path lies in; None outside src/."""
    path = os.path.normpath(path)
    if not path.startswith(source + os.sep):
        return None
    return path[len(source) + 1:].split(os.sep)[0]


def deps_faults(deps_text, source, checkout, build):
    faults = []
    obj = None
    own = None
    for line in deps_text.splitlines():
        if not line.startswith(" ") and line.strip():
            obj = line.split(":")[0]
            match = re.search(r"\.dir/src/([^/]+)/", obj)
            own = match.group(1) if match else None
            continue
        if own is None or rank(own) is None:
            continue
        dep = os.path.normpath(line.strip())
        folder = layer_of(dep, source)
        if folder is not None:
            there = rank(folder)
            if there is None:
                faults.append(f"{obj}: {dep} is in no layer")
            elif there > rank(own) or (folder in FRONTS and folder != own):
                faults.append(f"{obj} ({own}) reads {dep} ({folder}), a layer above it")
        elif dep.startswith(checkout + os.sep) and not dep.startswith(build + os.sep):
            faults.append(f"{obj} ({own}) reads {dep}, outside src/")
    return faults


def nm(library, which):
    """The symbols nm lists of a library: (name, type)."""
    out = subprocess.run(["nm", "-C", "-P", which, library], capture_output=True, text=True,
                         check=False).stdout
    for line in out.splitlines():
        match = re.match(r"^(.*) ([A-Za-z])( \S*)?( \S*)?\s*$", line)
        if match:
            yield match.group(1), match.group(2)


def symbol_faults(build):
    libraries = {layer: os.path.join(build, f"libkestrum_{layer}.a") for layer in LAYERS}
    libraries = {k: v for k, v in libraries.items() if os.path.exists(v)}
    defined = {}
    for layer, library in libraries.items():
        for name, kind in nm(library, "--defined-only"):
            if kind in "TDBRVW":
                defined.setdefault(name, set()).add(layer)
    faults = []
    for layer, library in libraries.items():
        for name, kind in nm(library, "--undefined-only"):
            where = defined.get(name)
            if kind == "U" and where and all(rank(w) > rank(layer) for w in where):
                faults.append(f"libkestrum_{layer}.a calls {name}, which only "
                              f"{', '.join(sorted(where))} (above it) defines")
    return faults


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--deps")
    args = parser.parse_args()
    build = os.path.realpath(args.build)
    source = os.path.realpath(args.source)
    checkout = os.path.dirname(source)
    if args.deps:
        with open(args.deps, encoding="utf-8") as f:
            deps_text = f.read()
    else:
        deps_text = subprocess.run(["ninja", "-C", build, "-t", "deps"], capture_output=True,
                                   text=True, check=True).stdout
    faults = deps_faults(deps_text, source, checkout, build) + symbol_faults(build)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
