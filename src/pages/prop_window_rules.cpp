#include "pages/prop_window_rules.h"

#include "model/element/dev.h"
#include "model/run/range_rules.h"
#include "model/run/run.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace prop_window {

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  return text;
}

// The label of the last row of the list whose code is the text, else the text itself.
std::string LastLabelOf(const std::vector<CCodeLabelRow>& rows, const std::string& code) {
  for (auto row = rows.rbegin(); row != rows.rend(); ++row)
    if (row->code == code) return row->label;
  return code;
}

}  // namespace

int FoldOntoScreen(long long value, int size) {
  if (size <= 0) return 0;
  const long long folded = value % size;
  return static_cast<int>(folded < 0 ? folded + size : folded);
}

int PlaceOnScreen(long long value, int windowSize, int screenSize) {
  const int folded = FoldOntoScreen(value, screenSize);
  return std::max(0, std::min(folded, screenSize - windowSize));
}

int OpeningTab(bool isRun, const std::vector<std::string>& captions,
               const std::string& lastCaption) {
  const std::string_view wanted = Trimmed(lastCaption);
  for (std::size_t i = 0; i < captions.size(); ++i)
    if (Trimmed(captions[i]) == wanted) return static_cast<int>(i);
  const int preferred = isRun ? 1 : 0;
  return preferred < static_cast<int>(captions.size()) ? preferred : 0;
}

CRun* OwnerRun(CObjWithProp* object) {
  if (auto* run = dynamic_cast<CRun*>(object)) return run;
  if (auto* element = dynamic_cast<CDev*>(object)) return element->GetRun();
  return nullptr;
}

std::string RunSummary(const CRun& run) {
  std::string text = run.GetPropText("Catalog");
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (const std::vector<CCodeLabelRow>* ratings = run.GetRatingList()) {
    const std::string calibre = run.GetPropText("Calibre");
    std::string label = LastLabelOf(*ratings, calibre);
    if (label != calibre) {
      const std::size_t slash = label.find('/');
      if (slash != std::string::npos) label.erase(0, slash + 1);
    }
    text += " - " + label;
  }
  if (const std::vector<CCodeLabelRow>* neutrals = run.GetNeutralList()) {
    const std::string neutral = run.GetPropText("Neutral");
    const bool wide = neutral == "6" && run.GetPropText("Catalog").starts_with("QW");
    text +=
        " - " + (wide ? std::string("3L+2N+PE / 3L+N+PE+PEI") : LastLabelOf(*neutrals, neutral));
  }
  return text;
}

}  // namespace prop_window
