#pragma once

#include "pages/run_prop_page.h"

#include <array>

// Which of the range's standard straight lengths a run may use ("L1".."L4" hold a length
// that is not allowed), the riser fixing of ranges QP and QM ("RISER"), the elbow style
// of ranges QP, QM and QG ("ELBOWS", the range's default stored empty) and the step
// setting of range QP ("QP_STEP").
class CRunLengthsPage : public CRunPropPage {
 public:
  static constexpr int kLengths = 4;

  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  // The standard lengths of the run's range (0: none).
  const std::array<int, kLengths>& GetLengths() const { return m_lengths; }
  // A standard length in the document's unit, as its box shows it.
  std::string FormatStandardLength(int length) const { return FormatScaled(length); }
  bool IsAllowed(int index) const { return m_allowed[static_cast<std::size_t>(index)]; }
  bool IsRiserShown() const { return m_riserShown; }
  bool IsRiserSol2() const { return m_riserSol2; }
  // The texts of the riser group: the range QM has its own.
  bool IsRiserOfRangeM() const { return m_rangeM; }
  bool AreElbowsShown() const { return m_elbowsShown; }
  bool IsElbowJunction() const { return m_elbowJunction; }
  bool IsStepShown() const { return m_stepShown; }
  bool IsStepChecked() const { return m_stepChecked; }

  // A length box clicked: at least one length stays allowed, except in range QM. The
  // state the box then has.
  bool OnLengthClick(int index, bool checked);
  void SetRiserSol2(bool sol2) { m_riserSol2 = sol2; }
  void SetElbowJunction(bool junction) { m_elbowJunction = junction; }
  void SetStepChecked(bool checked) { m_stepChecked = checked; }

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  std::array<int, kLengths> m_lengths{};
  std::array<bool, kLengths> m_allowed{};
  bool m_rangeM = false;
  bool m_riserShown = false;
  bool m_riserSol2 = false;
  bool m_elbowsShown = false;
  bool m_elbowJunction = false;
  bool m_stepShown = false;
  bool m_stepChecked = false;
};
