#include "app/article_table.h"
#include "app/command_line.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_group.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"
#include "model/run/run_range_rules.h"
#include "model/document/work_notifier.h"

#include "platform/dbf_table.h"
#include "platform/text_conversions.h"

#include <charconv>
#include <cmath>

namespace {

constexpr std::size_t kPatternLength = 22;

std::string FormatNumber(double value) {
  char buffer[64];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  return error == std::errc{} ? std::string(buffer, end) : std::string("0");
}

// The words of a formula row's list, each followed by a blank, with every "?" filled
// from the pattern at its own position.
std::string FillFormulaWords(std::string_view list, std::string_view pattern) {
  std::string text;
  for (std::string word : SplitCommandLine(list)) {
    for (std::size_t i = 0; i < word.size() && i < pattern.size(); ++i) {
      if (word[i] == '?') word[i] = pattern[i];
    }
    text += word + ' ';
  }
  return text;
}

std::string CutTrailingBlanks(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

double CRun::ComputeWeights() {
  SetPropValue("SUPP", std::to_string(TextToInt(GetPropText("SUPP"))));
  if (m_catalog.size() <= 2 || !GetRangeRules().ShowsUnitWeights() || m_catalogueKnown < 0)
    return 0.0;
  tvr::platform::CDbfTable table;
  std::string error;
  if (!OpenArticleTable(table, CRunEnvironment::Instance().ArticleFolder(),
                        tvr::platform::CDbfTable::Mode::ReadOnly, &error)) {
    ReportWorkProblem(error);
    return 0.0;
  }
  double total = 0.0;
  for (int row = m_bom->GetLineCount() - 1; row >= 1; --row) {
    const std::string reference = m_bom->GetLine(row)->reference;
    if (reference.empty()) continue;
    std::string lookup = GetDevicePropByRef(reference, "NEEDREF").value_or(std::string());
    // A grouped line is the same article as its reference without the group suffix.
    if (lookup.empty()) lookup = std::string(CutGroupSuffix(reference));
    std::string weight;
    if (ParseBOMGroup(reference).flag != '!') {
      const int grams = SeekCatalogCode(lookup, &table, "REFERENCE", "MASSE");
      if (grams >= 0) weight = std::to_string(grams);
    }
    SetDevicePropByRef(reference, "HBv2_Weight", weight);
    const double lineWeight =
        TextToDouble(m_bom->GetLineFieldText(row, kBOMKindTotalWeight).value_or(std::string()));
    if (std::isfinite(lineWeight)) total += lineWeight;
  }
  table.Close();
  SetPropValue("SUPP", GetPropText("SUPP") + "/" + std::to_string(static_cast<long long>(total)));
  m_bom->NumberLines(0);
  return total;
}

std::optional<std::string> CRun::GetPriceFormula(std::string_view reference) {
  const std::vector<CPriceFormulaRow>* formulas = GetPriceFormulaTable();
  if (formulas == nullptr || formulas->empty()) return std::nullopt;
  std::string pattern(kPatternLength, ' ');
  FillRefPattern(pattern);
  for (auto record = m_lengths.rbegin(); record != m_lengths.rend(); ++record) {
    if ((*record)->GetReference() != reference) continue;
    const CPriceFormulaRow* found = nullptr;
    for (const CPriceFormulaRow& row : *formulas) {
      if (TextToInt(row.texts[0]) == 1 && TextToInt(row.texts[1]) == (*record)->GetVariantIndex())
        found = &row;
    }
    if (found == nullptr) continue;
    std::string own = pattern;
    (*record)->OverlayRefCode(own);
    return CutTrailingBlanks(FillFormulaWords(found->texts[3], own) + "* " +
                             FormatNumber((*record)->GetBookedLength() * 0.001));
  }
  if (const std::vector<CCodeRow>* codes = GetCodeTable()) {
    for (auto code = codes->rbegin(); code != codes->rend(); ++code) {
      if (code->texts[2] != reference) continue;
      const CPriceFormulaRow* found = nullptr;
      for (const CPriceFormulaRow& row : *formulas) {
        if (row.texts[0] == code->texts[0] && row.texts[1] == code->texts[1]) found = &row;
      }
      if (found == nullptr) return std::nullopt;
      return CutTrailingBlanks(FillFormulaWords(found->texts[3], pattern));
    }
  }
  return std::nullopt;
}
