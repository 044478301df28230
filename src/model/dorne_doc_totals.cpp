#include "model/dorne_doc.h"

#include "platform/text_conversions.h"
#include "model/bom_column_kind.h"
#include "model/bom_grid.h"
#include "model/run.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// The kinds whose line values add up to the first four totals.
constexpr std::array<int, 4> kTotalsKinds = {kBOMKindTotalPrice, kBOMKindSalesPrice,
                                             kBOMKindTotalWeight, kBOMKindTotalTime};

// PrixV times the rate, rounded to cents the way the figures are shown.
double ConvertedPrice(double price, float rate) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", price * static_cast<double>(rate));
  return TextToDouble(text);
}

std::string NumberText(double value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

void AddLineValues(const CBOMGrid& grid, CDorneDoc::CTotals& record) {
  for (int row = 1; row < grid.GetLineCount(); ++row) {
    for (std::size_t i = 0; i < kTotalsKinds.size(); ++i) {
      const std::optional<std::string> text = grid.GetLineFieldText(row, kTotalsKinds[i]);
      if (text && !text->empty()) record[i] += TextToDouble(*text);
    }
  }
}

}  // namespace

int CDorneDoc::ComputeRunTotals(bool fromRuns) {
  m_totals.assign(1, CTotals{});
  bool everyRunPriced = true;
  for (CRun* run : m_runList) {
    CTotals record = fromRuns ? run->GetKeptTotals() : CTotals{};
    const bool empty = record[0] == 0 && record[1] == 0 && record[2] == 0 && record[3] == 0;
    if (empty && run->GetBOM().GetLineCount() > 0) AddLineValues(run->GetBOM(), record);
    record[4] = ConvertedPrice(record[1], m_rate);
    if (record[4] == 0) everyRunPriced = false;
    for (std::size_t i = 0; i < record.size(); ++i) m_totals[0][i] += record[i];
    m_totals.push_back(record);
  }
  return m_totals[0][4] != 0 && everyRunPriced ? 1 : 0;
}

const CDorneDoc::CTotals* CDorneDoc::GetTotals(int n) const {
  return n >= 0 && n < GetTotalsCount() ? &m_totals[static_cast<std::size_t>(n)] : nullptr;
}

void CDorneDoc::SetConvertedTotal(int n, double value) {
  if (n >= 0 && n < GetTotalsCount()) m_totals[static_cast<std::size_t>(n)][4] = value;
}

void CDorneDoc::ComputeTotalsForWriting() {
  const int ok = ComputeRunTotals(false);
  m_props.SetPropValue("TotalOK", std::to_string(ok));
  for (std::size_t n = 0; n < m_totals.size(); ++n) {
    CObjWithProp& owner = n == 0 ? static_cast<CObjWithProp&>(m_props) : *m_runList[n - 1];
    for (std::size_t i = 0; i < kTotalsKeys.size(); ++i)
      owner.SetPropValue(kTotalsKeys[i], NumberText(m_totals[n][i]));
  }
}

void CDorneDoc::ComputeTotalsAfterReading() {
  const std::string ok = m_props.GetPropValue("TotalOK");
  if (m_fileVersion < kFileSubVersion || ok.empty()) {
    ComputeRunTotals(false);
    return;
  }
  m_totals.assign(1, CTotals{});
  for (std::size_t i = 0; i < kTotalsKeys.size(); ++i)
    m_totals[0][i] = TextToDouble(m_props.GetPropValue(kTotalsKeys[i]));
  for (CRun* run : m_runList) {
    CTotals record{};
    for (std::size_t i = 0; i < kTotalsKeys.size(); ++i)
      record[i] = TextToDouble(run->GetPropValue(kTotalsKeys[i]));
    run->SetKeptTotals(record);
    m_totals.push_back(record);
  }
}
