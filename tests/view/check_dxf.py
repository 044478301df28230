"""Reads a DXF file with ezdxf and compares it with what a test expects of it.

Usage: check_dxf.py FILE.dxf EXPECTED.json. The expectation names layers with their
colours, layers that must be absent, entity counts by type, lines (x1 y1 x2 y2) and
texts that must be present, and the number of text styles. Prints each difference and
exits 1 when there is any."""
import collections
import json
import sys

import ezdxf
from ezdxf.lldxf.encoding import decode_dxf_unicode

path, expected_path = sys.argv[1], sys.argv[2]
with open(expected_path, encoding="utf-8") as f:
    expected = json.load(f)
problems = []
doc = ezdxf.readfile(path)
auditor = doc.audit()
for entry in auditor.errors + auditor.fixes:
    problems.append("audit: %s" % entry.message)
layers = {layer.dxf.name: layer.dxf.color for layer in doc.layers}
for name, color in expected["layers"].items():
    if layers.get(name) != color:
        problems.append("layer %s: colour %s, expected %s" % (name, layers.get(name), color))
for name in expected["absent_layers"]:
    if name in layers:
        problems.append("layer %s should not be listed" % name)
if "Continuous" not in doc.linetypes:
    problems.append("no line type Continuous")
msp = doc.modelspace()
counts = collections.Counter(entity.dxftype() for entity in msp)
for kind, count in expected["counts"].items():
    if counts.get(kind, 0) != count:
        problems.append("%d %s, expected %d" % (counts.get(kind, 0), kind, count))
lines = {(round(e.dxf.start.x), round(e.dxf.start.y), round(e.dxf.end.x), round(e.dxf.end.y))
         for e in msp.query("LINE")}
for line in expected["lines"]:
    if tuple(line) not in lines:
        problems.append("no line %s" % (line,))
texts = [decode_dxf_unicode(e.dxf.text) for e in msp.query("TEXT")]
for text in expected["texts"]:
    if text not in texts:
        problems.append("no text %r among %r" % (text, texts))
styles = [style.dxf.name for style in doc.styles if style.dxf.name.startswith("TEXT")]
if len(styles) != expected["styles"]:
    problems.append("%d text styles, expected %d" % (len(styles), expected["styles"]))
for problem in problems:
    print(problem, file=sys.stderr)
sys.exit(1 if problems else 0)
