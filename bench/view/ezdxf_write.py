"""Writes the entities listed in a file with ezdxf, as the benchmark's yardstick.

Usage: ezdxf_write.py ENTITIES.txt OUT.dxf SECONDS.txt. Each line of the list is a layer line
"Y name colour", a line "L layer x1 y1 x2 y2" or a text "T layer x1 y1 x2 y2 height
text". Writes the seconds that making the drawing and saving it took (reading the list
and starting Python are not counted)."""
import sys
import time

import ezdxf

with open(sys.argv[1], encoding="utf-8") as f:
    rows = [line.rstrip("\n").split(" ", 7) for line in f]
start = time.perf_counter()
doc = ezdxf.new("R12")
msp = doc.modelspace()
for row in rows:
    if row[0] == "Y":
        doc.layers.add(row[1], color=int(row[2]))
    elif row[0] == "L":
        msp.add_line((int(row[2]), int(row[3])), (int(row[4]), int(row[5])), dxfattribs={"layer": row[1]})
    else:
        text = msp.add_text(row[7], dxfattribs={"layer": row[1], "height": int(row[6])})
        text.set_placement((int(row[2]), int(row[3])), (int(row[4]), int(row[3])),
                           align=ezdxf.enums.TextEntityAlignment.FIT)
doc.saveas(sys.argv[2])
with open(sys.argv[3], "w", encoding="ascii") as f:
    f.write("%.6f\n" % (time.perf_counter() - start))
