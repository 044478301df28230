#include "model/document/dorne_doc.h"
#include "geometry/parallel_chunks.h"
#include "platform/number_format.h"

#include "platform/text_conversions.h"
#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_grid.h"
#include "model/run/run.h"
#include "model/run/run_read_sink.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Below this many runs to a thread, the runs are totalled sooner on one.
constexpr std::size_t kMinRunsTotalledApart = 16;

// The kinds whose line values add up to the first four totals.
constexpr std::array<int, 4> kTotalsKinds = {kBOMKindTotalPrice, kBOMKindSalesPrice,
                                             kBOMKindTotalWeight, kBOMKindTotalTime};

// PrixV times the rate, rounded to cents the way the figures are shown.
double ConvertedPrice(double price, float rate) {
  // A decimal comma of the user's locale would cut the cents off.
  return TextToDouble(CNumberFormat::Parse("%.2f")->Apply(price * static_cast<double>(rate)));
}

std::string NumberText(double value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

void AddLineValues(const CBOMGrid& grid, CDorneDoc::CTotals& record) {
  std::array<std::optional<std::string>, kTotalsKinds.size()> texts;
  for (int row = 1; row < grid.GetLineCount(); ++row) {
    grid.GetLineFieldTexts(row, kTotalsKinds, texts);
    for (std::size_t i = 0; i < kTotalsKinds.size(); ++i) {
      if (texts[i] && !texts[i]->empty()) record[i] += TextToDouble(*texts[i]);
    }
  }
}

}  // namespace

const CDorneDoc::CTotals& CDorneDoc::LineSums(const CBOMGrid& bill, CKeptLineSums& kept) {
  const CBOMChangeStamp stamp = bill.GetChangeStamp();
  if (kept.stamp != stamp) {
    kept.sums = {};
    AddLineValues(bill, kept.sums);
    kept.stamp = stamp;
  }
  return kept.sums;
}

void CDorneDoc::SetSalesCoefficient(float coefficient) {
  m_rate = coefficient;
  // Every run's bill shows prices at the rate.
  CBOMGrid::MarkEveryBillStale();
}

int CDorneDoc::ComputeRunTotals(bool fromRuns) {
  m_totals.assign(m_runList.size() + 1, CTotals{});
  m_keptLineSums.resize(m_runList.size());
  // Each run's record reads that run's bill alone: the runs are totalled side by side.
  const std::size_t chunks = CParallelChunks::ChunkCount(m_runList.size(), kMinRunsTotalledApart);
  CParallelChunks::Run(
      m_runList.size(), chunks, [&](std::size_t, std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
          const CRun& run = *m_runList[i];
          CTotals& record = m_totals[i + 1];
          if (!fromRuns) {
            record = LineSums(run.GetBOM(), m_keptLineSums[i]);
            continue;
          }
          record = run.GetKeptTotals();
          const bool empty = record[0] == 0 && record[1] == 0 && record[2] == 0 && record[3] == 0;
          if (empty) AddLineValues(run.GetBOM(), record);
        }
      });
  m_staleTotals.clear();
  m_linesTotalled.clear();
  if (!fromRuns) m_linesTotalled.assign(m_runList.begin(), m_runList.end());
  return SumRunTotals(true);
}

void CDorneDoc::RecomputeRunTotals(CRun& run) {
  CRunReadSink::RefuseAside();
  m_staleTotals.insert(&run);
  if (m_sceneHolds > 0) {
    m_runTotalsPending = true;
    return;
  }
  if (!RecomputeStaleRunTotals()) ComputeRunTotals(false);
  Notify(EDocNotice::kTotalsChanged);
}

void CDorneDoc::MarkRunTotalsStale(CRun& run) {
  if (CRunReadSink* aside = CRunReadSink::Current()) {
    aside->MarkTotalsStale();
    return;
  }
  m_staleTotals.insert(&run);
}

void CDorneDoc::RecomputePendingTotals() {
  const bool all = m_totalsPending;
  const bool runs = m_runTotalsPending;
  m_totalsPending = false;
  m_runTotalsPending = false;
  if (all) {
    RecomputeTotals(1, 0);
  } else if (runs) {
    if (!RecomputeStaleRunTotals()) ComputeRunTotals(false);
    Notify(EDocNotice::kTotalsChanged);
  }
}

// The records of the other runs stand as a whole computation would make them again,
// so the run's rebuild costs the run's lines and one sum over the records, not every
// line of the document.
bool CDorneDoc::RecomputeStaleRunTotals() {
  const bool recordsOfLines = m_totals.size() == m_runList.size() + 1 &&
                              std::equal(m_linesTotalled.begin(), m_linesTotalled.end(),
                                         m_runList.begin(), m_runList.end());
  if (!recordsOfLines) return false;
  m_keptLineSums.resize(m_runList.size());
  for (std::size_t i = 0; i < m_runList.size() && !m_staleTotals.empty(); ++i) {
    if (m_staleTotals.erase(m_runList[i]) == 0) continue;
    CTotals record = LineSums(m_runList[i]->GetBOM(), m_keptLineSums[i]);
    record[4] = ConvertedPrice(record[1], m_rate);
    m_totals[i + 1] = record;
  }
  m_staleTotals.clear();
  SumRunTotals(m_convertedTyped || m_convertedRate != m_rate);
  return true;
}

// The converted prices of the records (of every one, or those worked out already kept),
// and the document's record as their sum in run order; 1 when every run and the sum are
// priced.
int CDorneDoc::SumRunTotals(bool convertAll) {
  m_convertedRate = m_rate;
  m_convertedTyped = false;
  CTotals sum{};
  bool everyRunPriced = true;
  for (std::size_t n = 1; n < m_totals.size(); ++n) {
    CTotals& record = m_totals[n];
    if (convertAll) record[4] = ConvertedPrice(record[1], m_rate);
    if (record[4] == 0) everyRunPriced = false;
    for (std::size_t i = 0; i < record.size(); ++i) sum[i] += record[i];
  }
  m_totals[0] = sum;
  return sum[4] != 0 && everyRunPriced ? 1 : 0;
}

const CDorneDoc::CTotals* CDorneDoc::GetTotals(int n) const {
  return n >= 0 && n < GetTotalsCount() ? &m_totals[static_cast<std::size_t>(n)] : nullptr;
}

void CDorneDoc::SetConvertedTotal(int n, double value) {
  if (n < 0 || n >= GetTotalsCount()) return;
  m_totals[static_cast<std::size_t>(n)][4] = value;
  m_convertedTyped = true;
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
  m_staleTotals.clear();
  m_linesTotalled.clear();
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
