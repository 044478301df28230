#include "model/element/dev.h"
#include "platform/text_conversions.h"
#include "ranges/qm/qm_part_refs.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_context.h"
#include "ranges/range_ref_text.h"

#include <array>
#include <cstdio>

namespace {

constexpr std::string_view kNoPart = "ZZZZZZZZZZZ";

// The ratings a breaker frame may feed: the first row whose frame is at least the
// breaker's.
struct CFrameRow {
  bool qmc;
  int frame;
  int lowest;
  int highest;
};

constexpr std::array<CFrameRow, 10> kFrames{{
    {true, 10, 10, 20},
    {true, 12, 13, 20},
    {true, 16, 16, 20},
    {true, 20, 20, 32},
    {true, 25, 25, 32},
    {true, 32, 32, 50},
    {true, 40, 40, 50},
    {false, 16, 10, 16},
    {false, 25, 16, 25},
    {false, 40, 32, 40},
}};

const CFrameRow* FrameRow(bool qmc, int frame) {
  for (const CFrameRow& row : kFrames) {
    if (row.qmc == qmc && row.frame >= frame) return &row;
  }
  return nullptr;
}

void EraseAll(std::string& text, std::string_view part) {
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part))
    text.erase(at, part.size());
}

// An "HR" breaker is named by its rating in amperes.
void NameByAmperes(std::string& key) {
  if (!key.starts_with("HR") || key.size() < 4) return;
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kSizes{
      {{"06", "630"}, {"08", "800"}, {"10", "1000"}, {"12", "1250"}, {"16", "1600"}}};
  for (const auto& [size, amperes] : kSizes) {
    if (key.compare(2, 2, size) == 0) {
      key.replace(2, 2, amperes);
      return;
    }
  }
}

}  // namespace

void CQMPartReferences::BreakerCheck(CDev& element, std::string& buffer) {
  const std::string text = BreakerCheckText(element);
  if (text.empty()) return;
  m_builder.FormatPartLabel(&element, 5, text, 0, 0);
  LayRefText(buffer, 0, kNoPart);
}

std::string CQMPartReferences::BreakerCheckText(const CDev& element) const {
  std::string key = m_run.ChooseBreakerRef(element, true, -1, -1);
  const int frame = key.size() > 2 ? TextToInt(std::string_view(key).substr(2)) : 0;
  const std::string head = key.substr(0, 4);
  const int a = CRunQM::BreakerFieldA(element);
  const int b = CRunQM::BreakerFieldB(element);
  const int r = m_run.GetRating();
  const CRangeContext& context = CRangeContext::Instance();
  std::string text;
  if (b == 0 && a == 3 && (head == "HV16" || head == "HR16" || head == "HK40")) {
    const std::string lock = context.LookupText(30076);
    const std::size_t slash = lock.find('/', 1);
    text = context.LookupText(2716) + " " +
           (slash == std::string::npos ? std::string("RDH") : lock.substr(0, slash));
  } else if (const CFrameRow* row = FrameRow(!m_run.IsQMA(), frame)) {
    if (r < row->lowest || r > row->highest) {
      const int amperes = r == 12 ? 1250 : r == 13 ? 1350 : r * 100;
      char line[64];
      std::snprintf(line, sizeof line, "%s %d A /",
                    m_run.GetPropText("Catalog").substr(0, 8).c_str(), amperes);
      text = line;
    }
  }
  if (text.empty()) return text;
  EraseAll(key, "_D");
  EraseAll(key, "_F");
  NameByAmperes(key);
  return text + " " + key;
}
