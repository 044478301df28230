#!/usr/bin/env python3
"""Writes a language file from its UTF-8 source, with CR LF line ends.

usage: write_language_file.py utf-8|utf-16le SOURCE TARGET

utf-16le writes the byte-order mark FF FE first, as the program expects of wide files.
The target is written next to itself and renamed over the old one.
"""
import os
import sys


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("utf-8", "utf-16le"):
        sys.exit(__doc__)
    encoding, source, target = sys.argv[1:]
    with open(source, encoding="utf-8", newline="") as stream:
        text = stream.read()
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    content = "".join(line + "\r\n" for line in lines)
    data = content.encode(encoding)
    if encoding == "utf-16le":
        data = b"\xff\xfe" + data
    partial = target + ".part"
    with open(partial, "wb") as stream:
        stream.write(data)
    os.replace(partial, target)


if __name__ == "__main__":
    main()
