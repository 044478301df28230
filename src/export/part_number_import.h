#pragma once

class CDorneDoc;
class CPartNumberLink;

// Adds the articles that the part-number tool answered to the current run: each line's
// second field is the reference (trimmed), its third the quantity; lines with no
// reference or a quantity of 0 add nothing. When something was added, the totals are
// recomputed, the run's lines numbered again and the document marked modified; else the
// document is left as it was. The number of lines added; -1 without a current run.
int ImportPartNumbers(CDorneDoc& document, CPartNumberLink& link);
