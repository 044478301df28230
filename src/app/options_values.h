#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/app_settings.h"
#include "app/language_list.h"
#include "app/options_rules.h"
#include "app/price_list_edits.h"
#include "app/profile.h"
#include "app/text_lookup.h"

class CDorneApp;
class COptionsFrame;

// Every value the options sheet edits, as its pages show them. Default-constructed
// members of the factor and design parts hold the factory values of their pages.

struct COptionsUser {
  std::string name;
  std::string phone;
  std::string department;
  std::string fax;
  std::string email;
  friend bool operator==(const COptionsUser&, const COptionsUser&) = default;
};

// The zoom and move factors in percent, each in kPercentRange.
struct COptionsPercents {
  int moveDown = 20;
  int moveRight = 20;
  int moveLeft = 20;
  int moveUp = 20;
  int zoomOut = 10;
  int zoomIn = 10;
  int zoomAll = 90;
  friend bool operator==(const COptionsPercents&, const COptionsPercents&) = default;
};

// The drawing switches and overhangs; overhangs in kOverhangRange.
struct COptionsDesign {
  int boxOverhang = 50;
  int jointOverhang = 10;
  bool realJoint = true;
  bool printBlackWhite = false;
  bool showBlackWhite = false;
  bool printFrame = true;
  bool backBuffer = true;
  friend bool operator==(const COptionsDesign&, const COptionsDesign&) = default;
};

struct COptionsValues {
  int languageIndex = -1;  // in the application's language list; -1 when none is chosen
  COptionsUser user;
  std::array<CColor, kColorCount> colors{};
  COptionsPercents percents;
  COptionsDesign design;
  std::array<CLabelStyle, kLabelKindCount> labels{};
  int designLanguage = 0;  // 0 local, 1 UK, 2 option
  bool packaging = false;
  CPriceListEdits priceLists;
  std::string projectsFolder;
};

// The values from the application object and its settings file. The language index is
// that of the entry whose number is the one of "Language"/"ID" (default "033"), -1 when
// no entry has it. The frame values (factors, design, labels, colours) are the
// application's; lookupText gives the default price-list names.
COptionsValues LoadOptionsValues(const CDorneApp& app, const std::vector<CLanguageEntry>& languages,
                                 const TextLookup& lookupText);

// The keys that OK writes in one replacement of the settings file, in this order:
// "Language"/"ID" (the chosen entry's number; not written when no entry is chosen,
// so the language stays as it is), the "User" keys, "Database"/"LANG_DESIGN",
// "Packaging" and "Projects"; with a frame also the factors ("%f"), the design values
// and the colours. The label styles are written apart (WriteLabelStyle).
std::vector<CProfileValue> OptionsProfileValues(const COptionsValues& values,
                                                const std::vector<CLanguageEntry>& languages,
                                                bool withFrame);

// What OK did.
struct COptionsApplied {
  bool settingsWritten = false;  // every key reached the settings file
  bool priceListsSaved = false;  // the price-list names were saved (when changed)
  std::string priceListError;    // why they were not; the article table is as it was
};

// OK of the sheet: the values go into the application object and the settings file;
// changed price-list names are saved into the article table (and the frame's catalogue
// menu rebuilt); with a frame the factors, design values, labels and colours go too
// and the frame's document is refreshed and marked modified. The program's running
// language is never changed: a new one applies at the next start.
COptionsApplied ApplyOptionsValues(CDorneApp& app, const COptionsValues& values,
                                   const std::vector<CLanguageEntry>& languages,
                                   COptionsFrame* frame);

// The result of the sheet, with OK or Cancel alike: bit 0 is set when a price-list
// name or second name was edited.
unsigned OptionsSheetResult(const CPriceListEdits& priceLists);
