#pragma once

class CDorneDoc;
class CPartNumberLink;

// Adds the articles that the part-number tool answered to the current run: each line's
// second field is the reference (trimmed), its third the quantity; lines with no
// reference or a quantity of 0 add nothing. The totals are recomputed and the run's lines
// numbered again. The number of lines added; -1 without a current run.
int ImportPartNumbers(CDorneDoc& document, CPartNumberLink& link);
