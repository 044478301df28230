#pragma once

#include "app/xl_export_file.h"

#include <string>
#include <string_view>
#include <vector>

class CDorneDoc;
class CProfile;

// The exchange file ("XlExport.txt") of a layout document for the spreadsheet helper: the
// project header, the totals block, then one block per run with its bill-of-materials
// table (the totals page alone for a compilation).

struct CLayoutXlContext {
  const CProfile* profile = nullptr;                  // [User] Name, Dept, Phone, Fax, Email
  std::vector<std::string> documentPictures;          // IMG1.. of the header
  std::vector<std::vector<std::string>> runPictures;  // per run, in document order
};

// A comment as the exchange file keeps it: three lines cut at LF (a CR before it
// dropped), an empty line written as one blank.
std::vector<std::string> CommentLines(std::string_view comment);

// The rating of a run's heading from its catalogue and rating code ("QJF" 26 gives 2200,
// "QDA" 12 gives 125, a "QM" 25 gives 2500).
std::string RatingText(std::string_view catalog, std::string_view code);

// allRuns: every run; else the page the view shows (the totals page: a compilation).
CXlExportFile WriteLayoutExchangeFile(CDorneDoc& document, bool allRuns,
                                      const CLayoutXlContext& context);
