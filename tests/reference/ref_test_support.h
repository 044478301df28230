#pragma once

#include <array>
#include <string>
#include <vector>

#include "linear/linear_notifier.h"
#include "reference/ref_catalogue.h"
#include "reference/ref_line.h"
#include "support/temp_folder.h"

// Records what the catalogue tells the user.
class CRefRecordingNotifier : public CLinearNotifier {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

// The sample catalogue of the program folder.
CRefCatalogueSetup SampleRefSetup();

// A catalogue folder of the test's own: the sample's LIN_REF and REF_COFF, and a
// REF_FORM.DBF of the given rows (PROD, FCT, PARAM, FORMULE).
class CRefFormFolder {
 public:
  // Extra LIN_REF.DBF rows (NOM, PROD, CAL, POL, REF) follow the sample's.
  explicit CRefFormFolder(const std::vector<std::array<const char*, 4>>& rows,
                          const std::vector<std::array<const char*, 5>>& names = {});
  CRefCatalogueSetup Setup() const;

 private:
  CTempFolder m_folder{"reference"};
};

// A reset line of a product kind, rating and conductors (connection 0, group 1).
CRefLine MakeRefLine(int productKind, int rating, int conductors = 1);

// The items of a line, one "reference x quantity :kind" per line of text, the reference's
// "\n\r" written as "|".
std::string ItemSummary(const CRefLine& line);
// The items with their designation, unit price and labour, one per line.
std::string ItemListing(const CRefLine& line);

// Expects the same items, field by field, in the same order.
void ExpectSameItems(const CRefLine& a, const CRefLine& b);
