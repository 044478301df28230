#!/usr/bin/env python3
"""Writes reference project files (".ref") straight from the file layout, without the
program's code: the pinned files the tests read and the example the program ships.

  write_ref_files.py pinned521 OUT   a project of three lines, 100 slots a line
  write_ref_files.py pinned600 OUT   the same with units in slot 150: 200 slots a line
  write_ref_files.py example OUT     two lines of the sample catalogue: the seed of the
                                     shipped example, data/examples/sample.ref, which the
                                     program wrote (saved as) after opening and pricing it
"""
import struct
import sys

SIGNATURE = bytes([0x05, 0x00]) + b"TVRREF" + bytes([0x01, 0x00])
PROPERTIES = ["NumAff", "Creator", "Name", "CreationDate", "ModificationDate", "Comment",
              "DevisDate", "Delai", "Commande", "Livraison", "Client", "Societe", "Adresse",
              "CodePostal", "Ville", "Telephone", "Fax"]
SECTION_ORDER = [0, 2, 5, 6, 7, 3, 4, 1, 8, 9]


def long(value):
    return struct.pack("<i", value)


def double(value):
    return struct.pack("<d", value)


def text(value):
    return value.encode("utf-16-le") + b"\0\0"


def line_bytes(line, slot_count):
    word = ((line["extra"] & 0xFFFF) << 16) | (line["conductors"] & 0xFFFF)
    head = [line["group"], line["kind"], line["rating"]]
    out = text(line["name"]) + text(line["comment"])
    out += b"".join(long(v) for v in head) + struct.pack("<I", word)
    out += b"".join(long(line[k]) for k in
                    ("connection", "spacing", "length", "quantity", "count", "mode"))
    sections = line.get("sections", [])
    out += long(len(sections))
    for section in reversed(sections):
        out += b"".join(long(section[i]) for i in SECTION_ORDER)
    components = line.get("components", {})
    out += b"".join(long(components.get(i, 0)) for i in range(45)) + long(0) * 5
    slots = line.get("slots", {})
    out += b"".join(long(slots.get(i, 0)) for i in range(slot_count))
    items = line["items"]
    out += long(len(items))
    for reference, designation, price, quantity, labour, kind in items:
        out += text(reference) + text(designation)
        out += long(price) + long(quantity) + long(labour) + long(kind)
    return out


def project_bytes(project):
    wide = any(v > 0 for line in project["lines"]
               for slot, v in line.get("slots", {}).items() if 100 <= slot < 200)
    fmt, slot_count = (600, 200) if wide else (521, 100)
    out = SIGNATURE + long(fmt) + long(1)
    out += b"".join(text(project["properties"].get(name, "")) for name in PROPERTIES)
    price_list = project["price_list"]
    out += text(project["currency"]) + long(price_list if price_list < 4 else 0)
    out += text(project["list_name"]) + long(project["labour"])
    coefs = project["coefs"]  # per product kind 0..8, four values each
    for kind in range(7):
        group = list(coefs[kind])
        if kind == 4:
            group[1] = coefs[8][0]
        if kind == 5:
            group[1] = coefs[7][0]
        out += b"".join(double(v) for v in group)
    out += long(project["display_flags"])
    out += long(price_list if price_list >= 4 else project["design_column"])
    out += long(len(project["lines"]))
    for line in reversed(project["lines"]):
        out += line_bytes(line, slot_count)
    return out


def pinned(wide):
    coefs = [[1.0 + k / 10, 0.5 + k / 100, 2.0, 3.25] for k in range(9)]
    return {
        "properties": {"NumAff": "4711", "Creator": "Ana Lérida", "Name": "Hall “B” €",
                       "CreationDate": "03/12/2026", "ModificationDate": "05/12/2026",
                       "Comment": "first\r\nsecond; with \"quotes\"", "Delai": "6 weeks",
                       "Client": "Ville de Nïmes 😀", "Fax": "x" * 511},
        "currency": "EUR", "price_list": 6, "list_name": "List 7", "labour": 4200,
        "coefs": coefs, "display_flags": 1, "design_column": 2,
        "lines": [
            {"name": "Feeder A", "comment": "north\r\nwall", "group": 1, "kind": 3,
             "rating": 63, "conductors": 1, "extra": 7, "connection": 2, "spacing": 250,
             "length": 42, "quantity": 2, "count": 5, "mode": 1,
             "components": {0: 1, 3: 4, 9: 2, 44: -3},
             "slots": {0: 3 | (54 << 16), 99: 1, **({150: 2 | (5 << 16)} if wide else {})},
             "items": [("QDA63ER41", "End feed unit", 1595600, 2, 60, 0),
                       ("QDA63ED430", "Straight length 3 m", 1407900, 12, 56, 1),
                       ("QDA63LP4A", "Flat elbow 90°", 750900, 4, 27, 4),
                       ("QDB0016SE", "Fused tap-off box 16 A", 744000, 6, 40, 3),
                       ("QDB0000YC1", "Adjustable hanger", 74000, 6, 10, 5),
                       ("QDA63EX4", "End cover", 164300, 4, 6, 2)]},
            {"name": "Luminaires", "comment": "", "group": 3, "kind": 0, "rating": 25,
             "conductors": -1, "extra": -2, "connection": 7, "spacing": 300, "length": 30,
             "quantity": 1, "count": 12, "mode": 10,
             "sections": [[1, 0, 5, 1, 2, 1, 3, 9, 0, 0], [2, 1, 7, 1, 1, 1, 5, 2, 0, 0]],
             "components": {5: 3, 8: 1},
             "items": [("QFP25ED\n\r / R2-77", "Lighting length", 123456, 30, 12, 1)]},
            {"name": "x" * 511, "comment": "", "group": 0, "kind": 6, "rating": 40,
             "conductors": 0, "extra": 0, "connection": 0, "spacing": 300, "length": 12,
             "quantity": 1, "count": 0, "mode": 1, "components": {36: 150}, "items": []},
        ],
    }


def example():
    coefs = [[1.0, 1.0, 1.0, 1.0] for _ in range(9)]
    return {
        "properties": {"NumAff": "1001", "Creator": "Sample", "Name": "Sample workshop",
                       "CreationDate": "01/12/2026", "ModificationDate": "01/12/2026",
                       "Comment": "Two lines of the sample catalogue",
                       "Client": "Sample client"},
        "currency": "EUR", "price_list": 0, "list_name": "", "labour": 0,
        "coefs": coefs, "display_flags": 0, "design_column": 2,
        "lines": [
            {"name": "Workshop feeder", "comment": "", "group": 2, "kind": 3, "rating": 63,
             "conductors": 1, "extra": 0, "connection": 0, "spacing": 300, "length": 40,
             "quantity": 2, "count": 0, "mode": 1,
             "components": {0: 1, 3: 4, 4: 7, 9: 2, 13: 3, 15: 5, 20: 2},
             "slots": {0: 3 | (54 << 16), 1: 2},
             "items": [
                 ("QDA63ER41", "End feed unit, QDA 63 A 3P+N aluminium", 1595600, 2, 60, 0),
                 ("QDA63ED430", "Straight length 3 m, QDA 63 A 3P+N aluminium", 1407900, 12,
                  56, 1),
                 ("QDA63ED420", "Straight length 2 m, QDA 63 A 3P+N aluminium", 938600, 2, 44,
                  1),
                 ("QDA63JN4", "Joint block, QDA 63 A 3P+N aluminium", 211200, 20, 9, 1),
                 ("QDB0000SC1", "IP55 sealing kit", 189000, 20, 10, 1),
                 ("QDA63LP4A", "Flat elbow 90°, QDA 63 A 3P+N aluminium", 750900, 4, 27, 4),
                 ("QDB0016SE", "Fused tap-off box 16 A", 744000, 6, 40, 3),
                 ("QDB0000SC1", "IP55 sealing kit", 189000, 6, 10, 3),
                 ("QDB0020SE", "Fused tap-off box 20 A", 780000, 4, 40, 3),
                 ("QDB0032SE", "Fused tap-off box 32 A", 888000, 4, 40, 3),
                 ("QDB0000YC1", "Adjustable hanger", 74000, 6, 10, 5),
                 ("QDB0000YP11", "Ceiling support type 1", 115000, 6, 15, 5),
                 ("QDB0000YP21", "Wall support type 1", 130000, 8, 15, 5),
                 ("QDB0000YP25", "Wall support type 5", 210000, 2, 15, 5),
                 ("QDA63EX4", "End cover, QDA 63 A 3P+N aluminium", 164300, 4, 6, 2),
                 ("QDB0000YC1", "Adjustable hanger", 74000, 4, 10, 2)]},
            {"name": "Main riser", "comment": "", "group": 2, "kind": 4, "rating": 250,
             "conductors": 1, "extra": 0, "connection": 0, "spacing": 300, "length": 15,
             "quantity": 1, "count": 0, "mode": 1,
             "components": {0: 1, 3: 5, 9: 1, 13: 4, 20: 1},
             "items": [
                 ("QPA250ER41", "End feed unit, QPA 250 A 3P+N aluminium", 2295000, 1, 60, 0),
                 ("QPA250ED430", "Straight length 3 m, QPA 250 A 3P+N aluminium", 2025000, 5,
                  56, 1),
                 ("QPA250JN4", "Joint block, QPA 250 A 3P+N aluminium", 303800, 4, 9, 1),
                 ("QPA250LP4A", "Flat elbow 90°, QPA 250 A 3P+N aluminium", 1080000, 1, 27,
                  4),
                 ("QPB0000YP11", "Ceiling support type 1", 115000, 4, 15, 5),
                 ("QPA250EX4", "End cover, QPA 250 A 3P+N aluminium", 236300, 1, 6, 2)]},
        ],
    }


def main():
    kind, path = sys.argv[1], sys.argv[2]
    project = {"pinned521": lambda: pinned(False), "pinned600": lambda: pinned(True),
               "example": example}[kind]()
    with open(path, "wb") as out:
        out.write(project_bytes(project))


if __name__ == "__main__":
    main()
