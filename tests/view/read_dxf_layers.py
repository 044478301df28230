"""Reads a DXF file with ezdxf and lists, per layer, its lines and texts:
"<layer> lines=<n> texts=<n>", then every text as "text: <words>"."""
import sys

import ezdxf

doc = ezdxf.readfile(sys.argv[1])
counts = {}
texts = []
for entity in doc.modelspace():
    layer = entity.dxf.layer
    lines, words = counts.get(layer, (0, 0))
    kind = entity.dxftype()
    if kind in ("LINE", "LWPOLYLINE", "POLYLINE"):
        lines += 1
    elif kind in ("TEXT", "MTEXT"):
        words += 1
        texts.append(entity.dxf.text if kind == "TEXT" else entity.text)
    counts[layer] = (lines, words)
for layer, (lines, words) in sorted(counts.items()):
    print(f"{layer} lines={lines} texts={words}")
for text in texts:
    print("text:", text)
