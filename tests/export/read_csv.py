#!/usr/bin/env python3
"""Reads a CSV export with Python's csv and, when LibreOffice is there, with LibreOffice
headless (every column as text), and says whether both give the same cells.

Prints "rows=<n> columns=<m> readers=<k>" and exits 0 when the readers agree and every
row has the same number of cells; else prints what differs and exits 1."""

import csv
import os
import shutil
import subprocess
import sys
import tempfile


def read_with_python(path):
    with open(path, "rb") as f:
        raw = f.read()
    if not raw.startswith(b"\xff\xfe"):
        sys.exit("no UTF-16LE mark")
    text = raw[2:].decode("utf-16-le")
    if "\n" in text.replace("\r\n", ""):
        sys.exit("a line end other than CR LF")
    return [row for row in csv.reader(text.split("\r\n")[:-1], delimiter=";")]


def read_with_libreoffice(path, columns):
    office = shutil.which("soffice") or shutil.which("libreoffice")
    if office is None:
        return None
    kinds = "/".join(f"{i}/2" for i in range(1, columns + 1))
    with tempfile.TemporaryDirectory() as out:
        profile = "file://" + os.path.join(out, "profile")
        subprocess.run([office, "-env:UserInstallation=" + profile, "--headless",
                        "--infilter=CSV:59,34,65535,1," + kinds,
                        "--convert-to", "csv:Text - txt - csv (StarCalc):59,34,76,1,,0,false,true,false",
                        "--outdir", out, path], check=True, capture_output=True, timeout=180)
        name = os.path.splitext(os.path.basename(path))[0] + ".csv"
        with open(os.path.join(out, name), encoding="utf-8-sig", newline="") as f:
            return [row for row in csv.reader(f, delimiter=";")]


def main():
    rows = read_with_python(sys.argv[1])
    columns = max(len(r) for r in rows)
    if any(len(r) != columns for r in rows):
        sys.exit("rows of different lengths")
    readers = 1
    office = read_with_libreoffice(sys.argv[1], columns)
    if office is not None:
        readers = 2
        office = [r + [""] * (columns - len(r)) for r in office]
        if office != rows:
            for a, b in zip(rows, office):
                if a != b:
                    print("python     ", a)
                    print("libreoffice", b)
                    break
            sys.exit(f"LibreOffice reads {len(office)} rows, Python {len(rows)}")
    print(f"rows={len(rows)} columns={columns} readers={readers}")


main()
