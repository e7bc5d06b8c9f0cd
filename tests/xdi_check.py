#!/usr/bin/python3
"""Checks korvane's XDI files against the XDI 1.0 grammar as its reference
reader takes it. Written apart from the writer, sharing nothing with it.

    xdi_check.py KORVANE SOURCE_DIR   makes works of examples/ and
        tests/data/real with KORVANE, checks every XDI written, and checks
        that each rule fails on a good file broken that way.
"""

import os
import re
import subprocess
import sys
import tempfile

STANDARD_FAMILIES = {"Beamline", "Column", "Detector", "Element", "Facility", "Mono", "Sample",
                     "Scan"}
FIELD = re.compile(r"^# ([A-Za-z_][A-Za-z_0-9]+)\.([A-Za-z_0-9]+):(.*)$")
NUMBER = re.compile(r"^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$")
ISO_TIME = re.compile(r"^\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}$")
ASCII_FAMILIES = {"Facility", "Element", "Column"}


def faults_of(data):
    """Every rule the bytes break, as short names."""
    faults = set()
    if b"\r" in data:
        faults.add("line ends")
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError:
        return {"utf-8"}
    if not text.endswith("\n"):
        faults.add("line ends")
    lines = text.split("\n")[:-1]
    if len(lines) > 16384:
        faults.add("line count")
    if any(len(line.encode("utf-8")) >= 2048 for line in lines):
        faults.add("line length")
    if not lines:
        return faults | {"line 1"}
    first = re.match(r"^# XDI/1\.0 korvane/[0-9][0-9A-Za-z.]*((?: [A-Za-z_][A-Za-z_0-9]+/\S+)*)$",
                     lines[0])
    if not first:
        faults.add("line 1")
    named = {"korvane"} | {w.split("/")[0] for w in (first.group(1).split() if first else [])}
    i = 1
    fields = {}
    while i < len(lines) and lines[i] != "# ///":
        m = FIELD.match(lines[i])
        if not m:
            faults.add("field")
        else:
            family, key, value = m.group(1), m.group(2), m.group(3)
            if not value.strip() or not value.startswith(" "):
                faults.add("empty value")
            if family not in STANDARD_FAMILIES and family not in named:
                faults.add("family not on line 1")
            if family in ASCII_FAMILIES and not value.isascii():
                faults.add("ascii")
            fields[f"{family}.{key}"] = value.strip()
        i += 1
    if i == len(lines):
        return faults | {"no ///"}
    i += 1
    while i < len(lines) and lines[i] != "#----":
        comment = lines[i][2:] if lines[i].startswith("# ") else None
        if comment is None or comment.lstrip().startswith(("---", "///")):
            faults.add("comment")
        i += 1
    if i == len(lines):
        return faults | {"no #----"}
    faults |= field_faults(fields)
    faults |= table_faults(fields, lines[i + 1:])
    return faults


def field_faults(fields):
    faults = set()
    for name in ("Scan.start_time", "Scan.end_time"):
        if name in fields and not ISO_TIME.match(fields[name]):
            faults.add("time")
    if not NUMBER.match(fields.get("Mono.d_spacing", "")):
        faults.add("d_spacing")
    for name in ("Element.symbol", "Element.edge"):
        if name not in fields and not fields.get("korvane.element_from", "").startswith("none"):
            faults.add("element")
    return faults


def table_faults(fields, rest):
    faults = set()
    n = 1
    labels = []
    while f"Column.{n}" in fields:
        labels.append(fields[f"Column.{n}"].split()[0])
        n += 1
    if len(labels) != sum(1 for k in fields if k.startswith("Column.")):
        faults.add("columns")
    if not rest or rest[0].split()[1:] != labels or not rest[0].startswith("# "):
        faults.add("labels")
    rows = rest[1:]
    if len({len(row) for row in rows}) > 1:
        faults.add("row width")
    energies = []
    for row in rows:
        items = row.split()
        if len(items) != len(labels) or not all(NUMBER.match(x) for x in items):
            faults.add("row numbers")
            continue
        energies.append(float(items[0]))
    if any(b < a for a, b in zip(energies, energies[1:])):
        faults.add("energy order")
    return faults


def broken(good):
    """The good file broken each way, with the rule each breaks."""
    lines = good.split("\n")
    head = lines.index("# ///")
    end = lines.index("#----")

    def put(index, line):
        return "\n".join(lines[:index] + [line] + lines[index:])

    def swap(old, new):
        return good.replace(old, new, 1)

    row = lines[end + 2]
    items = row.split()
    return [
        ("line 1", swap("# XDI/1.0 korvane/", "#XDI/1.0 korvane/")),
        ("field", put(2, "# Mono.d-spacing: 3.1")),
        ("field", put(2, "# Mono:3.1")),
        ("empty value", put(2, "# Sample.prep: ")),
        ("family not on line 1", put(2, "# other.x: 1")),
        ("family not on line 1", put(2, "# Korvane.x: 1")),
        ("ascii", put(2, "# Facility.name: Løbe")),
        ("no ///", "\n".join(lines[:head] + lines[head + 1:])),
        ("comment", put(head + 1, "# ---- a user's line")),
        ("comment", put(head + 1, "# /// a user's line")),
        ("no #----", "\n".join(lines[:end] + lines[end + 1:])),
        ("labels", swap(lines[end + 1], "# " + " ".join(reversed(lines[end + 1][2:].split())))),
        ("columns", put(2, "# Column.99: extra")),
        ("row numbers", swap(row, row.replace(items[3], "nan".rjust(len(items[3]))))),
        ("row numbers", swap(row, row.replace(items[0], items[0].replace(".", ",")))),
        ("row numbers", swap(row, row + " 1")),
        ("row width", swap(row, " " + row)),
        ("energy order", "\n".join(lines[:end + 2] + [lines[end + 3], lines[end + 2]]
                                   + lines[end + 4:])),
        ("line ends", good.replace("\n", "\r\n")),
        ("line length", put(head + 1, "# " + "x" * 2046)),
        ("line length", put(head + 1, "# " + "試" * 682)),
        ("line count", good + (row + "\n") * 16384),
        ("time", re.sub(r"(Scan.start_time: \S+)T", r"\1 ", good)),
        ("d_spacing", re.sub(r"(Mono.d_spacing: \S+)", r"\1 A", good)),
        ("element", re.sub(r"# Element.symbol: \w+\n", "", good)),
        ("utf-8", None),
    ]


def self_test(good_path):
    """Each rule fails on a file broken that way, and only that file does."""
    with open(good_path, "rb") as f:
        good = f.read()
    ok = True
    if faults_of(good):
        print(f"FAIL the good file {good_path}: {sorted(faults_of(good))}")
        ok = False
    for rule, text in broken(good.decode("utf-8")):
        data = good.replace(b"# ///", b"# \xff///") if text is None else text.encode("utf-8")
        if rule not in faults_of(data):
            print(f"FAIL a file broken as '{rule}' passes: {sorted(faults_of(data))}")
            ok = False
    return ok


def make_works(korvane, folder, files, works):
    run = subprocess.run([korvane, "-e", "-xdi", "1", "-wud", "0", "-wut", "0", "-files", *files,
                          "-gw", works], cwd=folder, capture_output=True, text=True, check=False)
    if run.returncode != 0:
        print(run.stderr)
    return run.returncode == 0


def main():
    korvane, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    ok = True
    checked = 0
    with tempfile.TemporaryDirectory() as tmp:
        for sub in ("examples", "tests/data/real"):
            folder = os.path.join(source, sub)
            files = sorted(f for f in os.listdir(folder) if f.endswith((".dat", ".qd")))
            works = os.path.join(tmp, sub.replace("/", "_"))
            ok &= make_works(korvane, folder, files, works)
            written = [os.path.join(d, f) for d, _, fs in os.walk(works) for f in fs
                       if f.endswith(".xdi")]
            if len(written) != len(files):
                print(f"FAIL {sub}: {len(written)} XDI files for {len(files)} scans")
                ok = False
            for path in sorted(written):
                with open(path, "rb") as f:
                    faults = faults_of(f.read())
                if faults:
                    print(f"FAIL {path}: {sorted(faults)}")
                    ok = False
                checked += 1
        good = sorted(os.path.join(d, f) for d, _, fs in os.walk(tmp) for f in fs
                      if f == "Cu_foil_K_001.xdi")
        ok &= bool(good) and self_test(good[0])
    print(f"{checked} XDI files checked")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
