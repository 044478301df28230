"""Writes the rows listed in a file with Python's csv module, as the CSV export's yardstick.

Usage: csv_write.py ROWS.txt OUT.csv SECONDS.txt ROUNDS. Each line of the list is one row, its
fields separated by ";" (no field holds one). The rows are written as the export writes them:
";" between fields, CR LF after each row, nothing quoted, UTF-16LE after the mark FF FE, into
memory. Writes the median seconds of the rounds (reading the list and starting Python are not
counted) and the bytes of the last round."""
import csv
import io
import statistics
import sys
import time

with open(sys.argv[1], encoding="utf-8", newline="") as f:
    rows = [line.rstrip("\n").split(";") for line in f]
times = []
for _ in range(int(sys.argv[4])):
    start = time.perf_counter()
    text = io.StringIO()
    writer = csv.writer(text, delimiter=";", lineterminator="\r\n", quoting=csv.QUOTE_NONE,
                        quotechar=None)
    writer.writerows(rows)
    data = b"\xff\xfe" + text.getvalue().encode("utf-16-le")
    times.append(time.perf_counter() - start)
with open(sys.argv[2], "wb") as f:
    f.write(data)
with open(sys.argv[3], "w", encoding="ascii") as f:
    f.write("%.9f\n" % statistics.median(times))
