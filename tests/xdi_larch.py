#!/usr/bin/python3
"""Opens every example's XDI file in Debian's python3-xraylarch, as a
scientist would, and removes its background.

    xdi_larch.py KORVANE SOURCE_DIR

Each file must read with read_ascii, show its column labels and its element
and edge among its header attributes, and give with pre_edge and autobk an
E0 within 3 eV of korvane's estimate, a normalised post-edge mean of
1 +- 0.05 and a finite chi(k)."""

import os
import subprocess
import sys
import tempfile

import numpy as np
from larch import Interpreter
from larch.io import read_ascii
from larch.xafs import autobk, pre_edge


def attribute(group, name):
    """A header attribute as read_ascii stores it ("element.symbol" and the like)."""
    attrs = vars(group.attrs)
    for key, value in attrs.items():
        if key.lower().replace("_", "") == name.lower().replace("_", "").replace(".", ""):
            return str(value)
    return None


def check(path, session):
    faults = []
    group = read_ascii(path)
    mu_label = "mutrans" if "mutrans" in group.array_labels else "mufluor"
    for label in ("energy", "i0", mu_label):
        if label not in group.array_labels:
            faults.append(f"no column {label}: {group.array_labels}")
    if faults:
        return faults
    symbol, edge = attribute(group, "element.symbol"), attribute(group, "element.edge")
    estimate = attribute(group, "korvane.e0_estimate")
    if symbol != "Cu" or edge != "K" or estimate is None:
        return [f"element {symbol} edge {edge} estimate {estimate} among {vars(group.attrs)}"]
    energy, mu = group.energy, getattr(group, mu_label)
    pre_edge(energy, mu, group=group, _larch=session)
    if abs(group.e0 - float(estimate)) > 3:
        faults.append(f"E0 {group.e0:.2f} eV, korvane's estimate {estimate} eV")
    # Just above the edge, where the step is measured: further up the
    # examples' absorption falls off, as a real atom's does.
    post = group.norm[(energy >= group.e0 + 50) & (energy <= group.e0 + 250)]
    if post.size == 0 or abs(post.mean() - 1) > 0.05:
        faults.append(f"normalised post-edge mean {post.mean():.3f}")
    autobk(energy, mu, group=group, rbkg=1.0, _larch=session)
    if group.chi.size == 0 or not np.all(np.isfinite(group.chi)):
        faults.append("chi(k) not finite")
    return faults


def main():
    korvane, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    examples = os.path.join(source, "examples")
    files = sorted(f for f in os.listdir(examples) if f.endswith((".dat", ".qd")))
    session = Interpreter()
    failed = 0
    with tempfile.TemporaryDirectory() as works:
        run = subprocess.run([korvane, "-e", "-xdi", "1", "-files", *files, "-gw", works],
                             cwd=examples, capture_output=True, text=True, check=False)
        if run.returncode != 0:
            print(run.stderr)
            return 1
        written = sorted(os.path.join(d, f) for d, _, fs in os.walk(works) for f in fs
                         if f.endswith(".xdi"))
        if len(written) != len(files):
            print(f"FAIL {len(written)} XDI files for {len(files)} scans")
            return 1
        for path in written:
            faults = check(path, session)
            print(("FAIL " if faults else "ok   ") + os.path.basename(path), *faults)
            failed += bool(faults)
    print(f"{len(written) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
