#include "pages/run_ip_page.h"

#include "model/run/run.h"
#include "model/document/run_document.h"
#include "ranges/range_pages.h"

namespace {

constexpr int kMsgIPCaption = 2563;
constexpr int kSPKEntries = 3;

}  // namespace

int CRunIPPage::GetPageKind() const { return kPageRunIP; }

int CRunIPPage::GetCaptionMessage() const { return kMsgIPCaption; }

std::string CRunIPPage::GroupIndexText(bool group, bool suffix) {
  return std::string(group ? "" : "0") + (suffix ? (group ? "1a" : "a") : "");
}

void CRunIPPage::DoLoad() {
  const CRun* run = Run();
  const std::string catalog = Prop("Catalog");
  m_ipTexts.clear();
  m_ipChoice = -1;
  const std::vector<CCodeLabelRow>* options = run->GetOptionList();
  if (options != nullptr && !options->empty()) {
    const std::string ip = Prop("IP");
    for (std::size_t i = 0; i < options->size(); ++i) {
      if ((*options)[i].code == ip) m_ipChoice = static_cast<int>(i);
      m_ipTexts.push_back((*options)[i].label);
    }
  } else {
    m_ipTexts = {"IP55"};
    m_ipChoice = 0;
  }
  m_ipHidden = catalog.starts_with("Qp");
  m_spkShown = catalog == "QPA";
  m_spkChoice =
      m_spkShown ? static_cast<int>(ReadBoundedInt(Prop("SPK"), 0, kSPKEntries - 1, 0)) : 0;
  m_groupShown = catalog.starts_with("QM") || catalog.starts_with("QG");
  m_suffixShown = catalog.starts_with("QM");
  const std::string group = Prop("INDEXGRP");
  m_groupChecked = group.empty() || ReadBoundedInt(group, 0, 999999, 0) > 0;
  m_suffixChecked = m_suffixShown && group.ends_with("a");
}

CApplyOutcome CRunIPPage::DoApply() {
  CRun* run = Run();
  bool changed = false;
  const std::vector<CCodeLabelRow>* options = run->GetOptionList();
  const bool ipChanged = options != nullptr && m_ipChoice >= 0 &&
                         static_cast<std::size_t>(m_ipChoice) < options->size() &&
                         WriteProp("IP", (*options)[static_cast<std::size_t>(m_ipChoice)].code);
  changed |= ipChanged;
  if (m_spkShown) {
    changed |=
        WriteProp("SPK", m_spkChoice > 0 && m_spkChoice < kSPKEntries ? std::to_string(m_spkChoice)
                                                                      : std::string());
  } else {
    changed |= WriteProp("SPK", "");
  }
  if (m_groupShown)
    changed |=
        WriteProp("INDEXGRP", GroupIndexText(m_groupChecked, m_suffixShown && m_suffixChecked));
  // The run's label may show its protection.
  if (ipChanged && run->GetDocument() != nullptr) run->GetDocument()->UpdateAllViews();
  return changed ? Applied() : Unchanged();
}
