#!/usr/bin/env python3
"""Writes small_project.lin, the pinned bytes of a small linear project.

It follows the layout of the linear project file on its own (struct.pack), so that the
program's writer is checked against an independent description. Run it by hand after a
deliberate change of the layout and commit both files.
"""
import os
import struct

out = bytearray()
i32 = lambda v: out.extend(struct.pack("<i", v))
f64 = lambda v: out.extend(struct.pack("<d", v))


def text(s):
    out.extend(s.encode("utf-16-le") + b"\0\0")


out.extend(bytes([0x05, 0x00]) + b"TVRLINEAR" + bytes([0x01, 0x00]))
i32(511)  # format
i32(1)  # UTF-16LE texts
properties = {"NumAff": "1042", "Creator": "Dupont", "Name": 'Atelier "B"', "CreationDate": "01/12/2026",
              "ModificationDate": "07/12/2026", "Comment": "Two lines", "Client": "Société é"}
for name in ["NumAff", "Creator", "Name", "CreationDate", "ModificationDate", "Comment", "DevisDate", "Delai",
             "Commande", "Livraison", "Client", "Societe", "Adresse", "CodePostal", "Ville", "Telephone", "Fax"]:
    text(properties.get(name, ""))
coefs = [1.0, 0.5, 0.25, 2.0, 1.0, 1.0, 0.75] + [1.0] * 8
text("EUR")  # currency
i32(0)  # old-form index: list 7 is not below 4
text("Tarif 7")
for c in coefs[:4]: f64(c)
for r in [1.0, 1.0, 1.0, 1.5]: f64(r)
for p in range(12): f64(0.8 if p == 0 else 1.0)
for _ in range(12): f64(0.0)
f64(10.0)  # services
for on in [1, 1, 0, 1]: i32(on)
for _ in range(5): i32(0)
i32(6)  # price list index
for c in coefs[4:]: f64(c)
f64(-456.456)
i32(2)  # lines, the last first


def line(name, comment, head, slots, values, extras, totals):
    text(name)
    text(comment)
    for v in head: i32(v)
    for slot, value in slots: i32(slot); i32(value)
    i32(10564)
    for c in range(7):
        for item, value in values.get(c, []): i32(item); i32(value)
        i32(10564); i32(extras[c]); i32(totals[c]); i32(-458)
    i32(-458)


box = 4 | (40 << 10) | (63 << 16)
line("Line 2", "Tap-offs", [1, 2, 400, 13, 520], [(2, 1), (28, 0), (30, box)], {0: [(30, 4)]},
     [0] * 7, [4, 0, 0, 0, 0, 0, 0])
line("Line 1", "", [0, 0, 800, 13, 55], [(1, 1), (5, 2500), (28, 0), (29, 2)],
     {0: [(1, 1), (5, 2500)], 1: [(1, 614), (5, 3360)]},
     [0, 0, 442, 0, 0, 0, 0], [2504, 4427, 4869, 594, 254760, 0, 0])
i32(-456)
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "small_project.lin"), "wb") as f:
    f.write(out)
