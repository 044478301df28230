#pragma once

#include "app/xl_export_file.h"

class CBOMGrid;
class CRun;

// The table of a bill-of-materials grid in the exchange file: the count line, the
// kinds, titles, alignments and formats rows, the data rows (QP lines of "AM" or "FM"
// items last) and the totals row. run: the grid's run, null for the totals page.
void WriteGridTable(CXlExportFile& file, CBOMGrid& grid, const CRun* run);
