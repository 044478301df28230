#pragma once

#include <string>
#include <string_view>

class CDorneDoc;

// The texts of the price-list dialog.
struct CPriceBaseTexts {
  std::string rate;     // the conversion rate, "%.3f"
  std::string percent;  // (1 - rate) x 100, "%.1f"
  std::string sale;     // the document's converted sale total, "%.2f"
  std::string weight;   // "%.3f"
  std::string time;     // installation time, "%.2f"
};

// The rules of the price-list dialog: the conversion rate as a coefficient or a
// percentage, and a typed sale total turned into a rate and spread over the runs.
class CPriceBaseRules {
 public:
  explicit CPriceBaseRules(CDorneDoc& document) : m_document(document) {}

  static std::string RateFromPercent(std::string_view percent);
  static std::string PercentFromRate(std::string_view rate);

  // The texts that the dialog opens with (the document's rate); forgets the last total.
  CPriceBaseTexts Open();
  // Applies the texts: a sale total typed since the last application (above 0, changed,
  // the document priced) sets the rate and is spread over the runs; the rate text becomes
  // the document's rate. The texts to show.
  CPriceBaseTexts Apply(const CPriceBaseTexts& shown);

 private:
  void SpreadOverRuns(double typed);
  CPriceBaseTexts Texts(float rate) const;

  CDorneDoc& m_document;
  std::string m_lastSale;
};
