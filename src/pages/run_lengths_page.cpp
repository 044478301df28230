#include "pages/run_lengths_page.h"

#include "model/run/run.h"
#include "ranges/range_pages.h"
#include "ranges/range_run.h"

namespace {

constexpr int kMsgLengthsCaption = 2698;

std::string LengthKey(int index) { return "L" + std::to_string(index + 1); }

}  // namespace

int CRunLengthsPage::GetPageKind() const { return kPageRunLengths; }

int CRunLengthsPage::GetCaptionMessage() const { return kMsgLengthsCaption; }

void CRunLengthsPage::DoLoad() {
  m_lengths = {};
  if (const auto* range = dynamic_cast<const CRangeRun*>(Run())) {
    const std::array<int, 5> arguments = range->GetLengthsPageArguments();
    for (int i = 0; i < kLengths; ++i)
      m_lengths[static_cast<std::size_t>(i)] = arguments[static_cast<std::size_t>(i)];
  }
  for (int i = 0; i < kLengths; ++i)
    m_allowed[static_cast<std::size_t>(i)] =
        m_lengths[static_cast<std::size_t>(i)] != 0 && Prop(LengthKey(i)).empty();
  const char range = RangeLetter();
  m_rangeM = range == 'M';
  m_stepShown = Prop("Catalog").starts_with("QP");
  m_stepChecked = m_stepShown && Prop("QP_STEP") == "0";
  m_riserShown = range == 'P' || range == 'M';
  m_riserSol2 = m_riserShown && !Prop("RISER").empty();
  m_elbowsShown = m_riserShown || range == 'G';
  std::string elbows = Prop("ELBOWS");
  if (range == 'G' && elbows.empty()) elbows = "JCT";
  m_elbowJunction = m_elbowsShown && (elbows == "ALL" || elbows == "JCT");
}

bool CRunLengthsPage::OnLengthClick(int index, bool checked) {
  if (index < 0 || index >= kLengths) return false;
  m_allowed[static_cast<std::size_t>(index)] = checked;
  bool any = false;
  for (bool allowed : m_allowed) any |= allowed;
  if (!any && !Prop("Catalog").starts_with("QM")) m_allowed[static_cast<std::size_t>(index)] = true;
  return m_allowed[static_cast<std::size_t>(index)];
}

CApplyOutcome CRunLengthsPage::DoApply() {
  bool changed = false;
  for (int i = 0; i < kLengths; ++i) {
    const int length = m_lengths[static_cast<std::size_t>(i)];
    const bool stored = !m_allowed[static_cast<std::size_t>(i)] && length != 0;
    changed |= WriteProp(LengthKey(i), stored ? std::to_string(length) : std::string());
  }
  if (m_riserShown) changed |= WriteProp("RISER", m_riserSol2 ? "SOL2" : "");
  if (m_elbowsShown) {
    const std::string chosen = m_elbowJunction ? "JCT" : "STD";
    const std::string rangeDefault = RangeLetter() == 'G' ? "JCT" : "STD";
    changed |= WriteProp("ELBOWS", chosen == rangeDefault ? std::string() : chosen);
  }
  if (m_stepShown) changed |= WriteProp("QP_STEP", m_stepChecked ? "0" : "");
  return changed ? Applied() : Unchanged();
}
