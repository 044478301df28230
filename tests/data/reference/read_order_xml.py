#!/usr/bin/env python3
"""Parses an XML order file (UTF-16LE with its mark) with xml.etree and prints its
elements: the root's attributes, then per line its description and per item its
description, discount, part number, price and quantity."""
import sys
import xml.etree.ElementTree as ET

with open(sys.argv[1], "rb") as f:
    raw = f.read()
if not raw.startswith(b"\xff\xfe"):
    sys.exit("no UTF-16LE mark")
root = ET.fromstring(raw[2:].decode("utf-16-le"))
print(root.tag, sorted(root.attrib.items()))
print("children", [child.tag for child in root])
for line in root.find("Lignes"):
    print("line", repr(line.find("Description").text), line.find("Discount").text,
          line.find("Quantity").text, line.find("PartNumber").text)
    for item in line.find("Lignes"):
        fields = [item.find(tag).text for tag in
                  ("Description", "Discount", "PartNumber", "NetPrice", "Quantity")]
        print("  item", [repr(f) for f in fields], len(list(item.find("Lignes"))))
