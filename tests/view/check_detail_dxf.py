"""Reads a DXF file with ezdxf and checks the texts and lines that element details left.

Usage: check_detail_dxf.py FILE.dxf LAYER TEXT... Every TEXT must be present at least
once on LAYER (other marks of the same text, such as the neutral marker, may stand on
their own layers); LAYER must also hold lines. Prints each difference and exits 1 when
there is any."""
import collections
import sys

import ezdxf
from ezdxf.lldxf.encoding import decode_dxf_unicode

path, layer, wanted = sys.argv[1], sys.argv[2], sys.argv[3:]
problems = []
doc = ezdxf.readfile(path)
auditor = doc.audit()
for entry in auditor.errors:
    problems.append("audit: %s" % entry.message)
msp = doc.modelspace()
texts = collections.defaultdict(set)
for entity in msp.query("TEXT"):
    texts[decode_dxf_unicode(entity.dxf.text)].add(entity.dxf.layer)
for text in wanted:
    if text not in texts:
        problems.append("no text %r among %r" % (text, sorted(texts)))
    elif layer not in texts[text]:
        problems.append("text %r on layers %r, not on %r" % (text, sorted(texts[text]), layer))
lines = sum(1 for e in msp.query("LINE") if e.dxf.layer == layer)
if lines == 0:
    problems.append("no line on layer %s" % layer)
print("%d lines on %s, texts %r" % (lines, layer, sorted(texts)))
for problem in problems:
    print(problem, file=sys.stderr)
sys.exit(1 if problems else 0)
