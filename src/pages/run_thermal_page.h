#pragma once

#include "pages/run_prop_page.h"

#include <array>
#include <string>

// The run's thermal setting ("THERMAL"): none, or a choice of 1 or 2 with three whole
// values ("choice/v1/v2/v3"); the values are offered only with choice 2.
class CRunThermalPage : public CRunPropPage {
 public:
  static constexpr int kChoices = 3;

  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  int GetChoice() const { return m_choice; }
  bool AreValuesShown() const { return m_choice == 2; }
  // The three value texts ("" while hidden).
  const std::array<std::string, 3>& GetValues() const { return m_values; }

  // A new choice in the list: with choice 2 the values start at 0, otherwise emptied.
  void OnChoiceChange(int choice);
  void SetValue(int index, std::string text);

  // The stored text of a choice and three values.
  static std::string ThermalText(int choice, const std::array<std::string, 3>& values);

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  int m_choice = 0;
  std::array<std::string, 3> m_values;
};
