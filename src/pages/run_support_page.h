#pragma once

#include "pages/run_prop_page.h"

#include <cstdint>
#include <optional>
#include <string>

// Whether the run's supports are placed automatically ("SupportAuto"), their spacing
// ("SupportPas", a length of at least 1) and the number of extra supports ("SupportPlus",
// at least 0); for some QP catalogues the fixing of risers ("RISERFIX").
class CRunSupportPage : public CRunPropPage {
 public:
  // A spacing that is not a length of at least %1.
  static constexpr int kMsgSpacingRefused = 31572;
  static constexpr int kFieldSpacing = 1;

  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  bool IsAutomatic() const { return m_automatic; }
  const std::string& GetSpacingText() const { return m_spacingText; }
  // The spacing with its unit.
  const std::string& GetSpacingLabel() const { return m_spacingLabel; }
  std::int64_t GetExtra() const { return m_extra; }
  bool IsRiserFixingOffered() const { return m_riserOffered; }
  // Radio "no value" is offered only outside the "Qp" catalogues.
  bool IsPlainFixingShown() const { return m_riserOffered && !m_lowerQP; }
  bool IsSprings() const { return m_springs; }

  // Clicking the automatic box writes at once.
  CApplyOutcome OnAutomaticClick(bool checked);
  void SetSpacingText(std::string text) { m_spacingText = std::move(text); }
  void SetExtraText(std::string text) { m_extraText = std::move(text); }
  void SetSprings(bool springs) { m_springs = springs; }

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  std::optional<std::int64_t> ParseSpacing(const std::string& text) const;

  bool m_automatic = false;
  std::string m_spacingText;
  std::string m_spacingLabel;
  std::int64_t m_extra = 0;
  std::string m_extraText;
  bool m_riserOffered = false;
  bool m_lowerQP = false;
  bool m_springs = false;
};
