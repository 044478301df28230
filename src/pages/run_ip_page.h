#pragma once

#include "pages/run_prop_page.h"

#include <string>
#include <vector>

// The run's degree of protection ("IP") from its range's option list; for catalogue
// "QPA" also its "SPK" choice, for ranges QM and QG its group index ("INDEXGRP").
// The list applies at once; the boxes apply with the page.
class CRunIPPage : public CRunPropPage {
 public:
  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  // The entries shown (the option list's texts, or "IP55" alone without a list).
  const std::vector<std::string>& GetIPTexts() const { return m_ipTexts; }
  int GetIPChoice() const { return m_ipChoice; }
  bool IsIPEnabled() const { return m_ipTexts.size() >= 2 && !m_ipHidden; }
  // Catalogues beginning with "Qp" show a label instead of the list.
  bool IsIPHidden() const { return m_ipHidden; }
  bool IsSPKShown() const { return m_spkShown; }
  int GetSPKChoice() const { return m_spkChoice; }
  bool IsGroupShown() const { return m_groupShown; }
  bool IsGroupChecked() const { return m_groupChecked; }
  bool IsSuffixShown() const { return m_suffixShown; }
  bool IsSuffixChecked() const { return m_suffixChecked; }

  void SetIPChoice(int choice) { m_ipChoice = choice; }
  void SetSPKChoice(int choice) { m_spkChoice = choice; }
  void SetGroupChecked(bool checked) { m_groupChecked = checked; }
  void SetSuffixChecked(bool checked) { m_suffixChecked = checked; }

  // "INDEXGRP" of the two boxes.
  static std::string GroupIndexText(bool group, bool suffix);

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  std::vector<std::string> m_ipTexts;
  int m_ipChoice = -1;
  bool m_ipHidden = false;
  bool m_spkShown = false;
  int m_spkChoice = 0;
  bool m_groupShown = false;
  bool m_groupChecked = false;
  bool m_suffixShown = false;
  bool m_suffixChecked = false;
};
