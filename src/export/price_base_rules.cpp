#include "export/price_base_rules.h"

#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "platform/text_conversions.h"

#include <cmath>
#include <cstdio>

namespace {

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

std::string CPriceBaseRules::RateFromPercent(std::string_view percent) {
  return Format("%.3f", (100.0 - TextToDouble(percent)) * 0.01);
}

std::string CPriceBaseRules::PercentFromRate(std::string_view rate) {
  return Format("%.1f", (1.0 - TextToDouble(rate)) * 100.0);
}

CPriceBaseTexts CPriceBaseRules::Texts(float rate) const {
  CPriceBaseTexts texts;
  texts.rate = Format("%.3f", rate);
  texts.percent = PercentFromRate(texts.rate);
  if (const CDorneDoc::CTotals* total = m_document.GetTotals(0)) {
    texts.sale = Format("%.2f", (*total)[4]);
    texts.weight = Format("%.3f", (*total)[2]);
    texts.time = Format("%.2f", (*total)[3]);
  }
  return texts;
}

CPriceBaseTexts CPriceBaseRules::Open() {
  m_lastSale.clear();
  m_document.ComputeRunTotals(true);
  return Apply(Texts(m_document.GetSalesCoefficient()));
}

CPriceBaseTexts CPriceBaseRules::Apply(const CPriceBaseTexts& shown) {
  m_document.ComputeRunTotals(true);
  const CDorneDoc::CTotals before = *m_document.GetTotals(0);
  const double typed = TextToDouble(shown.sale);
  std::string rate = shown.rate;
  const bool fromTotal =
      !m_lastSale.empty() && typed > 0 && typed != TextToDouble(m_lastSale) && before[1] != 0;
  if (fromTotal) rate = Format("%.3f", typed / before[1]);
  m_document.SetSalesCoefficient(static_cast<float>(TextToDouble(rate)));
  m_document.ComputeRunTotals(true);
  if (fromTotal) SpreadOverRuns(typed);
  m_document.SetModifiedFlag(true);
  CPriceBaseTexts texts = Texts(m_document.GetSalesCoefficient());
  for (CRun* run : m_document.GetRuns()) run->GetBOM().NumberLines(1);
  m_document.UpdateAllViews();
  m_lastSale = texts.sale;
  return texts;
}

void CPriceBaseRules::SpreadOverRuns(double typed) {
  const int count = m_document.GetRunCount();
  const double total = (*m_document.GetTotals(0))[4];
  if (count == 0 || total == 0) return;
  const bool whole = std::floor(typed) == typed;
  double rest = typed;
  for (int n = count; n >= 2; --n) {
    double value = (*m_document.GetTotals(n))[4] * typed / total;
    if (whole) value = std::floor(value);
    m_document.SetConvertedTotal(n, value);
    rest -= value;
  }
  m_document.SetConvertedTotal(1, rest);
  m_document.SetConvertedTotal(0, typed);
}
