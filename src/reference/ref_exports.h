#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/xl_export_file.h"
#include "reference/ref_project.h"

class CProfile;
class CRefCatalogue;

// The tree item a summary export is titled after: -999 the whole project, -2000 - g a
// group, -1000 - 10 g - k a product of a group, 0.. a line (index - 1).
inline constexpr int kRefTreeProject = -999;

// What the exports of a reference project read besides the project.
struct CRefExportContext {
  std::vector<int> selection;      // the selected lines (indexes into the project's lines)
  bool summary = false;            // the working record once, after ComputeLineTotals
  int treeCode = kRefTreeProject;  // the selected tree item, for a summary's title
  int current = 0;                 // the configurator's current record (0: the first selected line)
  bool packaging = false;          // [Database] "Packaging": no labour times in a summary
  int refs = 0;                    // [Ref] "Refs"
  const CProfile* profile = nullptr;         // [User] Name, Dept, Phone, Fax, Email
  const CRefCatalogue* catalogue = nullptr;  // open, for the weights; null: no weights
  // [Database] individual quantities: a summary's quantities are raised to the packs of
  // the catalogue's articles (when it is open).
  bool individualQuantities = false;
};

// Each exported record's weight (kg, from the catalogue's masses) stored in it; returns
// their sum. Without an open catalogue every weight is 0.
double ComputeLineWeights(CRefProject& project, const CRefExportContext& context);

// The spreadsheet exchange file of the project: the project keys, then per exported
// record its keys and its report table. A summary computes the working record first.
CXlExportFile WriteXlExchangeFile(CRefProject& project, const CRefExportContext& context);

// The CSV export: ";"-separated rows of the report, a field holding ";", a double
// quote or a line break quoted. Written through CXlExportFile (UTF-16LE, CR LF).
CXlExportFile WriteCsvFile(CRefProject& project, const CRefExportContext& context);

// The XML order file ("SectionConfiguration").
CXlExportFile WriteXmlFile(CRefProject& project, const CRefExportContext& context);

// The first line of the XML order file, naming the program that wrote it.
std::string XmlRootLine(std::string_view programName);

// The text with &, ', >, < and " replaced by their entities, left to right.
std::string XmlEscape(std::string_view text);

// The export's file name: the title without a final ".ref" (any case) + the extension
// (".csv", ".xml").
std::string RefExportFileName(const std::string& fileTitle, std::string_view extension);
